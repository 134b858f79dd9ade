// Walking the results a printout prints.
#include "search/QELPrintoutFeeder.h"

#include "search/ResultList.h"

namespace qel {

long QELPrintoutFeeder::count() const { return m_results.count(); }

long QELPrintoutFeeder::selectedCount() const { return m_results.selection().selectedCount(); }

void QELPrintoutFeeder::rewind(long start) {
  m_index = start;
  m_run = 0;
  m_inRun = start;
  const auto& runs = m_results.selection().runs();
  while (m_run < runs.size() && m_inRun >= runs[m_run].count) m_inRun -= runs[m_run++].count;
}

const ResultRecord* QELPrintoutFeeder::next() {
  if (!m_selectionOnly) return m_index < count() ? m_results.record(m_index++) : nullptr;
  const auto& runs = m_results.selection().runs();
  if (m_run >= runs.size()) return nullptr;
  const long row = runs[m_run].start + m_inRun;
  if (++m_inRun >= runs[m_run].count) {
    ++m_run;
    m_inRun = 0;
  }
  return m_results.record(row);  // (null for a row past the list, which a selection never holds)
}

}  // namespace qel
