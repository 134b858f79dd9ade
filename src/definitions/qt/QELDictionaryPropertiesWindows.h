// The properties of one dictionary: where it is, its date, its description and what it holds.
#pragma once

#include "app/SettingsBackend.h"
#include "dictionary/QCDictionaryList.h"
#include "properties/PropertiesDialog.h"

namespace qel {

class QELDictionaryPropertiesWindows : public PropertiesDialog {
  Q_OBJECT

 public:
  static constexpr char kDialogName[] = "DictionaryProperties";

  // Shows dictionary `index` of `list` as its file is now: a file changed since it was read is read
  // again first. The fields are read-only; OK closes. Open it modally (exec()).
  QELDictionaryPropertiesWindows(QCDictionaryList& list, int index, SettingsBackend& settings,
                                 QWidget* parent = nullptr);
};

}  // namespace qel
