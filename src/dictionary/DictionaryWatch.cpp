#include "cli/DictionaryWatch.h"

#include <ostream>

namespace qel::cli {

DictionaryWatch::DictionaryWatch(const QCDictionaryList& list) : m_list(list) {
  for (int i = 0; i < list.count(); ++i) m_generations.push_back(list.dictionary(i).generation());
}

std::optional<std::string> DictionaryWatch::changed() const {
  for (int i = 0; i < m_list.count(); ++i) {
    const Dictionary& d = m_list.dictionary(i);
    if (d.invalidated() || d.generation() != m_generations[i]) return d.path();
  }
  return std::nullopt;
}

bool DictionaryWatch::reportChanged(const std::string& command, std::ostream& err) const {
  const auto path = changed();
  if (!path) return false;
  err << "qel-cli " << command << ": Dictionary Invalidated: " << *path
      << " changed while it was being read\n";
  return true;
}

}  // namespace qel::cli
