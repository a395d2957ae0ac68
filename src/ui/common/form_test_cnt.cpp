#include "ui/common/form_test_cnt.h"

#include "ui/common/ui_seams.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace pelko {

TFormTestCnt::TFormTestCnt(int maximum, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormTestCnt"));
    setWindowTitle(QStringLiteral("Количество тестов"));

    edTestCount = new QSpinBox(this);
    edTestCount->setObjectName(QStringLiteral("edTestCount"));
    edTestCount->setRange(1, std::max(1, maximum));
    edTestCount->setValue(DEFAULT_COUNT);
    const QString hint = QStringLiteral(
        "Укажите количество последних тиражей, на которых будет производится тестирование");
    edTestCount->setToolTip(hint);
    edTestCount->setStatusTip(hint);
    auto* label = new QLabel(QStringLiteral("Укажите количество тестов:"), this);
    label->setBuddy(edTestCount);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edTestCount);
    layout->addWidget(buttons);
    edTestCount->setFocus();
    edTestCount->selectAll();
}

int TFormTestCnt::AskTestCount(QWidget* parent, int maximum) {
    TFormTestCnt dialog(maximum, parent);
    if (TUiSeams::Current().ExecDialog(dialog) != QDialog::Accepted) return 0;
    return dialog.edTestCount->value();
}

} // namespace pelko
