// The sliced run of a search and the prompts about what stops one.
#include "search/qt/SearchRunner.h"

#include <QFile>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <new>

#include "app/Messages.h"
#include "common/qt/UserPrompts.h"
#include "dictionary/QCDictionaryList.h"
#include "platform/qt/CoreText.h"
#include "search/SearchSession.h"

namespace qel {
namespace {

const char kInvalidatedCaption[] = "Dictionary Invalidated";

}  // namespace

SearchRunner::SearchRunner(QWidget* view) : QObject(view), m_view(view) {
  m_slice.setSingleShot(true);
  m_slice.setInterval(0);
  connect(&m_slice, &QTimer::timeout, this, &SearchRunner::runSlice);
}

void SearchRunner::setSession(QCDictionaryList* dictionaries, SearchSession* session) {
  m_slice.stop();
  m_dictionaries = dictionaries;
  m_session = session;
}

void SearchRunner::run() {
  if (!m_session) return;
  m_sinceRefresh.start();
  m_slice.start();
}

// Steps run back to back for a few milliseconds, then the event loop gets its turn: a Stop click,
// Escape or a close request is seen within one slice.
void SearchRunner::runSlice() {
  if (!m_session) return;
  QElapsedTimer slice;
  slice.start();
  bool more = true;
  try {
    do {
      more = m_session->step();
    } while (more && slice.elapsed() < kSliceMilliseconds);
    refresh(false);
  } catch (const std::bad_alloc&) {
    m_session->pause();
    more = false;
  }
  if (more && !m_ending) {
    emit progressed();
    m_longestSlice = std::max(m_longestSlice, slice.nsecsElapsed());
    m_slice.start();
    return;
  }
  emit stopped(m_ending);
  m_longestSlice = std::max(m_longestSlice, slice.nsecsElapsed());
}

void SearchRunner::refresh(bool force) {
  if (!force && m_sinceRefresh.isValid() && m_sinceRefresh.elapsed() < kRefreshMilliseconds) return;
  m_sinceRefresh.start();
  emit refreshDue(force);
}

std::vector<bool> SearchRunner::validity() const {
  std::vector<bool> valid;
  for (int i = 0; m_dictionaries && i < m_dictionaries->count(); ++i)
    valid.push_back(m_dictionaries->dictionary(i).valid());
  return valid;
}

bool SearchRunner::reportInvalidated(const std::vector<bool>& wasValid) {
  bool allValid = true;
  for (int i = static_cast<int>(wasValid.size()) - 1; i >= 0; --i) {
    if (m_dictionaries->dictionary(i).valid()) continue;
    allValid = false;
    if (wasValid[i]) {
      UserPrompts::current().warning(m_view, tr(kInvalidatedCaption),
                                     QFile::decodeName(m_dictionaries->path(i).c_str()) + "\n" +
                                         tr(kNoLongerValidDictionaryText));
    }
  }
  return allValid;
}

bool SearchRunner::recheckDictionaries() {
  if (!m_dictionaries) return false;
  const std::vector<bool> wasValid = validity();
  for (int i = m_dictionaries->count() - 1; i >= 0; --i) m_dictionaries->recheck(i);
  return reportInvalidated(wasValid);
}

bool SearchRunner::reportFailure() {
  const SearchSession::Failure failure = m_session->failure();
  if (failure == SearchSession::Failure::kDictionaryInvalidated) {
    const std::string path = m_session->failedPath().value_or("");
    UserPrompts::current().warning(
        m_view, tr(kInvalidatedCaption),
        QFile::decodeName(path.c_str()) + "\n" + tr(kNoLongerValidDictionaryText));
    return true;
  }
  if (failure == SearchSession::Failure::kOutOfMemory) {
    const auto answer = UserPrompts::current().retryOrCancel(
        m_view, tr("Application Memory Low"),
        tr("An application function has been suspended because there is too little virtual "
           "memory. Try closing down all unnecessary programs and selecting the Retry button. If "
           "this message persists, exit the application by selecting the Cancel button and "
           "configure more virtual memory."));
    if (answer == UserPrompts::Answer::kCancel) std::exit(1);
  }
  return false;
}

QString SearchRunner::stopNote() const {
  const SearchSession::Failure failure = m_session->failure();
  // A pattern that needs too much work pauses rather than holding the window for minutes; Resume
  // goes on with a fresh allowance.
  if (failure == SearchSession::Failure::kTooMuchWork)
    return fromCp1252(messageText(messageNumber(Message::kSearchTooMuchWork)));
  if (failure == SearchSession::Failure::kResultLimit) return fromCp1252(m_session->failureText());
  // Entries the matcher gave up on are left out of the results: the user is told, as qel-cli
  // tells on its error stream.
  const long undecided = m_session->undecidedEntries();
  if (m_session->state() == SearchState::Ready && undecided > 0)
    return fromCp1252(SearchSession::undecidedText(undecided));
  return QString();
}

}  // namespace qel
