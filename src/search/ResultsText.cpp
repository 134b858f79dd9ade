// Saving results as text.
#include "search/ResultsText.h"

#include <cerrno>

#include "platform/Cp1252.h"
#include "platform/FileAccess.h"
#include "platform/FileReplacement.h"
#include "search/ResultList.h"

namespace qel {
namespace {

size_t lastComponent(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

Status saveResultsText(const ResultList& results, const std::string& path,
                       const std::string& lineEnd) {
  FileReplacement file;
  if (Status begun = file.begin(path); !begun.ok()) return begun;
  for (long i = 0; i < results.count(); ++i) {
    const std::string line = cp1252::toUtf8(results.record(i)->text()) + lineEnd;
    if (std::fwrite(line.data(), 1, line.size(), file.file()) != line.size()) {
      // "No space left on device", say; the replacement is discarded: the old file stays.
      return Status::unwritable(errno);
    }
  }
  return file.commit();
}

std::string suggestedSaveName(const std::string& lastName) {
  const size_t dot = lastName.find('.', lastComponent(lastName));
  return dot == std::string::npos ? lastName : lastName.substr(0, dot);
}

std::string withDefaultExtension(const std::string& name, const std::string& extension) {
  if (name.find('.', lastComponent(name)) != std::string::npos) return name;
  return name + extension;
}

}  // namespace qel
