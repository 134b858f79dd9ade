// A dictionary read again has a new generation; one found changed by a reader is invalidated.
#include "dictionary/DictionaryWatch.h"

namespace qel {

DictionaryWatch::DictionaryWatch(const QCDictionaryList& list) : m_list(list) {
  for (int i = 0; i < list.count(); ++i) m_generations.push_back(list.dictionary(i).generation());
}

std::optional<std::string> DictionaryWatch::changed() const {
  for (int i = 0; i < m_list.count(); ++i) {
    if (changed(i)) return m_list.path(i);
  }
  return std::nullopt;
}

bool DictionaryWatch::changed(int i) const {
  const Dictionary& d = m_list.dictionary(i);
  return d.invalidated() || d.generation() != m_generations[i];
}

}  // namespace qel
