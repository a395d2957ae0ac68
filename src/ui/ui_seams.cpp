#include "ui/ui_seams.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>

namespace pelko {

namespace {
TUiSeams defaultSeams;
TUiSeams* currentSeams = &defaultSeams;
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
    QMessageBox box(icon, caption, shown, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString TUiSeams::OpenFileName(QWidget* parent, const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString TUiSeams::SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                               const QString& defaultSuffix) {
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

int TUiSeams::ExecDialog(QDialog& dialog) {
    return dialog.exec();
}

void TUiSeams::OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

QMessageBox::StandardButton
TUnattendedSeams::MessageBox(QWidget*, QMessageBox::Icon, const QString&, const QString&,
                             QMessageBox::StandardButtons,
                             QMessageBox::StandardButton defaultButton) {
    return defaultButton == QMessageBox::NoButton ? QMessageBox::Ok : defaultButton;
}

int TUnattendedSeams::ExecDialog(QDialog&) {
    return QDialog::Rejected;
}

} // namespace pelko
