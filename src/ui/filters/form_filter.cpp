#include "ui/filters/form_filter.h"

#include "core/text_forms.h"
#include "stats/stat_class.h"
#include "stats/stat_list.h"
#include "stats/stat_table.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>

namespace pelko {

namespace {

const QString BAD_RANGE = QStringLiteral("Введен некорректный диапазон значений!");
const QString NUMBER_FORMATS = QStringLiteral(
    "\n\nДопустимые форматы:\n1 - одно значение\n1, 2, 3 - список значений через запятую\n"
    "1-10;2 - нижняя и верхняя граница диапазона; шаг изменения");

void SetHint(QWidget* control, const QString& hint) {
    control->setToolTip(hint);
    control->setStatusTip(hint);
}

QDoubleSpinBox* CoefficientField(QWidget* parent, const char* name, const QString& hint) {
    auto* field = new QDoubleSpinBox(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setDecimals(3);
    field->setRange(-1e9, 1e9);
    field->setValue(0);
    SetHint(field, hint);
    return field;
}

// Number-list fields take the digits, ",", "-" and ";" and the control keys.
bool IsNumberListKey(const QKeyEvent& key) {
    const QString text = key.text();
    for (QChar c : text) {
        const bool control = c.unicode() < 0x20 || c.unicode() == 0x7F;
        if (!control && !c.isDigit() && c != u',' && c != u'-' && c != u';') return false;
    }
    return true;
}

} // namespace

TFormFilter::TFormFilter(const TFilterDialogContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("TFormFilter"));
    setWindowTitle(QStringLiteral("Фильтр"));
    setWindowFlag(Qt::Tool);
    CreateControls();
    LayOut();
    UpdateEnabling();
    cbDrawsStatType->setFocus();
}

void TFormFilter::CreateControls() {
    cbDrawsStatType = new QComboBox(this);
    cbDrawsStatType->setObjectName(QStringLiteral("cbDrawsStatType"));
    cbDrawsStatType->setMaxVisibleItems(30);
    for (const auto& [text, index] : context_.Methods)
        cbDrawsStatType->addItem(text, index);
    cbDrawsStatType->setCurrentIndex(context_.MethodPosition);
    SetHint(cbDrawsStatType, QStringLiteral("Тип фильтра"));

    edDrawsLen = new QLineEdit(QString::number(context_.DrawsStatLen), this);
    edDrawsLen->setObjectName(QStringLiteral("edDrawsLen"));
    SetHint(edDrawsLen,
            QStringLiteral("Количество тиражей для расчета статистики") + NUMBER_FORMATS);
    edDrawsLen->installEventFilter(this);

    cbDrawsSortOrder = new QComboBox(this);
    cbDrawsSortOrder->setObjectName(QStringLiteral("cbDrawsSortOrder"));
    for (int column = 0; column < STAT_COLUMNS; ++column)
        cbDrawsSortOrder->addItem(QStr(StatColumnTitle(column)));
    cbDrawsSortOrder->setCurrentIndex(scCount);
    SetHint(cbDrawsSortOrder, QStringLiteral("Упорядочить полученную статистику по столбцу"));

    cbDirection = new QComboBox(this);
    cbDirection->setObjectName(QStringLiteral("cbDirection"));
    cbDirection->addItems({QStringLiteral("Сверху-вниз"), QStringLiteral("Снизу-вверх")});
    SetHint(cbDirection, QStringLiteral("Направление движения по списку статистики при обработке"));

    cbFilterMode = new QComboBox(this);
    cbFilterMode->setObjectName(QStringLiteral("cbFilterMode"));
    cbFilterMode->addItems(
        {QStringLiteral("Удалить выделенные"), QStringLiteral("Оставить выделенные")});
    SetHint(cbFilterMode, QStringLiteral("Режим отбора комбинаций"));

    const QString multi =
        QStringLiteral("Использовать режим одновременного выделения нескольких значений в списке");
    cbMultiSelect = new QCheckBox(multi, this);
    cbMultiSelect->setObjectName(QStringLiteral("cbMultiSelect"));
    SetHint(cbMultiSelect, multi);

    cbLevelMode = new QComboBox(this);
    cbLevelMode->setObjectName(QStringLiteral("cbLevelMode"));
    cbLevelMode->setMaxVisibleItems(LEVEL_MODES);
    for (int mode = 0; mode < LEVEL_MODES; ++mode)
        cbLevelMode->addItem(QStr(LevelModeCaption(mode)));
    SetHint(cbLevelMode,
            QStringLiteral("Режим выделения значений для фильтра в списке статистики"));
    connect(cbLevelMode, &QComboBox::currentIndexChanged, this, &TFormFilter::UpdateEnabling);

    edLevelValue = new QLineEdit(this);
    edLevelValue->setObjectName(QStringLiteral("edLevelValue"));
    SetHint(edLevelValue, QStringLiteral("Учитываемые значения глубины") + NUMBER_FORMATS);
    edLevelValue->installEventFilter(this);

    gbCDL = new QGroupBox(QStringLiteral(" Коэффициенты для расчета значений \"Вес\" "), this);
    gbCDL->setObjectName(QStringLiteral("gbCDL"));
    cbCDLOverride = new QCheckBox(
        QStringLiteral("Использовать приведенные ниже коэффициенты для расчета значений \"Вес\""),
        gbCDL);
    cbCDLOverride->setObjectName(QStringLiteral("cbCDLOverride"));
    SetHint(cbCDLOverride, QStringLiteral("Использовать приведенные ниже коэффициенты для расчета "
                                          "значений поля \"Вес\""));
    connect(cbCDLOverride, &QCheckBox::toggled, this, &TFormFilter::UpdateEnabling);
    const QString coefHint =
        QStringLiteral("Коэффициент пересчета значения столбца \"%1\" в значение вычисляемого "
                       "столбца \"Вес\"");
    edCoefCount =
        CoefficientField(gbCDL, "edCoefCount", coefHint.arg(QStringLiteral("Количество")));
    edCoefDeviation =
        CoefficientField(gbCDL, "edCoefDeviation", coefHint.arg(QStringLiteral("Отклонение")));
    edCoefLevel = CoefficientField(gbCDL, "edCoefLevel", coefHint.arg(QStringLiteral("Глубина")));
    cbCoefPercents = new QCheckBox(QStringLiteral("Использовать значения в %"), gbCDL);
    cbCoefPercents->setObjectName(QStringLiteral("cbCoefPercents"));
    SetHint(cbCoefPercents, QStringLiteral("При расчетах использовать значения в процентах"));
    cbCoefAbs = new QCheckBox(QStringLiteral("Использовать абсолютные значения"), gbCDL);
    cbCoefAbs->setObjectName(QStringLiteral("cbCoefAbs"));
    SetHint(cbCoefAbs, QStringLiteral("Преобразовывать отрицательные значения в положительные"));

    cbStopMode = new QComboBox(this);
    cbStopMode->setObjectName(QStringLiteral("cbStopMode"));
    for (int mode = 0; mode < STOP_MODES; ++mode)
        cbStopMode->addItem(QStr(StopModeCaption(mode)));
    SetHint(cbStopMode, QStringLiteral("Режим останова обработки"));

    edStopValue = new QSpinBox(this);
    edStopValue->setObjectName(QStringLiteral("edStopValue"));
    edStopValue->setRange(1, INT_MAX);
    edStopValue->setValue(1);
    SetHint(edStopValue, QStringLiteral("Значение для режима остановки"));
}

void TFormFilter::LayOut() {
    auto* coefs = new QFormLayout;
    coefs->addRow(QStringLiteral("Количество:"), edCoefCount);
    coefs->addRow(QStringLiteral("Отклонение:"), edCoefDeviation);
    coefs->addRow(QStringLiteral("Глубина:"), edCoefLevel);
    auto* switches = new QVBoxLayout;
    switches->addWidget(cbCoefPercents);
    switches->addWidget(cbCoefAbs);
    switches->addStretch(1);
    auto* coefRow = new QHBoxLayout;
    coefRow->addLayout(coefs);
    coefRow->addLayout(switches, 1);
    auto* group = new QVBoxLayout(gbCDL);
    group->addWidget(cbCDLOverride);
    group->addLayout(coefRow);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Тип фильтра:"), cbDrawsStatType);
    form->addRow(QStringLiteral("Количество тиражей:"), edDrawsLen);
    form->addRow(QStringLiteral("Сортировать по столбцу:"), cbDrawsSortOrder);
    form->addRow(QStringLiteral("Направление:"), cbDirection);
    form->addRow(QStringLiteral("Режим фильтра:"), cbFilterMode);
    form->addRow(cbMultiSelect);
    form->addRow(QStringLiteral("Режим выделения значений в списке статистики:"), cbLevelMode);
    form->addRow(QStringLiteral("Значения:"), edLevelValue);
    auto* stopRow = new QHBoxLayout;
    stopRow->addWidget(cbStopMode, 1);
    stopRow->addWidget(new QLabel(QStringLiteral("Значение:"), this));
    stopRow->addWidget(edStopValue);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormFilter::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormFilter::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(gbCDL);
    auto* stopForm = new QFormLayout;
    stopForm->addRow(QStringLiteral("Остановка по:"), stopRow);
    layout->addLayout(stopForm);
    layout->addWidget(buttons);
}

void TFormFilter::SetCoefficients(const TCDLData& cdl) {
    edCoefCount->setValue(static_cast<double>(cdl.Count));
    edCoefDeviation->setValue(static_cast<double>(cdl.Deviation));
    edCoefLevel->setValue(static_cast<double>(cdl.Level));
    cbCoefPercents->setChecked(cdl.UsePercents);
    cbCoefAbs->setChecked(cdl.UseAbsValues);
}

void TFormFilter::LoadItem(const TFilterItem& item) {
    if (!item.Active) return;
    cbDrawsStatType->setCurrentIndex(cbDrawsStatType->count() > 0 ? 0 : -1);
    if (context_.Stats && item.Method) {
        const int position = cbDrawsStatType->findData(context_.Stats->IndexOf(item.Method));
        if (position >= 0) cbDrawsStatType->setCurrentIndex(position);
    }
    if (!item.DrawsLen.empty()) edDrawsLen->setText(QStr(item.DrawsLen));
    if (item.SortOrder >= 0 && item.SortOrder < STAT_COLUMNS)
        cbDrawsSortOrder->setCurrentIndex(item.SortOrder);
    cbDirection->setCurrentIndex(item.BottomUp ? 1 : 0);
    cbMultiSelect->setChecked(item.MultiSelect);
    cbFilterMode->setCurrentIndex(item.KeepSelected ? 1 : 0);
    if (item.LevelMode < LEVEL_MODES) cbLevelMode->setCurrentIndex(item.LevelMode);
    if (!item.LevelValue.empty()) edLevelValue->setText(QStr(item.LevelValue));
    cbCDLOverride->setChecked(item.CDLOverride);
    SetCoefficients(item.CDLOverride ? item.CDL : context_.Coefficients);
    if (item.StopMode < STOP_MODES) cbStopMode->setCurrentIndex(item.StopMode);
    edStopValue->setValue(item.StopValue);
    UpdateEnabling();
}

void TFormFilter::UpdateEnabling() {
    const int mode = cbLevelMode->currentIndex();
    const bool weightMode = mode >= WEIGHT_FIRST_MODE && mode <= WEIGHT_LAST_MODE;
    // Leaving a weight mode disables the override without clearing it.
    cbCDLOverride->setEnabled(weightMode);
    const bool own = weightMode && cbCDLOverride->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(edCoefCount), static_cast<QWidget*>(edCoefDeviation),
          static_cast<QWidget*>(edCoefLevel), static_cast<QWidget*>(cbCoefPercents),
          static_cast<QWidget*>(cbCoefAbs)})
        control->setEnabled(own);
}

