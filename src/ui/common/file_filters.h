#pragma once
// File-dialog filters of the program's file kinds.

#include <QString>

namespace pelko {

inline QString DrawsFileFilter() {
    return QStringLiteral("Файлы тиражей (*.csv)");
}
inline QString CombsFileFilter() {
    return QStringLiteral("Файлы комбинаций (*.lcv)");
}

} // namespace pelko
