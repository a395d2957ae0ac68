#include "ui/shell/form_shredding.h"

#include "app/workspace.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace pelko {

namespace {
constexpr int MIN_DIGITS = 1;
constexpr int MAX_DIGITS = 5;
} // namespace

TFormShredding::TFormShredding(const TShreddingFormulas& formulas, QWidget* parent)
    : QDialog(parent), result_(formulas) {
    setObjectName(QStringLiteral("TFormShredding"));
    setWindowTitle(QStringLiteral("Методы шинковки"));

    const QString formulaHint = QStringLiteral("Используемая формула");
    const QString digitsHint = QStringLiteral("Количество используемых знаков после запятой");
    auto* grid = new QGridLayout;
    for (int i = 0; i < SHREDDING_FORMULAS; ++i) {
        const auto at = static_cast<std::size_t>(i);
        QLineEdit* formula = new QLineEdit(QStr(formulas.Formula[at]));
        formula->setObjectName(QStringLiteral("edFormula%1").arg(i + 1));
        formula->setToolTip(formulaHint);
        formula->setStatusTip(formulaHint);
        formula->setMinimumWidth(260);
        QSpinBox* digits = new QSpinBox;
        digits->setObjectName(QStringLiteral("edDigits%1").arg(i + 1));
        digits->setRange(MIN_DIGITS, MAX_DIGITS);
        digits->setValue(std::clamp(formulas.Digits[at], MIN_DIGITS, MAX_DIGITS));
        digits->setToolTip(digitsHint);
        digits->setStatusTip(digitsHint);
        auto* label = new QLabel(QStringLiteral("Формула %1:").arg(i + 1));
        label->setBuddy(formula);
        grid->addWidget(label, i, 0);
        grid->addWidget(formula, i, 1);
        grid->addWidget(digits, i, 2);
        edFormula[at] = formula;
        edDigits[at] = digits;
    }

    auto* variables = new QLabel(QStringLiteral("Используемые переменные:\n"
                                                "n1, n2, n3, ..., nX - числа текущего тиража\n"
                                                "p1, p2, p3, ..., pX - числа предыдущего тиража"));
    variables->setObjectName(QStringLiteral("lblVariables"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormShredding::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormShredding::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(variables);
    layout->addWidget(buttons);
}

void TFormShredding::accept() {
    for (int i = 0; i < SHREDDING_FORMULAS; ++i) {
        const auto at = static_cast<std::size_t>(i);
        result_.Formula[at] = StdStr(edFormula[at]->text());
        result_.Digits[at] = edDigits[at]->value();
    }
    QDialog::accept();
}

bool TFormShredding::Execute(QWidget* parent, Workspace& ws) {
    if (!ws.IsIdle()) return false;
    TFormShredding dialog(ws.Shredding(), parent);
    if (TUiSeams::Current().ExecDialog(dialog) != QDialog::Accepted) return false;
    ws.ApplyShredding(dialog.Result());
    // The method list was rebuilt (captions carry the formulas) and the table cleared with
    // it: the views refill their lists and show the table again.
    ws.RefreshViews();
    return true;
}

} // namespace pelko
