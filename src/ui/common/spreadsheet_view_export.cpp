#include "ui/common/spreadsheet_view_export.h"

#include "app/workspace.h"
#include "core/format.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QDateTime>
#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <QUrl>

#include <memory>
#include <vector>

namespace pelko {

namespace {

bool IsNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

QString ExportFileName(const QString& title) {
    QString base = title;
    for (QChar& ch : base)
        if (QStringLiteral("\\/:*?\"<>|").contains(ch)) ch = QLatin1Char('_');
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    return QDir(QDir::tempPath())
        .filePath(base + QLatin1Char(' ') + stamp + QStringLiteral(".xlsx"));
}

} // namespace

TSheetTable SheetColumnsFromView(const QTableView& view, const QString& title,
                                 std::vector<int>& logicalColumns) {
    const QAbstractItemModel* model = view.model();
    const QHeaderView* header = view.horizontalHeader();
    const QFontMetrics metrics(view.font());
    const int charWidth = std::max(1, metrics.averageCharWidth());
    logicalColumns.clear();
    TSheetTable table;
    table.Title = StdStr(title);
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical)) continue;
        logicalColumns.push_back(logical);
        TSheetColumn column;
        column.Header = StdStr(model->headerData(logical, Qt::Horizontal).toString());
        column.Width = std::max(4.0, double(header->sectionSize(logical)) / charWidth);
        table.Columns.push_back(std::move(column));
    }
    return table;
}

TSheetTable SheetFromView(const QTableView& view, const QString& title) {
    const QAbstractItemModel* model = view.model();
    std::vector<int> columns;
    TSheetTable table = SheetColumnsFromView(view, title, columns);
    auto rows = std::make_shared<std::vector<int>>();
    for (int row = 0; row < model->rowCount(); ++row)
        if (!view.isRowHidden(row)) rows->push_back(row);
    table.RowCount = rows->size();
    table.FillRow = [model, columns, rows](std::size_t i, std::vector<TSheetCell>& cells) {
        const int row = (*rows)[i];
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const QVariant value = model->data(model->index(row, columns[c]));
            cells[c] = IsNumber(value) ? TSheetCell::Of(value.toDouble())
                                       : TSheetCell::Of(StdStr(value.toString()));
        }
    };
    return table;
}

bool ExportToSpreadsheet(QWidget* parent, Workspace& ws, const TSheetTable& table) {
    const QString file = ExportFileName(QStr(table.Title));
    {
        const std::string what = "Экспорт в Microsoft Excel";
        TBusyScope busy(ws.Busy(), ws.GetHost(), what + "...");
        try {
            WriteSpreadsheet(PathOf(file), table, [&](std::size_t done, std::size_t total) {
                ws.GetHost().StatusText(PercentText(what, double(done), double(total)));
            });
        } catch (const std::exception& e) {
            ErrorBox(parent,
                     QStringLiteral("Ошибка экспорта в Microsoft Excel!\n\n") + QStr(e.what()));
            QFile::remove(file);
            return false;
        }
    }
    TUiSeams::Current().OpenUrl(QUrl::fromLocalFile(file));
    return true;
}

} // namespace pelko
