// The pattern group's controls, their texts, tips, ranges and places.
#include "search/qt/PatternControls.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QUrl>
#include <algorithm>

#include "app/Messages.h"
#include "pattern/PatternLimits.h"
#include "platform/Cp1252.h"
#include "platform/qt/CoreText.h"
#include "search/qt/QELProgressBar.h"
#include "search/qt/SearchModeButton.h"

namespace qel {
namespace {

QString text(Message message) { return fromCp1252(messageText(messageNumber(message))); }

}  // namespace

QStringList localFiles(const QMimeData* data) {
  QStringList paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  return paths;
}

PatternControls::PatternControls(QWidget* parent)
    : QGroupBox(tr("P&attern"), parent),
      pattern(new QComboBox(this)),
      search(new QPushButton(this)),
      mode(new SearchModeButton(this)),
      modeMenu(new QMenu(parent)),
      wordSearch(modeMenu->addAction(tr("&Word Search"))),
      fullTextSearch(modeMenu->addAction(tr("&Full Text Search"))),
      phraseAnagramSearch(modeMenu->addAction(tr("&Phrase Anagram"))),
      shortestLabel(new QLabel(tr("Sho&rtest:"), this)),
      longestLabel(new QLabel(tr("&Longest:"), this)),
      shortest(new QSpinBox(this)),
      longest(new QSpinBox(this)),
      progress(new QELProgressBar(this)) {
  pattern->setEditable(true);
  pattern->setInsertPolicy(QComboBox::NoInsert);
  pattern->setMaxCount(1000);
  // The pattern is what the user types: the history is only the drop-down list, never a
  // completion of it.
  pattern->setCompleter(nullptr);
  pattern->setToolTip(text(Message::kPatternBoxTip));

  search->setDefault(true);
  search->setAutoDefault(true);
  search->setToolTip(text(Message::kSearchButtonTip));

  mode->setToolTip(text(Message::kSearchModeTip));
  wordSearch->setShortcut(QKeySequence(tr("Ctrl+W")));
  wordSearch->setStatusTip(text(Message::kWordSearchHint));
  fullTextSearch->setShortcut(QKeySequence(tr("Ctrl+F")));
  fullTextSearch->setStatusTip(text(Message::kFullTextSearchHint));
  phraseAnagramSearch->setShortcut(QKeySequence(tr("Ctrl+G")));
  phraseAnagramSearch->setStatusTip(
      tr("Rearrange the letters of the pattern into phrases of up to three words of the active "
         "dictionary"));
  auto* modes = new QActionGroup(modeMenu);
  for (QAction* action : {wordSearch, fullTextSearch, phraseAnagramSearch}) {
    action->setCheckable(true);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    modes->addAction(action);
  }
  wordSearch->setChecked(true);
  connect(mode, &QAbstractButton::pressed, this, [this] {
    modeMenu->exec(mode->mapToGlobal(QPoint(0, mode->height())));
    mode->setDown(false);
  });
  for (QWidget* opener : {static_cast<QWidget*>(search), static_cast<QWidget*>(mode)}) {
    opener->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(opener, &QWidget::customContextMenuRequested, this,
            [this, opener](const QPoint& at) { modeMenu->exec(opener->mapToGlobal(at)); });
  }

  // The boxes take a typed value when editing finishes (Return, the focus leaving, a search) or
  // a step button is pressed: keeping Shortest <= Longest on every keystroke would undo what
  // is being typed ("12" passes through "1").
  for (QSpinBox* box : {shortest, longest}) {
    box->setRange(pattern::kShortestWord, pattern::kLongestWord);
    box->setKeyboardTracking(false);
  }
  shortest->setValue(1);
  longest->setValue(pattern::kLongestWord);
  shortest->setToolTip(text(Message::kShortestTip));
  longest->setToolTip(text(Message::kLongestTip));
  shortestLabel->setBuddy(shortest);
  longestLabel->setBuddy(longest);
  connect(shortest, &QSpinBox::valueChanged, this, [this] { keepLengthsOrdered(false); });
  connect(longest, &QSpinBox::valueChanged, this, [this] { keepLengthsOrdered(true); });

  progress->setToolTip(text(Message::kProgressBarTip));

  auto* grid = new QGridLayout(this);
  grid->addWidget(pattern, 0, 0, 1, 5);
  grid->addWidget(search, 0, 5);
  grid->addWidget(mode, 0, 6);
  grid->addWidget(shortestLabel, 1, 0);
  grid->addWidget(shortest, 1, 1);
  grid->setColumnStretch(2, 1);
  grid->addWidget(longestLabel, 1, 3);
  grid->addWidget(longest, 1, 4);
  grid->addWidget(progress, 2, 0, 1, 7);
  m_spacing = std::max(4, grid->verticalSpacing() > 0 ? grid->verticalSpacing() : 6);

  // The group's mnemonic would go back to whichever of its boxes had the focus last: Alt+A is
  // the pattern box's, wherever the focus is.
  installEventFilter(this);
  // The combo box holds the focus and hands keys to its line edit directly, past any filter.
  for (QObject* box : {static_cast<QObject*>(pattern), static_cast<QObject*>(pattern->lineEdit()),
                       static_cast<QObject*>(shortest), static_cast<QObject*>(longest)}) {
    box->installEventFilter(this);
  }
}

void PatternControls::showSearchText(SearchState state, bool fullText, bool phraseAnagram) {
  if (state == SearchState::Searching) {
    search->setText(tr("&Stop"));
  } else if (state == SearchState::Paused) {
    search->setText(tr("Re&sume"));
  } else {
    search->setText(phraseAnagram ? tr("Anagram &Search")
                    : fullText    ? tr("Full Text &Search")
                                  : tr("Word &Search"));
  }
}

void PatternControls::setSearching(bool searching) {
  m_searching = searching;
  for (QWidget* w : {static_cast<QWidget*>(pattern), static_cast<QWidget*>(shortest),
                     static_cast<QWidget*>(longest), static_cast<QWidget*>(mode)}) {
    w->setEnabled(!searching);
  }
  wordSearch->setEnabled(!searching);
  fullTextSearch->setEnabled(!searching);
}

void PatternControls::commitLengths() {
  for (QSpinBox* box : {shortest, longest}) box->interpretText();
}

void PatternControls::setLengths(int shortestValue, int longestValue) {
  m_settingLengths = true;
  shortest->setValue(shortestValue);
  longest->setValue(longestValue);
  m_settingLengths = false;
  keepLengthsOrdered(false);
}

void PatternControls::keepLengthsOrdered(bool longestChanged) {
  if (m_settingLengths) return;
  SearchSettings s;
  s.shortest = shortest->value();
  s.longest = longest->value();
  keepShortestLongestOrdered(s, longestChanged);
  m_settingLengths = true;
  shortest->setValue(s.shortest);
  longest->setValue(s.longest);
  m_settingLengths = false;
  emit lengthsChanged();
}

void PatternControls::addToHistory(const QString& text) {
  const QSignalBlocker quiet(pattern);
  const int earlier = pattern->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (earlier >= 0) pattern->removeItem(earlier);
  pattern->insertItem(0, text);
  pattern->setCurrentIndex(0);
  pattern->setEditText(text);
}

bool PatternControls::patternHasFocus() const {
  if (pattern->hasFocus()) return true;
  const bool inMenus = QApplication::activePopupWidget() != nullptr ||
                       qobject_cast<QMenuBar*>(QApplication::focusWidget()) != nullptr;
  return m_patternFocused && inMenus;
}

std::optional<LookupSubject> PatternControls::patternSubject() const {
  std::string word;
  if (pattern->currentText().isEmpty() ||
      !cp1252::fromUtf8(pattern->currentText().toStdString(), word))
    return std::nullopt;
  return LookupSubject{word};
}

void PatternControls::setPatternAppearance(const QFont& font, const QColor& colour) {
  pattern->setFont(font);
  QPalette palette = pattern->lineEdit()->palette();
  palette.setColor(QPalette::Text, colour);
  pattern->lineEdit()->setPalette(palette);
}

bool PatternControls::eventFilter(QObject* watched, QEvent* event) {
  const bool box = watched == pattern || watched == pattern->lineEdit() || watched == shortest ||
                   watched == longest;
  if (box && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      commitLengths();
      emit searchKeyPressed();
      return true;
    }
  }
  if (watched == this && event->type() == QEvent::Shortcut) {
    pattern->setFocus(Qt::ShortcutFocusReason);
    pattern->lineEdit()->selectAll();
    return true;
  }
  // Files dropped on the pattern box open as dictionaries, although a file manager offers their
  // addresses as text too, which the box would take.
  if (watched == pattern->lineEdit() &&
      (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
       event->type() == QEvent::Drop)) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QStringList paths = localFiles(drop->mimeData());
    if (!paths.isEmpty()) {
      if (m_searching) {
        drop->ignore();
      } else if (event->type() == QEvent::Drop) {
        drop->acceptProposedAction();
        emit filesDropped(paths);
      } else {
        drop->acceptProposedAction();
      }
      return true;
    }
  }
  if (watched == pattern && event->type() == QEvent::FocusIn) m_patternFocused = true;
  if (watched == pattern && event->type() == QEvent::FocusOut) {
    // The menu bar taking the keyboard (Alt+E) or a menu opening leaves the box the one that
    // commands act on.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
      m_patternFocused = false;
  }
  return QGroupBox::eventFilter(watched, event);
}

}  // namespace qel
