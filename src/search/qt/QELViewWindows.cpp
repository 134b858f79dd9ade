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
#include "search/qt/QELProgressBar.h"
#include "search/qt/SearchModeButton.h"

namespace qel {
namespace {

// A menu item that carries out a command given by the main window: disabled when the command is
// missing or disabled.
void addGivenAction(QMenu& menu, const QString& text, QAction* given) {
  QAction* item = menu.addAction(text);
  item->setEnabled(given && given->isEnabled());
  if (given) item->setStatusTip(given->statusTip());
  if (given) QObject::connect(item, &QAction::triggered, given, &QAction::trigger);
}

QString text(Message message) {
  return fromCp1252(messageText(messageNumber(message)));
}

QString fromCore(const std::string& text) { return fromCp1252(text); }

QStringList localFiles(const QMimeData* data) {
  QStringList paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  return paths;
}

QString hintOf(Command command) {
  const std::string_view hint = commandInfo(command).hint;
  return QString::fromUtf8(hint.data(), static_cast<qsizetype>(hint.size()));
}

const char kInvalidatedCaption[] = "Dictionary Invalidated";
const char kInvalidatedText[] = "\nis no longer a valid QEL&Corvanth Dictionary File";

}  // namespace

QELViewWindows::QELViewWindows(QWidget* parent) : QWidget(parent) {
  setAcceptDrops(true);
  setMouseTracking(true);
  buildControls();
  m_slice.setSingleShot(true);
  m_slice.setInterval(0);
  connect(&m_slice, &QTimer::timeout, this, &QELViewWindows::runSlice);
  setState(SearchState::NoPattern);
}

QELViewWindows::~QELViewWindows() {
  // The lists show the session's results: they go first.
  for (OutputGroup& p : m_panes) removePane(p);
}

void QELViewWindows::buildControls() {
  m_group = new QGroupBox(tr("P&attern"), this);
  m_pattern = new QComboBox(m_group);
  // The group's mnemonic would go back to whichever of its boxes had the focus last: Alt+A is
  // the pattern box's, wherever the focus is.
  m_group->installEventFilter(this);
  m_pattern->setEditable(true);
  m_pattern->setInsertPolicy(QComboBox::NoInsert);
  m_pattern->setMaxCount(1000);
  // The pattern is what the user types: the history is only the drop-down list, never a
  // completion of it.
  m_pattern->setCompleter(nullptr);
  m_pattern->setToolTip(text(Message::kPatternBoxTip));
  // The combo box holds the focus and hands keys to its line edit directly, past any filter.
  m_pattern->installEventFilter(this);
  m_pattern->lineEdit()->installEventFilter(this);
  connect(m_pattern, &QComboBox::editTextChanged, this, [this] {
    if (m_state != SearchState::Searching) validatePattern();
  });

  m_search = new QPushButton(m_group);
  m_search->setDefault(true);
  m_search->setAutoDefault(true);
  m_search->setToolTip(text(Message::kSearchButtonTip));
  connect(m_search, &QPushButton::clicked, this, &QELViewWindows::onSearchButton);

  m_mode = new SearchModeButton(m_group);
  m_mode->setToolTip(text(Message::kSearchModeTip));
  m_modeMenu = new QMenu(this);
  auto* modes = new QActionGroup(m_modeMenu);
  m_wordSearch = m_modeMenu->addAction(tr("&Word Search"));
  m_wordSearch->setShortcut(QKeySequence(tr("Ctrl+W")));
  m_wordSearch->setStatusTip(text(Message::kWordSearchHint));
  m_fullTextSearch = m_modeMenu->addAction(tr("&Full Text Search"));
  m_fullTextSearch->setShortcut(QKeySequence(tr("Ctrl+F")));
  m_fullTextSearch->setStatusTip(text(Message::kFullTextSearchHint));
  m_phraseAnagramSearch = m_modeMenu->addAction(tr("&Phrase Anagram"));
  m_phraseAnagramSearch->setShortcut(QKeySequence(tr("Ctrl+G")));
  m_phraseAnagramSearch->setStatusTip(
      tr("Rearrange the letters of the pattern into phrases of up to three words of the active "
         "dictionary"));
  for (QAction* action : {m_wordSearch, m_fullTextSearch, m_phraseAnagramSearch}) {
    action->setCheckable(true);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    modes->addAction(action);
    addAction(action);
  }
  m_wordSearch->setChecked(true);
  connect(m_wordSearch, &QAction::triggered, this, [this] { setFullText(false); });
  connect(m_fullTextSearch, &QAction::triggered, this, [this] { setFullText(true); });
  connect(m_phraseAnagramSearch, &QAction::triggered, this, [this] { setPhraseAnagram(); });
  connect(m_mode, &QAbstractButton::pressed, this, [this] {
    m_modeMenu->exec(m_mode->mapToGlobal(QPoint(0, m_mode->height())));
    m_mode->setDown(false);
  });
  for (QWidget* opener : {static_cast<QWidget*>(m_search), static_cast<QWidget*>(m_mode)}) {
    opener->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(opener, &QWidget::customContextMenuRequested, this,
            [this, opener](const QPoint& at) { m_modeMenu->exec(opener->mapToGlobal(at)); });
  }

  m_shortestLabel = new QLabel(tr("Sho&rtest:"), m_group);
  m_longestLabel = new QLabel(tr("&Longest:"), m_group);
  m_shortest = new QSpinBox(m_group);
  m_longest = new QSpinBox(m_group);
  // The boxes take a typed value when editing finishes (Return, the focus leaving, a search) or
  // a step button is pressed: keeping Shortest <= Longest on every keystroke would undo what
  // is being typed ("12" passes through "1").
  for (QSpinBox* box : {m_shortest, m_longest}) {
    box->setRange(1, 31);
    box->setKeyboardTracking(false);
    box->installEventFilter(this);
  }
  m_shortest->setValue(1);
  m_longest->setValue(31);
  m_shortest->setToolTip(text(Message::kShortestTip));
  m_longest->setToolTip(text(Message::kLongestTip));
  m_shortestLabel->setBuddy(m_shortest);
  m_longestLabel->setBuddy(m_longest);
  connect(m_shortest, &QSpinBox::valueChanged, this, [this] { onLengthBoxChanged(false); });
  connect(m_longest, &QSpinBox::valueChanged, this, [this] { onLengthBoxChanged(true); });

  m_progress = new QELProgressBar(m_group);
  m_progress->setToolTip(text(Message::kProgressBarTip));

  auto* grid = new QGridLayout(m_group);
  grid->addWidget(m_pattern, 0, 0, 1, 5);
  grid->addWidget(m_search, 0, 5);
  grid->addWidget(m_mode, 0, 6);
  grid->addWidget(m_shortestLabel, 1, 0);
  grid->addWidget(m_shortest, 1, 1);
  grid->setColumnStretch(2, 1);
  grid->addWidget(m_longestLabel, 1, 3);
  grid->addWidget(m_longest, 1, 4);
  grid->addWidget(m_progress, 2, 0, 1, 7);
  m_gap = std::max(4, grid->verticalSpacing() > 0 ? grid->verticalSpacing() : 6);
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
  rebuildPanes(origin);
  earlier.reset();  // after the lists have left its results
  updateRanks();
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
  for (OutputGroup& p : m_panes) {
    p.list->setFonts(appearance.results, appearance.annotation, appearance.resultsColour,
                     appearance.annotationColour);
  }
  updateRanks();
}

// Each list learns whether its dictionary is ranked: ranks are read as a session starts and as
// each search starts.
void QELViewWindows::updateRanks() {
  for (int i = 0; i < paneCount(); ++i) {
    MatchListWindows* list = m_panes[i].list;
    MatchListWindows::RankOf rankOf;
    if (m_session && m_session->hasRanks(i)) {
      rankOf = [this, list](std::string_view entry) {
        const int pane = paneOf(list);
        return m_session && pane >= 0 ? int{m_session->rankOf(pane, entry)} : 0;
      };
    }
    list->setRanks(std::move(rankOf), m_appearance.rareLighter);
  }
}

void QELViewWindows::setOrientation(int orientation) {
  m_orientation = orientation == 1 ? 1 : 0;
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
  m_readProportions = std::move(read);
  m_writeProportions = std::move(write);
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

void QELViewWindows::commitLengths() {
  for (QSpinBox* box : {m_shortest, m_longest}) box->interpretText();
}

void QELViewWindows::addToHistory(const QString& pattern) {
  const QSignalBlocker quiet(m_pattern);
  const int earlier = m_pattern->findText(pattern, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (earlier >= 0) m_pattern->removeItem(earlier);
  m_pattern->insertItem(0, pattern);
  m_pattern->setCurrentIndex(0);
  m_pattern->setEditText(pattern);
}

void QELViewWindows::onSearchButton() {
  if (!m_session) return;
  // A value typed into Shortest or Longest counts, even with the focus still in its box.
  if (m_state != SearchState::Searching) commitLengths();
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
    addToHistory(m_pattern->currentText());
  } else if (!recheckDictionaries()) {
    validatePattern();
    return;
  }
  if (!m_session->start()) {
    validatePattern();
    return;
  }
  updateRanks();
  if (fresh) {
    for (int i = 0; i < paneCount(); ++i) {
      if (!m_session->searchesPane(i)) continue;
      m_panes[i].displayedCount = 0;
      m_panes[i].caption->setCount(0);
      m_panes[i].list->updateDisplay();
    }
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
  for (int i = 0; i < paneCount(); ++i) {
    OutputGroup& p = m_panes[i];
    const long count = m_session->pane(i).results.count();
    if (count == p.displayedCount && !force) continue;
    p.displayedCount = count;
    p.caption->setCount(count);
    p.list->updateDisplay();
  }
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
  for (int i = 0; i < paneCount(); ++i) {
    m_panes[i].caption->setActive(i == m_activePane);
  }
}

void QELViewWindows::showResultsMenu(int pane, const QPoint& at) {
  MatchListWindows* list = m_panes[pane].list;
  emit menuAboutToShow();
  QMenu menu(this);
  const char* lookupTexts[] = {"&Lookup...\tCtrl+Enter",
                               "Lookup in &New Window...\tShift+Ctrl+Enter",
                               "&External Lookup\tCtrl+Alt+Enter"};
  for (size_t i = 0; i < std::size(lookupTexts); ++i) {
    if (i < m_lookupActions.size() && m_lookupActions[i]) {
      menu.addAction(m_lookupActions[i]);
    } else {
      menu.addAction(tr(lookupTexts[i]))->setEnabled(false);
    }
  }
  menu.addSeparator();
  QAction* copy = menu.addAction(tr("&Copy\tCtrl+C"));
  copy->setStatusTip(hintOf(Command::kCopy));
  connect(copy, &QAction::triggered, list, &MatchListWindows::copy);
  QAction* all = menu.addAction(tr("&Select All\tCtrl+A"));
  all->setStatusTip(hintOf(Command::kSelectAll));
  connect(all, &QAction::triggered, list, &MatchListWindows::selectAll);
  menu.addSeparator();
  const char* const printing[] = {"&Print...\tCtrl+P", "Print Pre&view..."};
  for (size_t i = 0; i < std::size(printing); ++i) {
    addGivenAction(menu, tr(printing[i]),
                   i < m_resultsActions.size() ? m_resultsActions[i] : nullptr);
  }
  showItemHints(&menu);
  menu.exec(at);
}

// The main window's own commands for the dictionary, when it gave them; the pane becomes the
// active one first, so that they act on it.
void QELViewWindows::showPaneMenu(int pane, const QPoint& at) {
  setActivePane(pane);
  QMenu menu(this);
  const char* const texts[] = {"P&roperties", "&Close", "Save Results &As...\tCtrl+S", "&Demote",
                               "Pro&mote"};
  for (size_t i = 0; i < std::size(texts); ++i) {
    addGivenAction(menu, tr(texts[i]), i < m_paneActions.size() ? m_paneActions[i] : nullptr);
  }
  showItemHints(&menu);
  menu.exec(at);
}

void QELViewWindows::setPaneMenuActions(std::vector<QAction*> actions) {
  m_paneActions = std::move(actions);
}

void QELViewWindows::setLookupMenuActions(std::vector<QAction*> actions) {
  m_lookupActions = std::move(actions);
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
  if (!m_panes[m_activePane].list->isFocused() || results.selection().selectedCount() != 1) {
    return std::nullopt;
  }
  return resultSubject(m_activePane, results.selection().runs().front().start);
}

bool QELViewWindows::patternHasFocus() const {
  if (m_pattern->hasFocus()) return true;
  const bool inMenus = QApplication::activePopupWidget() != nullptr ||
                       qobject_cast<QMenuBar*>(QApplication::focusWidget()) != nullptr;
  return m_patternFocused && inMenus;
}

std::optional<QELViewWindows::LookupSubject> QELViewWindows::resultSubject(int pane,
                                                                           long row) const {
  if (!m_session || pane < 0 || pane >= paneCount()) return std::nullopt;
  const ResultRecord* record = m_session->pane(pane).results.record(row);
  if (!record) return std::nullopt;
  // A phrase anagram's row is several words: its first is looked up.
  std::string_view word = record->entry();
  if (m_session->pane(pane).searchSettings.phraseAnagram) word = word.substr(0, word.find(' '));
  return LookupSubject{std::string(word), pane, row, record->definitionNumber};
}

std::optional<ResultStep> QELViewWindows::resultStepFor(bool next) const {
  if (!m_session) return std::nullopt;
  std::vector<PaneRows> panes;
  for (int i = 0; i < paneCount(); ++i) {
    const ResultList& results = m_session->pane(i).results;
    panes.push_back({results.selection().caret(), results.count()});
  }
  return resultStep(panes, m_activePane, next);
}

bool QELViewWindows::canStepResult(bool next) const { return resultStepFor(next).has_value(); }

bool QELViewWindows::stepResult(bool next) {
  const std::optional<ResultStep> step = resultStepFor(next);
  if (!step) return false;
  MatchListWindows* list = m_panes[step->pane].list;
  if (step->pane == m_activePane) {
    list->moveCaret(next ? ResultSelection::Key::Down : ResultSelection::Key::Up);
  } else {
    setActivePane(step->pane);
    list->moveCaret(next ? ResultSelection::Key::Home : ResultSelection::Key::End);
  }
  list->setFocus();
  return true;
}

void QELViewWindows::setResultsMenuActions(std::vector<QAction*> actions) {
  m_resultsActions = std::move(actions);
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
  if (state == SearchState::Searching) {
    m_search->setText(tr("&Stop"));
  } else if (state == SearchState::Paused) {
    m_search->setText(tr("Re&sume"));
  } else {
    m_search->setText(m_phraseAnagram ? tr("Anagram &Search")
                      : m_fullText    ? tr("Full Text &Search")
                                      : tr("Word &Search"));
  }
  if (state == m_state) return;
  m_state = state;
  const bool searching = state == SearchState::Searching;
  m_search->setEnabled(state != SearchState::NoPattern);
  for (QWidget* w : {static_cast<QWidget*>(m_pattern), static_cast<QWidget*>(m_shortest),
                     static_cast<QWidget*>(m_longest), static_cast<QWidget*>(m_mode)}) {
    w->setEnabled(!searching);
  }
  m_wordSearch->setEnabled(!searching);
  m_fullTextSearch->setEnabled(!searching);
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
  if (watched == m_group && event->type() == QEvent::Shortcut) {
    m_pattern->setFocus(Qt::ShortcutFocusReason);
    m_pattern->lineEdit()->selectAll();
    return true;
  }
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
      commitLengths();
      if (m_search->isEnabled()) onSearchButton();
      return true;
    }
  }
  // Files dropped on the pattern box open as dictionaries, although a file manager offers their
  // addresses as text too, which the box would take.
  if (watched == m_pattern->lineEdit() &&
      (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
       event->type() == QEvent::Drop)) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (!localFiles(drop->mimeData()).isEmpty()) {
      if (event->type() == QEvent::Drop) {
        dropEvent(drop);
      } else if (m_state != SearchState::Searching) {
        drop->acceptProposedAction();
      } else {
        drop->ignore();
      }
      return true;
    }
  }
  if (event->type() == QEvent::FocusIn) {
    const int pane = paneOf(watched);
    if (pane >= 0) {
      setActivePane(pane);
      updateCaptions();
    }
  }
  if (watched == m_pattern && event->type() == QEvent::FocusIn) m_patternFocused = true;
  if (watched == m_pattern && event->type() == QEvent::FocusOut) {
    // The menu bar taking the keyboard (Alt+E) or a menu opening leaves the box the one that
    // commands act on.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
      m_patternFocused = false;
  }
  if (event->type() == QEvent::FocusOut) updateCaptions();
  return QWidget::eventFilter(watched, event);
}

