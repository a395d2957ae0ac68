#pragma once
// Everything in the window that waits for a person goes through this seam: message boxes,
// file dialogs, modal dialogs and opening files with the desktop. The default
// implementation shows the real thing (nothing once a termination signal arrived: boxes
// take their default answer, dialogs are cancelled); tests install one that answers from a
// script, and an unattended run (PELKO_UNATTENDED=1) one that takes the default answer.

#include <QMessageBox>
#include <QString>
#include <QUrl>

class QDialog;
class QWidget;

namespace pelko {

class TUiSeams {
  public:
    virtual ~TUiSeams() = default;

    virtual QMessageBox::StandardButton MessageBox(QWidget* parent, QMessageBox::Icon icon,
                                                   const QString& caption, const QString& text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton);
    // "" when cancelled. `filter` is a Qt file-dialog filter ("Файлы тиражей (*.csv)").
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter);
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& defaultSuffix);
    // Runs a modal dialog; returns its result (QDialog::Accepted or Rejected).
    virtual int ExecDialog(QDialog& dialog);
    // Opens a file or an address with the desktop's default application.
    virtual void OpenUrl(const QUrl& url);

    static TUiSeams& Current();
    // Installs a seam (not owned); nullptr brings back the real one.
    static void Install(TUiSeams* seams);
};

// Takes the default button of every box and cancels every dialog; for runs without a
// person at the screen. The boxes' texts still reach the standard error stream.
class TUnattendedSeams : public TUiSeams {
  public:
    QMessageBox::StandardButton MessageBox(QWidget* parent, QMessageBox::Icon icon,
                                           const QString& caption, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override;
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    int ExecDialog(QDialog& dialog) override;
    void OpenUrl(const QUrl&) override {}
};

} // namespace pelko
