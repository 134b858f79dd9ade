// Runs a search session's steps in slices between turns of the event loop, so that Stop, Escape,
// typing and closing act at once, and tells the user what stops a search: a dictionary that is no
// longer valid, or memory running short.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <vector>

class QWidget;

namespace qel {

class QCDictionaryList;
class SearchSession;

class SearchRunner : public QObject {
  Q_OBJECT

 public:
  // Slices of search steps run back to back for about this long before the event loop runs.
  static constexpr int kSliceMilliseconds = 8;
  // Captions and scroll ranges follow a running search at most this often.
  static constexpr int kRefreshMilliseconds = 100;

  // Prompts go over `view`.
  explicit SearchRunner(QWidget* view);

  // The dictionaries and the session over them (both may be null); a run under way stops.
  void setSession(QCDictionaryList* dictionaries, SearchSession* session);
  // Runs the session's started search, a slice at a time, until it stops.
  void run();
  // The run ends after the slice under way, whatever the session would do next.
  void endAfterSlice() { m_ending = true; }
  void cancel() { m_slice.stop(); }
  // The longest time one slice kept the event loop waiting, in nanoseconds.
  qint64 longestSlice() const { return m_longestSlice; }

  // Which dictionaries are valid now, to tell later which ones became invalid.
  std::vector<bool> validity() const;
  // Tells of each dictionary valid in `wasValid` that no longer is (once, last first, as the
  // dictionaries are checked); true when all are valid.
  bool reportInvalidated(const std::vector<bool>& wasValid);
  // Checks every dictionary again and tells of those no longer valid; true when all are valid.
  bool recheckDictionaries();
  // After a run stopped: tells of a dictionary invalidated under it (true: validate the pattern
  // again), or asks about memory running short.
  bool reportFailure();
  // What a stopped run leaves to say beside its state: entries the matcher gave up on, too much
  // work, a limit on results; empty when nothing.
  QString stopNote() const;

  // The panes follow the results now when `force`, else when kRefreshMilliseconds have passed.
  void refresh(bool force);

 signals:
  void refreshDue(bool force);
  // A slice ended and the run goes on.
  void progressed();
  // The run stopped: finished, paused (by the user or for want of memory), invalidated, or ended.
  void stopped(bool ended);

 private:
  void runSlice();

  QWidget* m_view;
  QCDictionaryList* m_dictionaries = nullptr;
  SearchSession* m_session = nullptr;
  QTimer m_slice;
  QElapsedTimer m_sinceRefresh;
  qint64 m_longestSlice = 0;
  bool m_ending = false;
};

}  // namespace qel
