#include "cli/InvalidDictionary.h"

#include <ostream>

#include "platform/FileAccess.h"

namespace qel::cli {

void reportInvalidDictionary(const QCDictionaryList& list, int i, std::ostream& err) {
  const Status& status = list.dictionary(i).status();
  err << list.path(i);
  // A missing file, or one that cannot be read, is said in the words of a command line; any other
  // is no dictionary, for the reason the reading found.
  if (status.code() == Status::Code::kNotFound) {
    err << "\ndoes not exist\n";
  } else if (status.code() == Status::Code::kUnreadable) {
    err << "\ncannot be read: " << fileErrorText(status.systemError()) << "\n";
  } else {
    err << "\n" << kNotAValidDictionaryText << "\n";
    if (!status.reason().empty()) err << status.reason() << "\n";
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
