// A build source over lines held in memory, keeping the build log: what the command line, the
// benchmarks and the tests build dictionaries from.
#pragma once

#include <string>
#include <vector>

#include "maintenance/DictionaryBuilder.h"

namespace qel {

class LineListSource : public BuildSource {
 public:
  explicit LineListSource(std::vector<std::string> lines) : m_lines(std::move(lines)) {}

  void rewind() override { m_next = 0; }
  Line nextLine(std::string& line, long) override {
    if (m_next >= m_lines.size()) return Line::End;
    line = m_lines[m_next++];
    return Line::Text;
  }
  bool keepGoing() override { return true; }
  void info(const std::string& text) override { log += text; }
  void error(const std::string& text) override {
    log += text;
    errors += text;
  }

  std::string log;     // every line the build reported
  std::string errors;  // the failures among them

 private:
  std::vector<std::string> m_lines;
  size_t m_next = 0;
};

}  // namespace qel
