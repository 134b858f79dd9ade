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

}  // namespace

// Only this user can have written it, or can change it.
bool ownedAndClosed(const struct stat& s) {
  return s.st_uid == ::geteuid() && (s.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string fileErrorText(int error) {
  if (error == kNotRegularFile) return "not a regular file";
  if (error == kNotPrivate) return "not a private file";
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

std::FILE* openRegularFile(const std::string& path, int& error, FileIdentity* identity,
                           Trust trust) {
  // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come. It stays set: it
  // changes nothing for the reads of a regular file, the only kind kept open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC |
                                          (trust == Trust::kPrivate ? O_NOFOLLOW : 0));
  if (fd < 0) {
    error = errno == ELOOP && trust == Trust::kPrivate ? kNotPrivate : errno;
    return nullptr;
  }
  struct stat s;
  FileIdentity opened;
  error = ::fstat(fd, &s) != 0 ? errno : identityFromStat(s, opened);
  if (error == 0 && trust == Trust::kPrivate && !ownedAndClosed(s)) error = kNotPrivate;
  std::FILE* file = error == 0 ? ::fdopen(fd, "rb") : nullptr;
  if (file == nullptr) {
    if (error == 0) error = errno;
    ::close(fd);
    return nullptr;
  }
  if (identity) *identity = opened;
  return file;
}

bool preparePrivateFolder(const std::string& folder) {
  if (folder.empty()) return false;
  const std::filesystem::path path(folder);
  struct stat s;
  if (::lstat(path.c_str(), &s) != 0) {
    // The parent is made only inside a folder that exists (a cache folder in a home folder).
    const std::filesystem::path parent = path.parent_path();
    if (!parent.empty() && ::mkdir(parent.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (::lstat(path.c_str(), &s) != 0) return false;
  }
  return S_ISDIR(s.st_mode) && ownedAndClosed(s);
}

std::string absolutePath(const std::string& path) {
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) {
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  }
  return absolutePath(a) == absolutePath(b);
}

}  // namespace qel
