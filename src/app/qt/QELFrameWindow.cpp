// The main window: the view inside, the status text below, the settings read at start and
// written at exit.
#include "app/qt/QELFrameWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>

#include "app/WindowSettings.h"
#include "app/qt/SettingsFonts.h"
#include "app/qt/WindowPosition.h"
#include "search/SearchSettings.h"
#include "search/qt/QELViewWindows.h"

namespace qel {
namespace {

std::string localPath(const QString& path) {
  return QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString();
}

}  // namespace

QELFrameWindow::QELFrameWindow(SettingsBackend& settings, const QString& programFolder,
                               const QStringList& paths, QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_programFolder(programFolder) {
  m_view = new QELViewWindows(this);
  setCentralWidget(m_view);
  m_status = new QLabel(this);
  statusBar()->addWidget(m_status, 1);
  connect(m_view, &QELViewWindows::statusTextChanged, m_status, &QLabel::setText);
  connect(m_view, &QELViewWindows::filesDropped, this, &QELFrameWindow::openDictionaries);
  connect(m_view, &QELViewWindows::closeRequested, this, [this] {
    m_closeAccepted = true;
    close();
  });
  m_view->setProportionsStore(
      [this](int panes) {
        return QString::fromStdString(readPanes(m_settings, panes).value_or(std::string()));
      },
      [this](int panes, const QString& text) {
        writePanes(m_settings, panes, text.toStdString());
      });
  m_view->setOrientation(readPaneOrientation(m_settings));
  const auto range = readRangeDefaults(m_settings);
  m_view->setShortestLongest(range.shortest, range.longest);

  m_options = readOptions(m_settings);
  applyOptions();

  placeWidget(*this, mainWindowPlacement(readMainWindowPosition(m_settings), screenArea(*this)));

  std::vector<std::string> open;
  for (const QString& path : paths) open.push_back(localPath(path));
  if (paths.isEmpty()) {
    // A remembered dictionary that has gone since is left out rather than shown invalid.
    for (const std::string& path : readOpenDictionaries(m_settings, programFolder.toStdString())) {
      if (QFileInfo::exists(QFile::decodeName(path.c_str()))) open.push_back(path);
    }
  }
  setDictionaries(std::move(open));
}

QELFrameWindow::~QELFrameWindow() = default;

void QELFrameWindow::applyOptions() {
  SearchSettings search;
  qel::applyOptions(m_options, search);
  m_view->setOptions(search);
  ViewAppearance appearance;
  appearance.pattern = toQFont(m_options.fontPattern);
  appearance.patternColour = textColour(m_options.fontPattern);
  appearance.results = toQFont(m_options.fontOutput);
  appearance.resultsColour = textColour(m_options.fontOutput);
  appearance.annotation = toQFont(m_options.fontOutputAnnotation);
  appearance.annotationColour = textColour(m_options.fontOutputAnnotation);
  m_view->setAppearance(appearance);
}

void QELFrameWindow::setDictionaries(std::vector<std::string> paths, int activePane) {
  if (paths.size() > static_cast<size_t>(kMaxOpenDictionaries)) paths.resize(kMaxOpenDictionaries);
  m_paths = std::move(paths);
  auto next = std::make_unique<QCDictionaryList>(m_paths);
  m_view->setDictionaries(next.get());
  m_view->setActivePane(activePane);
  m_dictionaries = std::move(next);  // the old list goes once the view no longer uses it
  updateCaption();
}

void QELFrameWindow::openDictionaries(const QStringList& paths) {
  std::vector<std::string> open = m_paths;
  for (const QString& path : paths) {
    const std::string local = localPath(path);
    if (std::find(open.begin(), open.end(), local) == open.end()) open.push_back(local);
  }
  setDictionaries(std::move(open));
}

void QELFrameWindow::closeActiveDictionary() {
  const int active = m_view->activePane();
  if (m_view->state() == SearchState::Searching || active < 0 ||
      active >= static_cast<int>(m_paths.size()))
    return;
  std::vector<std::string> open = m_paths;
  open.erase(open.begin() + active);
  setDictionaries(std::move(open), std::min(active, static_cast<int>(open.size()) - 1));
}

// The open dictionaries' names in search order, then the program's name.
void QELFrameWindow::updateCaption() {
  QStringList names;
  for (int i = 0; i < m_dictionaries->count(); ++i)
    names << QFile::decodeName(m_dictionaries->name(i).c_str());
  setWindowTitle(names.isEmpty() ? QStringLiteral("QEL") : names.join(", ") + " - QEL");
}

void QELFrameWindow::closeEvent(QCloseEvent* event) {
  if (!m_closeAccepted && !m_view->canClose()) {
    event->ignore();  // the search stops at its next slice, then the view asks again
    return;
  }
  storeAtExit();
  event->accept();
}

void QELFrameWindow::storeAtExit() {
  writeMainWindowPosition(m_settings, widgetPosition(*this));
  writeOpenDictionaries(m_settings, m_paths);
}

}  // namespace qel
