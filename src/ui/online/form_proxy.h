#pragma once
// "Параметры proxy-сервера": no proxy, the automatic search or a proxy typed in (server,
// port, type and optional credentials), and the addresses of the outside services.
// Execute applies an accepted dialog to the settings in memory; writing the ini file, with
// its status texts, is the caller's.

#include "online/online_settings.h"
#include "online/proxy.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace pelko {

class TFormProxy : public QDialog {
    Q_OBJECT
  public:
    TFormProxy(const TProxy& proxy, const TOnlineSettings& settings, QWidget* parent = nullptr);

    // The dialog as the action "Параметры proxy-сервера" opens it; true when accepted (the
    // proxy is then marked unsaved).
    static bool Execute(QWidget* parent, TProxy& proxy, TOnlineSettings& settings);

    // PROXY_MODE_OFF, PROXY_MODE_AUTO or PROXY_MODE_MANUAL, as the buttons say.
    int ChosenMode() const;
    void ApplyTo(TProxy& proxy, TOnlineSettings& settings) const;

    QRadioButton* rbProxyOff = nullptr;
    QRadioButton* rbProxyAuto = nullptr;
    QRadioButton* rbProxyManual = nullptr;
    QLineEdit* edServer = nullptr;
    QSpinBox* edPort = nullptr;
    QComboBox* cbType = nullptr;
    QLineEdit* edUsername = nullptr;
    QLineEdit* edPassword = nullptr;
    QLineEdit* edDrawsSite = nullptr;
    QLineEdit* edProxyList = nullptr;
    QLineEdit* edCaFile = nullptr;

  private:
    QGroupBox* BuildProxyGroup(const TProxy& proxy);
    QGroupBox* BuildAddressGroup(const TOnlineSettings& settings);
    void UpdateManualFields();

    QWidget* manualFields_ = nullptr;
};

} // namespace pelko
