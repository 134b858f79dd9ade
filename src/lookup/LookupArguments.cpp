// The texts the lookup methods hand to other programs.
#include "lookup/LookupArguments.h"

#include <charconv>

#include "platform/Cp1252.h"

namespace qel {
namespace {

constexpr std::string_view kPlaceholder = "{entry}";

bool isAsciiAlphanumeric(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string hexDigits(std::string_view bytes, const char* digits, std::string_view prefix) {
  std::string out;
  out.reserve(bytes.size() * (2 + prefix.size()));
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    out += prefix;
    out += digits[c >> 4];
    out += digits[c & 0x0f];
  }
  return out;
}

// The number a whole text stands for, blanks around it allowed; none when it is not one.
bool parseNumber(std::string_view text, int& out) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return false;
  const size_t last = text.find_last_not_of(" \t");
  text = text.substr(first, last - first + 1);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string webSearchAddress(std::string_view addressTemplate, std::string_view wordUtf8) {
  std::string encoded;
  for (const char byte : wordUtf8) {
    const auto c = static_cast<unsigned char>(byte);
    if (isAsciiAlphanumeric(c))
      encoded += byte;
    else
      encoded += hexDigits(std::string_view(&byte, 1), "0123456789abcdef", "%");
  }
  // From the end backwards, so that the inserted word is never searched.
  std::string address(addressTemplate);
  size_t end = address.size();
  while (end >= kPlaceholder.size()) {
    const size_t at = address.rfind(kPlaceholder, end - kPlaceholder.size());
    if (at == std::string::npos) break;
    address.replace(at, kPlaceholder.size(), encoded);
    end = at;
  }
  return address;
}

bool isHexEncoding(std::string_view encodingCode) {
  int code = 0;
  return parseNumber(encodingCode, code) && code != 0;
}

std::string programArgument(std::string_view wordCp1252, std::string_view encodingCode) {
  if (isHexEncoding(encodingCode)) return hexDigits(wordCp1252, "0123456789ABCDEF", "");
  return cp1252::toUtf8(wordCp1252);
}

int windowMessageCommand(std::string_view commandText) {
  int command = 0;
  return parseNumber(commandText, command) ? command : 0;
}

bool isValidDBusBusName(std::string_view name) {
  constexpr size_t kMaxLength = 255;
  if (name.empty() || name.size() > kMaxLength) return false;
  const bool unique = name.front() == ':';
  if (unique) name.remove_prefix(1);
  int elements = 0;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('.', start);
    if (end == std::string_view::npos) end = name.size();
    const std::string_view element = name.substr(start, end - start);
    if (element.empty()) return false;
    if (!unique && element.front() >= '0' && element.front() <= '9') return false;
    for (const char c : element) {
      if (!isAsciiAlphanumeric(static_cast<unsigned char>(c)) && c != '_' && c != '-') return false;
    }
    ++elements;
    start = end + 1;
  }
  return elements >= 2;
}

std::string dbusObjectPath(std::string_view topicUtf8) {
  std::string path;
  bool elementStarted = false;
  for (size_t i = 0; i < topicUtf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(topicUtf8[i]);
    if (c == '/') {
      elementStarted = false;
      continue;
    }
    if ((c & 0xc0) == 0x80) continue;  // the rest of a character already replaced
    if (!elementStarted) path += '/';
    elementStarted = true;
    path += isAsciiAlphanumeric(c) || c == '_' ? static_cast<char>(c) : '_';
  }
  return path.empty() ? std::string("/") : path;
}

}  // namespace qel
