// The outcome of opening, reading or writing a file: success, or what kind of failure with a reason
// the user can act on. A failure keeps the system's error number whenever there was one, whatever
// its code, so that a front end can word it its own way ("cannot be read: Permission denied").
// The reason is UTF-8 and never names the file: whoever knows which file it was puts the path in
// front ("words.qcd: The file does not exist.").
#pragma once

#include <cstdint>
#include <string>

namespace qel {

class [[nodiscard]] Status {
 public:
  enum class Code : uint8_t {
    kOk,
    kNotFound,    // nothing at the path
    kNotAFile,    // a folder, a FIFO or a device
    kUnreadable,  // there, but the system refuses to read it (the system's error is kept)
    kInvalid,     // read, but its contents are not what they must be
    kUnwritable,  // could not be written
    kCancelled,   // the user stopped it
  };

  Status() = default;  // success
  static Status invalid(std::string reason) { return Status(Code::kInvalid, 0, std::move(reason)); }
  // A failure worded by the code that met it (often the system's words: "No space left on device"),
  // with the system's error number behind it, if any.
  static Status failed(Code code, std::string reason, int systemError = 0) {
    return Status(code, systemError, std::move(reason));
  }
  // A file that could not be written, in the system's words.
  static Status unwritable(int error);
  // From what opening a file said: an errno value or kNotRegularFile (platform/FileAccess.h).
  // `isFolder` words a file that is no regular file as the folder it is.
  static Status fromFileError(int error, bool isFolder = false);
  // The same failure in the system's own words ("No such file or directory"), as a log or a
  // command line gives it.
  static Status inSystemWords(int error);

  bool ok() const { return m_code == Code::kOk; }
  Code code() const { return m_code; }
  // Why, in words the user can act on ("The file does not exist."); empty on success.
  const std::string& reason() const { return m_reason; }
  // The errno value behind the failure; 0 when there was none (or on success).
  int systemError() const { return m_systemError; }

 private:
  Status(Code code, int systemError, std::string reason)
      : m_code(code), m_systemError(systemError), m_reason(std::move(reason)) {}

  Code m_code = Code::kOk;
  int m_systemError = 0;
  std::string m_reason;
};

}  // namespace qel
