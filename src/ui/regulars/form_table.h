#pragma once
// "Добавление регулярной ставки": the comment (required, unique regardless of case), the
// base (a constant start combination or the previous draw) and the step. The start field
// is typed into only in the constant mode with exactly one combination selected in the
// list; otherwise the rules take the selected combinations.

#include "stakes/regular_stakes.h"

#include <QDialog>

#include <cstddef>
#include <string>

class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace pelko {

class TFormTable : public QDialog {
    Q_OBJECT
  public:
    // `startText`: the one selected combination joined with ";" (empty when not one).
    TFormTable(const TTablesArray& existing, std::size_t selectedCount,
               const std::string& startText, QWidget* parent = nullptr);

    // Opens the dialog; true with the accepted input.
    static bool Execute(QWidget* parent, const TTablesArray& existing, std::size_t selectedCount,
                        const std::string& startText, TTableDialogInput& input);

    const TTableDialogInput& Result() const { return result_; }

    QLineEdit* edComment = nullptr;
    QRadioButton* rbUseMyComb = nullptr;
    QLineEdit* edCombStart = nullptr;
    QRadioButton* rbUseLastDraw = nullptr;
    QSpinBox* edStep = nullptr;

    void accept() override;

  private:
    void UpdateStart();

    const TTablesArray& existing_;
    std::size_t selectedCount_;
    QString typedStart_;
    TTableDialogInput result_;
};

} // namespace pelko
