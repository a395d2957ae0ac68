#include "ui/scenario/form_script.h"

#include "filters/filter_text.h"
#include "scenarios/script_options.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <climits>

namespace pelko {

namespace {

void SetHint(QWidget* control, const QString& hint) {
    control->setToolTip(hint);
    control->setStatusTip(hint);
}

} // namespace

TFormScript::TFormScript(const QString& caption, int drawsExclude, const std::string& line,
                         const TFilterDialogContext& filters, QWidget* parent)
    : QDialog(parent), filters_(filters) {
    setObjectName(QStringLiteral("TFormScript"));
    setWindowTitle(caption);

    edComments = new QLineEdit(this);
    edComments->setObjectName(QStringLiteral("edComments"));
    SetHint(edComments, QStringLiteral("Комментарии (можно оставить пустым)"));

    cbStartCombsType = new QComboBox(this);
    cbStartCombsType->setObjectName(QStringLiteral("cbStartCombsType"));
    for (int type = 0; type < START_COMBS_TYPE_COUNT; ++type)
        cbStartCombsType->addItem(QStr(StartTypeDialogCaption(type)));
    SetHint(cbStartCombsType, QStringLiteral("Начальный список комбинаций"));

    edDrawsExclude = new QSpinBox(this);
    edDrawsExclude->setObjectName(QStringLiteral("edDrawsExclude"));
    edDrawsExclude->setRange(0, INT_MAX);
    edDrawsExclude->setValue(drawsExclude);
    SetHint(edDrawsExclude, QStringLiteral("Исключить указанное количество тиражей из списка "
                                           "комбинаций перед применением фильтров"));

    cbResultCombsMode = new QComboBox(this);
    cbResultCombsMode->setObjectName(QStringLiteral("cbResultCombsMode"));
    for (int mode = 0; mode < RESULT_COMBS_MODE_COUNT; ++mode)
        cbResultCombsMode->addItem(QStr(ResultModeDialogCaption(mode)));
    SetHint(cbResultCombsMode, QStringLiteral("В случае неоднозначного результата после "
                                              "применения фильтров выполнить действие"));

    cbClearStakes = new QCheckBox(
        QStringLiteral("Удалить все ставки перед выполнением (накопление только рейтинга)"), this);
    cbClearStakes->setObjectName(QStringLiteral("cbClearStakes"));
    SetHint(cbClearStakes,
            QStringLiteral("Перед выполнением строки будет очищен файл ставок (для очень "
                           "\"массивных\" сценариев, дающих огромное количество ставок за раз)\n"
                           "На накопление рейтинга не влияет"));
    cbNewOnly = new QCheckBox(
        QStringLiteral("Только новые ставки (пропускать те ставки, которые уже есть в списке)"),
        this);
    cbNewOnly->setObjectName(QStringLiteral("cbNewOnly"));
    SetHint(cbNewOnly, QStringLiteral("Если комбинация уже есть в списке ставок, то она не "
                                      "будет добавлена в список ставок"));

    auto* options = new QGroupBox(QStringLiteral("Опции"), this);
    auto* optionsForm = new QFormLayout(options);
    auto* startRow = new QHBoxLayout;
    startRow->addWidget(cbStartCombsType, 1);
    auto* excludeForm = new QFormLayout;
    excludeForm->addRow(QStringLiteral("Кол-во тиражей:"), edDrawsExclude);
    startRow->addLayout(excludeForm);
    optionsForm->addRow(QStringLiteral("Начальный список комбинаций:"), startRow);
    optionsForm->addRow(
        QStringLiteral("В случае неоднозначного результата после применения фильтров:"),
        cbResultCombsMode);
    optionsForm->addRow(cbClearStakes);
    optionsForm->addRow(cbNewOnly);

    auto* filtersBox = new QGroupBox(QStringLiteral("Фильтры"), this);
    auto* filtersForm = new QFormLayout(filtersBox);
    for (int i = 0; i < SCRIPT_FILTER_COUNT; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("edFilter%1").arg(i + 1));
        SetHint(edit, QStringLiteral("Фильтр %1").arg(i + 1));
        edit->installEventFilter(this);
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("btnFilter%1").arg(i + 1));
        button->setText(QStringLiteral("..."));
        SetHint(button, QStringLiteral("Редактировать фильтр"));
        connect(button, &QToolButton::clicked, this, [this, i] { EditFilter(i); });
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(button);
        filtersForm->addRow(QStringLiteral("Фильтр %1:").arg(i + 1), row);
        edFilter[static_cast<std::size_t>(i)] = edit;
        btnFilter[static_cast<std::size_t>(i)] = button;
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* commentForm = new QFormLayout;
    commentForm->addRow(QStringLiteral("Комментарии:"), edComments);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(commentForm);
    layout->addWidget(options);
    layout->addWidget(filtersBox);
    layout->addWidget(buttons);
    resize(720, sizeHint().height());

    LoadLine(line);
    edComments->setFocus();
}

void TFormScript::LoadLine(const std::string& line) {
    if (line.empty()) return;
    edComments->setText(QStr(ScriptLineField(line, SCRIPT_COMMENT_FIELD)));
    const TScriptOptions options = TextToOptions(ScriptLineField(line, SCRIPT_OPTIONS_FIELD));
    edDrawsExclude->setValue(options.DrawsExclude);
    cbStartCombsType->setCurrentIndex(static_cast<int>(options.StartType));
    cbResultCombsMode->setCurrentIndex(static_cast<int>(options.ResultMode));
    cbClearStakes->setChecked(options.ClearStakes);
    cbNewOnly->setChecked(options.NewOnly);
    for (int i = 0; i < SCRIPT_FILTER_COUNT; ++i)
        edFilter[static_cast<std::size_t>(i)]->setText(
            QStr(ScriptLineField(line, SCRIPT_FIRST_FILTER_FIELD + i)));
}

std::string TFormScript::LineText() const {
    TScriptOptions options;
    options.DrawsExclude = edDrawsExclude->value();
    options.StartType = static_cast<TStartCombsType>(std::max(0, cbStartCombsType->currentIndex()));
    options.ResultMode =
        static_cast<TResultCombsMode>(std::max(0, cbResultCombsMode->currentIndex()));
    options.ClearStakes = cbClearStakes->isChecked();
    options.NewOnly = cbNewOnly->isChecked();
    TScriptFilterTexts filters;
    for (int i = 0; i < SCRIPT_FILTER_COUNT; ++i)
        filters[static_cast<std::size_t>(i)] =
            StdStr(edFilter[static_cast<std::size_t>(i)]->text());
    return ScriptLineText(OptionsToText(options), filters, StdStr(edComments->text()));
}

void TFormScript::EditFilter(int i) {
    if (i < 0 || i >= SCRIPT_FILTER_COUNT || !filters_.Stats) return;
    QLineEdit* edit = edFilter[static_cast<std::size_t>(i)];
    TFilterItem item = TextToFilter(*filters_.Stats, StdStr(edit->text()));
    if (TFormFilter::EditFilter(this, filters_, item)) edit->setText(QStr(FilterToText(item)));
}

bool TFormScript::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < SCRIPT_FILTER_COUNT; ++i)
            if (watched == edFilter[static_cast<std::size_t>(i)]) {
                EditFilter(i);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFormScript::EditScriptLine(QWidget* parent, const QString& caption, int drawsExclude,
                                 std::string& line, const TFilterDialogContext& filters) {
    TFormScript dialog(caption, drawsExclude, line, filters, parent);
    if (TUiSeams::Current().ExecDialog(dialog) != QDialog::Accepted) return false;
    line = dialog.LineText();
    return true;
}

} // namespace pelko
