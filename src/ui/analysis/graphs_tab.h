#pragma once
// The tab "Графики": one graph statistic draw by draw over the newest draws visible with
// the draws offset, with its mean and its most frequent value. The chart zooms and pans
// like the result graphs; its pop-up recomputes.

#include <QList>
#include <QWidget>

#include <cstdint>

class QAction;
class QCheckBox;
class QComboBox;
class QSpinBox;

namespace pelko {

class TGraphView;
class TIniFile;
class Workspace;

class TGraphsTab : public QWidget {
    Q_OBJECT
  public:
    static constexpr int DEFAULT_GRAPH_LEN = 100;

    explicit TGraphsTab(Workspace& ws, QWidget* parent = nullptr);

    QSpinBox* edDrawsGraphLen = nullptr;
    QComboBox* cbDrawsGraphType = nullptr;
    QCheckBox* cbDrawsGraphShowMarks = nullptr;
    TGraphView* crtDrawsGraph = nullptr;
    QAction* DrawsGraphDraw = nullptr;

    // The main window's "TabGraphs": a hidden tab computes nothing.
    void SetShown(bool shown) { shown_ = shown; }
    bool Shown() const { return shown_; }
    // Recomputes unless (without force) the archive, the offset, N and the method are those
    // of the chart shown.
    void RefreshGraph(bool force);
    void RefreshView(bool force) { RefreshGraph(force); }
    // The favourite graph methods of the registry; the chart is redrawn.
    void RefillMethods(bool keepSelection);
    void UpdateActions();
    // Series on the chart (0 when empty).
    int SeriesCount() const;

    // "DrawsGraphLen".
    void LoadSettings(const TIniFile& frm);
    void SaveSettings(TIniFile& frm) const;

  private:
    struct TGraphKey {
        std::uint64_t Draws = 0;
        int Count = -1;
        int Offset = -1;
        int Len = -1;
        int Method = -1;
        bool Sorted = false;
        friend bool operator==(const TGraphKey&, const TGraphKey&) = default;
    };

    void CreateWidgets();
    TGraphKey CurrentKey() const;
    void ClearChart();
    void ShowMarks(bool visible);
    void OnMethodChosen();

    Workspace& ws_;
    bool shown_ = true;
    TGraphKey drawn_;
};

} // namespace pelko
