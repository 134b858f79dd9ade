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
  int sync() override;

 private:
  bool drain();

  int m_fd;
  int m_error = 0;
  std::array<char, 65536> m_buffer;
};

// The errno value of the first failed write of `out` when it writes through an OutputBuffer,
// else 0.
int outputError(std::ostream& out);

}  // namespace qel::cli
