#include "ui/online/download_actions.h"

#include "app/workspace.h"
#include "core/ini_file.h"
#include "ui/common/form_wait.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_actions.h"
#include "ui/common/ui_text.h"
#include "ui/online/form_proxy.h"
#include "ui/online/threaded_transport.h"

#include <QActionGroup>
#include <QMenu>
#include <QWidget>

namespace pelko {
namespace {

// With no one at the screen every question takes its default (Yes): a dead site would be
// asked for again and again.
constexpr int UNATTENDED_RETRIES = 3;

} // namespace

TDownloadActions::TDownloadActions(QWidget* window, Workspace& ws)
    : QObject(window), window_(window), ws_(ws) {
    DrawsDownload = MakeAction(this, "DrawsDownload", QStringLiteral("Загрузка"),
                               QStringLiteral("Загрузка архива тиражей с сайта лотереи"),
                               QKeySequence(Qt::Key_F3));
    connect(DrawsDownload, &QAction::triggered, this, [this] {
        if (ws_.IsIdle()) RunDownload();
    });

    AutoDownloadMenu = new QMenu(QStringLiteral("Автозагрузка при запуске программы"), window);
    AutoDownloadMenu->setObjectName(QStringLiteral("mnAutoDownload"));
    AutoDownloadEntry = AutoDownloadMenu->menuAction();
    auto* group = new QActionGroup(this);
    const struct {
        QAction** Action;
        const char* Name;
        const char* Caption;
        const char* Hint;
    } choices[] = {
        {&AutoDownload0, "AutoDownload0", "По запросу (по умолчанию)", "Спросить пользователя"},
        {&AutoDownload1, "AutoDownload1", "Автоматически",
         "Автоматическая загрузка тиражей при запуске программы"},
        {&AutoDownload2, "AutoDownload2", "Отключено",
         "Без автоматической загрузки при запуске программы"},
    };
    for (int value = 0; value < 3; ++value) {
        const auto& c = choices[value];
        *c.Action = MakeOption(this, c.Name, QStr(c.Caption), value == downloadOnStart_, QStr(c.Hint));
        group->addAction(*c.Action);
        AutoDownloadMenu->addAction(*c.Action);
        connect(*c.Action, &QAction::triggered, this, [this, value] { SetDownloadOnStart(value); });
    }

    EditProxy = MakeAction(this, "EditProxy", QStringLiteral("Параметры proxy-сервера"));
    connect(EditProxy, &QAction::triggered, this, [this] {
        if (ws_.IsIdle()) EditProxySettings();
    });
}

void TDownloadActions::LoadSettings(const TIniFile& ini, const char* section) {
    const int value = ini.ReadInteger(section, START_KEY, START_ASK);
    downloadOnStart_ = value >= START_ASK && value <= START_OFF ? value : START_ASK;
    UpdateActions(ws_.IsIdle());
}

void TDownloadActions::SetDownloadOnStart(int value) {
    downloadOnStart_ = value;
    if (WriteSetting) WriteSetting(START_KEY, value);
    UpdateActions(ws_.IsIdle());
}

void TDownloadActions::UpdateActions(bool idle) {
    DrawsDownload->setEnabled(idle);
    EditProxy->setEnabled(idle);
    for (QAction* choice : {AutoDownload0, AutoDownload1, AutoDownload2}) choice->setEnabled(idle);
    AutoDownload0->setChecked(downloadOnStart_ == START_ASK);
    AutoDownload1->setChecked(downloadOnStart_ == START_AUTOMATIC);
    AutoDownload2->setChecked(downloadOnStart_ == START_OFF);
}

TDownloadResult TDownloadActions::RunDownload() {
    auto* wait = new TFormWait(window_);
    wait_ = wait;
    wait->SetText(QStr(DOWNLOAD_WAIT_TEXT));
    wait->show();
    const auto stop = wait->StopFlag();
    TDownloadRequest request;
    request.Transport = ThreadedTransport();
    request.Stop = [stop] { return stop->load(); };
    request.WaitText = [wait = QPointer<TFormWait>(wait)](const std::string& text) {
        if (wait) wait->SetText(QStr(text));
    };
    if (qEnvironmentVariableIntValue("PELKO_UNATTENDED") != 0) request.RetryLimit = UNATTENDED_RETRIES;
    const TDownloadResult result = pelko::DrawsDownload(ws_, request);
    delete wait;
    return result;
}

void TDownloadActions::DownloadAtStartup() {
    if (downloadOnStart_ == START_OFF) return;
    if (downloadOnStart_ == START_ASK &&
        !ConfirmBox(window_,
                    QStringLiteral("Обновить список тиражей?\n\nДля выполнения обновления "
                                   "необходимо действующее подключение к сети Интернет.")))
        return;
    RunDownload();
}

void TDownloadActions::StopForClose() {
    if (wait_) wait_->RequestStop();
}

void TDownloadActions::EditProxySettings() {
    TProxy proxy = ws_.Proxy();
    TOnlineSettings online = ws_.Online();
    if (!TFormProxy::Execute(window_, proxy, online)) return;
    ws_.Proxy() = proxy;
    ws_.SaveProxySettings(true);
    ws_.SaveOnlineSettings(online);
}

} // namespace pelko
