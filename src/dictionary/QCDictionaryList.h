// An ordered list of dictionary files built from one ";"-separated text of paths, or from the paths
// themselves (which may hold a ";"). Dictionaries are shared between lists through a process-wide
// pool with use counts, opened once and closed with their last use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dictionary/Dictionary.h"

namespace qel {

class QCDictionaryList {
 public:
  using Dictionary = qel::Dictionary;

  struct Statistics {
    int slotCount = 0;
    long totalEntries = 0;
    long totalReferences = 0;
    int shortest = 0;  // 0 and 0 when the dictionary has no entries
    int longest = 0;
  };

  // Builds the list; a path that cannot be opened still takes its place, as an invalid dictionary.
  explicit QCDictionaryList(const std::string& listText);
  // The list text of such a list joins the paths with ";" and is for display only.
  explicit QCDictionaryList(const std::vector<std::string>& paths);
  ~QCDictionaryList();  // releases every place
  QCDictionaryList(const QCDictionaryList&) = delete;
  QCDictionaryList& operator=(const QCDictionaryList&) = delete;

  int count() const { return static_cast<int>(m_dictionaries.size()); }
  const std::string& listText() const { return m_listText; }
  Dictionary& dictionary(int i) const { return *m_dictionaries[i]; }

  const std::string& path(int i) const { return m_dictionaries[i]->path(); }
  std::string name(int i) const;
  std::string fileDateText(int i) const;
  const std::string& description(int i) const { return m_dictionaries[i]->description(); }
  // Re-checks the dictionary (by its file time: a file that changed is opened again) and tells
  // whether it is valid.
  bool recheck(int i) { return m_dictionaries[i]->recheck(); }
  // Re-checks every dictionary; the path of the first invalid one.
  std::optional<std::string> firstInvalidPath();
  int slotCount(int i) const { return m_dictionaries[i]->slotCount(); }
  long entryCount(int i, int length) const;
  long referenceCount(int i, int length) const;
  uint32_t sectionOffset(int i, int length) const;
  Statistics statistics(int i) const;
  bool hasFullTextIndex(int i) const;
  int activeLetters(int i) const { return m_dictionaries[i]->alphabet().active; }
  uint8_t alphabetCharacter(int i, int letter) const;
  uint8_t letterIndex(int i, uint8_t c) const;
  const std::array<uint8_t, 256>& canonicalLetters(int i) const;
  const Alphabet& alphabet(int i) const { return m_dictionaries[i]->alphabet(); }
  std::string propertiesText(int i) const;

  // Number of dictionaries open in the process-wide pool.
  static int poolSize();

 private:
  std::string m_listText;
  std::vector<Dictionary*> m_dictionaries;
};

// The file name of a path without its folder and without anything from its first ".". Folders
// are separated by "/" (and on Windows by "\\" too).
std::string dictionaryName(const std::string& path);

// For each dictionary of `now`, the index of the same path in `before`, or -1 (null lists hold
// nothing): what a list opened in place of another keeps of it.
std::vector<int> pathOrigins(const QCDictionaryList* before, const QCDictionaryList* now);

}  // namespace qel
