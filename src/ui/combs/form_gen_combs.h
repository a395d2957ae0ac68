#pragma once
// "Создание нового списка комбинаций": the generation mode, my numbers or the file to
// load, and whether these become the saved defaults.

#include "core/config.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;

namespace pelko {

class TFormGenCombs : public QDialog {
    Q_OBJECT
  public:
    explicit TFormGenCombs(const TGenerateParams& saved, QWidget* parent = nullptr);

    TGenerateParams Params() const;
    bool SaveAsDefault() const;

    QComboBox* cbCombsGenerateMode = nullptr;
    QLineEdit* edCombsGenerateParam = nullptr;
    QToolButton* btnSelectFile = nullptr;
    QCheckBox* cbSaveParameters = nullptr;

  private:
    void ModeChanged();
    void SelectFile();
};

} // namespace pelko
