// A pane's results written as a dictionary: the results are the builder's source lines, and the
// target is replaced only by a complete build, its previous contents kept in its ".bak" file.
#pragma once

#include <functional>
#include <string>

#include "maintenance/DictionaryBuilder.h"

namespace qel {

class QCDictionaryList;
class ResultList;
struct ResultRecord;

// The source line of one result: its entry and its annotation kept apart ("entry+annotation+",
// escaped as the line syntax needs), without the blank that separates the annotation on screen
// and without the balance or context text, which are not part of the word.
std::string resultSourceLine(const ResultRecord& record);

class DictionaryMaintainer : public BuildSource {
 public:
  // The save dialog's states: a build runs only while Saving, and Cancel during it ends the
  // build at its next line or entry.
  enum class State { kNothing = 0, kReady = 1, kSaving = 2, kFinished = 4 };

  // `results` and `dictionaries` outlive the maintainer. Entries of `shortest` to `longest`
  // letters are kept (the lengths the results were searched for; beyond 1..kLongestWord the whole
  // range).
  DictionaryMaintainer(const ResultList& results, QCDictionaryList& dictionaries, int shortest,
                       int longest);

  // Called every 4096 lines and entries while a build runs, so that a window stays responsive
  // and its Cancel button works.
  void setYield(std::function<void()> yield) { m_yield = std::move(yield); }
  // Called with every line added to the log.
  void setLogListener(std::function<void(const std::string&)> listener) {
    m_logListener = std::move(listener);
  }

  State state() const { return m_state; }
  void setState(State state) { m_state = state; }
  const std::string& log() const { return m_log; }
  void clearLog() { m_log.clear(); }

  // Writes the results over `path` (code page 1252, like the description) with the alphabet of
  // `dictionary` of the list: built beside it, then put in its place, the old contents kept in
  // backupPathFor(path). False, with the reason in the log, when the dictionary is not valid or
  // the build fails or is cancelled; `path` then holds what it held and nothing is left beside it.
  bool save(const std::string& path, const std::string& description, int dictionary);

  // BuildSource: the results in list order, one a line.
  void rewind() override { m_line = 0; }
  Line nextLine(std::string& line, long count) override;
  bool keepGoing() override;
  void info(const std::string& text) override { addToLog(text); }
  void error(const std::string& text) override { addToLog(text); }

 private:
  void addToLog(const std::string& text);

  const ResultList& m_results;
  QCDictionaryList& m_dictionaries;
  int m_shortest;
  int m_longest;
  State m_state = State::kReady;
  long m_line = 0;  // results handed out since the last rewind
  long m_entriesAsked = 0;
  std::string m_log;
  std::function<void()> m_yield;
  std::function<void(const std::string&)> m_logListener;
};

}  // namespace qel
