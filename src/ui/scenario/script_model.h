#pragma once
// lvScript: the scenario as a virtual table, one row per line: the comment, the options
// caption and the seven filters as normalised texts; separators are empty rows. A row's
// cells are made when the view first asks for them and kept until the scenario changes.

#include "app/script_desk.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

namespace pelko {

class Workspace;

class TScriptModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum TColumn { colComment, colOptions, colFilter1, colCount = SCRIPT_VIEW_COLUMN_COUNT };

    explicit TScriptModel(Workspace& ws, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The scenario changed: a new row count resets the view (and its selection); the same
    // count only repaints, so the selection stays.
    void Refresh();

  private:
    const TScriptRowTexts& Row(int row) const;

    Workspace& ws_;
    int rows_ = 0;
    mutable std::vector<std::optional<TScriptRowTexts>> cache_;
};

} // namespace pelko
