// The process-wide list of pooled files, and the lending of a handle from the oldest.
#include "platform/PooledFile.h"

#include <cerrno>

#include "platform/FileAccess.h"

namespace qel {

PooledFile* PooledFile::s_first = nullptr;
PooledFile* PooledFile::s_last = nullptr;

PooledFile::PooledFile() {
  m_previous = s_last;
  if (s_last) s_last->m_next = this;
  s_last = this;
  if (!s_first) s_first = this;
}

PooledFile::~PooledFile() {
  (m_previous ? m_previous->m_next : s_first) = m_next;
  (m_next ? m_next->m_previous : s_last) = m_previous;
  close();
}

void PooledFile::close() {
  if (m_file) std::fclose(m_file);
  m_file = nullptr;
}

void PooledFile::closeAt(long position) {
  close();
  m_resumePosition = position;
}

bool PooledFile::open(const std::string& path, int& error) {
  error = 0;
  m_file = openRegularFile(path, error);
  if (!m_file && outOfFileHandles(error)) {
    // Out of handles: borrow the one of the oldest pooled file that holds one; it reopens its file
    // at its own position when it is next opened.
    for (PooledFile* f = s_first; f; f = f->m_next) {
      if (f != this && f->m_file) {
        f->closeAt(std::ftell(f->m_file));
        m_file = openRegularFile(path, error);
        break;
      }
    }
  }
  if (!m_file) return false;
  if (m_resumePosition != 0 && std::fseek(m_file, m_resumePosition, SEEK_SET) != 0) {
    close();
    error = 0;
    return false;
  }
  return true;
}

bool outOfFileHandles(int error) { return error == EMFILE || error == ENFILE; }

}  // namespace qel