int QELViewWindows::paneOf(const QObject* widget) const {
  for (int i = 0; i < paneCount(); ++i) {
    if (widget == m_panes[i].list || widget == m_panes[i].caption) return i;
  }
  return -1;
}

QELViewWindows::OutputGroup QELViewWindows::makePane() {
  OutputGroup p;
  // The list shows its pane's results once the pane is placed (rebuildPanes points it there).
  p.list = new MatchListWindows(m_session->pane(0).results, this);
  p.list->setFonts(m_appearance.results, m_appearance.annotation, m_appearance.resultsColour,
                   m_appearance.annotationColour);
  p.list->installEventFilter(this);
  p.caption = new MatchListLabelWindows(p.list, this);
  // The pane's place may change while it lives (a dictionary before it closes): the handlers
  // find it from the sender.
  MatchListWindows* list = p.list;
  MatchListLabelWindows* caption = p.caption;
  connect(list, &MatchListWindows::focusGained, this, [this, list] { setActivePane(paneOf(list)); });
  connect(list, &MatchListWindows::menuRequested, this, [this, list](QPoint at, bool) {
    const int i = paneOf(list);
    if (m_session && m_session->pane(i).results.selection().selectedCount() > 0) {
      showResultsMenu(i, at);
    } else {
      showPaneMenu(i, at);
    }
  });
  connect(caption, &MatchListLabelWindows::menuRequested, this,
          [this, caption](QPoint at) { showPaneMenu(paneOf(caption), at); });
  // A double-click on the caption opens the dictionary's properties, the pane menu's first item.
  connect(caption, &MatchListLabelWindows::doubleClicked, this, [this, caption] {
    setActivePane(paneOf(caption));
    QAction* properties = m_paneActions.empty() ? nullptr : m_paneActions.front();
    if (properties && properties->isEnabled()) properties->trigger();
  });
  connect(list, &MatchListWindows::selectionChanged, this, &QELViewWindows::lookupSubjectChanged);
  connect(list, &MatchListWindows::resultDoubleClicked, this,
          [this, list](long, Qt::KeyboardModifiers modifiers) {
            emit resultDoubleClicked(paneOf(list), modifiers);
          });
  p.caption->show();
  p.list->show();
  return p;
}

