// Standard output as qel-cli writes it: a buffer over a file descriptor that keeps the reason of
// the first failed write, so that a full disk or a closed output is reported rather than lost.
#pragma once

#include <array>
#include <iosfwd>
#include <streambuf>

namespace qel::cli {

class OutputBuffer : public std::streambuf {
 public:
  explicit OutputBuffer(int fd);
  ~OutputBuffer() override;
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  // The errno value of the first failed write, 0 while every write succeeded.
  int error() const { return m_error; }

 protected:
  int_type overflow(int_type c) override;
  // A block as large as the buffer or larger goes out in one write, not a copy and a write a
  // buffer at a time.
  std::streamsize xsputn(const char_type* s, std::streamsize n) override;
  int sync() override;

 private:
  bool drain();
  bool writeAll(const char* from, size_t size);

  int m_fd;
  int m_error = 0;
  std::array<char, 65536> m_buffer;
};

// The errno value of the first failed write of `out` when it writes through an OutputBuffer,
// else 0.
int outputError(std::ostream& out);

}  // namespace qel::cli
