#pragma once
// SIGTERM and SIGINT (a session logout, `kill`, Ctrl+C in the terminal) close the window as
// a close request does, so the settings are saved. The handler only writes a byte to a
// pipe; the event loop picks it up.

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

namespace pelko {

class TSignalClose : public QObject {
    Q_OBJECT
  public:
    explicit TSignalClose(QObject* parent = nullptr);
    ~TSignalClose() override;

    // The window to close; signals before it is set are remembered and act once it is.
    void SetWindow(QWidget* window);

  private:
    void SignalArrived();

    QSocketNotifier* notifier_ = nullptr;
    QPointer<QWidget> window_;
    bool pending_ = false;
};

} // namespace pelko
