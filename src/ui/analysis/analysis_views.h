#pragma once
// The looking views of the main window's right side: the tabs "Графики", "Карта", "Схема"
// and "Неделя" with their visibility options of the menu "Вид", and the two analyses of
// the menu "Статистика" that open windows of their own (the repeats per draw and the sum
// distribution). The main window owns the page control and the settings file; this keeps
// the views in step with the workspace.

#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <filesystem>
#include <functional>

class QAction;
class QTabWidget;
class QWidget;

namespace pelko {

class TCardTab;
class TGraphsTab;
class TIniFile;
class TLayoutTab;
class TWeekTab;
class Workspace;

class TAnalysisViews : public QObject {
    Q_OBJECT
  public:
    // Adds the four tabs to `tabs` at its end, in their order.
    TAnalysisViews(Workspace& ws, QTabWidget& tabs, QWidget* window);

    TGraphsTab* Graphs = nullptr;
    TCardTab* Card = nullptr;
    TLayoutTab* Layout = nullptr;
    TWeekTab* Week = nullptr;

    QAction* TabGraps = nullptr;
    QAction* TabCard = nullptr;
    QAction* TabLayout = nullptr;
    QAction* TabWeek = nullptr;
    QAction* AnalyzeRepeats = nullptr;
    QAction* TotalSumCombs = nullptr;

    // Stores a boolean or integer setting at once; the window-settings file of the
    // repeats window (empty while the program may not write).
    std::function<void(const QString& key, bool value)> WriteOption;
    std::function<void(const char* key, int value)> WriteSetting;
    std::function<std::filesystem::path()> SettingsFile;

    QList<QAction*> TabActions() const;
    QList<QAction*> ViewOptions() const;
    QList<QAction*> StatsActions() const;

    // The shown view on the screen recomputes what changed since it last did; the others
    // do when their page comes up.
    void RefreshViews();
    // The registry's method lists changed.
    void RefillMethods(bool keepSelection);
    void UpdateActions(bool started);

    // The tabs' visibility and each view's own keys.
    void LoadSettings(const TIniFile& frm);
    void SaveSettings(TIniFile& frm) const;

  Q_SIGNALS:
    // A keep or a drop of one of the views changed the combination list.
    void CombsChanged();

  private:
    struct TView {
        QWidget* Page = nullptr;
        QAction* Toggle = nullptr;
        const char* Key = nullptr;
        std::function<void(bool)> SetShown;
        std::function<bool()> Shown;
        std::function<void(bool)> Refresh;
    };

    void AddView(TView view, const QString& caption);
    void ShowView(TView& view, bool visible);
    void OnAnalyzeRepeats();
    void OnTotalSumCombs();

    Workspace& ws_;
    QTabWidget& tabs_;
    QWidget* window_;
    std::array<TView, 4> views_{};
    std::size_t count_ = 0;
};

} // namespace pelko
