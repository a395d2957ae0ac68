#pragma once
// The window-settings file ("Pelko_6x45.frm" in the data folder): each window keeps its
// placement, list columns and options in a section named after its class. Writers read
// the file afresh, change their section and save it atomically, so the other windows'
// sections survive and a crash mid-write leaves the old file.

#include "core/ini_file.h"

#include <QString>

#include <filesystem>
#include <string>

class QTableView;
class QWidget;

namespace pelko {

inline constexpr const char* WINDOW_SETTINGS_FILE = "Pelko_6x45.frm";

std::filesystem::path WindowSettingsPath(const std::filesystem::path& dataFolder);

// "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos[_WxH]", "NormPos[_WxH]".
void SavePlacement(TIniFile& ini, const std::string& section, const QWidget& window);
// Restores what SavePlacement wrote: the key for the current screen size first, else the
// plain one; the rectangle only when the stored "PixelsPerInch" is the current one and
// its left edge lies left of its right edge; a window that is not sizeable keeps its own
// size. "ShowCmd" 3 maximises, 2, 6, 7 minimise.
void RestorePlacement(const TIniFile& ini, const std::string& section, QWidget& window,
                      bool sizeable = true);

// "<name>.Column<i>" for every column, and "<name>.SortType" ("column,direction") when
// the list sorts.
void SaveColumns(TIniFile& ini, const std::string& section, const QTableView& list, bool sortable);
void LoadColumns(const TIniFile& ini, const std::string& section, QTableView& list, bool sortable);

// The screen the window is on (or the primary one): "WxH" and dots per inch.
QString ScreenSizeSuffix(const QWidget& window);
int ScreenPixelsPerInch(const QWidget& window);

} // namespace pelko
