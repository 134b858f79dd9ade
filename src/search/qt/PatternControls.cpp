// The pattern group's controls, their texts, tips, ranges and places.
#include "search/qt/PatternControls.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "app/Messages.h"
#include "platform/qt/CoreText.h"
#include "search/qt/QELProgressBar.h"
#include "search/qt/SearchModeButton.h"

namespace qel {
namespace {

QString text(Message message) { return fromCp1252(messageText(messageNumber(message))); }

}  // namespace

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

  for (QSpinBox* box : {shortest, longest}) box->setRange(1, 31);
  shortest->setValue(1);
  longest->setValue(31);
  shortest->setToolTip(text(Message::kShortestTip));
  longest->setToolTip(text(Message::kLongestTip));
  shortestLabel->setBuddy(shortest);
  longestLabel->setBuddy(longest);

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
}

}  // namespace qel
