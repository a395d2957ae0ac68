#include "ui/signal_close.h"

#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace pelko {

namespace {

int pipeFds[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
}

} // namespace

TSignalClose::TSignalClose(QObject* parent) : QObject(parent) {
    if (pipeFds[0] < 0 && ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TSignalClose::SignalArrived);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

TSignalClose::~TSignalClose() {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
}

void TSignalClose::SetWindow(QWidget* window) {
    window_ = window;
    if (pending_ && window_) {
        pending_ = false;
        window_->close();
    }
}

void TSignalClose::SignalArrived() {
    char buffer[16];
    while (::read(pipeFds[0], buffer, sizeof buffer) > 0) {
    }
    if (window_)
        window_->close();
    else
        pending_ = true;
}

} // namespace pelko
