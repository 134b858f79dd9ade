// The dictionary save dialog as QEL opens it when results are saved as a dictionary.
#pragma once

#include "maintenance/qt/QCDictionarySaveDialog.h"

namespace qel {

class QCDictionarySaveQELDialog : public QCDictionarySaveDialog {
  Q_OBJECT

 public:
  static constexpr char kDialogName[] = "QCDictionarySave";

  QCDictionarySaveQELDialog(const Request& request, SettingsBackend& settings,
                            QWidget* parent = nullptr);
};

}  // namespace qel
