#include "ui/common/ui_seams.h"

#include "ui/shell/signal_close.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>

namespace pelko {

namespace {
TUiSeams defaultSeams;
TUiSeams* currentSeams = &defaultSeams;

QMessageBox::StandardButton DefaultAnswer(QMessageBox::StandardButton defaultButton) {
    return defaultButton == QMessageBox::NoButton ? QMessageBox::Ok : defaultButton;
}
} // namespace

TUiSeams& TUiSeams::Current() {
    return *currentSeams;
}

void TUiSeams::Install(TUiSeams* seams) {
    currentSeams = seams ? seams : &defaultSeams;
}

QMessageBox::StandardButton TUiSeams::MessageBox(QWidget* parent, QMessageBox::Icon icon,
                                                 const QString& caption, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) {
    // The program's texts break lines with CR (and some with CR LF); a box needs LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Once the program is ending no box waits: it is not shown, or it was closed unanswered.
    if (Terminating()) return DefaultAnswer(defaultButton);
    QMessageBox box(icon, caption, shown, buttons, parent);
    box.setDefaultButton(defaultButton);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    return Terminating() ? DefaultAnswer(defaultButton) : answer;
}

QString TUiSeams::OpenFileName(QWidget* parent, const QString& caption, const QString& filter) {
    if (Terminating()) return {};
    const QString file = QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    return Terminating() ? QString() : file;
}

QString TUiSeams::SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                               const QString& defaultSuffix) {
    if (Terminating()) return {};
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || Terminating() || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

int TUiSeams::ExecDialog(QDialog& dialog) {
    if (Terminating()) return QDialog::Rejected;
    const int result = dialog.exec();
    return Terminating() ? int(QDialog::Rejected) : result;
}

void TUiSeams::OpenUrl(const QUrl& url) {
    if (!Terminating()) QDesktopServices::openUrl(url);
}

QMessageBox::StandardButton
TUnattendedSeams::MessageBox(QWidget*, QMessageBox::Icon, const QString&, const QString&,
                             QMessageBox::StandardButtons,
                             QMessageBox::StandardButton defaultButton) {
    return DefaultAnswer(defaultButton);
}

int TUnattendedSeams::ExecDialog(QDialog&) {
    return QDialog::Rejected;
}

} // namespace pelko
