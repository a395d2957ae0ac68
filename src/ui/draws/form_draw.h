#pragma once
// The draw data dialog: number, the six numbers as text, date and time. OK is refused
// with "Введена некорректная комбинация!" (focus back on the numbers) unless the text is
// six distinct numbers 1..45 separated by ";" or ",".

#include "core/lottery.h"

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QSpinBox;
class QTimeEdit;

namespace pelko {

class TFormDraw : public QDialog {
    Q_OBJECT
  public:
    TFormDraw(const QString& title, const TDrawData& draw, QWidget* parent = nullptr);

    // The dialog as the draw actions open it; true with the accepted record in `draw`.
    // An invalid stored date shows its error and the dialog does not open.
    static bool EditDrawDialog(QWidget* parent, const QString& title, TDrawData& draw);

    const TDrawData& Result() const { return result_; }

    QSpinBox* edDrawNumber = nullptr;
    QLineEdit* edDrawData = nullptr;
    QDateEdit* edDrawDate = nullptr;
    QTimeEdit* edDrawTime = nullptr;

    void accept() override;

  private:
    TDrawData result_;
};

} // namespace pelko
