#include "ui/combs/form_gen_combs.h"

#include "core/comb_generation.h"
#include "ui/common/file_filters.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace pelko {

TFormGenCombs::TFormGenCombs(const TGenerateParams& saved, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormGenCombs"));
    setWindowTitle(QStringLiteral("Создание нового списка комбинаций"));

    cbCombsGenerateMode = new QComboBox(this);
    cbCombsGenerateMode->setObjectName(QStringLiteral("cbCombsGenerateMode"));
    cbCombsGenerateMode->addItems({
        QStringLiteral("Полный список (все возможные для данного лото варианты)"),
        QStringLiteral("Мои числа - должно присутствовать любое из указанных"),
        QStringLiteral("Мои числа - комбинации только из списка указанных"),
        QStringLiteral("Мои числа - исключить комбинации с любым из указанных"),
        QStringLiteral("Загрузить список из заранее подготовленного CSV-файла"),
    });
    cbCombsGenerateMode->setCurrentIndex(saved.Mode <= GEN_FROM_FILE ? saved.Mode : 0);

    edCombsGenerateParam = new QLineEdit(QStr(saved.Parameters), this);
    edCombsGenerateParam->setObjectName(QStringLiteral("edCombsGenerateParam"));
    edCombsGenerateParam->setMaxLength(255);
    const QString hint = QStringLiteral("Список \"моих чисел\" через точку с запятой или имя файла "
                                        "для режима \"Загрузка из файла\"");
    edCombsGenerateParam->setToolTip(hint);
    edCombsGenerateParam->setStatusTip(hint);

    btnSelectFile = new QToolButton(this);
    btnSelectFile->setObjectName(QStringLiteral("btnSelectFile"));
    btnSelectFile->setText(QStringLiteral("..."));
    btnSelectFile->setToolTip(QStringLiteral("Выбор файла"));

    cbSaveParameters = new QCheckBox(
        QStringLiteral("Сохранить эти параметры для генерации комбинаций \"по умолчанию\""), this);
    cbSaveParameters->setObjectName(QStringLiteral("cbSaveParameters"));
    cbSaveParameters->setChecked(false);

    auto* paramRow = new QHBoxLayout;
    paramRow->addWidget(edCombsGenerateParam, 1);
    paramRow->addWidget(btnSelectFile);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Режим генерации списка комбинаций:"), this));
    layout->addWidget(cbCombsGenerateMode);
    layout->addWidget(new QLabel(QStringLiteral("Мои числа или имя файла для загрузки:"), this));
    layout->addLayout(paramRow);
    layout->addWidget(cbSaveParameters);
    layout->addWidget(buttons);

    connect(cbCombsGenerateMode, &QComboBox::currentIndexChanged, this,
            &TFormGenCombs::ModeChanged);
    connect(btnSelectFile, &QToolButton::clicked, this, &TFormGenCombs::SelectFile);
    ModeChanged();
}

void TFormGenCombs::ModeChanged() {
    const int mode = cbCombsGenerateMode->currentIndex();
    edCombsGenerateParam->setEnabled(mode != GEN_ALL);
    btnSelectFile->setEnabled(mode == GEN_FROM_FILE);
}

void TFormGenCombs::SelectFile() {
    const QString file =
        TUiSeams::Current().OpenFileName(this, QStringLiteral("Выбор файла"), CombsFileFilter());
    if (!file.isEmpty()) edCombsGenerateParam->setText(file);
}

TGenerateParams TFormGenCombs::Params() const {
    TGenerateParams params;
    params.Mode = static_cast<std::uint8_t>(cbCombsGenerateMode->currentIndex());
    params.Parameters = StdStr(edCombsGenerateParam->text());
    return params;
}

bool TFormGenCombs::SaveAsDefault() const {
    return cbSaveParameters->isChecked();
}

} // namespace pelko
