#pragma once
// sgStakes: the stakes file as a virtual grid, one row per record in file order. Rows are
// read on demand through the stakes desk and kept in a small direct-mapped cache, so a
// file of a million stakes costs only the rows in view; nothing is kept per row. The
// model learns of changes through Refresh() (the file grew, shrank or was rewritten) and
// DropCache() (records were rewritten in place by a check).

#include "stakes/stake_record.h"

#include <QAbstractTableModel>

#include <array>
#include <cstdint>

namespace pelko {

class TStakesDesk;

class TStakesModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int CACHE_ROWS = 256;

    explicit TStakesModel(TStakesDesk& desk, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The record of a row; a zero-filled record (an empty row) when it cannot be read.
    const TStakeData& Stake(int row) const;

    // Follows the file: appended rows are inserted (the view keeps its place and
    // selection), a shorter file resets the model, and the rows shown are read again.
    void Refresh();
    // Records changed in place: read them again when next shown.
    void DropCache();

    // Records read from the file since the model was made (the cache's misses).
    std::int64_t RecordsRead() const { return recordsRead_; }

  private:
    struct TCachedRow {
        int Row = -1;
        TStakeData Stake;
    };

    TStakesDesk& desk_;
    int rows_ = 0;
    mutable std::array<TCachedRow, CACHE_ROWS> cache_;
    mutable std::int64_t recordsRead_ = 0;
};

} // namespace pelko
