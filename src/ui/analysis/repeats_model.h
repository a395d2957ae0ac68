#pragma once
// The list of the repeats window over the analysis: "Тираж", "Совпадений",
// "Кол-во повторов", "Список тиражей".

#include "stats/analysis/repeats_analysis.h"

#include <QAbstractTableModel>

namespace pelko {

class TRepeatsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetAnalysis(TRepeatsAnalysis analysis);
    const TRepeatsAnalysis& Analysis() const { return analysis_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    TRepeatsAnalysis analysis_;
};

} // namespace pelko
