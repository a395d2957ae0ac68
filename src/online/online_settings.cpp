#include "online/online_settings.h"

#include "core/ini_file.h"

namespace pelko {
namespace {
constexpr const char* DRAWS_SITE_KEY = "DrawsSite";
constexpr const char* PROXY_LIST_SERVICE_KEY = "ProxyListService";
constexpr const char* CA_FILE_KEY = "CaFile";
} // namespace

TOnlineSettings LoadOnlineSettings(const TIniFile& ini) {
    TOnlineSettings settings;
    settings.DrawsSite = ini.ReadString(ONLINE_SECTION, DRAWS_SITE_KEY);
    settings.ProxyListService = ini.ReadString(ONLINE_SECTION, PROXY_LIST_SERVICE_KEY);
    settings.CaFile = ini.ReadString(ONLINE_SECTION, CA_FILE_KEY);
    return settings;
}

void SaveOnlineSettings(TIniFile& ini, const TOnlineSettings& settings) {
    ini.WriteString(ONLINE_SECTION, DRAWS_SITE_KEY, settings.DrawsSite);
    ini.WriteString(ONLINE_SECTION, PROXY_LIST_SERVICE_KEY, settings.ProxyListService);
    ini.WriteString(ONLINE_SECTION, CA_FILE_KEY, settings.CaFile);
}

std::string NoDrawsSiteText() {
    return "Не задан адрес сайта лотереи: укажите его в окне \"Параметры proxy-сервера\" "
           "(группа \"Адреса сервисов\") или ключом DrawsSite раздела [ONLINE] файла "
           "Pelko_6x45.ini.";
}

std::string NoProxyListServiceText() {
    return "Не задан адрес службы списка proxy-серверов (ключ ProxyListService раздела [ONLINE] "
           "файла Pelko_6x45.ini)";
}

} // namespace pelko
