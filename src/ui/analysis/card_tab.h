#pragma once
// The tab "Карта": sgCard over the card of the whole archive (the offset does not apply),
// the two colour options of the menu "Вид", keeping or dropping the combinations holding a
// number of the selected rectangle, and the spreadsheet export. The card is built only
// while the tab is shown, and again only when the archive's length changed (or forced).

#include <QList>

#include <cstdint>
#include <QString>
#include <QWidget>

class QAction;
class QTableView;

namespace pelko {

class TCardModel;
class TIniFile;
class Workspace;

class TCardTab : public QWidget {
    Q_OBJECT
  public:
    explicit TCardTab(Workspace& ws, QWidget* parent = nullptr);

    QTableView* sgCard = nullptr;
    TCardModel* Model() const { return model_; }

    QAction* CardFilter_Include = nullptr;
    QAction* CardFilter_Exclude = nullptr;
    QAction* CardXlsExport = nullptr;
    QAction* ViewColorCard = nullptr;
    QAction* ViewColorCardSequences = nullptr;

    // The window tells whether the tab is the current one; becoming shown refreshes it.
    void SetShown(bool shown);
    bool Shown() const { return shown_; }

    void RefreshCard(bool force);
    void RefreshView(bool force);
    void UpdateActions();
    // The options of the menu "Вид".
    QList<QAction*> ViewMenuActions() const;

    // "ColorCard" and "ColorCardSequences" of the main window's section.
    void LoadSettings(const TIniFile& frm);
    void SaveSettings(TIniFile& frm) const;

  Q_SIGNALS:
    void SettingChanged(const QString& key, int value);
    // A keep or a drop changed the combination list.
    void CombsChanged();

  private:
    std::uint64_t fingerprint_ = 0; // of the archive the card was built from
    void CreateActions();
    void CreateWidgets();
    void ApplyColors();
    bool CanFilter() const;
    void OnFilter(bool exclude);
    void OnExport();
    void OnColorOption(QAction* option, const char* key);

    Workspace& ws_;
    TCardModel* model_ = nullptr;
    bool shown_ = false;
};

} // namespace pelko
