#pragma once
// What the window tests share: a seam that answers boxes, file dialogs and modal dialogs
// from a script, temporary data folders with small archives, and starting the window.

#include "core/lottery.h"
#include "ui/shell/form_main.h"
#include "ui/common/ui_seams.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>
#include <functional>
#include <memory>

namespace pelko::uitest {

struct TShownBox {
    QString Caption;
    QString Text;
    QMessageBox::StandardButton DefaultButton = QMessageBox::NoButton;
};

// Installed for its lifetime. Boxes are recorded and answered from Answers (the default
// button when it runs out); file dialogs take FileNames in turn ("" when it runs out);
// modal dialogs go to OnDialog (rejected when unset).
class TScriptedSeams : public TUiSeams {
  public:
    TScriptedSeams();
    ~TScriptedSeams() override;

    QList<TShownBox> Boxes;
    QList<QMessageBox::StandardButton> Answers;
    QStringList FileNames;
    std::function<int(QDialog&)> OnDialog;
    QList<QUrl> OpenedUrls;

    QMessageBox::StandardButton MessageBox(QWidget* parent, QMessageBox::Icon icon,
                                           const QString& caption, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override;
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& defaultSuffix) override;
    int ExecDialog(QDialog& dialog) override;
    void OpenUrl(const QUrl& url) override;
};

// Draw number i (1..count): six distinct numbers that differ from draw to draw, dated a
// day apart.
TDrawsArray MakeDraws(int count);
TDrawData MakeDraw(int number, std::initializer_list<int> numbers);

inline std::filesystem::path FolderOf(const QTemporaryDir& dir) {
    return std::filesystem::path(dir.path().toStdString());
}
void WriteArchive(const std::filesystem::path& folder, const TDrawsArray& draws);
void WriteGenerateParams(const std::filesystem::path& folder, int mode,
                         const std::string& parameters);

// A shown window on the folder, its deferred start-up done; nullptr when it did not finish
// within 30 s.
std::unique_ptr<TFormMain> StartWindow(const std::filesystem::path& folder,
                                       const QStringList& arguments = {});
// Closes the window as a person would (saving its settings) and destroys it.
void CloseWindow(std::unique_ptr<TFormMain>& window);

// How long `operation` took and the longest time the event loop went without running
// meanwhile: a 1 ms timer stamps every iteration in which it gets its turn.
struct TTimed {
    double Ms = 0;
    double LongestGapMs = 0;
};
TTimed TimeWithGaps(const std::function<void()>& operation);

} // namespace pelko::uitest
