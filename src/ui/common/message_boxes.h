#pragma once
// The program's message boxes with their captions and default buttons. The text of every
// error and warning box also goes to the standard error stream, so a run without a person
// at the screen leaves a trace.

#include <QString>

class QWidget;

namespace pelko {

// Caption "Ошибка", error icon, OK.
void ErrorBox(QWidget* parent, const QString& text);
// Caption "Информация".
void InfoBox(QWidget* parent, const QString& text);
// Caption "Предупреждение" unless another one ("Внимание!") is given.
void WarningBox(QWidget* parent, const QString& text, const QString& caption = {});
// Yes/No question, caption "Подтверждение" unless another is given; true for Yes.
bool ConfirmBox(QWidget* parent, const QString& text, bool defaultYes = true,
                const QString& caption = {});
// "Удалить выделенную запись?" or "Удалить все выделенные записи (всего будет удалено %d
// записи(ей))?", caption "Предупреждение", No as the default button.
bool ConfirmDelete(QWidget* parent, int count);

} // namespace pelko
