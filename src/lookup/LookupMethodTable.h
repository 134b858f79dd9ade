// The configured external lookup methods: four kinds of four slots each, the test word and the
// default method, kept in the settings, and the rules that turn them into menu items, commands and
// the setup dialog's check boxes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Commands.h"
#include "app/SettingsBackend.h"

namespace qel {

// The kinds in their fixed order: the order of menus, command numbers, defaults and storage.
enum class LookupKind {
  kWebSearch,      // first: address with "{entry}" for the word; no second parameter
  kDde,            // first: service (a D-Bus bus name); second: topic (the object path)
  kWindowMessage,  // first: window title; second: command number as decimal text
  kExecute,        // first: program; second: encoding code, "0" none, "1" hexadecimal
};

inline constexpr int kLookupKindCount = 4;
inline constexpr int kLookupSlotCount = 4;  // slots per kind
inline constexpr LookupKind kLookupKinds[kLookupKindCount] = {
    LookupKind::kWebSearch, LookupKind::kDde, LookupKind::kWindowMessage, LookupKind::kExecute};

static_assert(kLookupKindCount * kLookupSlotCount <= kExternalLookupMethodCount,
              "every method that can be enabled needs a command of its own");

// One configured method. Texts are UTF-8, as the settings keep them.
struct LookupMethod {
  bool enabled = false;
  std::string label;   // the menu text, "&" marking the mnemonic
  std::string first;   // see LookupKind
  std::string second;  // see LookupKind; unused by web search

  bool operator==(const LookupMethod&) const = default;
};

// Where a method stands in the table; `slot` counts from 0.
struct LookupMethodRef {
  LookupKind kind = LookupKind::kWebSearch;
  int slot = 0;

  bool operator==(const LookupMethodRef&) const = default;
};

// How the setup dialog shows a method: its three-state box is clear, grey or checked.
enum class LookupMethodState { kDisabled, kEnabled, kDefault };

class LookupMethodTable {
 public:
  // Every slot empty and disabled, the test word "example", no default.
  LookupMethodTable();

  // Reads the table. Without a stored test word this is a first run, and every value that is
  // absent takes its factory default; once the table has been saved, absent values stay empty.
  void load(const SettingsBackend& settings);
  // Writes every slot, empty ones included, then the test word and the default label.
  void save(SettingsBackend& settings) const;

  LookupMethod& method(LookupMethodRef ref);
  const LookupMethod& method(LookupMethodRef ref) const;

  const std::string& testWord() const { return m_testWord; }  // UTF-8
  void setTestWord(std::string word) { m_testWord = std::move(word); }
  // The enabled method whose label equals it is the default method; empty for none.
  const std::string& defaultLabel() const { return m_defaultLabel; }
  void setDefaultLabel(std::string label) { m_defaultLabel = std::move(label); }

  int enabledCount() const;
  // The enabled methods in table order: what the menus list, position p being command
  // externalLookupMethodCommand(p).
  std::vector<LookupMethodRef> enabledMethods() const;
  bool isDefault(LookupMethodRef ref) const;

  // Makes the default label name an enabled method: kept when one has it, else the first enabled
  // method's label, else empty.
  void resolveDefault();

  // The method a command performs, or none. Command::kExternalLookup takes the default method,
  // or the first enabled one when the default label names none (the label is then cleared);
  // externalLookupMethodCommand(k) the k-th enabled method. A web search without an address is
  // passed over. Any other command matches nothing.
  std::optional<LookupMethodRef> target(Command command);

  // The setup dialog's rules. A box set to kDefault makes its label the default; a box that
  // leaves kDefault clears the default label.
  LookupMethodState state(LookupMethodRef ref) const;
  void setState(LookupMethodRef ref, LookupMethodState state);
  // A label typed into an empty row enables the method; clearing it disables the method. The
  // default label follows the default method's label.
  void setLabel(LookupMethodRef ref, std::string label);

  bool operator==(const LookupMethodTable&) const = default;

 private:
  std::optional<LookupMethodRef> walk(Command command) const;

  std::array<std::array<LookupMethod, kLookupSlotCount>, kLookupKindCount> m_methods;
  std::string m_testWord;
  std::string m_defaultLabel;
};

}  // namespace qel