const TStatMethod* TFormFilter::SelectedMethod() const {
    const QVariant index = cbDrawsStatType->currentData();
    if (!context_.Stats || !index.isValid()) return nullptr;
    const int registry = index.toInt();
    if (registry < 0 || registry >= context_.Stats->Count()) return nullptr;
    return &context_.Stats->Items(registry);
}

TFilterItem TFormFilter::Item() const {
    TFilterItem item;
    item.Active = true;
    item.Method = SelectedMethod();
    item.DrawsLen = StdStr(edDrawsLen->text());
    item.SortOrder = cbDrawsSortOrder->currentIndex();
    item.BottomUp = cbDirection->currentIndex() == 1;
    item.MultiSelect = cbMultiSelect->isChecked();
    item.KeepSelected = cbFilterMode->currentIndex() == 1;
    item.LevelMode = static_cast<std::uint8_t>(std::max(0, cbLevelMode->currentIndex()));
    item.LevelValue = StdStr(edLevelValue->text());
    item.CDLOverride = cbCDLOverride->isChecked();
    item.CDL.Count = edCoefCount->value();
    item.CDL.Deviation = edCoefDeviation->value();
    item.CDL.Level = edCoefLevel->value();
    item.CDL.UsePercents = cbCoefPercents->isChecked();
    item.CDL.UseAbsValues = cbCoefAbs->isChecked();
    item.StopMode = static_cast<std::uint8_t>(std::max(0, cbStopMode->currentIndex()));
    item.StopValue = edStopValue->value();
    return item;
}

