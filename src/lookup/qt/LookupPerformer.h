// Carrying out an external lookup: the method a command names, performed by its kind, and the one
// box that reports any failure.
#pragma once

#include <string_view>

#include "lookup/LookupMethodTable.h"

class QWidget;

namespace qel {

// Performs the method `command` names (Command::kExternalLookup, or
// externalLookupMethodCommand(k)) with the word, in code page 1252. True when the method ran: the
// address was handed to the desktop, the D-Bus service replied without an error, the window
// message was sent, or the program started. `owner` is the window the lookup comes from: the
// sender of a window message.
bool performLookup(LookupMethodTable& table, std::string_view wordCp1252, Command command,
                   QWidget* owner);

// Whether a kind of method takes a word with characters that code page 1252 cannot hold: a web
// address and a D-Bus string carry UTF-8; a window message and a program's argument go to
// applications that read the code page (the hex encoding is of its bytes).
bool takesAnyCharacter(LookupKind kind);

// The same as performLookup() for a word in UTF-8. A method that does not take any character
// fails, doing nothing, when the code page cannot hold the word.
bool performLookupUtf8(LookupMethodTable& table, std::string_view wordUtf8, Command command,
                       QWidget* owner);

// "Dictionary Lookup Failure": the reason is not told apart, since the other application is out
// of sight either way.
void showLookupFailure(QWidget* parent);

}  // namespace qel
