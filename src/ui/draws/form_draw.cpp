#include "ui/draws/form_draw.h"

#include "core/date_time.h"
#include "core/draw_archive.h"
#include "core/text_forms.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>

#include <climits>
#include <memory>
#include <stdexcept>

namespace pelko {

namespace {

// Throws the date's own error for an invalid stored text.
QDateTime DialogDateTime(const TDrawData& draw) {
    const TDateTime parsed = ParseDrawDate(draw.DateText());
    if (parsed.IsNull()) return QDateTime::currentDateTime();
    return QDateTime(QDate(parsed.Year, parsed.Month, parsed.Day),
                     QTime(parsed.Hour, parsed.Minute, parsed.Second));
}

} // namespace

TFormDraw::TFormDraw(const QString& title, const TDrawData& draw, QWidget* parent)
    : QDialog(parent), result_(draw) {
    setObjectName(QStringLiteral("TFormDraw"));
    setWindowTitle(title);

    edDrawNumber = new QSpinBox(this);
    edDrawNumber->setObjectName(QStringLiteral("edDrawNumber"));
    edDrawNumber->setRange(1, INT_MAX);
    edDrawNumber->setValue(draw.Number);

    edDrawData = new QLineEdit(this);
    edDrawData->setObjectName(QStringLiteral("edDrawData"));
    edDrawData->setText(QStr(CombToText(draw.Nums)));

    const QDateTime when = DialogDateTime(draw);
    edDrawDate = new QDateEdit(when.date(), this);
    edDrawDate->setObjectName(QStringLiteral("edDrawDate"));
    edDrawDate->setCalendarPopup(true);
    edDrawDate->setDisplayFormat(QLocale(QLocale::Russian).dateFormat(QLocale::LongFormat));
    edDrawTime = new QTimeEdit(when.time(), this);
    edDrawTime->setObjectName(QStringLiteral("edDrawTime"));
    edDrawTime->setDisplayFormat(QStringLiteral("HH:mm"));

    auto* when_ = new QHBoxLayout;
    when_->addWidget(edDrawDate, 1);
    when_->addWidget(edDrawTime);

    auto* form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    form->addRow(QStringLiteral("Номер тиража:"), edDrawNumber);
    form->addRow(QStringLiteral("Выпавшие числа, разделенные точкой с запятой или запятой:"),
                 edDrawData);
    form->addRow(QStringLiteral("Дата и время тиража:"), when_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormDraw::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormDraw::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    edDrawData->setFocus();
}

void TFormDraw::accept() {
    const std::optional<TComb> numbers = AcceptDrawNumbersText(StdStr(edDrawData->text()));
    if (!numbers) {
        ErrorBox(this, QStr(BAD_COMBINATION_MESSAGE));
        edDrawData->setFocus();
        return;
    }
    TDrawData record = result_;
    record.Number = edDrawNumber->value();
    for (int i = 0; i < LOTTO_COUNT; ++i)
        record.Nums[i] = (*numbers)[i];
    const QDate date = edDrawDate->date();
    const QTime time = edDrawTime->time();
    TDateTime stamp{date.year(), date.month(), date.day(), time.hour(), time.minute(), 0};
    record.SetDateText(FormatDrawDate(stamp)); // cut to 16 characters
    result_ = record;
    QDialog::accept();
}

bool TFormDraw::EditDrawDialog(QWidget* parent, const QString& title, TDrawData& draw) {
    std::unique_ptr<TFormDraw> dialog;
    try {
        dialog = std::make_unique<TFormDraw>(title, draw, parent);
    } catch (const std::exception& e) {
        ErrorBox(parent, QStr(e.what()));
        return false;
    }
    if (TUiSeams::Current().ExecDialog(*dialog) != QDialog::Accepted) return false;
    draw = dialog->Result();
    return true;
}

} // namespace pelko
