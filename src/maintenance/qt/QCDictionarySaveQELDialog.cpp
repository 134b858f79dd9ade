#include "maintenance/qt/QCDictionarySaveQELDialog.h"

#include "app/HelpContexts.h"

namespace qel {

QCDictionarySaveQELDialog::QCDictionarySaveQELDialog(const Request& request,
                                                     SettingsBackend& settings, QWidget* parent)
    : QCDictionarySaveDialog(request, tr("Save QEL&Corvanth Dictionary"), kDialogName,
                             help::kDictionarySaveDialog, settings, parent) {}

}  // namespace qel
