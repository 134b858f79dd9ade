// What each kind of lookup method hands over: the web address with the word in it, the program's
// argument, and the D-Bus object path named by a topic.
#pragma once

#include <string>
#include <string_view>

namespace qel {

// The address with every "{entry}" replaced by the word: letters and digits of ASCII are kept,
// every other byte of the word's UTF-8 becomes "%" and two lower-case hexadecimal digits. Text
// put in is never searched again, so a word holding "{entry}" stays as it is.
std::string webSearchAddress(std::string_view addressTemplate, std::string_view wordUtf8);

// True when an execute method's encoding code asks for hexadecimal (its number is not zero).
bool isHexEncoding(std::string_view encodingCode);

// The argument of an execute method: each code page 1252 byte of the word as two upper-case
// hexadecimal digits when the code asks for it, else the word as UTF-8.
std::string programArgument(std::string_view wordCp1252, std::string_view encodingCode);

// The command number a window-message method sends: its decimal text, 0 when it is not a number.
int windowMessageCommand(std::string_view commandText);

// True when a D-Bus service name is one the bus accepts: a unique name (":1.42") or a well-known
// name of two or more elements ("org.example.Words"), each of ASCII letters, digits, "_" and
// "-", not starting with a digit, 255 characters at most.
bool isValidDBusBusName(std::string_view name);

// "/" + topic as a D-Bus object path: "/" separates elements, empty elements are dropped, and
// each character other than an ASCII letter, digit or "_" becomes "_".
std::string dbusObjectPath(std::string_view topicUtf8);

}  // namespace qel
