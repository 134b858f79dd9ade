// The main view: controls, state, validation and the sliced search.
#include "search/qt/QELViewWindows.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QUrl>
#include <algorithm>
#include <new>

#include "app/Commands.h"
#include "app/Messages.h"
#include "common/qt/MenuHints.h"
#include "common/qt/UserPrompts.h"
#include "platform/Cp1252.h"
#include "platform/qt/CoreText.h"
#include "search/PaneLayout.h"
#include "search/qt/MatchListLabelWindows.h"
#include "search/qt/MatchListWindows.h"
#include "search/qt/PaneMenus.h"
#include "search/qt/PaneSplitter.h"
#include "search/qt/PatternControls.h"
#include "search/qt/ResultPanes.h"
#include "search/qt/QELProgressBar.h"
#include "search/qt/SearchModeButton.h"

namespace qel {
namespace {

QString text(Message message) {
  return fromCp1252(messageText(messageNumber(message)));
}

QString fromCore(const std::string& text) { return fromCp1252(text); }


const char kInvalidatedCaption[] = "Dictionary Invalidated";
const char kInvalidatedText[] = "\nis no longer a valid QEL&Corvanth Dictionary File";

}  // namespace

QELViewWindows::QELViewWindows(QWidget* parent) : QWidget(parent) {
  setAcceptDrops(true);
  setMouseTracking(true);
  m_splitter = new PaneSplitter(this);
  connect(m_splitter, &PaneSplitter::moved, this, &QELViewWindows::placePanes);
  m_panes = new ResultPanes(this);
  connect(m_panes, &ResultPanes::focused, this, &QELViewWindows::setActivePane);
  connect(m_panes, &ResultPanes::menuRequested, this, [this](int i, QPoint at, bool selected) {
    if (selected) {
      showResultsMenu(i, at);
    } else {
      showPaneMenu(i, at);
    }
  });
  // A double-click on a caption opens the dictionary's properties, the pane menu's first item.
  connect(m_panes, &ResultPanes::captionDoubleClicked, this, [this](int i) {
    setActivePane(i);
    QAction* properties = m_menus.propertiesAction();
    if (properties && properties->isEnabled()) properties->trigger();
  });
  connect(m_panes, &ResultPanes::selectionChanged, this, &QELViewWindows::lookupSubjectChanged);
  connect(m_panes, &ResultPanes::resultDoubleClicked, this, &QELViewWindows::resultDoubleClicked);
  buildControls();
  m_slice.setSingleShot(true);
  m_slice.setInterval(0);
  connect(&m_slice, &QTimer::timeout, this, &QELViewWindows::runSlice);
  setState(SearchState::NoPattern);
}

QELViewWindows::~QELViewWindows() {
  // The lists show the session's results: they go first.
  m_panes->removeAll(m_pattern);
}

void QELViewWindows::buildControls() {
  m_group = new PatternControls(this);
  m_pattern = m_group->pattern;
  m_search = m_group->search;
  m_wordSearch = m_group->wordSearch;
  m_fullTextSearch = m_group->fullTextSearch;
  m_phraseAnagramSearch = m_group->phraseAnagramSearch;
  m_shortest = m_group->shortest;
  m_longest = m_group->longest;
  m_progress = m_group->progress;
  m_splitter->setGap(m_group->spacing());

  // Return and Escape in the pattern box or a length box act on the search. The combo box holds
  // the focus and hands keys to its line edit directly, past any filter.
  for (QObject* box : {static_cast<QObject*>(m_pattern), static_cast<QObject*>(m_pattern->lineEdit()),
                       static_cast<QObject*>(m_shortest), static_cast<QObject*>(m_longest)}) {
    box->installEventFilter(this);
  }
  connect(m_group, &PatternControls::filesDropped, this, &QELViewWindows::filesDropped);
  connect(m_pattern, &QComboBox::editTextChanged, this, [this] {
    if (m_state != SearchState::Searching) validatePattern();
  });
  connect(m_search, &QPushButton::clicked, this, &QELViewWindows::onSearchButton);

  // The search modes' shortcuts act wherever the focus is in the view.
  for (QAction* action : {m_wordSearch, m_fullTextSearch, m_phraseAnagramSearch}) addAction(action);
  connect(m_wordSearch, &QAction::triggered, this, [this] { setFullText(false); });
  connect(m_fullTextSearch, &QAction::triggered, this, [this] { setFullText(true); });
  connect(m_phraseAnagramSearch, &QAction::triggered, this, [this] { setPhraseAnagram(); });
  connect(m_shortest, &QSpinBox::valueChanged, this, [this] { onLengthBoxChanged(false); });
  connect(m_longest, &QSpinBox::valueChanged, this, [this] { onLengthBoxChanged(true); });
}

void QELViewWindows::setDictionaries(QCDictionaryList* dictionaries) {
  m_slice.stop();
  // The dictionaries that stay open keep their panes, results and all (the earlier list is
  // still alive while this runs).
  std::vector<int> origin;
  for (int i = 0; dictionaries && i < dictionaries->count(); ++i) {
    int from = -1;
    for (int j = 0; m_dictionaries && j < m_dictionaries->count(); ++j) {
      if (m_dictionaries->path(j) == dictionaries->path(i)) from = j;
    }
    origin.push_back(from);
  }
  std::unique_ptr<SearchSession> earlier = std::move(m_session);
  m_dictionaries = dictionaries;
  m_session = dictionaries ? std::make_unique<SearchSession>(*dictionaries) : nullptr;
  if (m_session && earlier) m_session->takeResults(*earlier, origin);
  m_activePane = 0;
  m_state = static_cast<SearchState>(255);
  m_panes->rebuild(m_dictionaries, m_session.get(), origin, m_pattern);
  m_splitter->forget();
  layOutPanes();
  updateCaptions();
  earlier.reset();  // after the lists have left its results
  m_panes->updateRanks();
  validatePattern();
}

void QELViewWindows::setOptions(const SearchSettings& options) {
  m_options = options;
  if (m_state != SearchState::Searching) validatePattern();
}

void QELViewWindows::setAppearance(const ViewAppearance& appearance) {
  m_appearance = appearance;
  m_pattern->setFont(appearance.pattern);
  QPalette palette = m_pattern->lineEdit()->palette();
  palette.setColor(QPalette::Text, appearance.patternColour);
  m_pattern->lineEdit()->setPalette(palette);
  m_panes->setAppearance(appearance);
}

void QELViewWindows::setOrientation(int orientation) {
  m_splitter->setOrientation(orientation);
  layOutPanes();
}

void QELViewWindows::setShortestLongest(int shortest, int longest) {
  m_settingBoxes = true;
  m_shortest->setValue(shortest);
  m_longest->setValue(longest);
  m_settingBoxes = false;
  onLengthBoxChanged(false);
}

int QELViewWindows::shortest() const { return m_shortest->value(); }
int QELViewWindows::longest() const { return m_longest->value(); }

void QELViewWindows::setProportionsStore(std::function<QString(int)> read,
                                         std::function<void(int, const QString&)> write) {
  m_splitter->setProportionsStore(std::move(read), std::move(write));
  layOutPanes();
}

void QELViewWindows::setFullText(bool fullText) {
  if (m_state == SearchState::Searching) return;
  m_fullText = fullText;
  m_phraseAnagram = false;
  (fullText ? m_fullTextSearch : m_wordSearch)->setChecked(true);
  m_state = static_cast<SearchState>(255);  // the button's text follows the mode
  validatePattern();
}

void QELViewWindows::setPhraseAnagram() {
  if (m_state == SearchState::Searching) return;
  m_fullText = false;
  m_phraseAnagram = true;
  m_phraseAnagramSearch->setChecked(true);
  m_state = static_cast<SearchState>(255);
  validatePattern();
}

void QELViewWindows::setActivePane(int pane) {
  if (pane < 0 || pane >= paneCount() || pane == m_activePane) return;
  m_activePane = pane;
  updateCaptions();
  // The progress bar shows the newly active dictionary.
  if (m_state != SearchState::Searching) updateProgress();
  emit activePaneChanged(pane);
}

// Shortest and Longest keep Shortest <= Longest; while a search runs they do not validate.
void QELViewWindows::onLengthBoxChanged(bool longestChanged) {
  if (m_settingBoxes) return;
  SearchSettings s;
  s.shortest = m_shortest->value();
  s.longest = m_longest->value();
  keepShortestLongestOrdered(s, longestChanged);
  m_settingBoxes = true;
  m_shortest->setValue(s.shortest);
  m_longest->setValue(s.longest);
  m_settingBoxes = false;
  if (m_state != SearchState::Searching) validatePattern();
}

SearchSettings QELViewWindows::currentSettings() const {
  SearchSettings s = m_options;
  s.shortest = m_shortest->value();
  s.longest = m_longest->value();
  s.fullText = m_fullText;
  s.phraseAnagram = m_phraseAnagram;
  s.activePane = m_activePane;
  return s;
}

std::vector<bool> QELViewWindows::validity() const {
  std::vector<bool> valid;
  for (int i = 0; m_dictionaries && i < m_dictionaries->count(); ++i)
    valid.push_back(m_dictionaries->dictionary(i).valid());
  return valid;
}

// A dictionary that is no longer valid is reported once, when it is found so (last first, as the
// dictionaries are checked).
bool QELViewWindows::reportInvalidated(const std::vector<bool>& wasValid) {
  bool allValid = true;
  for (int i = static_cast<int>(wasValid.size()) - 1; i >= 0; --i) {
    if (m_dictionaries->dictionary(i).valid()) continue;
    allValid = false;
    if (wasValid[i]) {
      UserPrompts::current().warning(
          this, tr(kInvalidatedCaption),
          QFile::decodeName(m_dictionaries->path(i).c_str()) + tr(kInvalidatedText));
    }
  }
  return allValid;
}

bool QELViewWindows::recheckDictionaries() {
  if (!m_dictionaries) return false;
  const std::vector<bool> wasValid = validity();
  for (int i = m_dictionaries->count() - 1; i >= 0; --i) m_dictionaries->recheck(i);
  return reportInvalidated(wasValid);
}

void QELViewWindows::validatePattern() {
  if (m_state == SearchState::Searching || m_closing) return;
  if (!m_session) {
    setStatus(fromCore(std::string(messageText(messageNumber(Message::kNoDictionary)))));
    setState(SearchState::NoPattern);
    return;
  }
  std::string pattern;
  if (!cp1252::fromUtf8(m_pattern->currentText().toStdString(), pattern)) {
    setStatus(tr("The pattern holds a character that the dictionaries cannot hold"));
    setState(SearchState::NoPattern);
    return;
  }
  // The session checks every dictionary again before it compiles the pattern.
  const std::vector<bool> wasValid = validity();
  const SearchSession::Validation v = m_session->validate(pattern, currentSettings());
  reportInvalidated(wasValid);
  setStatus(fromCore(v.statusText));
  setState(v.state);
  // The lengths in range follow the pattern even when the state stays the same.
  if (v.state == SearchState::Ready) updateProgress();
}

void QELViewWindows::setPatternAndSearch(const QString& pattern) {
  if (m_state == SearchState::Searching) return;
  m_pattern->setEditText(pattern);
  m_pattern->lineEdit()->selectAll();
  validatePattern();
  if (m_search->isEnabled()) onSearchButton();
}

void QELViewWindows::onSearchButton() {
  if (!m_session) return;
  // A value typed into Shortest or Longest counts, even with the focus still in its box.
  if (m_state != SearchState::Searching) m_group->commitLengths();
  if (m_state == SearchState::Searching) {
    m_session->pause();
    return;  // the slice under way ends and the view shows the pause
  }
  const bool fresh = m_state == SearchState::Ready;
  if (fresh) {
    // A new search starts from the dictionaries as they are now (validation checks them again)
    // and with the active pane's choice.
    validatePattern();
    if (m_state != SearchState::Ready) return;
    m_group->addToHistory(m_pattern->currentText());
  } else if (!recheckDictionaries()) {
    validatePattern();
    return;
  }
  if (!m_session->start()) {
    validatePattern();
    return;
  }
  m_panes->updateRanks();
  if (fresh) {
    m_panes->clearSearched();
    updateCaptions();
  }
  setState(SearchState::Searching);
  m_search->setFocus();
  m_sinceRefresh.start();
  m_slice.start();
}

// Steps run back to back for a few milliseconds, then the event loop gets its turn: a Stop click,
// Escape or a close request is seen within one slice.
void QELViewWindows::runSlice() {
  if (m_state != SearchState::Searching || !m_session) return;
  QElapsedTimer slice;
  slice.start();
  bool more = true;
  try {
    do {
      more = m_session->step();
    } while (more && slice.elapsed() < kSliceMilliseconds);
    refreshPanes(false);
  } catch (const std::bad_alloc&) {
    m_session->pause();
    more = false;
  }
  if (more && !m_closing) {
    updateProgress();
    m_longestSlice = std::max(m_longestSlice, slice.nsecsElapsed());
    m_slice.start();
    return;
  }
  finishSlice();
  m_longestSlice = std::max(m_longestSlice, slice.nsecsElapsed());
}

// The search stopped: finished, paused (by the user or for want of memory), invalidated, or the
// view is closing.
void QELViewWindows::finishSlice() {
  if (m_closing) {
    m_session->pause();
    refreshPanes(true);
    setState(SearchState::Closing);
    emit closeRequested();
    return;
  }
  if (m_session->state() == SearchState::Searching) m_session->pause();
  refreshPanes(true);
  const SearchSession::Failure failure = m_session->failure();
  if (failure == SearchSession::Failure::kDictionaryInvalidated) {
    const std::string path = m_session->failedPath().value_or("");
    UserPrompts::current().warning(this, tr(kInvalidatedCaption),
                                   QFile::decodeName(path.c_str()) + tr(kInvalidatedText));
    m_state = static_cast<SearchState>(255);
    validatePattern();
    return;
  }
  if (failure == SearchSession::Failure::kOutOfMemory) {
    const auto answer = UserPrompts::current().retryOrCancel(
        this, tr("Application Memory Low"),
        tr("An application function has been suspended because there is too little virtual "
           "memory. Try closing down all unnecessary programs and selecting the Retry button. If "
           "this message persists, exit the application by selecting the Cancel button and "
           "configure more virtual memory."));
    if (answer == UserPrompts::Answer::kCancel) std::exit(1);
  }
  setState(m_session->state());
  // Entries the matcher gave up on are left out of the results: the user is told, as qel-cli
  // tells on its error stream.
  const long undecided = m_session->undecidedEntries();
  if (m_session->state() == SearchState::Ready && undecided > 0)
    setStatus(fromCore(SearchSession::undecidedText(undecided)));
  // A pattern that needs too much work pauses rather than holding the window for minutes; Resume
  // goes on with a fresh allowance.
  if (failure == SearchSession::Failure::kTooMuchWork) setStatus(text(Message::kSearchTooMuchWork));
  if (failure == SearchSession::Failure::kResultLimit) setStatus(fromCore(m_session->failureText()));
  if (m_search->hasFocus()) m_pattern->setFocus();
}

void QELViewWindows::refreshPanes(bool force) {
  if (!force && m_sinceRefresh.isValid() && m_sinceRefresh.elapsed() < kRefreshMilliseconds) return;
  m_sinceRefresh.start();
  m_panes->refresh(force);
}

void QELViewWindows::updateProgress() {
  if (!m_session || !m_dictionaries) {
    m_progress->clear();
    return;
  }
  if (m_state == SearchState::Searching) {
    // Phrase Anagram, as Full Text Search, goes through no lengths: the bar shows no ruler.
    m_progress->showSession(m_dictionaries, *m_session, m_activePane,
                            m_fullText || m_phraseAnagram);
  } else {
    m_progress->showIdle(m_dictionaries, *m_session, m_activePane, m_fullText || m_phraseAnagram);
  }
}

void QELViewWindows::updateCaptions() {
  m_panes->setActive(m_activePane);
}

void QELViewWindows::showResultsMenu(int pane, const QPoint& at) {
  emit menuAboutToShow();
  m_menus.showResultsMenu(this, (*m_panes)[pane].list, at);
}

// The main window's own commands for the dictionary, when it gave them; the pane becomes the
// active one first, so that they act on it.
void QELViewWindows::showPaneMenu(int pane, const QPoint& at) {
  setActivePane(pane);
  m_menus.showPaneMenu(this, at);
}

void QELViewWindows::setPaneMenuActions(std::vector<QAction*> actions) {
  m_menus.setPaneActions(std::move(actions));
}

void QELViewWindows::setLookupMenuActions(std::vector<QAction*> actions) {
  m_menus.setLookupActions(std::move(actions));
}

void QELViewWindows::setResultsMenuActions(std::vector<QAction*> actions) {
  m_menus.setResultsActions(std::move(actions));
}

std::optional<QELViewWindows::LookupSubject> QELViewWindows::lookupSubject() const {
  if (patternHasFocus()) {
    std::string word;
    if (m_pattern->currentText().isEmpty() ||
        !cp1252::fromUtf8(m_pattern->currentText().toStdString(), word)) {
      return std::nullopt;
    }
    return LookupSubject{word};
  }
  if (!m_session || m_activePane < 0 || m_activePane >= paneCount()) return std::nullopt;
  const ResultList& results = m_session->pane(m_activePane).results;
  if (!pane(m_activePane).list->isFocused() || results.selection().selectedCount() != 1) {
    return std::nullopt;
  }
  return resultSubject(m_activePane, results.selection().runs().front().start);
}

bool QELViewWindows::patternHasFocus() const { return m_group->patternHasFocus(); }

std::optional<QELViewWindows::LookupSubject> QELViewWindows::resultSubject(int pane,
                                                                           long row) const {
  return m_panes->subject(pane, row);
}

bool QELViewWindows::canStepResult(bool next) const {
  return m_panes->stepFrom(m_activePane, next).has_value();
}

bool QELViewWindows::stepResult(bool next) {
  const std::optional<ResultStep> step = m_panes->stepFrom(m_activePane, next);
  if (!step) return false;
  const bool samePane = step->pane == m_activePane;
  if (!samePane) setActivePane(step->pane);
  m_panes->takeStep(*step, next, samePane);
  return true;
}

bool QELViewWindows::canClose() {
  if (m_state == SearchState::Searching) {
    m_closing = true;
    m_session->pause();
    return false;  // the slice under way ends, then closeRequested
  }
  m_closing = true;
  m_slice.stop();
  setState(SearchState::Closing);
  return true;
}

void QELViewWindows::setStatus(const QString& text) {
  m_statusText = text;
  emit statusTextChanged(text);
}

void QELViewWindows::setState(SearchState state) {
  if (state == SearchState::Closing) {
    m_state = state;
    emit stateChanged(state);
    return;
  }
  m_group->showSearchText(state, m_fullText, m_phraseAnagram);
  if (state == m_state) return;
  m_state = state;
  const bool searching = state == SearchState::Searching;
  m_search->setEnabled(state != SearchState::NoPattern);
  m_group->setSearching(searching);
  setAcceptDrops(!searching);
  switch (state) {
    case SearchState::NoPattern:
      m_progress->clear();
      break;
    case SearchState::Ready:
      updateProgress();
      setStatus(fromCore(std::string(messageText(messageNumber(pattern::PatternError::kValid)))));
      break;
    case SearchState::Searching:
      setStatus(text(Message::kSearching));
      break;
    case SearchState::Paused:
      updateProgress();
      setStatus(text(Message::kSearchPaused));
      break;
    case SearchState::Closing:
      break;
  }
  emit stateChanged(state);
}

void QELViewWindows::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    // Escape pauses a running search and closes nothing.
    if (m_state == SearchState::Searching) m_session->pause();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool QELViewWindows::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && m_state == SearchState::Searching) {
      m_session->pause();
      return true;
    }
    // Return, or Enter on the keypad, in the pattern box or a length box searches, as the
    // default button of a dialog would.
    const bool topControl = watched == m_pattern || watched == m_pattern->lineEdit() ||
                            watched == m_shortest || watched == m_longest;
    if (topControl && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      m_group->commitLengths();
      if (m_search->isEnabled()) onSearchButton();
      return true;
    }
  }
  if (event->type() == QEvent::FocusIn) {
    const int watchedPane = m_panes->indexOf(watched);
    if (watchedPane >= 0) {
      setActivePane(watchedPane);
      updateCaptions();
    }
  }
  if (event->type() == QEvent::FocusOut) updateCaptions();
  return QWidget::eventFilter(watched, event);
}

