// Temporary files a stopped process must not leave behind. Each FileReplacement enters its
// temporary here while it exists; a handler for SIGINT and SIGTERM removes every one entered and
// then lets the signal end the process as it would have. Async-signal-safe: the names live in a
// fixed table of fixed-size slots, and the handler only calls unlink.
#pragma once

#include <signal.h>

#include <string>

namespace qel::temporary_files {

// Enters a temporary file's path (at most kMaxPath bytes; a longer one is not entered) and
// returns its slot, or -1 when the table is full.
inline constexpr size_t kMaxPath = 4095;
int enter(const std::string& path);
void leave(int slot);

// Installs the handler for SIGINT and SIGTERM (once; later calls do nothing).
void removeOnSignal();

// Holds back SIGINT, SIGTERM, SIGHUP and SIGQUIT while it lives: steps that must not be parted (a
// dictionary and its ranks put in place) run whole, and a signal that came meanwhile acts after.
class SignalsHeld {
 public:
  SignalsHeld();
  ~SignalsHeld();
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t m_previous;
};

}  // namespace qel::temporary_files
