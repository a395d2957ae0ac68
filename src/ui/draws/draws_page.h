#pragma once
// The tab "Архив тиражей": the draw list lvDraws and the actions of the archive (add,
// edit, delete, details, CSV import and export, spreadsheet export, sorted numbers,
// channel colours). Everything it changes goes through the workspace.

#include "ui/common/view_options.h"

#include <QList>
#include <QWidget>

#include <cstdint>
#include <vector>

class QAction;
class QTableView;

namespace pelko {

class TDrawsModel;
class Workspace;

class TDrawsPage : public QWidget {
    Q_OBJECT
  public:
    TDrawsPage(Workspace& ws, TViewOptions& options, QWidget* parent = nullptr);

    QTableView* lvDraws = nullptr;
    TDrawsModel* Model() const { return model_; }

    QAction* DrawsInfo = nullptr;
    QAction* DrawsImport = nullptr;
    QAction* DrawsExport = nullptr;
    QAction* DrawsXlsExport = nullptr;
    QAction* DrawsAdd = nullptr;
    QAction* DrawsEdit = nullptr;
    QAction* DrawsDel = nullptr;
    QAction* DrawsSorted = nullptr;
    QAction* ViewColorDraws = nullptr;

    // The menu "Архив тиражей" in its order (nullptr stands for a separator).
    QList<QAction*> MenuActions() const;
    void UpdateActions();
    // The archive, the offset or the sorting changed.
    void UpdateView(bool force);

    // Selected rows' draw numbers, top row first.
    std::vector<std::int32_t> SelectedNumbers() const;
    // Archive index of the first selected row (list order), -1 when none.
    int FirstSelectedIndex() const;

  Q_SIGNALS:
    // A view option was toggled; the window stores it at once.
    void OptionToggled(const QString& key, bool value);

  private:
    void CreateActions();
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnInfo();
    void OnImport();
    void OnExport();
    void OnXlsExport();
    void OnSorted();
    void OnColorDraws();

    Workspace& ws_;
    TViewOptions& options_;
    TDrawsModel* model_ = nullptr;
};

} // namespace pelko
