#pragma once
// The window's Host: boxes through the message-box helpers, the status text into the
// status bar's panel 6 (processing pending events so long work repaints), the wait cursor
// while busy.

#include "app/host.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace pelko {

class TGuiHost : public Host {
  public:
    // Boxes are parented to the window once it exists.
    void SetWindow(QWidget* window) { window_ = window; }
    // Panel 6 of the status bar; texts before it exists are only kept.
    void SetStatusPanel(QLabel* panel) { panel_ = panel; }
    // Status texts also go to the standard error stream (prefetch rebuilds at start-up,
    // which may run with no one looking at the window).
    bool EchoStatus = false;
    // While set (during scenario runs, whose stop checks run the events anyway), status
    // texts show at the stop checks' rate: the work sets them far more often than anyone
    // can read them, and each repaint lays the status bar out again.
    bool PaceStatusTexts = false;
    // Told when the busy state changes (the window re-evaluates its actions at once).
    std::function<void(bool busy)> OnBusyChanged;

    const QString& CurrentStatus() const { return status_; }

    void StatusText(const std::string& text) override;
    void ErrorBox(const std::string& text) override;
    void InfoBox(const std::string& text) override;
    void WarningBox(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption, bool defaultYes) override;
    void BusyChanged(bool busy) override;
    // Stays in the status panel once the operation's own status text is cleared.
    void Remark(const std::string& text) override;
    // Scenario stop checks: the window runs its pending events (repaints, the "Стоп"
    // button) at most every EVENTS_INTERVAL_MS; the run keeps its own stop flag. True once
    // a termination signal arrived.
    bool StopRequested() override;
    static constexpr int EVENTS_INTERVAL_MS = 50;

  private:
    void ProcessEvents();

    QPointer<QWidget> window_;
    QPointer<QLabel> panel_;
    QString status_;
    QString lastEcho_;
    QString remark_;
    QElapsedTimer sinceEvents_;
};

} // namespace pelko
