#include "cli/interrupts.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace interrupts {
namespace {

std::atomic<bool> requested{false};

}  // namespace

void Watch() {
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stops, nullptr);
  std::thread([stops] {
    int signal = 0;
    while (sigwait(&stops, &signal) == 0) {
      if (!requested.exchange(true)) {
        static const char kSaid[] =
            "\nprogramcd: stopping once the command in flight has completed...\n";
        (void)!write(STDERR_FILENO, kSaid, sizeof kSaid - 1);
      }
    }
  }).detach();
}

bool Requested() { return requested.load(); }

}  // namespace interrupts
