#include "ui/stakes/form_stake.h"

#include "core/text_forms.h"
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

namespace {

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

} // namespace

TFormStake::TFormStake(const TStakeData& stake, int drawsCount, QWidget* parent)
    : QDialog(parent), result_(stake) {
    setObjectName(QStringLiteral("TFormStake"));
    setWindowTitle(QStringLiteral("Добавление ставки"));

    edDrawNumber = new QSpinBox(this);
    edDrawNumber->setObjectName(QStringLiteral("edDrawNumber"));
    edDrawNumber->setRange(1, INT_MAX);
    edDrawNumber->setValue(stake.DrawNumber);
    SetHint(edDrawNumber, QStringLiteral("Номер первого тиража"));

    edDrawsCount = new QSpinBox(this);
    edDrawsCount->setObjectName(QStringLiteral("edDrawsCount"));
    edDrawsCount->setRange(1, MAX_DRAWS_COUNT);
    edDrawsCount->setValue(drawsCount);
    SetHint(edDrawsCount, QStringLiteral("Количество тиражей, на которые нужно сделать ставку "
                                         "(начиная с указанного)"));

    edStakeData = new QLineEdit(this);
    edStakeData->setObjectName(QStringLiteral("edStakeData"));
    edStakeData->setText(QStr(NumberSetToText(stake.Numbers, ";")));
    SetHint(edStakeData, QStringLiteral("Введите числа, разделенные точкой с запятой или запятой"));

    edStakeSum = new QLineEdit(this);
    edStakeSum->setObjectName(QStringLiteral("edStakeSum"));
    edStakeSum->setReadOnly(true);
    SetHint(edStakeSum, QStringLiteral("Сумма введенных чисел"));

    edComment = new QLineEdit(this);
    edComment->setObjectName(QStringLiteral("edComment"));
    edComment->setMaxLength(STAKE_DIALOG_COMMENT_MAX);
    edComment->setText(QStr(stake.CommentText()));
    SetHint(edComment, QStringLiteral("Комментарий к ставке"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Номер тиража:"), edDrawNumber);
    form->addRow(QStringLiteral("Кол-во тиражей:"), edDrawsCount);
    form->addRow(QStringLiteral("Ставка:"), edStakeData);
    form->addRow(QStringLiteral("Сумма:"), edStakeSum);
    form->addRow(QStringLiteral("Комментарий к ставке:"), edComment);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormStake::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormStake::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);

    connect(edStakeData, &QLineEdit::textChanged, this, &TFormStake::UpdateSum);
    UpdateSum();
    edStakeData->setFocus();
}

int TFormStake::DrawsCount() const {
    return edDrawsCount->value();
}

void TFormStake::UpdateSum() {
    edStakeSum->setText(QString::number(StakeNumbersSum(StdStr(edStakeData->text()))));
}

void TFormStake::accept() {
    const std::string numbersText = StdStr(edStakeData->text());
    const std::string comment = StdStr(edComment->text());
    if (const auto error = ValidateStakeDialog(numbersText, comment)) {
        ErrorBox(this, QStr(*error));
        (*error == BAD_STAKE_MESSAGE ? edStakeData : edComment)->setFocus();
        return;
    }
    TStakeData stake = result_;
    stake.DrawNumber = edDrawNumber->value();
    stake.SetCommentText(comment);
    stake.Numbers = *ParseStakeNumbers(numbersText);
    result_ = stake;
    QDialog::accept();
}

bool TFormStake::Execute(QWidget* parent, TStakeData& stake, int& drawsCount) {
    TFormStake dialog(stake, drawsCount, parent);
    if (TUiSeams::Current().ExecDialog(dialog) != QDialog::Accepted) return false;
    stake = dialog.Result();
    drawsCount = dialog.DrawsCount();
    return true;
}

} // namespace pelko
