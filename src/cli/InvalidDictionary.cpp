#include "cli/InvalidDictionary.h"

#include <cerrno>
#include <ostream>

#include "platform/FileAccess.h"

namespace qel::cli {

void reportInvalidDictionary(const QCDictionaryList& list, int i, std::ostream& err) {
  const int error = list.dictionary(i).openError();
  err << list.path(i);
  // A file that is not a regular file is simply no dictionary; a missing one, or one that cannot
  // be read (no permission, a folder that is a file), has a reason the user can act on.
  if (error == ENOENT) {
    err << "\ndoes not exist\n";
  } else if (error != 0 && error != kNotRegularFile) {
    err << "\ncannot be read: " << fileErrorText(error) << "\n";
  } else {
    err << "\nis not a valid QEL&Corvanth Dictionary File\n";
  }
}

bool reportFirstInvalidDictionary(QCDictionaryList& list, std::ostream& err) {
  for (int i = 0; i < list.count(); ++i) {
    if (!list.recheck(i)) {
      reportInvalidDictionary(list, i, err);
      return true;
    }
  }
  return false;
}

}  // namespace qel::cli
