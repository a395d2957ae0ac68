#pragma once
// "Подробная информация" about one draw or one combination: the number matrix sgCard in
// seCols columns with channel colours and the six numbers, and lvProps with the draw's
// number and date and the value of every listed graph statistic for the six numbers.

#include "core/lottery.h"

#include <QDialog>

#include <string>

class QSpinBox;
class QTableWidget;

namespace pelko {

class Workspace;

class TFormInfo : public QDialog {
    Q_OBJECT
  public:
    // drawNumber -1 and an empty date leave out their rows. archiveIndex is both the draw
    // index and the reference index of the statistics (the draw's own for a draw, the
    // analysis point's for a combination).
    TFormInfo(Workspace& ws, int drawNumber, const std::string& dateText, const TComb& numbers,
              bool sorted, int archiveIndex, QWidget* parent = nullptr);

    // Fills the dialog (busy meanwhile) and shows it modally.
    static void ShowDetails(QWidget* parent, Workspace& ws, int drawNumber,
                            const std::string& dateText, const TComb& numbers, bool sorted,
                            int archiveIndex);

    QSpinBox* seCols = nullptr;
    QTableWidget* sgCard = nullptr;
    QTableWidget* lvProps = nullptr;

  private:
    // Rebuilds the matrix for `columns` columns.
    void FillCard(int columns);
    void FillProps(Workspace& ws, int drawNumber, const std::string& dateText, bool sorted,
                   int archiveIndex);
    void AddProp(const QString& name, const QString& value);

    TComb numbers_{};
    int channelSize_ = 0;
};

} // namespace pelko
