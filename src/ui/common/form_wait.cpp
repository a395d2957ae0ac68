#include "ui/common/form_wait.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelko {

TFormWait::TFormWait(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormWait"));
    setWindowTitle(QStringLiteral("Подождите..."));
    setWindowModality(Qt::WindowModal);
    lbText = new QLabel(this);
    lbText->setObjectName(QStringLiteral("lbText"));
    lbText->setAlignment(Qt::AlignCenter);
    lbText->setMinimumWidth(340);
    btStop = new QPushButton(QStringLiteral("Стоп"), this);
    btStop->setObjectName(QStringLiteral("btStop"));
    connect(btStop, &QPushButton::clicked, this, &TFormWait::RequestStop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbText, 1);
    layout->addWidget(btStop, 0, Qt::AlignHCenter);
}

void TFormWait::SetText(const QString& text) {
    lbText->setText(text);
}

QString TFormWait::Text() const {
    return lbText->text();
}

void TFormWait::RequestStop() {
    stop_->store(true);
    btStop->setEnabled(false);
}

void TFormWait::reject() {
    RequestStop(); // the window stays until the operation has ended
}

void TFormWait::closeEvent(QCloseEvent* event) {
    RequestStop();
    event->ignore();
}

} // namespace pelko
