#include "ui/shell/signal_close.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <semaphore.h>
#include <thread>
#include <unistd.h>

namespace pelko {

namespace {

constexpr int SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

// Only async-signal-safe things are touched from the handler: a lock-free atomic,
// sem_post, write and _exit.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> firstSignal{0};
int pipeFds[2] = {-1, -1};
sem_t watchdogGo;

void OnSignal(int signo) {
    int none = 0;
    if (!firstSignal.compare_exchange_strong(none, signo)) _exit(128 + signo);
    const int interrupted = errno; // of the code this handler interrupted
    sem_post(&watchdogGo);
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
    errno = interrupted;
}

// A thread rather than alarm(): nothing else in the process can disarm it.
void Watchdog() {
    while (sem_wait(&watchdogGo) != 0)
        if (errno != EINTR) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(TSignalClose::WATCHDOG_MS));
    _exit(128 + firstSignal.load());
}

bool StartWatchdog() {
    if (sem_init(&watchdogGo, 0, 0) != 0) return false;
    // The signals go to the other threads, never to this one.
    sigset_t all, old;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &old);
    std::thread(Watchdog).detach();
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return true;
}

} // namespace

bool Terminating() {
    return firstSignal.load() != 0;
}

TSignalClose::TSignalClose(QObject* parent) : QObject(parent) {
    if (pipeFds[0] < 0 && ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    static const bool watchdog = StartWatchdog();
    if (!watchdog) return;
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TSignalClose::SignalArrived);
    ender_ = new QTimer(this);
    ender_->setInterval(CLOSE_INTERVAL_MS);
    connect(ender_, &QTimer::timeout, this, &TSignalClose::EndStep);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signo : SIGNALS)
        sigaction(signo, &action, nullptr);
}

TSignalClose::~TSignalClose() {
    for (int signo : SIGNALS)
        std::signal(signo, SIG_DFL);
}

void TSignalClose::SignalArrived() {
    char buffer[16];
    while (::read(pipeFds[0], buffer, sizeof buffer) > 0) {
    }
    if (!Terminating()) return;
    ender_->start();
    EndStep();
}

void TSignalClose::EndStep() {
    // Each box, dialog and menu runs its own event loop; the code that opened it goes on
    // (with the default answer) only once it has closed.
    for (int guard = 0; guard < 32; ++guard) {
        QWidget* open = QApplication::activePopupWidget();
        if (!open) open = QApplication::activeModalWidget();
        if (!open) break;
        if (auto* dialog = qobject_cast<QDialog*>(open))
            dialog->reject();
        else
            open->close();
        if (open->isVisible()) open->hide();
    }
    // Leaves every event loop, the window's last, so that the window closes once nothing
    // under it is still running (quit() would try to close it right here).
    QCoreApplication::exit(0);
}

} // namespace pelko
