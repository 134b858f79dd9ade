#include "maintenance/TextFileSource.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/Cp1252.h"

namespace qel {
namespace {
constexpr size_t kBufferSize = 1 << 20;
// No entry with its definition comes near this; a longer line (a file without line ends, a
// binary file) is skipped rather than held, whatever its length.
constexpr size_t kMaxLineBytes = 65536;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

TextFileSource::~TextFileSource() {
  if (m_file) std::fclose(m_file);
}

Status TextFileSource::open(const std::string& path, Encoding encoding) {
  int error = 0;
  m_file = openRegularFile(path, error, &m_identity);
  if (!m_file) return Status::inSystemWords(error);
  m_encoding = encoding;
  m_buffer.resize(kBufferSize);
  return Status();
}

void TextFileSource::rewind() {
  ++m_passes;
  m_notUtf8Lines = 0;
  m_lineNumber = 0;
  m_offset = 0;
  m_position = m_end = 0;
  // Each pass numbers the definitions afresh; a source that changed between passes would give
  // entries the definitions of other lines.
  FileIdentity now;
  if (!m_failed && (!m_file || std::fseek(m_file, 0, SEEK_SET) != 0 ||
                    regularFileIdentity(m_file, now) != 0 || now != m_identity)) {
    m_failed = true;
    error("The source file changed during the build\n");
  }
}

bool TextFileSource::readLine(std::string& line) {
  line.clear();
  m_lineTooLong = false;
  for (;;) {
    if (m_position == m_end) {
      m_position = 0;
      m_end = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
      if (m_end == 0) {
        if (std::ferror(m_file)) {
          m_failed = true;
          error(std::string("Couldn't read the source file - ") + std::strerror(errno) + "\n");
          return false;
        }
        return !line.empty() || m_lineTooLong;
      }
      if (!pieceRead()) {
        m_abandoned = true;
        return false;
      }
    }
    const char* from = m_buffer.data() + m_position;
    const size_t available = m_end - m_position;
    const void* feed = std::memchr(from, '\n', available);
    const size_t length = feed ? static_cast<const char*>(feed) - from : available;
    if (line.size() + length > kMaxLineBytes) {
      m_lineTooLong = true;
      line.clear();
    } else if (!m_lineTooLong) {
      line.append(from, length);
    }
    m_position += length + (feed ? 1 : 0);
    m_offset += length + (feed ? 1 : 0);
    if (feed) return true;
  }
}

BuildSource::Line TextFileSource::nextLine(std::string& line, long) {
  m_skipReason.clear();
  if (m_failed || m_abandoned) return Line::Abandoned;
  std::string& raw = m_encoding == Encoding::Utf8 ? m_raw : line;
  if (!readLine(raw)) return m_failed || m_abandoned ? Line::Abandoned : Line::End;
  ++m_lineNumber;
  // A line that cannot be an entry is reported (in the first pass) and given as an empty line,
  // which makes none, so that line counts stay line numbers.
  const auto skip = [&](const std::string& why) {
    m_skipReason = why;
    if (m_passes == 1)
      error("line " + std::to_string(m_lineNumber) + ": " + why + " - line skipped\n");
    line.clear();
    return Line::Text;
  };
  if (m_lineTooLong) return skip("longer than " + std::to_string(kMaxLineBytes) + " bytes");
  if (raw.find('\0') != std::string::npos) return skip("a NUL byte, which no text holds");
  if (!raw.empty() && raw.back() == '\r') raw.pop_back();
  // Editors that save UTF-8 with a byte-order mark put it before the first line.
  if (m_lineNumber == 1 && m_encoding == Encoding::Utf8 && raw.starts_with(kByteOrderMark)) {
    raw.erase(0, kByteOrderMark.size());
  }
  bool notUtf8 = false;
  if (m_encoding == Encoding::Utf8 && !cp1252::fromUtf8(raw, line, nullptr, &notUtf8)) {
    ++m_notUtf8Lines;
    return skip(notUtf8 ? "not UTF-8 text (a code page 1252 file needs that encoding chosen)"
                        : "a character that code page 1252 cannot hold");
  }
  return Line::Text;
}

}  // namespace qel
