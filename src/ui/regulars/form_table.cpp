#include "ui/regulars/form_table.h"

#include "stakes/stake_making.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace pelko {

namespace {

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

} // namespace

TFormTable::TFormTable(const TTablesArray& existing, std::size_t selectedCount,
                       const std::string& startText, QWidget* parent)
    : QDialog(parent), existing_(existing), selectedCount_(selectedCount),
      typedStart_(QStr(startText)) {
    setObjectName(QStringLiteral("TFormTable"));
    setWindowTitle(QStringLiteral("Добавление регулярной ставки"));

    edComment = new QLineEdit(QStr(DEFAULT_TABLE_COMMENT), this);
    edComment->setObjectName(QStringLiteral("edComment"));
    edComment->setMaxLength(STAKE_DIALOG_COMMENT_MAX);
    SetHint(edComment, QStringLiteral("Комментарий к ставке"));

    rbUseMyComb =
        new QRadioButton(QStringLiteral("Использовать постоянную стартовую комбинацию:"), this);
    rbUseMyComb->setObjectName(QStringLiteral("rbUseMyComb"));
    rbUseMyComb->setChecked(true);

    edCombStart = new QLineEdit(this);
    edCombStart->setObjectName(QStringLiteral("edCombStart"));
    SetHint(edCombStart, QStringLiteral("Введите числа, разделенные точкой с запятой или запятой"));

    rbUseLastDraw =
        new QRadioButton(QStringLiteral("Использовать данные предыдущего тиража"), this);
    rbUseLastDraw->setObjectName(QStringLiteral("rbUseLastDraw"));

    edStep = new QSpinBox(this);
    edStep->setObjectName(QStringLiteral("edStep"));
    edStep->setRange(-LOTTO_MAX, LOTTO_MAX);
    edStep->setValue(1);
    SetHint(edStep, QStringLiteral("Шаг изменения элементов комбинации"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Комментарий к ставке:"), edComment);
    form->addRow(rbUseMyComb);
    form->addRow(edCombStart);
    form->addRow(rbUseLastDraw);
    form->addRow(QStringLiteral("Шаг:"), edStep);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormTable::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormTable::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(380);

    connect(rbUseMyComb, &QRadioButton::toggled, this, &TFormTable::UpdateStart);
    UpdateStart();
    edComment->setFocus();
    edComment->selectAll();
}

void TFormTable::UpdateStart() {
    const bool editable = rbUseMyComb->isChecked() && selectedCount_ == 1;
    // What was typed survives a look at the other mode.
    if (edCombStart->isEnabled() && !editable) typedStart_ = edCombStart->text();
    edCombStart->setText(editable ? typedStart_ : QStr(TABLE_SELECTED_COMBS_TEXT));
    edCombStart->setEnabled(editable);
}

void TFormTable::accept() {
    TTableDialogInput input;
    input.Comment = StdStr(edComment->text());
    input.Mode = rbUseLastDraw->isChecked() ? tmLastDraw : tmConstant;
    input.StartEditable = edCombStart->isEnabled();
    if (input.StartEditable) input.StartText = StdStr(edCombStart->text());
    input.Step = edStep->value();
    if (const auto error = ValidateTableDialog(input, existing_)) {
        ErrorBox(this, QStr(*error));
        (*error == BAD_STAKE_MESSAGE ? edCombStart : edComment)->setFocus();
        return;
    }
    result_ = input;
    QDialog::accept();
}

bool TFormTable::Execute(QWidget* parent, const TTablesArray& existing, std::size_t selectedCount,
                         const std::string& startText, TTableDialogInput& input) {
    TFormTable dialog(existing, selectedCount, startText, parent);
    if (TUiSeams::Current().ExecDialog(dialog) != QDialog::Accepted) return false;
    input = dialog.Result();
    return true;
}

} // namespace pelko
