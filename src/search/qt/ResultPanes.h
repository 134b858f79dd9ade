// The main view's results panes, one per open dictionary: a caption strip above a list of results.
// Panes are made, kept with their results, and dropped as dictionaries open and close; they show
// the session's counts and ranks, and tell the view what the user does in them.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "search/ResultStepping.h"
#include "search/qt/LookupSubject.h"
#include "search/qt/ViewAppearance.h"

class QWidget;

namespace qel {

class MatchListLabelWindows;
class MatchListWindows;
class QCDictionaryList;
class SearchSession;

class ResultPanes : public QObject {
  Q_OBJECT

 public:
  struct Pane {
    MatchListLabelWindows* caption = nullptr;
    MatchListWindows* list = nullptr;
    long displayedCount = 0;  // what the caption shows
  };

  // The panes are children of `view`, which also watches their lists' events.
  explicit ResultPanes(QWidget* view);

  int count() const { return static_cast<int>(m_panes.size()); }
  const Pane& operator[](int i) const { return m_panes[i]; }
  // The pane a list or caption belongs to, or -1.
  int indexOf(const QObject* widget) const;

  // Panes for `dictionaries` (none for null), showing `session`'s results; origin[i] is the
  // earlier pane that pane i continues (its list, caption and results stay), or -1 for a new one.
  // A pane that goes hands the focus to `focusHeir` when it had it.
  void rebuild(const QCDictionaryList* dictionaries, SearchSession* session,
               const std::vector<int>& origin, QWidget* focusHeir);
  void removeAll(QWidget* focusHeir);
  // Caption and list of pane i in `rectOf(i)`.
  void place(const std::function<QRect(int)>& rectOf, int captionHeight);

  void setAppearance(const ViewAppearance& appearance);
  // Each list learns whether its dictionary is ranked (ranks are read as a session starts and as
  // each search starts).
  void updateRanks();
  void setActive(int pane);
  // The counts and lists follow the session: every pane when `force`, else those whose count
  // changed.
  void refresh(bool force);
  // The panes a fresh search fills start empty.
  void clearSearched();

  // Pane `pane`'s result `row` as a lookup subject (a phrase anagram's first word).
  std::optional<LookupSubject> subject(int pane, long row) const;
  // The one result selected in `pane` while its list has the focus.
  std::optional<LookupSubject> selectedSubject(int pane) const;
  // Next Result or Previous Result from the caret of `activePane`: the step to it, if there is one.
  std::optional<ResultStep> stepFrom(int activePane, bool next) const;
  // Moves the caret as the keyboard would, into the step's pane, and focuses that list.
  void takeStep(const ResultStep& step, bool next, bool samePane);

 signals:
  void focused(int pane);
  // From a list (`selected`: it has a selection) or a caption, at `at` (global).
  void menuRequested(int pane, const QPoint& at, bool selected);
  void captionDoubleClicked(int pane);
  void selectionChanged();
  void resultDoubleClicked(int pane, Qt::KeyboardModifiers modifiers);

 private:
  Pane makePane();
  // A pane goes quietly: the focus leaves it first and no event of its going reaches the view.
  void removePane(Pane& pane, QWidget* focusHeir);

  QWidget* m_view;
  SearchSession* m_session = nullptr;
  ViewAppearance m_appearance;
  std::vector<Pane> m_panes;
};

}  // namespace qel
