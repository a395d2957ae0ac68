#pragma once
// The stake dialog "Добавление ставки": draw number, number of draws, the numbers (6 to 15
// of 1..45 separated by ";" or ","), their live sum and a comment of up to 64 characters.
// OK is refused with "Введена некорректная комбинация!" (focus on the numbers) or
// "Необходимо ввести комментарий!" (focus on the comment). The result keeps the passed
// record's other fields; pricing the final numbers is left to the caller.

#include "stakes/stake_record.h"

#include <QDialog>

class QLineEdit;
class QSpinBox;

namespace pelko {

class TFormStake : public QDialog {
    Q_OBJECT
  public:
    TFormStake(const TStakeData& stake, int drawsCount, QWidget* parent = nullptr);

    // Opens the dialog; true with the accepted stake and number of draws.
    static bool Execute(QWidget* parent, TStakeData& stake, int& drawsCount);

    const TStakeData& Result() const { return result_; }
    int DrawsCount() const;

    QSpinBox* edDrawNumber = nullptr;
    QSpinBox* edDrawsCount = nullptr;
    QLineEdit* edStakeData = nullptr;
    QLineEdit* edStakeSum = nullptr;
    QLineEdit* edComment = nullptr;

    void accept() override;

  private:
    void UpdateSum();

    TStakeData result_;
};

} // namespace pelko
