#pragma once
// "Количество повторов в зависимости от тиража": for each of the newest draws, how many
// earlier draws within the depth share 1, 2, ... numbers with it, as a list and as a chart
// with one line per match count. Over the whole archive; the draws offset does not apply.
// Keeps its placement, the list's columns, the chart's height and both lengths.

#include <QDialog>

#include <filesystem>

class QSpinBox;
class QSplitter;
class QTableView;

namespace pelko {

class TGraphView;
class TRepeatsModel;
class Workspace;

class TFormRepeats : public QDialog {
    Q_OBJECT
  public:
    static constexpr int DEFAULT_LEN = 100;
    static constexpr int DEFAULT_DEEP = 100;
    static constexpr int DEFAULT_GRAPH_HEIGHT = 250;

    // `settings` is the window-settings file (empty: none kept).
    TFormRepeats(Workspace& ws, std::filesystem::path settings, QWidget* parent = nullptr);
    ~TFormRepeats() override;

    QSpinBox* edDrawsLen = nullptr;
    QSpinBox* edDeep = nullptr;
    QTableView* lvList = nullptr;
    TGraphView* crtGraph = nullptr;
    TRepeatsModel* Model() const { return model_; }

    // Analyses and redraws the chart.
    void Calculate();

    // AnalyzeRepeats: computes once and shows the window modally.
    static void Execute(QWidget* parent, Workspace& ws, const std::filesystem::path& settings);

  private:
    void CreateWidgets();
    void LoadSettings();
    void SaveSettings() const;

    Workspace& ws_;
    std::filesystem::path settings_;
    TRepeatsModel* model_ = nullptr;
    QSplitter* splitter_ = nullptr;
    unsigned seed_ = 0;
};

} // namespace pelko
