// The cursor of a Full Text Search over one dictionary: the indexed search when the index can
// answer the patterns, the sequential search of the definitions otherwise.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace qel {

class MatchEngineSet;
class QCDictionaryList;
class QCDictionaryDefinitionSearchIndexed;
class QCDictionaryDefinitionSearchSequential;

class FullTextCursor {
 public:
  // Records the sequential search reads per step before it hands control back.
  static constexpr int kSequentialBudget = 200;

  enum class Step { Result, Progress, Finished };
  struct Result {
    std::string entry;             // the first heading of the record
    std::string context;           // its second heading (empty when it has none)
    int32_t definitionNumber = 0;  // the record's offset in the file
  };

  // Null when the dictionary holds no definitions. `stamp` receives the dictionary's recorded
  // last-write time.
  static std::unique_ptr<FullTextCursor> create(const QCDictionaryList& list, int dictionary,
                                                MatchEngineSet& patterns, int64_t* stamp,
                                                bool withoutIndex = false);
  ~FullTextCursor();

  Step next(Result& result);
  long position() const;
  long total() const;
  bool indexed() const { return m_indexed != nullptr; }

 private:
  FullTextCursor() = default;
  std::unique_ptr<QCDictionaryDefinitionSearchIndexed> m_indexed;
  std::unique_ptr<QCDictionaryDefinitionSearchSequential> m_sequential;
};

}  // namespace qel
