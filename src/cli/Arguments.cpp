#include "cli/Arguments.h"

#include <charconv>

namespace qel::cli {

bool Arguments::parse(const std::vector<std::string>& args, const std::set<std::string>& valued,
                      const std::set<std::string>& switches) {
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!optionsEnded && a == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || a.size() < 3 || a.compare(0, 2, "--") != 0) {
      m_positional.push_back(a);
      continue;
    }
    const std::string name = a.substr(2);
    if (valued.count(name)) {
      if (i + 1 >= args.size()) {
        m_error = "option " + a + " needs a value";
        return false;
      }
      m_values[name].push_back(args[++i]);
    } else if (switches.count(name)) {
      m_switches.insert(name);
    } else {
      m_error = "unknown option " + a;
      return false;
    }
  }
  return true;
}

std::optional<std::string> Arguments::value(const std::string& name) const {
  const auto it = m_values.find(name);
  if (it == m_values.end()) return std::nullopt;
  return it->second.back();
}

std::vector<std::string> Arguments::values(const std::string& name) const {
  const auto it = m_values.find(name);
  return it == m_values.end() ? std::vector<std::string>() : it->second;
}

bool Arguments::number(const std::string& name, int& result) {
  const auto v = value(name);
  if (!v) return true;
  int parsed = 0;
  const auto [end, ec] = std::from_chars(v->data(), v->data() + v->size(), parsed);
  if (ec != std::errc() || end != v->data() + v->size()) {
    m_error = "option --" + name + " needs a whole number, not \"" + *v + "\"";
    return false;
  }
  result = parsed;
  return true;
}

}  // namespace qel::cli
