// File errors worded as the reasons a Status gives.
#include "platform/Status.h"

#include <cerrno>

#include "platform/FileAccess.h"

namespace qel {

Status Status::fromFileError(int error, bool isFolder) {
  if (error == 0) return Status();
  if (error == ENOENT) return Status(Code::kNotFound, error, "The file does not exist.");
  if (error == kNotRegularFile || error == EISDIR) {
    return Status(Code::kNotAFile, error == EISDIR ? error : 0,
                  isFolder ? "It is a folder, not a file." : "It is not a regular file.");
  }
  if (error == EACCES || error == EPERM) {
    return Status(Code::kUnreadable, error, "You do not have permission to read it.");
  }
  std::string words = fileErrorText(error);
  return Status(Code::kUnreadable, error, "It cannot be read: " + words + ".");
}

Status Status::inSystemWords(int error) {
  if (error == 0) return Status();
  const Code code = error == ENOENT                               ? Code::kNotFound
                    : error == kNotRegularFile || error == EISDIR ? Code::kNotAFile
                                                                  : Code::kUnreadable;
  return Status(code, error == kNotRegularFile ? 0 : error, fileErrorText(error));
}

Status Status::unwritable(int error) {
  return Status(Code::kUnwritable, error == kNotRegularFile ? 0 : error, fileErrorText(error));
}

}  // namespace qel
