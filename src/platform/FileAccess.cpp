// POSIX calls behind FileAccess.h: stat and open are the only ways to learn a file's kind and
// identity before reading it.
#include "platform/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace qel {
namespace {

int identityFromStat(const struct stat& s, FileIdentity& identity) {
  if (!S_ISREG(s.st_mode)) return kNotRegularFile;
  identity.device = static_cast<uint64_t>(s.st_dev);
  identity.inode = static_cast<uint64_t>(s.st_ino);
  identity.size = static_cast<uint64_t>(s.st_size);
  identity.modified = static_cast<int64_t>(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec;
  identity.changed = static_cast<int64_t>(s.st_ctim.tv_sec) * 1000000000 + s.st_ctim.tv_nsec;
  return 0;
}

std::string absolutePath(const std::string& path) {
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

}  // namespace

std::string fileErrorText(int error) {
  if (error == kNotRegularFile) return "not a regular file";
  return std::strerror(error);
}

int regularFileIdentity(const std::string& path, FileIdentity& identity) {
  struct stat s;
  if (::stat(path.c_str(), &s) != 0) return errno;
  return identityFromStat(s, identity);
}

int regularFileIdentity(std::FILE* file, FileIdentity& identity) {
  struct stat s;
  if (::fstat(fileno(file), &s) != 0) return errno;
  return identityFromStat(s, identity);
}

std::FILE* openRegularFile(const std::string& path, int& error, FileIdentity* identity) {
  // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    return nullptr;
  }
  struct stat s;
  FileIdentity opened;
  error = ::fstat(fd, &s) != 0 ? errno : identityFromStat(s, opened);
  if (error == 0 && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) error = errno;
  std::FILE* file = error == 0 ? ::fdopen(fd, "rb") : nullptr;
  if (file == nullptr) {
    if (error == 0) error = errno;
    ::close(fd);
    return nullptr;
  }
  if (identity) *identity = opened;
  return file;
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) {
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  }
  return absolutePath(a) == absolutePath(b);
}

}  // namespace qel
