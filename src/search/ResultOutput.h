// Where a search's results go: into their pane's list, or, for a program that only writes them
// out, handed to a sink as they are found, which may stop the search. A result that memory could
// not hold waits for the search to resume.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qel {

class ResultList;

// A result handed over as found; the views hold until the sink returns.
struct StreamedResult {
  std::string_view entry, annotation, extra;
  int32_t definitionNumber = 0;
};

class ResultOutput {
 public:
  // Each answers whether the search goes on: false stops it (the output failed, or has enough).
  // Several results at a time where the search finds several together.
  using ResultSink = std::function<bool(std::span<const StreamedResult> results)>;
  // `count` results that are only their word: each a word in ASCII and a newline.
  using LinesSink = std::function<bool(std::string_view lines, size_t count)>;

  void setSink(ResultSink sink) { m_sink = std::move(sink); }
  void setLinesSink(LinesSink sink) { m_linesSink = std::move(sink); }
  bool hasSink() const { return static_cast<bool>(m_sink); }

  // A new search, whose results are handed to the sink when `streaming`, else stored.
  void begin(bool streaming);
  // A paused search goes on: memory may have come back.
  void resume() { m_outOfMemory = false; }
  bool streaming() const { return m_streaming; }
  // Whether results that are only their word may be handed over as lines.
  bool takesLines() const { return m_streaming && m_linesSink; }

  // Stores or hands over one result. False when the step must end: memory ran out (the result
  // waits for the search to resume) or the sink stopped the search.
  bool add(ResultList& results, std::string entry, std::string annotation, std::string extra,
           int32_t definitionNumber);
  // Hands results over as found; false when the sink stopped the search.
  bool hand(std::span<const StreamedResult> results);
  bool handLines(std::string_view lines, size_t count);
  // Stores the result that waited for memory, if any; false when it still does not fit.
  bool storeWaiting(ResultList& results);

  bool outOfMemory() const { return m_outOfMemory; }
  bool stopped() const { return m_stopped; }

 private:
  struct Waiting {
    std::string entry, annotation, extra;
    int32_t definitionNumber = 0;
  };

  ResultSink m_sink;
  LinesSink m_linesSink;
  bool m_streaming = false;
  bool m_outOfMemory = false;
  bool m_stopped = false;
  std::optional<Waiting> m_waiting;
};

}  // namespace qel
