#pragma once
// The addresses of the outside services, section "ONLINE" of the data ini file. The program
// ships with them empty: nothing is contacted until the person names a site.

#include <string>

namespace pelko {

class TIniFile;

inline constexpr const char* ONLINE_SECTION = "ONLINE";

struct TOnlineSettings {
    std::string DrawsSite;        // "DrawsSite": the lottery operator's site, e.g. http://127.0.0.1:8645
    std::string ProxyListService; // "ProxyListService": root page of the proxy-list service
    std::string CaFile;           // "CaFile": a PEM bundle trusted instead of the system's
};

TOnlineSettings LoadOnlineSettings(const TIniFile& ini);
void SaveOnlineSettings(TIniFile& ini, const TOnlineSettings& settings);

// "Не задан адрес сайта лотереи: ..." with where to set it.
std::string NoDrawsSiteText();
// "Не задан адрес службы списка proxy-серверов ..." with where to set it.
std::string NoProxyListServiceText();

} // namespace pelko
