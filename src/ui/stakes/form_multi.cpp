#include "ui/stakes/form_multi.h"

#include "stakes/stake_making.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>

namespace pelko {

TFormMulti::TFormMulti(const TMultiStakeInput& input, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormMulti"));
    setWindowTitle(QStringLiteral("Добавление мультиставки"));

    edDrawNumber = new QSpinBox(this);
    edDrawNumber->setObjectName(QStringLiteral("edDrawNumber"));
    edDrawNumber->setRange(1, INT_MAX);
    edDrawNumber->setValue(input.DrawNumber);
    edDrawNumber->setToolTip(QStringLiteral("Номер тиража"));

    edDrawsCount = new QSpinBox(this);
    edDrawsCount->setObjectName(QStringLiteral("edDrawsCount"));
    edDrawsCount->setRange(1, MAX_DRAWS_COUNT);
    edDrawsCount->setValue(input.DrawsCount);
    edDrawsCount->setToolTip(QStringLiteral(
        "Количество тиражей, на которые нужно сделать ставку (начиная с указанного)"));

    edComment = new QLineEdit(this);
    edComment->setObjectName(QStringLiteral("edComment"));
    edComment->setMaxLength(STAKE_DIALOG_COMMENT_MAX);
    edComment->setText(QStr(input.Comment));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Номер тиража:"), edDrawNumber);
    form->addRow(QStringLiteral("Кол-во тиражей:"), edDrawsCount);
    form->addRow(QStringLiteral("Комментарий к ставке:"), edComment);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormMulti::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormMulti::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(320);
    edComment->setFocus();
}

TMultiStakeInput TFormMulti::Result() const {
    return {edDrawNumber->value(), edDrawsCount->value(), StdStr(edComment->text())};
}

void TFormMulti::accept() {
    if (const auto error = ValidateMultiStakeDialog(StdStr(edComment->text()))) {
        ErrorBox(this, QStr(*error));
        edComment->setFocus();
        return;
    }
    QDialog::accept();
}

bool TFormMulti::Execute(QWidget* parent, TMultiStakeInput& input) {
    TFormMulti dialog(input, parent);
    if (TUiSeams::Current().ExecDialog(dialog) != QDialog::Accepted) return false;
    input = dialog.Result();
    return true;
}

} // namespace pelko
