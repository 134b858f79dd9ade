// Notices a dictionary file that changed while a command read it: the dictionary was invalidated
// by a reader, or read again (and so describes another file than the one read so far).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "dictionary/QCDictionaryList.h"

namespace qel::cli {

class DictionaryWatch {
 public:
  // Starts watching every dictionary of `list` as it stands now.
  explicit DictionaryWatch(const QCDictionaryList& list);

  // The path of the first dictionary that changed since the watch began.
  std::optional<std::string> changed() const;
  // Says so on `err` when one changed (the command then exits with kError).
  bool reportChanged(const std::string& command, std::ostream& err) const;

 private:
  const QCDictionaryList& m_list;
  std::vector<uint32_t> m_generations;
};

}  // namespace qel::cli
