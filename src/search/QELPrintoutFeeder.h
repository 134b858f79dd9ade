// What a printout prints from a results list: every result by index, or only the selected ones in
// list order.
#pragma once

#include <cstddef>

namespace qel {

class ResultList;
struct ResultRecord;

class QELPrintoutFeeder {
 public:
  explicit QELPrintoutFeeder(const ResultList& results) : m_results(results) {}

  long count() const;
  long selectedCount() const;
  void setSelectionOnly(bool selectionOnly) { m_selectionOnly = selectionOnly; }
  bool selectionOnly() const { return m_selectionOnly; }
  // The number of items fed: the selected results in selection mode, else all of them.
  long itemCount() const { return m_selectionOnly ? selectedCount() : count(); }

  // The next item fed is item `start` (from 0).
  void rewind(long start);
  // The next item, or null after the last.
  const ResultRecord* next();

 private:
  const ResultList& m_results;
  bool m_selectionOnly = false;
  long m_index = 0;  // all results: the next result's index
  size_t m_run = 0;  // selection mode: the run of the next item ...
  long m_inRun = 0;  // ... and its place in that run
};

}  // namespace qel
