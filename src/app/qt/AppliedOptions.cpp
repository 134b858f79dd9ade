#include "app/qt/AppliedOptions.h"

#include "app/qt/QELPropertiesViewWindows.h"
#include "common/qt/HelpWindow.h"
#include "common/qt/SettingsFonts.h"
#include "lookup/qt/LookupService.h"
#include "search/SearchOptions.h"
#include "search/SearchSettings.h"
#include "search/qt/QELViewWindows.h"

namespace qel {

AppliedOptions::AppliedOptions(SettingsBackend& settings, const QString& programFolder,
                               QELViewWindows& view, LookupService& lookup, QWidget& window)
    : m_settings(settings),
      m_programFolder(programFolder),
      m_view(&view),
      m_lookup(&lookup),
      m_window(&window),
      m_options(readOptions(settings)) {
  applyOptions();
}

void AppliedOptions::applyOptions() {
  SearchSettings search;
  qel::applyOptions(m_options, search);
  m_view->setOptions(search);
  ViewAppearance appearance;
  appearance.pattern = toQFont(m_options.fontPattern);
  appearance.patternColour = textColour(m_options.fontPattern);
  appearance.results = toQFont(m_options.fontOutput);
  appearance.resultsColour = textColour(m_options.fontOutput);
  appearance.annotation = toQFont(m_options.fontOutputAnnotation);
  appearance.rareLighter = m_options.viewRareLighter;
  appearance.annotationColour = textColour(m_options.fontOutputAnnotation);
  m_view->setAppearance(appearance);
  // Definitions are drawn again only for a look of their own: a redraw would move the reader's
  // place for nothing.
  if (m_lookup->setOptions(m_options, m_programFolder.toStdString())) {
    m_lookup->windows().refreshAll();
  }
}

void AppliedOptions::showOptions() {
  if (!m_optionsWindow) {
    auto* dialog = new QELPropertiesViewWindows(m_options, m_settings, m_programFolder, m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QELPropertiesViewWindows::optionsChanged, this, &AppliedOptions::applyOptions);
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

void AppliedOptions::closeOptions() {
  if (m_optionsWindow) m_optionsWindow->close();
}

}  // namespace qel
