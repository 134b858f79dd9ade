#include "cli/OutputBuffer.h"

#include <unistd.h>

#include <cerrno>
#include <ostream>

namespace qel::cli {

OutputBuffer::OutputBuffer(int fd) : m_fd(fd) {
  setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

OutputBuffer::~OutputBuffer() { drain(); }

bool OutputBuffer::writeAll(const char* from, size_t size) {
  const char* end = from + size;
  while (m_error == 0 && from < end) {
    const ssize_t n = ::write(m_fd, from, static_cast<size_t>(end - from));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      m_error = n < 0 ? errno : EIO;
      break;
    }
    from += n;
  }
  return m_error == 0;
}

bool OutputBuffer::drain() {
  writeAll(pbase(), static_cast<size_t>(pptr() - pbase()));
  // What could not be written is dropped: once a write failed, nothing after it is written.
  setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
  return m_error == 0;
}

std::streamsize OutputBuffer::xsputn(const char_type* s, std::streamsize n) {
  if (n < static_cast<std::streamsize>(m_buffer.size())) return std::streambuf::xsputn(s, n);
  if (!drain() || !writeAll(s, static_cast<size_t>(n))) return 0;
  return n;
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
