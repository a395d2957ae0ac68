#include "ui/common/operation_progress.h"

#include "ui/common/gui_host.h"

#include <QProgressDialog>
#include <QRegularExpression>
#include <QTimer>

namespace pelko {

TOperationProgress::TOperationProgress(QWidget* parent, const QString& caption, Host& host)
    : host_(host) {
    dialog_ = new QProgressDialog(caption, QString(), 0, 100, parent);
    dialog_->setObjectName(QStringLiteral("ProgressWindow"));
    dialog_->setWindowTitle(caption);
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
    // Timers fire while the operation's status texts let the window process events.
    timer_ = new QTimer(dialog_);
    timer_->setInterval(50);
    QObject::connect(timer_, &QTimer::timeout, dialog_, [this] { Poll(); });
    timer_->start();
}

TOperationProgress::~TOperationProgress() {
    delete dialog_;
}

int TOperationProgress::PercentOf(const QString& status) {
    static const QRegularExpression percent(QStringLiteral("завершено (\\d+) %"));
    const QRegularExpressionMatch match = percent.match(status);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

void TOperationProgress::Poll() {
    const auto* gui = dynamic_cast<const TGuiHost*>(&host_);
    if (!gui || !dialog_) return;
    const QString& status = gui->CurrentStatus();
    if (status.isEmpty()) return;
    dialog_->setLabelText(status);
    const int percent = PercentOf(status);
    if (percent >= 0) dialog_->setValue(std::min(percent, 100));
}

} // namespace pelko
