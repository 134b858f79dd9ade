// What a path names on disk, and opening it for reading without ever waiting: a FIFO, a device or
// a folder is refused before a byte is read, and the identity of what was opened tells later
// whether the name still leads to the same, unchanged file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace qel {

struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  uint64_t size = 0;
  int64_t modified = 0;  // last write, nanoseconds since the epoch
  int64_t changed = 0;   // last change of contents or attributes, which no program can set back

  bool operator==(const FileIdentity&) const = default;
  // The same file, whatever happened to its contents.
  bool sameFile(const FileIdentity& other) const {
    return device == other.device && inode == other.inode;
  }
};

// Why a file cannot be used: 0 for no reason, an errno value, or this for something that is not a
// regular file.
inline constexpr int kNotRegularFile = -1;

// The reason as the system words it ("Permission denied"), or "not a regular file".
std::string fileErrorText(int error);

// The identity of the regular file at `path` (links followed). Returns 0, an errno value or
// kNotRegularFile.
int regularFileIdentity(const std::string& path, FileIdentity& identity);
int regularFileIdentity(std::FILE* file, FileIdentity& identity);

// kPrivate: a file the program wrote into a private folder for itself and trusts on reading it
// back, opened only when the name is no link and the file is this user's and writable by no one
// else (error kNotPrivate otherwise).
enum class Trust { kAny, kPrivate };
inline constexpr int kNotPrivate = -2;

// Opens the regular file at `path` for reading, or returns null with `error` set. Opening does not
// wait for a FIFO's writer or a device; `identity`, when given, receives what was opened.
std::FILE* openRegularFile(const std::string& path, int& error, FileIdentity* identity = nullptr,
                           Trust trust = Trust::kAny);

// Makes `folder` ready for private files: created with mode 0700 where missing (and its parent,
// but nothing above that: a missing home folder is not made), and then a real folder (not a
// link), owned by this user and writable by no one else. False when it is not, or cannot be.
bool preparePrivateFolder(const std::string& folder);

// Whether two paths name one file: the same device and inode when both exist, else the same path
// once made absolute.
bool sameFile(const std::string& a, const std::string& b);
// `path` made absolute and normal ("a/../b" is "b"); itself when it cannot be made absolute.
std::string absolutePath(const std::string& path);

}  // namespace qel
