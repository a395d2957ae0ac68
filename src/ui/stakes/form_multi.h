#pragma once
// The multi-stake dialog "Добавление мультиставки": the draw number, the number of draws
// and the comment every stake of a bulk making gets. OK is refused with
// "Необходимо ввести комментарий!" while the comment is empty.

#include <QDialog>

#include <cstdint>
#include <string>

class QLineEdit;
class QSpinBox;

namespace pelko {

struct TMultiStakeInput {
    std::int32_t DrawNumber = 1;
    int DrawsCount = 1;
    std::string Comment; // UTF-8
};

class TFormMulti : public QDialog {
    Q_OBJECT
  public:
    TFormMulti(const TMultiStakeInput& input, QWidget* parent = nullptr);

    // Opens the dialog; true with the accepted input.
    static bool Execute(QWidget* parent, TMultiStakeInput& input);

    TMultiStakeInput Result() const;

    QSpinBox* edDrawNumber = nullptr;
    QSpinBox* edDrawsCount = nullptr;
    QLineEdit* edComment = nullptr;

    void accept() override;
};

} // namespace pelko
