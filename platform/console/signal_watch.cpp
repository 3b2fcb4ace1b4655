#include "platform/console/signal_watch.h"

#include <pthread.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/console/console_signals.h"
#include "platform/console/terminal_mode.h"

namespace kv {
namespace {

constexpr int crash_signals[] = {SIGSEGV, SIGBUS, SIGABRT, SIGFPE};
struct sigaction previous_crash_handling[std::size(crash_signals)];
std::atomic<bool> stopped{false};

// Never destroyed: the signal thread may run the steps while exit steps run.
struct FatalSteps {
  std::mutex mutex;
  std::vector<void (*)()> steps;
};
FatalSteps& fatal_steps() {
  static FatalSteps& steps = *new FatalSteps;
  return steps;
}

void run_fatal_steps() {
  std::vector<void (*)()> steps;
  {
    std::lock_guard lock(fatal_steps().mutex);
    steps = fatal_steps().steps;
  }
  for (auto step = steps.rbegin(); step != steps.rend(); ++step) (*step)();
}

// The signal is blocked in this thread: raise leaves it pending, unblocking delivers it.
void die_by(int signal) {
  std::signal(signal, SIG_DFL);
  raise(signal);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
}

void watch(sigset_t signals, void (*end_requested)()) {
  for (;;) {
    int signal = 0;
    if (sigwait(&signals, &signal) != 0 || stopped) continue;
    restore_terminal();
    if (signal == SIGTERM || signal == SIGHUP) {
      end_requested();
      std::exit(128 + signal);
    }
    run_fatal_steps();
    die_by(signal);
  }
}

// Runs in the crashing thread; SA_RESETHAND has already put back the default action.
void on_crash(int signal) {
  restore_terminal();
  raise(signal);
}

}  // namespace

void add_fatal_signal_step(void (*step)()) {
  std::lock_guard lock(fatal_steps().mutex);
  fatal_steps().steps.push_back(step);
}

void start_signal_watch(void (*end_requested)()) {
  sigset_t signals;
  sigemptyset(&signals);
  for (int signal : {SIGINT, SIGQUIT, SIGTERM, SIGHUP}) sigaddset(&signals, signal);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread(watch, signals, end_requested).detach();

  struct sigaction crash {};
  crash.sa_handler = on_crash;
  crash.sa_flags = SA_RESETHAND | SA_NODEFER;
  sigemptyset(&crash.sa_mask);
  for (std::size_t i = 0; i < std::size(crash_signals); ++i)
    sigaction(crash_signals[i], &crash, &previous_crash_handling[i]);
}

void stop_signal_watch() {
  stopped = true;
  for (std::size_t i = 0; i < std::size(crash_signals); ++i)
    sigaction(crash_signals[i], &previous_crash_handling[i], nullptr);
}

}  // namespace kv