void TFormFilter::Refuse(const QString& message, QWidget* focus) {
    ErrorBox(this, message);
    focus->setFocus();
}

void TFormFilter::accept() {
    const TIntArray draws = ParseNumbers(StdStr(edDrawsLen->text()));
    if (draws.empty() || (draws.size() == 1 && draws.front() == 0))
        return Refuse(BAD_RANGE, edDrawsLen);
    if (cbLevelMode->currentIndex() != lmNone) {
        const TStatMethod* method = SelectedMethod();
        if (cbLevelMode->currentIndex() == lmValueList && method && method->StatClass &&
            !method->StatClass->HasScalarValues())
            return Refuse(
                QStringLiteral(
                    "Для данного вида статистики не доступен режим выделения по списку значений!"),
                cbLevelMode);
        if (ParseNumbers(StdStr(edLevelValue->text())).empty())
            return Refuse(BAD_RANGE, edLevelValue);
    }
    const int stop = cbStopMode->currentIndex();
    if (cbMultiSelect->isChecked() && (stop == smCombsCount || stop == smExtendedStake))
        return Refuse(QStringLiteral("В режиме мультивыделения остановка сценария по количеству "
                                     "комбинаций или чисел не может быть выполнена!\r"
                                     "Выберите другой способ останова."),
                      cbStopMode);
    QDialog::accept();
}

bool TFormFilter::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == edDrawsLen || watched == edLevelValue) && event->type() == QEvent::KeyPress &&
        !IsNumberListKey(*static_cast<QKeyEvent*>(event)))
        return true; // dropped
    return QDialog::eventFilter(watched, event);
}

bool TFormFilter::EditFilter(QWidget* parent, const TFilterDialogContext& context,
                             TFilterItem& item) {
    TFormFilter dialog(context, parent);
    dialog.LoadItem(item);
    if (TUiSeams::Current().ExecDialog(dialog) != QDialog::Accepted) return false;
    item = dialog.Item();
    return true;
}

} // namespace pelko
