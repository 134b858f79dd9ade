// The ways a lookup reaches outside the program, one per kind of method. Each is true when the
// word was handed over.
#pragma once

#include <QString>
#include <chrono>

class QWidget;

namespace qel {

// Opens the address, already percent-encoded, with the desktop's handler for its scheme.
bool openAddress(const QString& encodedAddress);

// Calls Execute(word) on the session bus at `service` and `objectPath`, in whatever interface
// offers it; true only on a reply that is not an error within `timeout`.
bool callDBusExecute(const QString& service, const QString& objectPath, const QString& word,
                     std::chrono::milliseconds timeout);

// On X11: puts the word on the clipboard and sends the top-level window titled exactly `title` a
// client message with `command` and the window of `owner`. False, touching nothing, when there is
// no such window or the display is not X11.
bool sendWindowMessage(const QString& title, int command, const QString& word, QWidget* owner);

// Starts the program with the one argument, spaces and all, and does not wait for it.
bool startProgram(const QString& program, const QString& argument);

}  // namespace qel
