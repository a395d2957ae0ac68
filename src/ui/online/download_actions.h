#pragma once
// The window's side of the draw download: the actions `DrawsDownload` (F3), the start-up
// choice `AutoDownload0..2` ("DownloadDrawsOnStart" of the window settings) and
// `EditProxy`, the wait window while a download runs, and the download's transfers on a
// worker thread.

#include "app/draws_download.h"
#include "ui/common/form_wait.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace pelko {

class TIniFile;
class Workspace;

class TDownloadActions : public QObject {
    Q_OBJECT
  public:
    static constexpr const char* START_KEY = "DownloadDrawsOnStart";
    enum : int { START_ASK = 0, START_AUTOMATIC = 1, START_OFF = 2 };

    TDownloadActions(QWidget* window, Workspace& ws);

    QAction* DrawsDownload = nullptr;
    QAction* AutoDownload0 = nullptr;
    QAction* AutoDownload1 = nullptr;
    QAction* AutoDownload2 = nullptr;
    QAction* EditProxy = nullptr;
    // "Автозагрузка при запуске программы", holding the three choices.
    QMenu* AutoDownloadMenu = nullptr;
    // A menu entry that opens AutoDownloadMenu.
    QAction* AutoDownloadEntry = nullptr;

    int DownloadOnStart() const { return downloadOnStart_; }
    void LoadSettings(const TIniFile& ini, const char* section);
    // Writes one window-settings key at once (the window knows its file).
    std::function<void(const char* key, int value)> WriteSetting;

    // The download with its wait window; the stakes are checked afterwards.
    TDownloadResult RunDownload();
    // Start-up: ask, download or do nothing, as "DownloadDrawsOnStart" says.
    void DownloadAtStartup();
    bool Running() const { return wait_ != nullptr; }
    // The window is closing: the download stops after the transfer under way.
    void StopForClose();
    void UpdateActions(bool idle);

  private:
    void SetDownloadOnStart(int value);
    void EditProxySettings();

    QWidget* window_;
    Workspace& ws_;
    int downloadOnStart_ = START_ASK;
    QPointer<TFormWait> wait_;
};

} // namespace pelko
