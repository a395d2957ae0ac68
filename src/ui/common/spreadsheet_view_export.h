#pragma once
// "Экспорт в Microsoft Excel": a list view (or any row source) goes to a new .xlsx file in
// the temporary folder, which the desktop then opens with its spreadsheet application.
// Runs busy with per-cent progress in the status bar; failures show an error box.

#include "support/spreadsheet_export.h"

#include <QString>

#include <vector>

class QTableView;
class QWidget;

namespace pelko {

class Workspace;

// The title and the view's visible columns (in their on-screen order, with their headers
// and widths); `logicalColumns` gets the model's column of each sheet column. No rows.
TSheetTable SheetColumnsFromView(const QTableView& view, const QString& title,
                                 std::vector<int>& logicalColumns);
// The visible columns and visible rows as the view shows them; numbers stay numbers.
TSheetTable SheetFromView(const QTableView& view, const QString& title);

// Writes and opens the workbook; false after the error box.
bool ExportToSpreadsheet(QWidget* parent, Workspace& ws, const TSheetTable& table);
inline bool ExportViewToSpreadsheet(QWidget* parent, Workspace& ws, const QTableView& view,
                                    const QString& title) {
    return ExportToSpreadsheet(parent, ws, SheetFromView(view, title));
}

} // namespace pelko
