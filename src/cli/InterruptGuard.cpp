#include "InterruptGuard.h"

namespace tolvane {

namespace {

std::atomic<bool> gInterrupted{false};
std::atomic<bool> gCame{false};

void OnInterrupt(int) {
    gInterrupted = true;
    gCame = true;
}

} // namespace

InterruptGuard::InterruptGuard() {
    gInterrupted = false;
    gCame = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    ::sigaction(SIGINT, &action, &oldInt_);
    ::sigaction(SIGTERM, &action, &oldTerm_);
}

InterruptGuard::~InterruptGuard() {
    ::sigaction(SIGINT, &oldInt_, nullptr);
    ::sigaction(SIGTERM, &oldTerm_, nullptr);
}

std::atomic<bool>& InterruptGuard::Flag() {
    return gInterrupted;
}

bool InterruptGuard::Came() {
    return gCame;
}

} // namespace tolvane
