// The dictionary list and the shared pool behind it.
#include "dictionary/QCDictionaryList.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "platform/FileAccess.h"

namespace qel {
namespace {

// Process-wide pool of open dictionaries. Only the user-interface thread touches it.
std::vector<Dictionary*>& pool() {
  static std::vector<Dictionary*> dictionaries;
  return dictionaries;
}

// Paths are compared as the file system compares them: exactly, once made absolute.
Dictionary* acquire(const std::string& path) {
  const std::string key = absolutePath(path);
  for (Dictionary* d : pool()) {
    if (absolutePath(d->path()) == key) {
      ++d->useCount;
      return d;
    }
  }
  auto* d = new Dictionary;
  d->useCount = 1;
  // What it says stays with the dictionary (status()), which the list shows.
  static_cast<void>(d->open(path, true));
  pool().push_back(d);
  return d;
}

void release(Dictionary* d) {
  if (--d->useCount > 0) return;
  auto& p = pool();
  p.erase(std::remove(p.begin(), p.end(), d), p.end());
  delete d;
}

}  // namespace

QCDictionaryList::QCDictionaryList(const std::string& listText) : m_listText(listText) {
  if (listText.empty()) return;
  size_t start = 0;
  for (;;) {
    const size_t end = listText.find(';', start);
    m_dictionaries.push_back(acquire(listText.substr(start, end - start)));
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

QCDictionaryList::QCDictionaryList(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (!m_listText.empty() || !m_dictionaries.empty()) m_listText += ';';
    m_listText += path;
    m_dictionaries.push_back(acquire(path));
  }
}

QCDictionaryList::~QCDictionaryList() {
  for (Dictionary* d : m_dictionaries) release(d);
}

int QCDictionaryList::poolSize() { return static_cast<int>(pool().size()); }

std::string dictionaryName(const std::string& path) {
#ifdef _WIN32
  const size_t slash = path.find_last_of("/\\");
#else
  // A backslash is an ordinary character of a file name here.
  const size_t slash = path.rfind('/');
#endif
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  return file.substr(0, file.find('.'));
}

std::string QCDictionaryList::name(int i) const { return dictionaryName(path(i)); }

std::string QCDictionaryList::fileDateText(int i) const {
  using namespace std::chrono;
  std::error_code ec;
  const auto fileTime = std::filesystem::last_write_time(path(i), ec);
  if (ec) return std::string();
  const auto systemTime = time_point_cast<system_clock::duration>(
      fileTime - std::filesystem::file_time_type::clock::now() + system_clock::now());
  const std::time_t t = system_clock::to_time_t(systemTime);
  std::tm local{};
  localtime_r(&t, &local);
  char buffer[128];
  const size_t n = std::strftime(buffer, sizeof buffer, "%A, %d %B %Y %H:%M:%S", &local);
  return std::string(buffer, n);
}

std::optional<std::string> QCDictionaryList::firstInvalidPath() {
  for (Dictionary* d : m_dictionaries) {
    if (!d->recheck()) return d->path();
  }
  return std::nullopt;
}

long QCDictionaryList::entryCount(int i, int length) const {
  const Dictionary& d = *m_dictionaries[i];
  return length >= 0 && length < d.slotCount() ? d.entryCount()[length] : 0;
}

long QCDictionaryList::referenceCount(int i, int length) const {
  const Dictionary& d = *m_dictionaries[i];
  return length >= 0 && length < d.slotCount() ? d.entryReferenceCount()[length] : 0;
}

uint32_t QCDictionaryList::sectionOffset(int i, int length) const {
  const Dictionary& d = *m_dictionaries[i];
  return length >= 0 && length < d.slotCount() ? d.sectionOffset()[length] : 0;
}

QCDictionaryList::Statistics QCDictionaryList::statistics(int i) const {
  const Dictionary& d = *m_dictionaries[i];
  Statistics s;
  s.slotCount = d.slotCount();
  for (int length = 1; length < d.slotCount(); ++length) {
    const long entries = d.entryCount()[length];
    s.totalEntries += entries;
    s.totalReferences += d.entryReferenceCount()[length];
    if (entries > 0) {
      if (s.shortest == 0) s.shortest = length;
      s.longest = length;
    }
  }
  return s;
}

bool QCDictionaryList::hasFullTextIndex(int i) const {
  const Dictionary& d = *m_dictionaries[i];
  return static_cast<int32_t>(d.region2Start()) < static_cast<int32_t>(d.definitionsEnd());
}

uint8_t QCDictionaryList::alphabetCharacter(int i, int letter) const {
  return m_dictionaries[i]->alphabet().character[static_cast<uint8_t>(letter)];
}

uint8_t QCDictionaryList::letterIndex(int i, uint8_t c) const {
  return m_dictionaries[i]->alphabet().letterIndex[c];
}

const std::array<uint8_t, 256>& QCDictionaryList::canonicalLetters(int i) const {
  return m_dictionaries[i]->alphabet().canonical;
}

std::string QCDictionaryList::propertiesText(int i) const {
  std::string text = name(i);
  if (m_dictionaries[i]->valid()) {
    const Statistics s = statistics(i);
    text += "\nEntries: " + std::to_string(s.totalEntries);
    if (s.totalReferences > 0) text += "\nDefinitions: " + std::to_string(s.totalReferences);
  }
  if (!description(i).empty()) text += "\nDescription: " + description(i);
  return text;
}

std::vector<int> pathOrigins(const QCDictionaryList* before, const QCDictionaryList* now) {
  std::vector<int> origin;
  for (int i = 0; now && i < now->count(); ++i) {
    int from = -1;
    for (int j = 0; before && j < before->count(); ++j) {
      if (before->path(j) == now->path(i)) from = j;
    }
    origin.push_back(from);
  }
  return origin;
}

}  // namespace qel
