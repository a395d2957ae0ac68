#pragma once
// lvRatings: the rating rows of the desk as a virtual list, in the desk's order. A header
// click does not sort here: the view hands the column to the desk, which sorts the rows
// and saves them, and the model is told through Refresh().

#include <QAbstractTableModel>

namespace pelko {

class TRatingsDesk;
struct TStakesOptions;

class TRatingsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The raw value of a cell (number, or the comment), for sorting and the spreadsheet.
    static constexpr int SortRole = Qt::UserRole;

    TRatingsModel(TRatingsDesk& desk, const TStakesOptions& options, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // The desk sorts; the model only passes the request on.
    void sort(int column, Qt::SortOrder order) override;

    // Follows the desk's rows: a new count resets, the same count repaints.
    void Refresh();

  private:
    TRatingsDesk& desk_;
    const TStakesOptions& options_;
    int rows_ = 0;
};

} // namespace pelko
