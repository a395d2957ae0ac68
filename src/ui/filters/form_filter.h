#pragma once
// "Фильтр": edits one filter item of a scenario line. It offers the statistics tab's
// method list, the statistics table's columns, the level and stop modes and the weight
// coefficients, and refuses settings a scenario cannot run (the checks of accept()).

#include "core/config.h"
#include "filters/filter_item.h"

#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;

namespace pelko {

class TStatList;

// What the dialog offers: the statistics tab's method list as it stands (list texts and
// registry indices), its selection and number of draws, and the parameters' weight
// coefficients (shown while a filter has none of its own).
struct TFilterDialogContext {
    const TStatList* Stats = nullptr;
    QList<QPair<QString, int>> Methods;
    int MethodPosition = -1;
    int DrawsStatLen = 1000;
    TCDLData Coefficients;
};

class TFormFilter : public QDialog {
    Q_OBJECT
  public:
    static constexpr int WEIGHT_FIRST_MODE = lmWeightMin; // the "Вес" modes: 19..21
    static constexpr int WEIGHT_LAST_MODE = lmWeightList;

    TFormFilter(const TFilterDialogContext& context, QWidget* parent = nullptr);

    // Shows the dialog on the item; on OK the item becomes the dialog's.
    static bool EditFilter(QWidget* parent, const TFilterDialogContext& context, TFilterItem& item);

    // The controls take the item (an inactive item leaves the defaults).
    void LoadItem(const TFilterItem& item);
    // The item the controls describe (valid once accept() passed its checks).
    TFilterItem Item() const;

    QComboBox* cbDrawsStatType = nullptr;
    QLineEdit* edDrawsLen = nullptr;
    QComboBox* cbDrawsSortOrder = nullptr;
    QComboBox* cbDirection = nullptr;
    QComboBox* cbFilterMode = nullptr;
    QCheckBox* cbMultiSelect = nullptr;
    QComboBox* cbLevelMode = nullptr;
    QLineEdit* edLevelValue = nullptr;
    QGroupBox* gbCDL = nullptr;
    QCheckBox* cbCDLOverride = nullptr;
    QDoubleSpinBox* edCoefCount = nullptr;
    QDoubleSpinBox* edCoefDeviation = nullptr;
    QDoubleSpinBox* edCoefLevel = nullptr;
    QCheckBox* cbCoefPercents = nullptr;
    QCheckBox* cbCoefAbs = nullptr;
    QComboBox* cbStopMode = nullptr;
    QSpinBox* edStopValue = nullptr;

    void accept() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void LayOut();
    void UpdateEnabling();
    void SetCoefficients(const TCDLData& cdl);
    const TStatMethod* SelectedMethod() const;
    // Shows the refusal and puts the focus on the faulty control.
    void Refuse(const QString& message, QWidget* focus);

    TFilterDialogContext context_;
};

} // namespace pelko
