#include "ui/common/gui_host.h"

#include "ui/common/message_boxes.h"
#include "ui/shell/signal_close.h"
#include "ui/common/ui_text.h"

#include <QApplication>
#include <QLabel>

#include <cstdio>

namespace pelko {

void TGuiHost::StatusText(const std::string& text) {
    status_ = QStr(text);
    if (panel_) panel_->setText(status_.isEmpty() ? remark_ : status_);
    if (EchoStatus && !status_.isEmpty() && status_ != lastEcho_) {
        lastEcho_ = status_;
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    // Let the window repaint and show the text while the work goes on.
    if (PaceStatusTexts)
        StopRequested();
    else
        ProcessEvents();
}

void TGuiHost::Remark(const std::string& text) {
    remark_ = QStr(text);
    std::fprintf(stderr, "%s\n", text.c_str());
    if (panel_) panel_->setText(remark_);
}

void TGuiHost::ProcessEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceEvents_.start();
}

bool TGuiHost::StopRequested() {
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= EVENTS_INTERVAL_MS) ProcessEvents();
    // A termination signal stops the run as "Стоп" would, without the question.
    return Terminating();
}

void TGuiHost::ErrorBox(const std::string& text) {
    pelko::ErrorBox(window_, QStr(text));
}

void TGuiHost::InfoBox(const std::string& text) {
    pelko::InfoBox(window_, QStr(text));
}

void TGuiHost::WarningBox(const std::string& text, const std::string& caption) {
    pelko::WarningBox(window_, QStr(text), QStr(caption));
}

bool TGuiHost::AskYesNo(const std::string& text, const std::string& caption, bool defaultYes) {
    return ConfirmBox(window_, QStr(text), defaultYes, QStr(caption));
}

void TGuiHost::BusyChanged(bool busy) {
    if (busy) {
        remark_.clear(); // a new operation: the last one's remark has been seen
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    else
        QApplication::restoreOverrideCursor();
    if (OnBusyChanged) OnBusyChanged(busy);
}

} // namespace pelko
