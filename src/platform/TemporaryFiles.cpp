#include "platform/TemporaryFiles.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace qel::temporary_files {
namespace {

constexpr int kSlots = 16;

struct Slot {
  std::atomic<bool> taken{false};
  std::atomic<bool> ready{false};  // the path is complete
  char path[kMaxPath + 1] = {};
};

// Zero at load, with no code run at start: a constructor would touch all sixteen pages of the
// slots in every process, most of which never enters a file.
constinit Slot g_slots[kSlots];

void removeAll(int signal) {
  for (Slot& slot : g_slots) {
    if (slot.ready.load()) ::unlink(slot.path);
  }
  // The signal's own action (ending the process) follows.
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

int enter(const std::string& path) {
  if (path.size() > kMaxPath) return -1;
  for (int i = 0; i < kSlots; ++i) {
    bool expected = false;
    if (!g_slots[i].taken.compare_exchange_strong(expected, true)) continue;
    std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
    g_slots[i].ready.store(true);
    return i;
  }
  return -1;
}

void leave(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  g_slots[slot].ready.store(false);
  g_slots[slot].taken.store(false);
}

void removeOnSignal() {
  static std::atomic<bool> installed{false};
  if (installed.exchange(true)) return;
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction action {};
    action.sa_handler = removeAll;
    sigemptyset(&action.sa_mask);
    // A signal that was ignored when the program started (a background job's SIGINT) stays so.
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}

SignalsHeld::SignalsHeld() {
  sigset_t held;
  sigemptyset(&held);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, signal);
  pthread_sigmask(SIG_BLOCK, &held, &m_previous);
}

SignalsHeld::~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }

}  // namespace qel::temporary_files
