// A small command-line reader: "--name value" options, "--flag" switches and positional arguments.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qel::cli {

class Arguments {
 public:
  // `valued` names the options that take a value, `switches` those that do not. False, with
  // error() set, for an unknown option or a missing value.
  bool parse(const std::vector<std::string>& args, const std::set<std::string>& valued,
             const std::set<std::string>& switches);

  const std::vector<std::string>& positional() const { return m_positional; }
  bool has(const std::string& name) const { return m_values.count(name) || m_switches.count(name); }
  // The option's last value; values() gives every one, for an option that may be repeated.
  std::optional<std::string> value(const std::string& name) const;
  std::vector<std::string> values(const std::string& name) const;
  // The option as a whole number; false, with error() set, when it is not one.
  bool number(const std::string& name, int& result);
  const std::string& error() const { return m_error; }

 private:
  std::vector<std::string> m_positional;
  std::map<std::string, std::vector<std::string>> m_values;
  std::set<std::string> m_switches;
  std::string m_error;
};

}  // namespace qel::cli
