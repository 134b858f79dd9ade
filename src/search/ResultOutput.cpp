#include "search/ResultOutput.h"

#include <utility>

#include "search/ResultList.h"

namespace qel {

void ResultOutput::begin(bool streaming) {
  m_streaming = streaming && m_sink;
  m_outOfMemory = m_stopped = false;
  m_waiting.reset();
}

bool ResultOutput::add(ResultList& results, std::string entry, std::string annotation,
                       std::string extra, int32_t definitionNumber) {
  if (m_streaming) {
    const StreamedResult result{entry, annotation, extra, definitionNumber};
    return hand({&result, 1});
  }
  if (results.add(entry, annotation, extra, definitionNumber) >= 0 || !results.outOfMemory()) {
    return true;  // stored, or beyond what a list can hold
  }
  m_waiting = Waiting{std::move(entry), std::move(annotation), std::move(extra), definitionNumber};
  m_outOfMemory = true;
  return false;
}

bool ResultOutput::hand(std::span<const StreamedResult> results) {
  if (!m_stopped && !m_sink(results)) m_stopped = true;
  return !m_stopped;
}

bool ResultOutput::handLines(std::string_view lines, size_t count) {
  if (!m_stopped && !m_linesSink(lines, count)) m_stopped = true;
  return !m_stopped;
}

bool ResultOutput::storeWaiting(ResultList& results) {
  if (!m_waiting) return true;
  Waiting waiting = std::move(*m_waiting);
  m_waiting.reset();
  return add(results, std::move(waiting.entry), std::move(waiting.annotation),
             std::move(waiting.extra), waiting.definitionNumber);
}

}  // namespace qel
