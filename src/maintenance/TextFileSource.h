// A build source read from a text file, once per pass of the builder: only the line in hand is
// held, so the memory of a build follows its entries rather than the size of its definitions.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "maintenance/DictionaryBuilder.h"
#include "platform/FileAccess.h"
#include "platform/Status.h"

namespace qel {

class TextFileSource : public BuildSource {
 public:
  enum class Encoding { Utf8, Cp1252 };

  TextFileSource() = default;
  ~TextFileSource() override;
  TextFileSource(const TextFileSource&) = delete;
  TextFileSource& operator=(const TextFileSource&) = delete;

  // Opens the source; a failure, in the system's words, when it cannot be read or is not a regular
  // file.
  Status open(const std::string& path, Encoding encoding);

  void rewind() override;
  // A line that code page 1252 cannot hold, that holds a NUL byte or that is longer than 65,536
  // bytes (it is never held whole) is reported with its number (in the first pass only) and
  // given as an empty line, which makes no entry, so that line counts stay line numbers. A
  // UTF-8 byte-order mark before the first line is dropped. A file that changed since it was
  // opened, or cannot be read, ends the build (reported).
  Line nextLine(std::string& line, long count) override;
  bool keepGoing() override { return true; }

  // How far the running pass has read, against the file's size when it was opened: for a
  // progress bar.
  uint64_t position() const { return m_offset; }
  uint64_t size() const { return m_identity.size; }
  // Lines of this pass read so far, and those of them skipped as not convertible from UTF-8.
  long linesRead() const { return m_lineNumber; }
  long unconvertibleLines() const { return m_notUtf8Lines; }
  // Why the line nextLine() gave last was skipped ("not UTF-8 text ..."); empty when it was not.
  const std::string& skipReason() const { return m_skipReason; }

 protected:
  // Called after each piece of the file is read (at most 1 MB, however long the line in hand):
  // a caller's chance to show progress and to give up, which makes nextLine() Abandoned.
  virtual bool pieceRead() { return true; }

 private:
  // The next line of the file without its line feed; false at the end of the file.
  bool readLine(std::string& line);

  std::FILE* m_file = nullptr;
  FileIdentity m_identity;
  Encoding m_encoding = Encoding::Utf8;
  std::vector<char> m_buffer;
  size_t m_position = 0, m_end = 0;  // unread bytes of m_buffer
  int m_passes = 0;
  long m_lineNumber = 0;
  long m_notUtf8Lines = 0;
  uint64_t m_offset = 0;       // bytes of the file read in this pass
  bool m_failed = false;       // the file changed or a read failed: the build ends
  bool m_abandoned = false;    // pieceRead() gave up
  bool m_lineTooLong = false;  // the line in hand was dropped for its length
  std::string m_raw;
  std::string m_skipReason;
};

}  // namespace qel
