#pragma once
// The scenario line dialog: the comment, the options (start list, excluded draws, what to
// do with an ambiguous result, clearing the stakes, new stakes only) and seven filter
// texts, each editable in the filter dialog ("..." or a double click). On OK the line is
// written from the controls as they stand; filter texts are not checked here.

#include "scenarios/script_line.h"
#include "ui/filters/form_filter.h"

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QToolButton;

namespace pelko {

class TFormScript : public QDialog {
    Q_OBJECT
  public:
    // `line` empty: a new line (comment and filters empty, first options).
    TFormScript(const QString& caption, int drawsExclude, const std::string& line,
                const TFilterDialogContext& filters, QWidget* parent = nullptr);

    // EditScriptLine: true with the new text in `line` when confirmed.
    static bool EditScriptLine(QWidget* parent, const QString& caption, int drawsExclude,
                               std::string& line, const TFilterDialogContext& filters);

    // The line the controls describe.
    std::string LineText() const;
    // Filter i (0-based) in the filter dialog; its edit takes the result on OK.
    void EditFilter(int i);

    QLineEdit* edComments = nullptr;
    QComboBox* cbStartCombsType = nullptr;
    QSpinBox* edDrawsExclude = nullptr;
    QComboBox* cbResultCombsMode = nullptr;
    QCheckBox* cbClearStakes = nullptr;
    QCheckBox* cbNewOnly = nullptr;
    std::array<QLineEdit*, SCRIPT_FILTER_COUNT> edFilter{};
    std::array<QToolButton*, SCRIPT_FILTER_COUNT> btnFilter{};

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void LoadLine(const std::string& line);

    TFilterDialogContext filters_;
};

} // namespace pelko
