// Settings kept in a map, for core tests of what is read and written.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>

#include "app/SettingsBackend.h"

namespace qel::test {

class MapSettings : public SettingsBackend {
 public:
  using Value = std::variant<std::string, int32_t>;

  bool readString(std::string_view name, std::string& out) const override {
    const auto it = values.find(std::string(name));
    if (it == values.end() || !std::holds_alternative<std::string>(it->second)) return false;
    out = std::get<std::string>(it->second);
    return true;
  }
  bool readNumber(std::string_view name, int32_t& out) const override {
    const auto it = values.find(std::string(name));
    if (it == values.end() || !std::holds_alternative<int32_t>(it->second)) return false;
    out = std::get<int32_t>(it->second);
    return true;
  }
  void writeString(std::string_view name, std::string_view text) override {
    values[std::string(name)] = std::string(text);
  }
  void writeNumber(std::string_view name, int32_t value) override {
    values[std::string(name)] = value;
  }
  void remove(std::string_view name) override { values.erase(std::string(name)); }

  std::map<std::string, Value> values;
};

}  // namespace qel::test
