#pragma once
// UTF-8 std::string <-> QString at the edge between the workspace and the widgets.

#include <QString>

#include <filesystem>
#include <string>

namespace pelko {

inline QString QStr(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline QString QStr(const char* utf8) {
    return QString::fromUtf8(utf8);
}
inline std::string StdStr(const QString& text) {
    return text.toStdString();
}
inline std::filesystem::path PathOf(const QString& file) {
    const QByteArray utf8 = file.toUtf8();
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline QString QPathStr(const std::filesystem::path& file) {
    const std::u8string text = file.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(text.data()),
                             static_cast<qsizetype>(text.size()));
}

} // namespace pelko
