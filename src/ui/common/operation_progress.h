#pragma once
// A progress window over a long workspace operation that reports only through the host's
// status text: while the operation lets the window process events, the window shows the
// current status text and its "( завершено N % )". Closed when the object goes.

#include <QPointer>
#include <QString>

class QProgressDialog;
class QTimer;
class QWidget;

namespace pelko {

class Host;

class TOperationProgress {
  public:
    TOperationProgress(QWidget* parent, const QString& caption, Host& host);
    ~TOperationProgress();
    TOperationProgress(const TOperationProgress&) = delete;
    TOperationProgress& operator=(const TOperationProgress&) = delete;

    // Whole per cent of "( завершено N % )" in a status text, -1 when it has none.
    static int PercentOf(const QString& status);

  private:
    void Poll();

    Host& host_;
    QPointer<QProgressDialog> dialog_;
    QTimer* timer_ = nullptr;
};

} // namespace pelko
