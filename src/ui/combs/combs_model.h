#pragma once
// lvCombs: the working combination list as a virtual table over its first Count() entries
// (up to 8,145,060 rows; nothing is kept per row). Columns "№ п.п.", "1".."6", "S"; with
// "ColorCombs" the number cells take their channel colours.

#include "ui/common/view_options.h"

#include <QAbstractTableModel>

namespace pelko {

class Workspace;

class TCombsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum TColumn { colPosition, colN1, colN2, colN3, colN4, colN5, colN6, colSum, colCount };

    TCombsModel(const Workspace& ws, const TViewOptions& options, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The list was rebuilt: reset (the view drops its selection).
    void Refresh();
    // The colours changed: repaint.
    void Repaint();

  private:
    const Workspace& ws_;
    const TViewOptions& options_;
    int rows_ = 0;
};

} // namespace pelko
