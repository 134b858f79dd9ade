// The main window's Options dialog: one at a time, modeless, disabled while a search runs, each
// change applied to the running program at once.
#include "app/qt/QELFrameWindow.h"
#include "app/qt/QELPropertiesViewWindows.h"
#include "common/qt/HelpWindow.h"
#include "search/qt/QELViewWindows.h"

namespace qel {

void QELFrameWindow::showOptions() {
  if (!m_optionsWindow) {
    auto* dialog = new QELPropertiesViewWindows(m_options, m_settings, m_programFolder, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QELPropertiesViewWindows::optionsChanged, this, &QELFrameWindow::applyOptions);
    connect(dialog, &PropertiesDialog::helpRequested, dialog,
            [dialog](int context) { showHelp(context, dialog); });
    const auto followSearch = [dialog](SearchState state) {
      dialog->setEnabled(state != SearchState::Searching);
    };
    connect(m_view, &QELViewWindows::stateChanged, dialog, followSearch);
    followSearch(m_view->state());
    m_optionsWindow = dialog;
  }
  m_optionsWindow->show();
  m_optionsWindow->raise();
  m_optionsWindow->activateWindow();
}

}  // namespace qel
