// Making, keeping and dropping the results panes, and keeping them in step with the session.
#include "search/qt/ResultPanes.h"

#include <QApplication>
#include <QFile>
#include <QWidget>

#include "dictionary/QCDictionaryList.h"
#include "platform/qt/CoreText.h"
#include "search/SearchSession.h"
#include "search/qt/MatchListLabelWindows.h"
#include "search/qt/MatchListWindows.h"

namespace qel {

ResultPanes::ResultPanes(QWidget* view) : QObject(view), m_view(view) {}

int ResultPanes::indexOf(const QObject* widget) const {
  for (int i = 0; i < count(); ++i) {
    if (widget == m_panes[i].list || widget == m_panes[i].caption) return i;
  }
  return -1;
}

ResultPanes::Pane ResultPanes::makePane() {
  Pane p;
  // The list shows its pane's results once the pane is placed (rebuild points it there).
  p.list = new MatchListWindows(m_session->pane(0).results, m_view);
  p.list->setFonts(m_appearance.results, m_appearance.annotation, m_appearance.resultsColour,
                   m_appearance.annotationColour);
  p.list->installEventFilter(m_view);
  p.caption = new MatchListLabelWindows(p.list, m_view);
  // The pane's place may change while it lives (a dictionary before it closes): the handlers
  // find it from the sender.
  MatchListWindows* list = p.list;
  MatchListLabelWindows* caption = p.caption;
  connect(list, &MatchListWindows::focusGained, this,
          [this, list] { emit focused(indexOf(list)); });
  connect(list, &MatchListWindows::menuRequested, this, [this, list](QPoint at, bool) {
    const int i = indexOf(list);
    emit menuRequested(i, at,
                       m_session && m_session->pane(i).results.selection().selectedCount() > 0);
  });
  connect(caption, &MatchListLabelWindows::menuRequested, this,
          [this, caption](QPoint at) { emit menuRequested(indexOf(caption), at, false); });
  connect(caption, &MatchListLabelWindows::doubleClicked, this,
          [this, caption] { emit captionDoubleClicked(indexOf(caption)); });
  connect(list, &MatchListWindows::selectionChanged, this, &ResultPanes::selectionChanged);
  connect(list, &MatchListWindows::resultDoubleClicked, this,
          [this, list](long, Qt::KeyboardModifiers modifiers) {
            emit resultDoubleClicked(indexOf(list), modifiers);
          });
  p.caption->show();
  p.list->show();
  return p;
}

void ResultPanes::removePane(Pane& p, QWidget* focusHeir) {
  p.list->removeEventFilter(m_view);
  disconnect(p.list, nullptr, this, nullptr);
  disconnect(p.caption, nullptr, this, nullptr);
  if (p.list->hasFocus() || p.list->isAncestorOf(QApplication::focusWidget())) {
    focusHeir->setFocus(Qt::OtherFocusReason);
  }
  delete p.caption;
  delete p.list;
  p = Pane{};
}

void ResultPanes::removeAll(QWidget* focusHeir) {
  for (Pane& p : m_panes) removePane(p, focusHeir);
  m_panes.clear();
}

void ResultPanes::rebuild(const QCDictionaryList* dictionaries, SearchSession* session,
                          const std::vector<int>& origin, QWidget* focusHeir) {
  m_session = session;
  const int panes = dictionaries && session ? dictionaries->count() : 0;
  std::vector<Pane> earlier = std::move(m_panes);
  m_panes.clear();
  std::vector<bool> kept(earlier.size(), false);
  for (int i = 0; i < panes; ++i) {
    const int from = i < static_cast<int>(origin.size()) ? origin[i] : -1;
    const bool keep = from >= 0 && from < static_cast<int>(earlier.size());
    if (keep) kept[from] = true;
    m_panes.push_back(keep ? earlier[from] : makePane());
    Pane& p = m_panes.back();
    p.list->setList(session->pane(i).results);
    if (!keep) p.displayedCount = 0;
    p.caption->setIndexAndName(i + 1, QFile::decodeName(dictionaries->name(i).c_str()));
    p.caption->setDescription(fromCp1252(dictionaries->description(i)));
    p.caption->setCount(p.displayedCount);
  }
  for (size_t j = 0; j < earlier.size(); ++j) {
    if (!kept[j]) removePane(earlier[j], focusHeir);
  }
}

void ResultPanes::place(const std::function<QRect(int)>& rectOf, int captionHeight) {
  for (int i = 0; i < count(); ++i) {
    const QRect r = rectOf(i);
    m_panes[i].caption->setGeometry(r.left(), r.top(), r.width(), captionHeight);
    m_panes[i].list->setGeometry(r.left(), r.top() + captionHeight, r.width(),
                                 std::max(0, r.height() - captionHeight));
  }
}

void ResultPanes::setAppearance(const ViewAppearance& appearance) {
  m_appearance = appearance;
  for (Pane& p : m_panes) {
    p.list->setFonts(appearance.results, appearance.annotation, appearance.resultsColour,
                     appearance.annotationColour);
  }
  updateRanks();
}

void ResultPanes::updateRanks() {
  for (int i = 0; i < count(); ++i) {
    MatchListWindows* list = m_panes[i].list;
    MatchListWindows::RankOf rankOf;
    if (m_session && m_session->hasRanks(i)) {
      rankOf = [this, list](std::string_view entry) {
        const int pane = indexOf(list);
        return m_session && pane >= 0 ? int{m_session->rankOf(pane, entry)} : 0;
      };
    }
    list->setRanks(std::move(rankOf), m_appearance.rareLighter);
  }
}

void ResultPanes::setActive(int pane) {
  for (int i = 0; i < count(); ++i) m_panes[i].caption->setActive(i == pane);
}

void ResultPanes::refresh(bool force) {
  for (int i = 0; i < count(); ++i) {
    Pane& p = m_panes[i];
    const long results = m_session->pane(i).results.count();
    if (results == p.displayedCount && !force) continue;
    p.displayedCount = results;
    p.caption->setCount(results);
    p.list->updateDisplay();
  }
}

void ResultPanes::clearSearched() {
  for (int i = 0; i < count(); ++i) {
    if (!m_session->searchesPane(i)) continue;
    m_panes[i].displayedCount = 0;
    m_panes[i].caption->setCount(0);
    m_panes[i].list->updateDisplay();
  }
}

std::optional<LookupSubject> ResultPanes::subject(int pane, long row) const {
  if (!m_session || pane < 0 || pane >= count()) return std::nullopt;
  const ResultRecord* record = m_session->pane(pane).results.record(row);
  if (!record) return std::nullopt;
  // A phrase anagram's row is several words: its first is looked up.
  std::string_view word = record->entry();
  if (m_session->pane(pane).searchSettings.phraseAnagram) word = word.substr(0, word.find(' '));
  return LookupSubject{std::string(word), pane, row, record->definitionNumber};
}

std::optional<LookupSubject> ResultPanes::selectedSubject(int pane) const {
  if (!m_session || pane < 0 || pane >= count()) return std::nullopt;
  const ResultList& results = m_session->pane(pane).results;
  if (!m_panes[pane].list->isFocused() || results.selection().selectedCount() != 1) {
    return std::nullopt;
  }
  return subject(pane, results.selection().runs().front().start);
}

std::optional<ResultStep> ResultPanes::stepFrom(int activePane, bool next) const {
  if (!m_session) return std::nullopt;
  std::vector<PaneRows> panes;
  for (int i = 0; i < count(); ++i) {
    const ResultList& results = m_session->pane(i).results;
    panes.push_back({results.selection().caret(), results.count()});
  }
  return resultStep(panes, activePane, next);
}

// Within a pane the caret moves a row; into another pane it lands on that pane's first or last.
void ResultPanes::takeStep(const ResultStep& step, bool next, bool samePane) {
  MatchListWindows* list = m_panes[step.pane].list;
  if (samePane) {
    list->moveCaret(next ? ResultSelection::Key::Down : ResultSelection::Key::Up);
  } else {
    list->moveCaret(next ? ResultSelection::Key::Home : ResultSelection::Key::End);
  }
  list->setFocus();
}

}  // namespace qel
