#include "ui/online/form_proxy.h"

#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace pelko {

namespace {

constexpr int MIN_PORT = 1;
constexpr int MAX_PORT = 65535;
constexpr int DEFAULT_PORT = 80;

QLineEdit* NewLineEdit(const char* name, const std::string& text, const QString& hint = {}) {
    auto* edit = new QLineEdit(QStr(text));
    edit->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) {
        edit->setToolTip(hint);
        edit->setStatusTip(hint);
    }
    return edit;
}

QRadioButton* NewRadioButton(const char* name, const QString& caption, bool checked) {
    auto* button = new QRadioButton(caption);
    button->setObjectName(QLatin1String(name));
    button->setChecked(checked);
    return button;
}

// The automatic mode leaves the port at 0; the field shows the usual one instead.
int ShownPort(int port) {
    return port >= MIN_PORT && port <= MAX_PORT ? port : DEFAULT_PORT;
}

std::string FieldText(const QLineEdit* edit) {
    return StdStr(edit->text().trimmed());
}

} // namespace

TFormProxy::TFormProxy(const TProxy& proxy, const TOnlineSettings& settings, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TFormProxy"));
    setWindowTitle(QStringLiteral("Параметры proxy-сервера"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormProxy::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormProxy::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildProxyGroup(proxy));
    layout->addWidget(BuildAddressGroup(settings));
    layout->addWidget(buttons);
    UpdateManualFields();
}

QGroupBox* TFormProxy::BuildProxyGroup(const TProxy& proxy) {
    rbProxyOff = NewRadioButton("rbProxyOff", QStringLiteral("Не использовать proxy-сервер"),
                                proxy.Mode != PROXY_MODE_AUTO && proxy.Mode != PROXY_MODE_MANUAL);
    rbProxyAuto = NewRadioButton("rbProxyAuto",
                                 QStringLiteral("Автоматический поиск сервера (возможны задержки)"),
                                 proxy.Mode == PROXY_MODE_AUTO);
    rbProxyManual = NewRadioButton("rbProxyManual", QStringLiteral("Ручной выбор proxy-сервера:"),
                                   proxy.Mode == PROXY_MODE_MANUAL);
    connect(rbProxyManual, &QRadioButton::toggled, this, &TFormProxy::UpdateManualFields);

    edServer = NewLineEdit("edServer", proxy.Server);
    edServer->setMinimumWidth(240);
    edPort = new QSpinBox;
    edPort->setObjectName(QStringLiteral("edPort"));
    edPort->setRange(MIN_PORT, MAX_PORT);
    edPort->setValue(ShownPort(proxy.Port));
    // Items in the order of PROXY_HTTP .. PROXY_SOCKS5.
    cbType = new QComboBox;
    cbType->setObjectName(QStringLiteral("cbType"));
    cbType->addItems({QStringLiteral("HTTP"), QStringLiteral("HTTPS"), QStringLiteral("SOCKS4"),
                      QStringLiteral("SOCKS5")});
    cbType->setCurrentIndex(proxy.Type >= PROXY_HTTP && proxy.Type <= PROXY_SOCKS5 ? proxy.Type
                                                                                   : PROXY_HTTP);
    edUsername = NewLineEdit("edUsername", proxy.Username,
                             QStringLiteral("Имя пользователя (не обязательно)"));
    edPassword =
        NewLineEdit("edPassword", proxy.Password, QStringLiteral("Пароль (не обязательно)"));
    edPassword->setEchoMode(QLineEdit::Password);

    manualFields_ = new QWidget;
    auto* fields = new QFormLayout(manualFields_);
    fields->setContentsMargins(20, 0, 0, 0);
    fields->addRow(QStringLiteral("Имя или адрес сервера:"), edServer);
    fields->addRow(QStringLiteral("Порт:"), edPort);
    fields->addRow(QStringLiteral("Тип:"), cbType);
    fields->addRow(QStringLiteral("Имя пользователя:"), edUsername);
    fields->addRow(QStringLiteral("Пароль:"), edPassword);

    auto* group = new QGroupBox;
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(rbProxyOff);
    layout->addWidget(rbProxyAuto);
    layout->addWidget(rbProxyManual);
    layout->addWidget(manualFields_);
    return group;
}

QGroupBox* TFormProxy::BuildAddressGroup(const TOnlineSettings& settings) {
    edDrawsSite = NewLineEdit("edDrawsSite", settings.DrawsSite);
    edProxyList = NewLineEdit("edProxyList", settings.ProxyListService);
    edCaFile = NewLineEdit("edCaFile", settings.CaFile);

    auto* group = new QGroupBox(QStringLiteral("Адреса сервисов"));
    auto* fields = new QFormLayout(group);
    fields->addRow(QStringLiteral("Сайт лотереи:"), edDrawsSite);
    fields->addRow(QStringLiteral("Список proxy-серверов:"), edProxyList);
    fields->addRow(QStringLiteral("Файл сертификатов (CA):"), edCaFile);
    return group;
}

// The fields (and their labels) take input only for the manual choice.
void TFormProxy::UpdateManualFields() {
    manualFields_->setEnabled(rbProxyManual->isChecked());
}

int TFormProxy::ChosenMode() const {
    if (rbProxyManual->isChecked()) return PROXY_MODE_MANUAL;
    if (rbProxyAuto->isChecked()) return PROXY_MODE_AUTO;
    return PROXY_MODE_OFF;
}

void TFormProxy::ApplyTo(TProxy& proxy, TOnlineSettings& settings) const {
    ApplyProxyChoice(proxy, ChosenMode(), FieldText(edServer), edPort->value(),
                     StdStr(edUsername->text()), StdStr(edPassword->text()),
                     cbType->currentIndex());
    settings.DrawsSite = FieldText(edDrawsSite);
    settings.ProxyListService = FieldText(edProxyList);
    settings.CaFile = FieldText(edCaFile);
}

bool TFormProxy::Execute(QWidget* parent, TProxy& proxy, TOnlineSettings& settings) {
    TFormProxy dialog(proxy, settings, parent);
    if (TUiSeams::Current().ExecDialog(dialog) != QDialog::Accepted) return false;
    dialog.ApplyTo(proxy, settings);
    return true;
}

} // namespace pelko
