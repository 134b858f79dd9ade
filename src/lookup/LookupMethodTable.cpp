// The lookup method table: loading with the first-run defaults, saving, and the default method.
#include "lookup/LookupMethodTable.h"

namespace qel {
namespace {

// The stored names of one kind's values: stem + slot digit ("LookupWebSearchLabel1").
struct KindNames {
  std::string_view enabled;
  std::string_view label;
  std::string_view first;
  std::string_view second;  // empty: the kind has no second parameter
};

constexpr KindNames kNames[kLookupKindCount] = {
    {"LookupWebSearchEnabled", "LookupWebSearchLabel", "LookupWebSearchScript", ""},
    {"LookupDDEEnabled", "LookupDDELabel", "LookupDDEService", "DDETopic"},
    {"LookupMessageEnabled", "LookupMessageLabel", "LookupMessageWindow", "MessageCommand"},
    {"LookupExecEnabled", "LookupExecLabel", "LookupExecProgram", "ExecEncoding"},
};

constexpr std::string_view kTestWordName = "LookupTestWord";
constexpr std::string_view kDefaultLabelName = "LookupDefaultLabel";
constexpr std::string_view kTestWordDefault = "example";
constexpr std::string_view kDefaultLabelDefault = "&Google";
constexpr std::string_view kNoEncoding = "0";

// What a first run finds. The other applications are filled in but left disabled: only the web
// searches work without anything else installed. Web addresses use https, so that the words
// looked up do not travel in clear.
struct FactoryDefault {
  LookupKind kind;
  int slot;
  std::string_view label;
  std::string_view first;
  std::string_view second;
};

constexpr FactoryDefault kFactoryDefaults[] = {
    {LookupKind::kWebSearch, 0, "&Google", "https://www.google.com/search?q=%22{entry}%22", ""},
    {LookupKind::kWebSearch, 1, "&OneLook", "https://www.onelook.com/?w={entry}&ls=a", ""},
    {LookupKind::kDde, 0, "&Chambers", "CompLex", "WinWord"},
    {LookupKind::kDde, 1, "O&xford Compendium", "Oxford", "WinWord"},
    {LookupKind::kDde, 2, "&AND Compendium", "CompLex3", "WinWord6"},
    {LookupKind::kDde, 3, "S&horter Oxford", "NewSOED", "WinWord6"},
    {LookupKind::kWindowMessage, 0, "A&merican Heritage", "The American Heritage Dictionary",
     "2026"},
};

const FactoryDefault* factoryDefault(LookupKind kind, int slot) {
  for (const FactoryDefault& entry : kFactoryDefaults) {
    if (entry.kind == kind && entry.slot == slot) return &entry;
  }
  return nullptr;
}

std::string slotName(std::string_view stem, int slot) {
  return std::string(stem) + std::to_string(slot + 1);
}

int kindIndex(LookupKind kind) { return static_cast<int>(kind); }

}  // namespace

LookupMethodTable::LookupMethodTable() : m_testWord(kTestWordDefault) {}

void LookupMethodTable::load(const SettingsBackend& settings) {
  const bool firstRun = !settings.readString(kTestWordName, m_testWord);
  if (firstRun) m_testWord = kTestWordDefault;
  for (LookupKind kind : kLookupKinds) {
    const KindNames& names = kNames[kindIndex(kind)];
    for (int slot = 0; slot < kLookupSlotCount; ++slot) {
      const FactoryDefault* factory = firstRun ? factoryDefault(kind, slot) : nullptr;
      LookupMethod method;
      if (!settings.readString(slotName(names.label, slot), method.label) && factory)
        method.label = factory->label;
      if (!settings.readString(slotName(names.first, slot), method.first) && factory)
        method.first = factory->first;
      if (!names.second.empty() &&
          !settings.readString(slotName(names.second, slot), method.second)) {
        if (factory) method.second = factory->second;
        if (kind == LookupKind::kExecute) method.second = kNoEncoding;
      }
      // A method without a label has no menu item, so it cannot be enabled.
      if (!method.label.empty()) {
        int32_t enabled = 0;
        if (settings.readNumber(slotName(names.enabled, slot), enabled))
          method.enabled = enabled != 0;
        else
          method.enabled = factory && kind == LookupKind::kWebSearch;
      }
      m_methods[kindIndex(kind)][slot] = std::move(method);
    }
  }
  if (!settings.readString(kDefaultLabelName, m_defaultLabel))
    m_defaultLabel = firstRun ? std::string(kDefaultLabelDefault) : std::string();
}

void LookupMethodTable::save(SettingsBackend& settings) const {
  for (LookupKind kind : kLookupKinds) {
    const KindNames& names = kNames[kindIndex(kind)];
    for (int slot = 0; slot < kLookupSlotCount; ++slot) {
      const LookupMethod& m = m_methods[kindIndex(kind)][slot];
      settings.writeNumber(slotName(names.enabled, slot), m.enabled ? 1 : 0);
      settings.writeString(slotName(names.label, slot), m.label);
      settings.writeString(slotName(names.first, slot), m.first);
      if (!names.second.empty()) settings.writeString(slotName(names.second, slot), m.second);
    }
  }
  settings.writeString(kTestWordName, m_testWord);
  settings.writeString(kDefaultLabelName, m_defaultLabel);
}

LookupMethod& LookupMethodTable::method(LookupMethodRef ref) {
  return m_methods[kindIndex(ref.kind)][ref.slot];
}

const LookupMethod& LookupMethodTable::method(LookupMethodRef ref) const {
  return m_methods[kindIndex(ref.kind)][ref.slot];
}

int LookupMethodTable::enabledCount() const { return static_cast<int>(enabledMethods().size()); }

std::vector<LookupMethodRef> LookupMethodTable::enabledMethods() const {
  std::vector<LookupMethodRef> enabled;
  for (LookupKind kind : kLookupKinds) {
    for (int slot = 0; slot < kLookupSlotCount; ++slot) {
      if (method({kind, slot}).enabled) enabled.push_back({kind, slot});
    }
  }
  return enabled;
}

bool LookupMethodTable::isDefault(LookupMethodRef ref) const {
  const LookupMethod& m = method(ref);
  return m.enabled && !m_defaultLabel.empty() && m.label == m_defaultLabel;
}

void LookupMethodTable::resolveDefault() {
  const std::vector<LookupMethodRef> enabled = enabledMethods();
  for (LookupMethodRef ref : enabled) {
    if (method(ref).label == m_defaultLabel) return;
  }
  m_defaultLabel = enabled.empty() ? std::string() : method(enabled.front()).label;
}

std::optional<LookupMethodRef> LookupMethodTable::walk(Command command) const {
  const std::optional<int> position = externalLookupMethodPosition(command);
  int count = 0;
  for (LookupMethodRef ref : enabledMethods()) {
    const LookupMethod& m = method(ref);
    const bool matches = command == Command::kExternalLookup
                             ? m_defaultLabel.empty() || m.label == m_defaultLabel
                             : position == count;
    ++count;
    if (!matches) continue;
    if (ref.kind == LookupKind::kWebSearch && m.first.empty()) continue;
    return ref;
  }
  return std::nullopt;
}

std::optional<LookupMethodRef> LookupMethodTable::target(Command command) {
  std::optional<LookupMethodRef> found = walk(command);
  if (found) return found;
  m_defaultLabel.clear();
  if (command == Command::kExternalLookup) found = walk(command);
  return found;
}

LookupMethodState LookupMethodTable::state(LookupMethodRef ref) const {
  if (isDefault(ref)) return LookupMethodState::kDefault;
  return method(ref).enabled ? LookupMethodState::kEnabled : LookupMethodState::kDisabled;
}

void LookupMethodTable::setState(LookupMethodRef ref, LookupMethodState state) {
  LookupMethod& m = method(ref);
  m.enabled = state != LookupMethodState::kDisabled;
  if (state == LookupMethodState::kDefault)
    m_defaultLabel = m.label;
  else if (m.label == m_defaultLabel)
    m_defaultLabel.clear();
}

void LookupMethodTable::setLabel(LookupMethodRef ref, std::string label) {
  LookupMethod& m = method(ref);
  const bool wasDefault = isDefault(ref);
  if (m.label.empty() && !label.empty() && !m.enabled)
    m.enabled = true;
  else if (label.empty() && m.enabled)
    m.enabled = false;
  m.label = std::move(label);
  if (wasDefault) m_defaultLabel = m.label;
}

}  // namespace qel
