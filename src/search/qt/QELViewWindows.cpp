// The main view: its parts put together, the search's states, and the pattern's validation.
#include "search/qt/QELViewWindows.h"

#include <QAction>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "app/Messages.h"
#include "platform/Cp1252.h"
#include "platform/qt/CoreText.h"
#include "search/qt/MatchListWindows.h"
#include "search/qt/PaneSplitter.h"
#include "search/qt/PatternControls.h"
#include "search/qt/QELProgressBar.h"
#include "search/qt/SearchRunner.h"

namespace qel {
namespace {

QString text(Message message) { return fromCp1252(messageText(messageNumber(message))); }

QString fromCore(const std::string& text) { return fromCp1252(text); }

}  // namespace

QELViewWindows::QELViewWindows(QWidget* parent) : QWidget(parent) {
  setAcceptDrops(true);
  setMouseTracking(true);
  m_splitter = new PaneSplitter(this);
  connect(m_splitter, &PaneSplitter::moved, this, &QELViewWindows::placePanes);
  m_panes = new ResultPanes(this);
  connect(m_panes, &ResultPanes::focused, this, &QELViewWindows::setActivePane);
  // The menu for selected results, or the main window's own commands for the dictionary (the
  // pane becomes the active one first, so that they act on it).
  connect(m_panes, &ResultPanes::menuRequested, this, [this](int i, QPoint at, bool selected) {
    if (selected) {
      emit menuAboutToShow();
      m_menus.showResultsMenu(this, (*m_panes)[i].list, at);
    } else {
      setActivePane(i);
      m_menus.showPaneMenu(this, at);
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
  m_runner = new SearchRunner(this);
  connect(m_runner, &SearchRunner::refreshDue, m_panes, &ResultPanes::refresh);
  connect(m_runner, &SearchRunner::progressed, this, &QELViewWindows::updateProgress);
  connect(m_runner, &SearchRunner::stopped, this, &QELViewWindows::finishSlice);
  buildControls();
  setState(SearchState::NoPattern);
}

QELViewWindows::~QELViewWindows() {
  // The lists show the session's results: they go first.
  m_panes->removeAll(m_group->pattern);
}

void QELViewWindows::buildControls() {
  m_group = new PatternControls(this);
  m_splitter->setGap(m_group->spacing());

  connect(m_group, &PatternControls::filesDropped, this, &QELViewWindows::filesDropped);
  connect(m_group, &PatternControls::searchKeyPressed, this, [this] {
    if (m_group->search->isEnabled()) onSearchButton();
  });
  connect(m_group->pattern, &QComboBox::editTextChanged, this, &QELViewWindows::revalidate);
  connect(m_group->search, &QPushButton::clicked, this, &QELViewWindows::onSearchButton);

  // The search modes' shortcuts act wherever the focus is in the view.
  for (QAction* action :
       {m_group->wordSearch, m_group->fullTextSearch, m_group->phraseAnagramSearch})
    addAction(action);
  connect(m_group->wordSearch, &QAction::triggered, this, [this] { setFullText(false); });
  connect(m_group->fullTextSearch, &QAction::triggered, this, [this] { setFullText(true); });
  connect(m_group->phraseAnagramSearch, &QAction::triggered, this, [this] { setPhraseAnagram(); });
  connect(m_group, &PatternControls::lengthsChanged, this, &QELViewWindows::revalidate);
}

void QELViewWindows::setDictionaries(QCDictionaryList* dictionaries) {
  m_runner->cancel();
  // The dictionaries that stay open keep their panes, results and all (the earlier list is
  // still alive while this runs).
  const std::vector<int> origin = pathOrigins(m_dictionaries, dictionaries);
  std::unique_ptr<SearchSession> earlier = std::move(m_session);
  m_dictionaries = dictionaries;
  m_session = dictionaries ? std::make_unique<SearchSession>(*dictionaries) : nullptr;
  if (m_session && earlier) m_session->takeResults(*earlier, origin);
  m_runner->setSession(m_dictionaries, m_session.get());
  m_activePane = 0;
  m_state = static_cast<SearchState>(255);
  m_panes->rebuild(m_dictionaries, m_session.get(), origin, m_group->pattern);
  m_splitter->forget();
  layOutPanes();
  updateCaptions();
  earlier.reset();  // after the lists have left its results
  m_panes->updateRanks();
  validatePattern();
}

void QELViewWindows::setOptions(const SearchSettings& options) {
  m_options = options;
  revalidate();
}

void QELViewWindows::setAppearance(const ViewAppearance& appearance) {
  m_appearance = appearance;
  m_group->setPatternAppearance(appearance.pattern, appearance.patternColour);
  m_panes->setAppearance(appearance);
}

void QELViewWindows::setOrientation(int orientation) {
  m_splitter->setOrientation(orientation);
  layOutPanes();
}

void QELViewWindows::setShortestLongest(int shortest, int longest) {
  m_group->setLengths(shortest, longest);
}

int QELViewWindows::shortest() const { return m_group->shortest->value(); }
int QELViewWindows::longest() const { return m_group->longest->value(); }

void QELViewWindows::setProportionsStore(std::function<QString(int)> read,
                                         std::function<void(int, const QString&)> write) {
  m_splitter->setProportionsStore(std::move(read), std::move(write));
  layOutPanes();
}

void QELViewWindows::setFullText(bool fullText) {
  setMode(fullText, false, fullText ? m_group->fullTextSearch : m_group->wordSearch);
}

void QELViewWindows::setPhraseAnagram() { setMode(false, true, m_group->phraseAnagramSearch); }

void QELViewWindows::setMode(bool fullText, bool phraseAnagram, QAction* checked) {
  if (m_state == SearchState::Searching) return;
  m_fullText = fullText;
  m_phraseAnagram = phraseAnagram;
  checked->setChecked(true);
  m_state = static_cast<SearchState>(255);  // the button's text follows the mode
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

SearchSettings QELViewWindows::currentSettings() const {
  SearchSettings s = m_options;
  s.shortest = m_group->shortest->value();
  s.longest = m_group->longest->value();
  s.fullText = m_fullText;
  s.phraseAnagram = m_phraseAnagram;
  s.activePane = m_activePane;
  return s;
}

// While a search runs the pattern, the lengths and the options do not validate.
void QELViewWindows::revalidate() {
  if (m_state != SearchState::Searching) validatePattern();
}

void QELViewWindows::validatePattern() {
  if (m_state == SearchState::Searching || m_closing) return;
  if (!m_session) {
    setStatus(fromCore(std::string(messageText(messageNumber(Message::kNoDictionary)))));
    setState(SearchState::NoPattern);
    return;
  }
  std::string pattern;
  if (!cp1252::fromUtf8(m_group->pattern->currentText().toStdString(), pattern)) {
    setStatus(tr("The pattern holds a character that the dictionaries cannot hold"));
    setState(SearchState::NoPattern);
    return;
  }
  // The session checks every dictionary again before it compiles the pattern.
  const std::vector<bool> wasValid = m_runner->validity();
  const SearchSession::Validation v = m_session->validate(pattern, currentSettings());
  m_runner->reportInvalidated(wasValid);
  setStatus(fromCore(v.statusText));
  setState(v.state);
  // The lengths in range follow the pattern even when the state stays the same.
  if (v.state == SearchState::Ready) updateProgress();
}

void QELViewWindows::setPatternAndSearch(const QString& pattern) {
  if (m_state == SearchState::Searching) return;
  m_group->pattern->setEditText(pattern);
  m_group->pattern->lineEdit()->selectAll();
  validatePattern();
  if (m_group->search->isEnabled()) onSearchButton();
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
    m_group->addToHistory(m_group->pattern->currentText());
  } else if (!m_runner->recheckDictionaries()) {
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
  m_group->search->setFocus();
  m_runner->run();
}

// The search stopped: finished, paused (by the user or for want of memory), invalidated, or the
// view is closing (`ended`).
void QELViewWindows::finishSlice(bool ended) {
  if (ended) {
    m_session->pause();
    m_runner->refresh(true);
    setState(SearchState::Closing);
    emit closeRequested();
    return;
  }
  if (m_session->state() == SearchState::Searching) m_session->pause();
  m_runner->refresh(true);
  if (m_runner->reportFailure()) {
    m_state = static_cast<SearchState>(255);
    validatePattern();
    return;
  }
  setState(m_session->state());
  if (const QString note = m_runner->stopNote(); !note.isEmpty()) setStatus(note);
  if (m_group->search->hasFocus()) m_group->pattern->setFocus();
}

void QELViewWindows::updateProgress() {
  if (!m_session || !m_dictionaries) {
    m_group->progress->clear();
    return;
  }
  // Phrase Anagram, as Full Text Search, goes through no lengths: the bar shows no ruler.
  const bool noLengths = m_fullText || m_phraseAnagram;
  if (m_state == SearchState::Searching) {
    m_group->progress->showSession(m_dictionaries, *m_session, m_activePane, noLengths);
  } else {
    m_group->progress->showIdle(m_dictionaries, *m_session, m_activePane, noLengths);
  }
}

void QELViewWindows::updateCaptions() { m_panes->setActive(m_activePane); }

std::optional<QELViewWindows::LookupSubject> QELViewWindows::lookupSubject() const {
  if (patternHasFocus()) return m_group->patternSubject();
  return m_panes->selectedSubject(m_activePane);
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
  m_closing = true;
  m_runner->endAfterSlice();
  if (m_state == SearchState::Searching) {
    m_session->pause();
    return false;  // the slice under way ends, then closeRequested
  }
  m_runner->cancel();
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
  m_group->search->setEnabled(state != SearchState::NoPattern);
  m_group->setSearching(searching);
  setAcceptDrops(!searching);
  switch (state) {
    case SearchState::NoPattern:
      m_group->progress->clear();
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

// The panes' lists: Escape pauses a running search, and the focus makes a pane the active one.
bool QELViewWindows::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && m_state == SearchState::Searching &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    m_session->pause();
    return true;
  }
  if (event->type() == QEvent::FocusIn) setActivePane(m_panes->indexOf(watched));
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) updateCaptions();
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
qint64 QELViewWindows::longestSlice() const { return m_runner->longestSlice(); }
QComboBox* QELViewWindows::patternBox() const { return m_group->pattern; }
QSpinBox* QELViewWindows::shortestBox() const { return m_group->shortest; }
QSpinBox* QELViewWindows::longestBox() const { return m_group->longest; }
QPushButton* QELViewWindows::searchButton() const { return m_group->search; }
QELProgressBar* QELViewWindows::progressBar() const { return m_group->progress; }

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
  return QSize(controls.width() + 2 * gap(), m_group->sizeHint().height() + 3 * gap() +
                                                 captionHeight + 4 * fontMetrics().height());
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
