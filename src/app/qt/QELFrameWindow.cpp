// The main window: the view inside, the status text below, the settings read at start and
// written at exit.
#include "app/qt/QELFrameWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>
#include <QStyle>

#include "app/SettingsFormat.h"
#include "app/StartWindowPlacement.h"
#include "app/WindowSettings.h"
#include "app/qt/QuickReferenceWindow.h"
#include "app/qt/StartupTipsWindow.h"
#include "app/qt/StatusText.h"
#include "common/qt/HelpWindow.h"
#include "common/qt/ProgramIcon.h"
#include "common/qt/UserPrompts.h"
#include "common/qt/WindowPosition.h"
#include "lookup/qt/LookupService.h"
#include "platform/qt/CoreText.h"
#include "search/qt/QELViewWindows.h"

namespace qel {
namespace {

// A dictionary's path as the list keeps it: absolute, in the file system's bytes.
std::string absoluteLocalPath(const QString& path) {
  return localPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

QELFrameWindow::QELFrameWindow(SettingsBackend& settings, const QString& programFolder,
                               const QStringList& paths, QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_programFolder(programFolder) {
  m_lookup = std::make_unique<LookupService>(m_settings, this);
  m_view = new QELViewWindows(this);
  setCentralWidget(m_view);
  setWindowIcon(programIcon());  // the windows it owns show it too
  m_status = new StatusText(this);
  statusBar()->addWidget(m_status, 1);
  connect(m_view, &QELViewWindows::statusTextChanged, m_status, &StatusText::setFullText);
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

  m_appliedOptions =
      std::make_unique<AppliedOptions>(m_settings, m_programFolder, *m_view, *m_lookup, *this);
  const Options& options = m_appliedOptions->options();
  m_output = std::make_unique<ResultsOutput>(*m_view, options, m_settings, *this);
  m_lookupCommands = std::make_unique<LookupCommands>(*m_lookup, *m_view, options, *this);

  placeWidget(*this, mainWindowPlacement(readMainWindowPosition(m_settings), screenArea(*this)));

  m_recent = readRecentFiles(m_settings, kRecentDictionaries);
  buildMenus();
  connect(m_view, &QELViewWindows::stateChanged, this, &QELFrameWindow::updateCommands);
  connect(m_view, &QELViewWindows::activePaneChanged, this, &QELFrameWindow::updateCommands);

  // A file named on the command line that is no dictionary is refused in a box, as File > Open
  // refuses it, and is neither opened nor remembered.
  std::vector<std::string> open;
  std::vector<std::unique_ptr<QCDictionaryList>> checked;
  for (const QString& path : paths) {
    const std::string local = absoluteLocalPath(path);
    if (std::find(open.begin(), open.end(), local) != open.end() ||
        open.size() >= static_cast<size_t>(kMaxOpenDictionaries))
      continue;
    auto list = checkedDictionary(local);
    if (!list) continue;
    checked.push_back(std::move(list));
    open.push_back(local);
    rememberRecent(local);
  }
  if (paths.isEmpty()) {
    // A remembered dictionary that has gone since is left out rather than shown invalid.
    for (const std::string& path : readOpenDictionaries(m_settings, programFolder.toStdString())) {
      if (QFileInfo::exists(QFile::decodeName(path.c_str()))) open.push_back(path);
    }
  }
  // With nothing usable the default dictionary opens, as at the first start.
  if (open.empty()) {
    const std::string fallback =
        resolveSettingPath(kDefaultDictionary, programFolder.toStdString());
    if (QFileInfo(QFile::decodeName(fallback.c_str())).isFile()) open.push_back(fallback);
  }
  setDictionaries(std::move(open));
}

std::unique_ptr<QCDictionaryList> QELFrameWindow::checkedDictionary(const std::string& path) {
  auto list = std::make_unique<QCDictionaryList>(std::vector<std::string>{path});
  if (list->recheck(0)) return list;
  UserPrompts::current().warning(this, tr("Dictionary Open Failed"),
                                 QFile::decodeName(path.c_str()) + "\n" +
                                     QString::fromLatin1(kNotAValidDictionaryText) + "\n\n" +
                                     QString::fromStdString(list->dictionary(0).status().reason()));
  return nullptr;
}

QELFrameWindow::~QELFrameWindow() {
  // The focus moves while the widgets go: the window must not follow it any more.
  disconnect(qApp, nullptr, this, nullptr);
}

void QELFrameWindow::setDictionaries(std::vector<std::string> paths, int activePane) {
  if (paths.size() > static_cast<size_t>(kMaxOpenDictionaries)) paths.resize(kMaxOpenDictionaries);
  m_paths = std::move(paths);
  m_lookup->setOpenDictionaries(m_paths);
  auto next = std::make_unique<QCDictionaryList>(m_paths);
  m_view->setDictionaries(next.get());
  m_output->setDictionaries(next.get());
  m_lookupCommands->setDictionaries(next.get());
  const std::unique_ptr<QCDictionaryList> old = std::move(m_dictionaries);  // unused from here
  m_dictionaries = std::move(next);
  m_view->setActivePane(activePane);
  updateCaption();
}

// Each file opens in turn: one already open only becomes the active pane; beyond eight, or a file
// that is not a dictionary, is refused in a box and leaves the open dictionaries as they are.
void QELFrameWindow::openDictionaries(const QStringList& paths) {
  if (m_view->state() == SearchState::Searching) return;
  std::vector<std::string> open = m_paths;
  int active = m_view->activePane();
  // Each new file is opened once to check it; the checked ones stay open until the new list has
  // taken them over from the shared pool.
  std::vector<std::unique_ptr<QCDictionaryList>> checked;
  for (const QString& path : paths) {
    const std::string local = absoluteLocalPath(path);
    const auto found = std::find(open.begin(), open.end(), local);
    if (found != open.end()) {
      active = static_cast<int>(found - open.begin());
      rememberRecent(local);
      continue;
    }
    if (open.size() >= static_cast<size_t>(kMaxOpenDictionaries)) {
      UserPrompts::current().warning(this, tr("Dictionary Open Failed"),
                                     tr("The number of allowed dictionaries has been reached.\n"
                                        "Please close a dictionary before loading a new one"));
      continue;
    }
    auto list = checkedDictionary(local);
    if (!list) continue;
    checked.push_back(std::move(list));
    open.push_back(local);
    active = static_cast<int>(open.size()) - 1;
    rememberRecent(local);
  }
  if (open != m_paths) {
    setDictionaries(std::move(open), active);
  } else {
    m_view->setActivePane(active);
    m_view->validatePattern();
  }
}

// The dialog starts in the folder of the dictionary used last, else in the default dictionary's.
void QELFrameWindow::openWithDialog() {
  QString folder =
      QFileInfo(QFile::decodeName(
                    resolveSettingPath(kDefaultDictionary, m_programFolder.toStdString()).c_str()))
          .absolutePath();
  if (!m_recent.empty()) {
    const QFileInfo last(QFile::decodeName(m_recent.front().c_str()));
    if (last.dir().exists()) folder = last.absolutePath();
  }
  const QStringList chosen = UserPrompts::current().openFilesIn(
      this, tr("Dictionary File Selection"), tr("Dictionary File (*.qcd);;All Files (*)"), folder);
  if (!chosen.isEmpty()) openDictionaries(chosen);
}

void QELFrameWindow::rememberRecent(const std::string& path) {
  m_recent.erase(std::remove(m_recent.begin(), m_recent.end(), path), m_recent.end());
  m_recent.insert(m_recent.begin(), path);
  if (m_recent.size() > static_cast<size_t>(kMaxRecentFileItems))
    m_recent.resize(kMaxRecentFileItems);
}

void QELFrameWindow::promoteActiveDictionary() { moveActiveDictionary(-1); }
void QELFrameWindow::demoteActiveDictionary() { moveActiveDictionary(+1); }

// The active dictionary changes places with its neighbour; its pane stays the active one.
void QELFrameWindow::moveActiveDictionary(int by) {
  const int active = m_view->activePane();
  const int other = active + by;
  if (m_view->state() == SearchState::Searching || active < 0 || other < 0 ||
      other >= static_cast<int>(m_paths.size()))
    return;
  std::vector<std::string> open = m_paths;
  std::swap(open[active], open[other]);
  setDictionaries(std::move(open), other);
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
  updateCommands();
}

void QELFrameWindow::closeEvent(QCloseEvent* event) {
  if (!m_rangeAsked && m_view->state() != SearchState::Closing) askAboutRange();
  if (!m_closeAccepted && !m_view->canClose()) {
    event->ignore();  // the search stops at its next slice, then the view asks again
    return;
  }
  storeAtExit();
  event->accept();
}

// Shortest and Longest that differ from the stored defaults may become the new defaults.
void QELFrameWindow::askAboutRange() {
  m_rangeAsked = true;
  const RangeDefaults stored = readRangeDefaults(m_settings);
  if (m_view->shortest() == stored.shortest && m_view->longest() == stored.longest) return;
  const auto answer = UserPrompts::current().yesOrNo(
      this, tr("Range Settings Updated"),
      tr("The Shortest and Longest settings have been changed.\nDo you want the new settings to be "
         "the default when QEL is started?"));
  if (answer == UserPrompts::Answer::kYes)
    writeRangeDefaults(m_settings, RangeDefaults{m_view->shortest(), m_view->longest()});
}

QWidget* QELFrameWindow::quickReferenceWindow() {
  if (!m_quickReference) {
    auto* window = new QELQuickReferenceViewWindows(m_settings, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QELQuickReferenceViewWindows::exampleChosen, m_view,
            &QELViewWindows::setPatternAndSearch);
    connect(window, &QELQuickReferenceViewWindows::helpRequested, window,
            [window](int context) { showHelp(context, window); });
    m_quickReference = window;
  }
  return m_quickReference;
}

void QELFrameWindow::showQuickReference() {
  quickReferenceWindow()->show();
  m_quickReference->raise();
}

// A new window each time, so that it shows the next tip.
QWidget* QELFrameWindow::newStartupTipsWindow() {
  if (m_startupTips) m_startupTips->close();
  auto* window = new QELStartupTipsViewWindows(m_settings, m_programFolder, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  connect(window, &QELStartupTipsViewWindows::helpRequested, window,
          [window](int context) { showHelp(context, window); });
  m_startupTips = window;
  return window;
}

void QELFrameWindow::showStartupTips() { newStartupTipsWindow()->show(); }

void QELFrameWindow::showStartWindows() {
  // Those without a place of their own yet are placed before they show, so that the window
  // manager puts their frames there.
  std::vector<QWidget*> shown, unplaced;
  const auto add = [&](QWidget* window, std::string_view dialogName) {
    shown.push_back(window);
    if (!readPosition(m_settings, dialogValueName(dialogName, kPositionValue)))
      unplaced.push_back(window);
  };
  if (readShowQuickReference(m_settings))
    add(quickReferenceWindow(), QELQuickReferenceViewWindows::kDialogName);
  if (readShowStartupTips(m_settings))
    add(newStartupTipsWindow(), QELStartupTipsViewWindows::kDialogName);
  placeBeside(unplaced);
  // At the first start the first two definition windows get places of their own, clear of the
  // windows just placed where the screen has room.
  if (!readPosition(m_settings, definitionWindowPositionName(1))) {
    const auto place = [](const QRect& r) {
      return Position{r.left(), r.top(), r.width(), r.height()};
    };
    std::vector<Position> taken = {place(frameGeometry())};
    for (QWidget* window : shown) taken.push_back(place(window->frameGeometry()));
    for (int window : {1, 2}) {
      const Position clear = placeClearOf(defaultDefinitionPosition(window, screenArea(*this)),
                                          taken, screenArea(*this));
      writePosition(m_settings, definitionWindowPositionName(window), clear);
      taken.push_back(clear);
    }
  }
  for (QWidget* window : shown) window->show();
  if (shown.empty()) m_view->patternBox()->setFocus();
}

void QELFrameWindow::placeBeside(const std::vector<QWidget*>& windows) {
  if (windows.empty()) return;
  // Frames are not known before the window manager has framed a window (the main window's
  // perhaps not yet either): a title bar and borders are allowed for where none is known.
  const QRect main = frameGeometry();
  QSize decoration = main.size() - size();
  if (decoration.isEmpty()) {
    const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    decoration = QSize(2 * border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
  }
  std::vector<WindowSize> frames;
  for (QWidget* w : windows) {
    w->adjustSize();
    const QSize outer = w->size() + decoration;
    frames.push_back({outer.width(), outer.height()});
  }
  const std::vector<Position> places = startWindowPlaces(
      {main.left(), main.top(), main.width(), main.height()}, screenArea(*this), frames);
  for (size_t i = 0; i < windows.size(); ++i) windows[i]->move(places[i].left, places[i].top);
}

void QELFrameWindow::storeAtExit() {
  // The windows the view owns keep their state as they close.
  if (m_quickReference) m_quickReference->close();
  if (m_startupTips) m_startupTips->close();
  m_lookup->windows().closeAll();
  m_appliedOptions->closeOptions();
  writeRecentFiles(m_settings, kRecentDictionaries, m_recent);
  writeMainWindowPosition(m_settings, widgetPosition(*this));
  writeOpenDictionaries(m_settings, m_paths);
}

}  // namespace qel
