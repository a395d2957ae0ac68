#pragma once
// "Удаление по условию": which stakes to delete by their match count, compared with a
// value 0..6. Opens on "Равно [ = ]" and 0 every time.

#include <QDialog>

class QComboBox;
class QSpinBox;

namespace pelko {

class TFormStakeFilter : public QDialog {
    Q_OBJECT
  public:
    explicit TFormStakeFilter(QWidget* parent = nullptr);

    // Opens the dialog; true with the chosen condition (TStakeCondition) and value.
    static bool Execute(QWidget* parent, int& condition, int& value);

    QComboBox* cbCondition = nullptr;
    QSpinBox* edValue = nullptr;
};

} // namespace pelko