// A pane goes quietly: the focus leaves it first and no event of its going reaches the view,
// whose panes no longer include it.
void QELViewWindows::removePane(OutputGroup& p) {
  p.list->removeEventFilter(this);
  disconnect(p.list, nullptr, this, nullptr);
  disconnect(p.caption, nullptr, this, nullptr);
  if (p.list->hasFocus() || p.list->isAncestorOf(QApplication::focusWidget())) {
    m_pattern->setFocus(Qt::OtherFocusReason);
  }
  delete p.caption;
  delete p.list;
  p = OutputGroup{};
}

void QELViewWindows::rebuildPanes(const std::vector<int>& origin) {
  std::vector<OutputGroup> earlier = std::move(m_panes);
  m_panes.clear();
  const int count = m_dictionaries ? m_dictionaries->count() : 0;
  std::vector<bool> kept(earlier.size(), false);
  for (int i = 0; i < count; ++i) {
    const int from = i < static_cast<int>(origin.size()) ? origin[i] : -1;
    const bool keep = from >= 0 && from < static_cast<int>(earlier.size());
    if (keep) kept[from] = true;
    m_panes.push_back(keep ? earlier[from] : makePane());
    OutputGroup& p = m_panes.back();
    p.list->setList(m_session->pane(i).results);
    if (!keep) p.displayedCount = 0;
    p.caption->setIndexAndName(i + 1, QFile::decodeName(m_dictionaries->name(i).c_str()));
    p.caption->setDescription(fromCore(m_dictionaries->description(i)));
    p.caption->setCount(p.displayedCount);
  }
  for (size_t j = 0; j < earlier.size(); ++j) {
    if (!kept[j]) removePane(earlier[j]);
  }
  m_edges.clear();
  layOutPanes();
  updateCaptions();
}

