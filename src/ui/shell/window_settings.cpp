#include "ui/shell/window_settings.h"

#include "ui/common/ui_text.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QWidget>

#include <cstdio>

namespace pelko {

namespace {

enum : int { SW_NORMAL = 1, SW_MINIMIZED = 2, SW_MAXIMIZED = 3 };

const QScreen* ScreenOf(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

bool ParseFour(const std::string& text, int (&v)[4]) {
    return std::sscanf(text.c_str(), "%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3]) == 4;
}

std::string ReadSized(const TIniFile& ini, const std::string& section, const std::string& key,
                      const std::string& suffix) {
    const std::string sized = ini.ReadString(section, key + "_" + suffix);
    return sized.empty() ? ini.ReadString(section, key) : sized;
}

} // namespace

std::filesystem::path WindowSettingsPath(const std::filesystem::path& dataFolder) {
    return dataFolder / WINDOW_SETTINGS_FILE;
}

QString ScreenSizeSuffix(const QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    const QSize size = screen ? screen->size() : QSize(0, 0);
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

int ScreenPixelsPerInch(const QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

void SavePlacement(TIniFile& ini, const std::string& section, const QWidget& window) {
    const std::string suffix = StdStr(ScreenSizeSuffix(window));
    const int showCmd = window.isMinimized()   ? SW_MINIMIZED
                        : window.isMaximized() ? SW_MAXIMIZED
                                               : SW_NORMAL;
    const QRect r = window.isVisible() || window.isMinimized() || window.isMaximized()
                        ? window.normalGeometry()
                        : window.geometry();
    const QRect normal = r.isValid() ? r : window.geometry();
    const std::string norm = std::to_string(normal.left()) + "," + std::to_string(normal.top()) +
                             "," + std::to_string(normal.left() + normal.width()) + "," +
                             std::to_string(normal.top() + normal.height());
    const std::string minMax = "-1,-1,-1,-1";
    ini.WriteInteger(section, "Flags", 0);
    ini.WriteInteger(section, "ShowCmd", showCmd);
    ini.WriteInteger(section, "PixelsPerInch", ScreenPixelsPerInch(window));
    ini.WriteString(section, "MinMaxPos", minMax);
    ini.WriteString(section, "MinMaxPos_" + suffix, minMax);
    ini.WriteString(section, "NormPos", norm);
    ini.WriteString(section, "NormPos_" + suffix, norm);
}

void RestorePlacement(const TIniFile& ini, const std::string& section, QWidget& window,
                      bool sizeable) {
    const std::string suffix = StdStr(ScreenSizeSuffix(window));
    int rect[4];
    if (ini.ReadInteger(section, "PixelsPerInch", -1) == ScreenPixelsPerInch(window) &&
        ParseFour(ReadSized(ini, section, "NormPos", suffix), rect) && rect[0] < rect[2]) {
        if (sizeable)
            window.setGeometry(rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]);
        else
            window.move(rect[0], rect[1]);
    }
    switch (ini.ReadInteger(section, "ShowCmd", SW_NORMAL)) {
    case 2:
    case 6:
    case 7:
        window.setWindowState(Qt::WindowMinimized);
        break;
    case 3:
        window.setWindowState(Qt::WindowMaximized);
        break;
    default:
        break;
    }
}

void SaveColumns(TIniFile& ini, const std::string& section, const QTableView& list, bool sortable) {
    const std::string name = StdStr(list.objectName());
    const QHeaderView* header = list.horizontalHeader();
    for (int i = 0; i < header->count(); ++i)
        ini.WriteInteger(section, name + ".Column" + std::to_string(i), header->sectionSize(i));
    if (sortable) {
        const int direction = header->sortIndicatorOrder() == Qt::DescendingOrder ? 1 : 0;
        ini.WriteString(section, name + ".SortType",
                        std::to_string(header->sortIndicatorSection()) + "," +
                            std::to_string(direction));
    }
}

void LoadColumns(const TIniFile& ini, const std::string& section, QTableView& list, bool sortable) {
    const std::string name = StdStr(list.objectName());
    QHeaderView* header = list.horizontalHeader();
    for (int i = 0; i < header->count(); ++i) {
        const int width = ini.ReadInteger(section, name + ".Column" + std::to_string(i), -1);
        if (width > 0) header->resizeSection(i, width);
    }
    if (sortable) {
        int column = -1, direction = 0;
        if (std::sscanf(ini.ReadString(section, name + ".SortType").c_str(), "%d,%d", &column,
                        &direction) == 2 &&
            column >= 0 && column < header->count())
            list.sortByColumn(column, direction == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
}

} // namespace pelko
