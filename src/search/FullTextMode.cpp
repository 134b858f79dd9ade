#include "search/FullTextMode.h"

#include "search/FullTextCursor.h"

namespace qel {

FullTextMode::FullTextMode(SearchContext& context) : PatternSearchMode(context) {}
FullTextMode::~FullTextMode() = default;

LengthProblem FullTextMode::selectLengths(SearchPane& pane) const {
  pane.direction = lengthDirection();
  pane.shortest = 32;
  pane.longest = 0;
  return LengthProblem::kNone;
}

bool FullTextMode::startPane(int pane) {
  m_pane = pane;
  SearchPane& p = m_context.panes[pane];
  m_cursor = FullTextCursor::create(m_context.dictionaries, pane, *p.engine, &p.dictionaryStamp,
                                    m_context.settings.fullTextWithoutIndex);
  return m_cursor && m_cursor->total() > 0;
}

void FullTextMode::finishPane(int pane) {
  PatternSearchMode::finishPane(pane);
  m_cursor.reset();
}

SearchMode::Step FullTextMode::step() {
  FullTextCursor::Result result;
  switch (m_cursor->next(result)) {
    case FullTextCursor::Step::Result:
      m_context.output.add(m_context.panes[m_pane].results, result.entry, "",
                           separated(result.context), result.definitionNumber);
      return Step::kMore;
    case FullTextCursor::Step::Progress:
      return Step::kMore;
    case FullTextCursor::Step::Finished:
      break;
  }
  return Step::kPaneDone;
}

void FullTextMode::progress(SearchProgress& progress) const {
  progress.currentLength = SearchPane::kIdle;
  if (!m_cursor) return;
  progress.examined = m_cursor->position();
  progress.total = m_cursor->total();
}

}  // namespace qel
