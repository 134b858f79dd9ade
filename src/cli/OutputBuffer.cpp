#include "cli/OutputBuffer.h"

#include <unistd.h>

#include <cerrno>
#include <ostream>

namespace qel::cli {

OutputBuffer::OutputBuffer(int fd) : m_fd(fd) {
  setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

OutputBuffer::~OutputBuffer() { drain(); }

bool OutputBuffer::drain() {
  const char* p = pbase();
  while (m_error == 0 && p < pptr()) {
    const ssize_t n = ::write(m_fd, p, static_cast<size_t>(pptr() - p));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      m_error = n < 0 ? errno : EIO;
      break;
    }
    p += n;
  }
  // What could not be written is dropped: once a write failed, nothing after it is written.
  setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
  return m_error == 0;
}

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
  if (!drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int OutputBuffer::sync() { return drain() ? 0 : -1; }

int outputError(std::ostream& out) {
  const auto* buffer = dynamic_cast<const OutputBuffer*>(out.rdbuf());
  return buffer ? buffer->error() : 0;
}

}  // namespace qel::cli
