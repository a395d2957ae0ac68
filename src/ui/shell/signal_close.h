#pragma once
// SIGTERM, SIGINT and SIGHUP (a session logout, `kill`, Ctrl+C in the terminal) end the
// program promptly whatever it is doing. The first one makes every box and dialog answer
// with its default at once (open ones are closed), stops a scenario run at its next stop
// check as "Стоп" would, and quits every event loop; the window then closes without
// asking, saving its settings. Work that never reaches a stop check is cut short by a
// watchdog WATCHDOG_MS after the signal, and a second signal ends the process at once
// (both with exit code 128 + the signal's number). Every whole-file save is a rename, so
// neither leaves a half-written file.
//
// The handler only sets the flag, wakes the watchdog and writes a byte to a pipe; any
// event loop (the window's, a box's, a run's stop checks) picks the byte up.

#include <QObject>

class QSocketNotifier;
class QTimer;

namespace pelko {

// A termination signal arrived: nothing may wait for a person any more.
bool Terminating();

class TSignalClose : public QObject {
    Q_OBJECT
  public:
    static constexpr int WATCHDOG_MS = 1500;
    // Boxes opened after the signal by code the seams do not cover are closed this often.
    static constexpr int CLOSE_INTERVAL_MS = 20;

    explicit TSignalClose(QObject* parent = nullptr);
    ~TSignalClose() override;

  private:
    void SignalArrived();
    void EndStep();

    QSocketNotifier* notifier_ = nullptr;
    QTimer* ender_ = nullptr;
};

} // namespace pelko