QRect QELViewWindows::paneArea() const {
  const QRect group = m_group->geometry();
  const int top = group.bottom() + 1 + m_gap;
  return QRect(group.left(), top, group.width(), std::max(0, height() - top - m_gap));
}

int QELViewWindows::paneAxisExtent() const {
  const QRect area = paneArea();
  return m_orientation == 1 ? area.width() + m_gap : area.height() + m_gap;
}

QRect QELViewWindows::paneRect(int i) const {
  const QRect area = paneArea();
  const int extent = paneAxisExtent();
  const int start = m_edges[i];
  const int end = (i + 1 < paneCount() ? m_edges[i + 1] : extent) - m_gap;
  if (m_orientation == 1) return QRect(area.left() + start, area.top(), end - start, area.height());
  return QRect(area.left(), area.top() + start, area.width(), end - start);
}

// Each pane's extent includes the gap at its far end; the area is one gap longer than what is
// seen, so that the last pane ends a gap before the view's edge.
void QELViewWindows::layOutPanes() {
  const int count = paneCount();
  if (count == 0) return;
  const int extent = paneAxisExtent();
  if (static_cast<int>(m_edges.size()) != count || m_dragging < 0) {
    const QString stored = m_readProportions ? m_readProportions(count) : QString();
    m_edges = edgesOf(paneExtents(count, extent, stored.toStdString()));
  }
  const int captionHeight = fontMetrics().height() + 4;
  for (int i = 0; i < count; ++i) {
    const QRect r = paneRect(i);
    m_panes[i].caption->setGeometry(r.left(), r.top(), r.width(), captionHeight);
    m_panes[i].list->setGeometry(r.left(), r.top() + captionHeight, r.width(),
                                 std::max(0, r.height() - captionHeight));
  }
}

