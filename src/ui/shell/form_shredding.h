#pragma once
// "Методы шинковки": the three shredding formulas and their digits after the decimal point.
// Execute hands the accepted formulas to the workspace, which writes them, remakes the
// shredding prefetch files and rebuilds the method list (the captions show the formulas).

#include "core/config.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QSpinBox;

namespace pelko {

class Workspace;

class TFormShredding : public QDialog {
    Q_OBJECT
  public:
    explicit TFormShredding(const TShreddingFormulas& formulas, QWidget* parent = nullptr);

    // The dialog as the action "Формулы шинковки" opens it; true when accepted and applied.
    static bool Execute(QWidget* parent, Workspace& ws);

    const TShreddingFormulas& Result() const { return result_; }

    std::array<QLineEdit*, SHREDDING_FORMULAS> edFormula{};
    std::array<QSpinBox*, SHREDDING_FORMULAS> edDigits{};

    void accept() override;

  private:
    TShreddingFormulas result_;
};

} // namespace pelko
