#pragma once
// lvDraws: the archive as a virtual table, newest draw on top. Row i shows archive entry
// (last - i); the analysis-point row (i = DrawsOffset) is painted FFAAAA, and with
// "ColorDraws" the number cells take their channel colours. Reads the workspace; changed
// only through Refresh().

#include "ui/common/view_options.h"

#include <QAbstractTableModel>

namespace pelko {

class Workspace;

class TDrawsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum TColumn { colNumber, colN1, colN2, colN3, colN4, colN5, colN6, colSum, colDate, colCount };
    static constexpr unsigned ANALYSIS_POINT_COLOR = 0xFFAAAA;

    TDrawsModel(const Workspace& ws, const TViewOptions& options, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Archive index of a row, -1 outside the archive.
    int ArchiveIndex(int row) const;
    // The archive's size changed (or force): reset; otherwise repaint every row.
    void Refresh(bool force = false);

  private:
    const Workspace& ws_;
    const TViewOptions& options_;
    int rows_ = 0;
};

} // namespace pelko