// Room for the pattern controls uncut and a few rows of one pane.
QSize QELViewWindows::minimumSizeHint() const {
  const QSize controls = m_group->minimumSizeHint();
  const int captionHeight = fontMetrics().height() + 4;
  return QSize(controls.width() + 2 * m_gap,
               m_group->sizeHint().height() + 3 * m_gap + captionHeight + 4 * fontMetrics().height());
}

void QELViewWindows::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_group->setGeometry(m_gap, m_gap, width() - 2 * m_gap, m_group->sizeHint().height());
  layOutPanes();
}

// The zone of one gap before each pane's leading edge, except the first's, is a splitter.
int QELViewWindows::splitterAt(const QPoint& point) const {
  const QRect area = paneArea();
  if (!area.adjusted(-1, -1, 1, 1).contains(point)) return -1;
  const int along = m_orientation == 1 ? point.x() - area.left() : point.y() - area.top();
  for (int i = 1; i < paneCount(); ++i) {
    if (along >= m_edges[i] - m_gap && along < m_edges[i]) return i;
  }
  return -1;
}

void QELViewWindows::mousePressEvent(QMouseEvent* event) {
  const int pane = splitterAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && pane > 0) {
    m_dragging = pane;
    grabMouse();
    return;
  }
  QWidget::mousePressEvent(event);
}

void QELViewWindows::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (m_dragging > 0) {
    const QRect area = paneArea();
    const int along = m_orientation == 1 ? at.x() - area.left() : at.y() - area.top();
    const std::vector<int> moved =
        moveSplitter(m_edges, paneAxisExtent(), m_gap, m_dragging, along + m_gap / 2);
    if (moved != m_edges) {
      m_edges = moved;
      layOutPanes();
    }
    return;
  }
  const bool overSplitter = splitterAt(at) > 0;
  setCursor(!overSplitter ? Qt::ArrowCursor
                          : (m_orientation == 1 ? Qt::SizeHorCursor : Qt::SizeVerCursor));
}

void QELViewWindows::mouseReleaseEvent(QMouseEvent* event) {
  if (m_dragging > 0) {
    m_dragging = -1;
    releaseMouse();
    storeProportions();
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

void QELViewWindows::storeProportions() {
  if (!m_writeProportions || paneCount() == 0) return;
  const int extent = paneAxisExtent();
  m_writeProportions(paneCount(),
                     QString::fromStdString(paneExtentsText(extent, extentsOf(m_edges, extent))));
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
