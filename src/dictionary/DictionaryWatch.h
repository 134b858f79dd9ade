// Notices a dictionary file that changed while a command read it: the dictionary was invalidated
// by a reader, or read again (and so describes another file than the one read so far).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dictionary/QCDictionaryList.h"

namespace qel {

class DictionaryWatch {
 public:
  // Starts watching every dictionary of `list` as it stands now.
  explicit DictionaryWatch(const QCDictionaryList& list);

  // The path of the first dictionary that changed since the watch began.
  std::optional<std::string> changed() const;
  bool changed(int i) const;

 private:
  const QCDictionaryList& m_list;
  std::vector<uint32_t> m_generations;
};

}  // namespace qel
