#include "ui/stakes/form_stake_filter.h"

#include "stakes/stake_making.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace pelko {

TFormStakeFilter::TFormStakeFilter(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormStakeFilter"));
    setWindowTitle(QStringLiteral("Удаление по условию"));

    cbCondition = new QComboBox(this);
    cbCondition->setObjectName(QStringLiteral("cbCondition"));
    for (int condition = scEqual; condition <= scNotMore; ++condition)
        cbCondition->addItem(QStr(StakeConditionCaption(condition)));
    cbCondition->setCurrentIndex(scEqual);
    cbCondition->setToolTip(QStringLiteral("Режим сравнения с количеством совпадений"));

    edValue = new QSpinBox(this);
    edValue->setObjectName(QStringLiteral("edValue"));
    edValue->setRange(0, 6);
    edValue->setValue(0);
    edValue->setToolTip(QStringLiteral("Количество совпадений"));

    auto* label = new QLabel(QStringLiteral("Выберите условие:"), this);
    label->setBuddy(cbCondition);
    auto* row = new QHBoxLayout;
    row->addWidget(cbCondition, 1);
    row->addWidget(edValue);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setToolTip(QStringLiteral("Удалить ставки"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormStakeFilter::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormStakeFilter::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

bool TFormStakeFilter::Execute(QWidget* parent, int& condition, int& value) {
    TFormStakeFilter dialog(parent);
    if (TUiSeams::Current().ExecDialog(dialog) != QDialog::Accepted) return false;
    condition = dialog.cbCondition->currentIndex();
    value = dialog.edValue->value();
    return true;
}

} // namespace pelko
