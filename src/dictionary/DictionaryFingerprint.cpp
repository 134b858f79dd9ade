#include "dictionary/DictionaryFingerprint.h"

#include <unistd.h>

#include <cerrno>

// xxHash compiled in from its header, as the side files do.
#define XXH_INLINE_ALL
#include <xxhash.h>

#include "platform/FileAccess.h"

namespace qel {

bool fingerprintOf(std::FILE* file, DictionaryFingerprint& fingerprint) {
  FileIdentity identity;
  if (file == nullptr || regularFileIdentity(file, identity) != 0) return false;
  uint8_t head[DictionaryFingerprint::kHeadBytes];
  size_t read = 0;
  while (read < sizeof head) {
    const ssize_t got =
        ::pread(::fileno(file), head + read, sizeof head - read, static_cast<off_t>(read));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    read += static_cast<size_t>(got);
  }
  fingerprint.size = identity.size;
  fingerprint.headChecksum = XXH3_64bits(head, read);
  return true;
}

bool fingerprintOf(const std::string& path, DictionaryFingerprint& fingerprint) {
  int error = 0;
  std::FILE* file = openRegularFile(path, error);
  if (file == nullptr) return false;
  const bool read = fingerprintOf(file, fingerprint);
  std::fclose(file);
  return read;
}

}  // namespace qel
