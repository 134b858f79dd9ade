// A file held open for reading in steps, whose handle the process may lend to another: when opening
// a pooled file finds the process out of handles, the oldest other pooled file that holds one gives
// it up, noting where it was, and opens its file again there when it is next opened. The pooled
// files of a process form one list, oldest first, used from one thread.
#pragma once

#include <cstdio>
#include <string>

namespace qel {

class PooledFile {
 public:
  PooledFile();
  ~PooledFile();
  PooledFile(const PooledFile&) = delete;
  PooledFile& operator=(const PooledFile&) = delete;

  // The open file, or null.
  std::FILE* get() const { return m_file; }
  void close();
  // Closes the file, if open; the next open() reads from byte `position`.
  void closeAt(long position);
  // Opens the regular file at `path` where reading is to go on (see closeAt), borrowing a handle
  // when the process has none left. False when it cannot be opened, with `error` set as
  // openRegularFile() sets it, or when it cannot be positioned, with `error` 0.
  bool open(const std::string& path, int& error);

 private:
  static PooledFile* s_first;
  static PooledFile* s_last;
  PooledFile* m_next = nullptr;
  PooledFile* m_previous = nullptr;

  std::FILE* m_file = nullptr;
  long m_resumePosition = 0;
};

// Whether `error` says only that the process ran out of file handles, which is no fault of the
// file.
bool outOfFileHandles(int error);

}  // namespace qel
