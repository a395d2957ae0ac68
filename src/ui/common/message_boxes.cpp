#include "ui/common/message_boxes.h"

#include "ui/common/ui_seams.h"

#include <cstdio>

namespace pelko {

namespace {

void Trace(const QString& caption, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
    std::fflush(stderr);
}

} // namespace

void ErrorBox(QWidget* parent, const QString& text) {
    const QString caption = QStringLiteral("Ошибка");
    Trace(caption, text);
    TUiSeams::Current().MessageBox(parent, QMessageBox::Critical, caption, text, QMessageBox::Ok,
                                   QMessageBox::Ok);
}

void InfoBox(QWidget* parent, const QString& text) {
    TUiSeams::Current().MessageBox(parent, QMessageBox::Information, QStringLiteral("Информация"),
                                   text, QMessageBox::Ok, QMessageBox::Ok);
}

void WarningBox(QWidget* parent, const QString& text, const QString& caption) {
    const QString shown = caption.isEmpty() ? QStringLiteral("Предупреждение") : caption;
    Trace(shown, text);
    TUiSeams::Current().MessageBox(parent, QMessageBox::Warning, shown, text, QMessageBox::Ok,
                                   QMessageBox::Ok);
}

bool ConfirmBox(QWidget* parent, const QString& text, bool defaultYes, const QString& caption) {
    const QString shown = caption.isEmpty() ? QStringLiteral("Подтверждение") : caption;
    const bool warning = shown == QStringLiteral("Предупреждение");
    return TUiSeams::Current().MessageBox(
               parent, warning ? QMessageBox::Warning : QMessageBox::Question, shown, text,
               QMessageBox::Yes | QMessageBox::No,
               defaultYes ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
}

bool ConfirmDelete(QWidget* parent, int count) {
    const QString text =
        count == 1
            ? QStringLiteral("Удалить выделенную запись?")
            : QStringLiteral("Удалить все выделенные записи (всего будет удалено %1 записи(ей))?")
                  .arg(count);
    return ConfirmBox(parent, text, false, QStringLiteral("Предупреждение"));
}

} // namespace pelko