QRect QELViewWindows::paneArea() const {
  const QRect group = m_group->geometry();
  const int top = group.bottom() + 1 + gap();
  return QRect(group.left(), top, group.width(), std::max(0, height() - top - gap()));
}

QRect QELViewWindows::paneRect(int i) const { return m_splitter->paneRect(i); }
int QELViewWindows::orientation() const { return m_splitter->orientation(); }
int QELViewWindows::gap() const { return m_splitter->gap(); }

void QELViewWindows::layOutPanes() {
  m_splitter->layOut(paneCount(), paneArea());
  placePanes();
}

void QELViewWindows::placePanes() {
  m_panes->place([this](int i) { return paneRect(i); }, fontMetrics().height() + 4);
}

// Room for the pattern controls uncut and a few rows of one pane.
QSize QELViewWindows::minimumSizeHint() const {
  const QSize controls = m_group->minimumSizeHint();
  const int captionHeight = fontMetrics().height() + 4;
  return QSize(controls.width() + 2 * gap(),
               m_group->sizeHint().height() + 3 * gap() + captionHeight + 4 * fontMetrics().height());
}

void QELViewWindows::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_group->setGeometry(gap(), gap(), width() - 2 * gap(), m_group->sizeHint().height());
  layOutPanes();
}

void QELViewWindows::mousePressEvent(QMouseEvent* event) {
  if (!m_splitter->mousePress(event)) QWidget::mousePressEvent(event);
}

void QELViewWindows::mouseMoveEvent(QMouseEvent* event) {
  if (!m_splitter->mouseMove(event)) QWidget::mouseMoveEvent(event);
}

void QELViewWindows::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_splitter->mouseRelease(event)) QWidget::mouseReleaseEvent(event);
}

void QELViewWindows::dragEnterEvent(QDragEnterEvent* event) {
  if (m_state != SearchState::Searching && event->mimeData()->hasUrls()) {
    event->acceptProposedAction();
  }
}

void QELViewWindows::dropEvent(QDropEvent* event) {
  const QStringList paths = localFiles(event->mimeData());
  if (paths.isEmpty() || m_state == SearchState::Searching) return;
  event->acceptProposedAction();
  emit filesDropped(paths);
}

}  // namespace qel
