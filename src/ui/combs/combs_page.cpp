#include "ui/combs/combs_page.h"

#include "app/workspace.h"
#include "ui/common/list_views.h"
#include "ui/combs/combs_model.h"
#include "ui/common/file_filters.h"
#include "ui/combs/filters_model.h"
#include "ui/combs/form_gen_combs.h"
#include "ui/common/spreadsheet_view_export.h"
#include "ui/common/ui_actions.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include "ui/common/form_info.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <climits>

namespace pelko {

namespace {

QTableView* MakeList(QWidget* parent, const char* name) {
    QTableView* list = MakeListView(parent, QString::fromLatin1(name));
    list->horizontalHeader()->setStretchLastSection(true);
    return list;
}

} // namespace

TCombsPage::TCombsPage(Workspace& ws, TViewOptions& options, QWidget* parent)
    : QWidget(parent), ws_(ws), options_(options) {
    setObjectName(QStringLiteral("tsCombs"));
    CreateActions();

    model_ = new TCombsModel(ws_, options_, this);
    lvCombs = MakeList(this, "lvCombs");
    lvCombs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvCombs->setModel(model_);
    // The column header asks whether each column is wholly selected, which walks every row
    // of the list; it gets a selection of its own that stays empty (the list highlights no
    // header sections anyway).
    lvCombs->horizontalHeader()->setSelectionModel(new QItemSelectionModel(model_, lvCombs));
    lvCombs->setColumnWidth(TCombsModel::colPosition, 70);
    for (int c = TCombsModel::colN1; c <= TCombsModel::colSum; ++c)
        lvCombs->setColumnWidth(c, 32);
    lvCombs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lvCombs, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!ws_.IsIdle()) return;
        QMenu menu(this);
        AddMenuActions(menu, MenuActions());
        if (!popupActions_.isEmpty()) {
            menu.addSeparator();
            menu.addActions(popupActions_);
        }
        menu.exec(lvCombs->viewport()->mapToGlobal(at));
    });
    connect(lvCombs->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TCombsPage::UpdateActions);
    doubleClickAction_ = CombsInfo;
    connect(lvCombs, &QTableView::doubleClicked, this, [this] {
        if (doubleClickAction_ && doubleClickAction_->isEnabled()) doubleClickAction_->trigger();
    });

    filters_ = new TFiltersModel(ws_.Combs(), this);
    lvFilters = MakeList(this, "lvFilters");
    lvFilters->setSelectionMode(QAbstractItemView::SingleSelection);
    lvFilters->setModel(filters_);
    lvFilters->setColumnWidth(TFiltersModel::colOperation, 200);
    lvFilters->setColumnWidth(TFiltersModel::colValues, 150);

    edCombsExclude = new QSpinBox(this);
    edCombsExclude->setObjectName(QStringLiteral("edCombsExclude"));
    edCombsExclude->setRange(0, INT_MAX);
    const QString excludeHint =
        QStringLiteral("Исключить указанное количество последних тиражей из списка комбинаций");
    edCombsExclude->setToolTip(excludeHint);
    edCombsExclude->setStatusTip(excludeHint);
    edCombsExclude->installEventFilter(this);
    connect(edCombsExclude, &QSpinBox::valueChanged, this, &TCombsPage::UpdateActions);

    auto* buttons = new QHBoxLayout;
    auto addButton = [&](QAction* action) {
        auto* button = new QToolButton(this);
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        buttons->addWidget(button);
    };
    addButton(CombsGen);
    addButton(CombsUndo);
    buttons->addSpacing(8);
    addButton(CombsDelExists);
    buttons->addWidget(edCombsExclude);
    buttons->addStretch(1);

    Splitter = new QSplitter(Qt::Vertical, this);
    Splitter->setObjectName(QStringLiteral("splFilters"));
    Splitter->addWidget(lvCombs);
    Splitter->addWidget(lvFilters);
    Splitter->setStretchFactor(0, 1);
    Splitter->setStretchFactor(1, 0);
    Splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(buttons);
    layout->addWidget(Splitter, 1);

    // The clipboard actions work where the list is, not in every edit field of the window.
    for (QAction* action :
         {CombsCopy, CombsPaste, CombsSelectAll, CombsDelSelected, CombsFindInDraws}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }

    QClipboard* clipboard = QGuiApplication::clipboard();
    auto clipboardChanged = [this, clipboard] {
        const QMimeData* data = clipboard->mimeData();
        clipboardHasText_ = data && data->hasText();
        UpdateActions();
    };
    connect(clipboard, &QClipboard::dataChanged, this, clipboardChanged);
    clipboardChanged();
}

void TCombsPage::CreateActions() {
    CombsInfo = MakeAction(this, "CombsInfo", QStringLiteral("Сведения о комбинации"));
    CombsCheckNums =
        MakeAction(this, "CombsCheckNums", QStringLiteral("Количество уникальных номеров"));
    CombsFindInDraws =
        MakeAction(this, "CombsFindInDraws", QStringLiteral("Проверить по архиву тиражей"), {},
                   QKeySequence(QStringLiteral("Ctrl+F")));
    CombsGen =
        MakeAction(this, "CombsGen", QStringLiteral("Генерировать"),
                   QStringLiteral("Перегенерировать список комбинаций"), QKeySequence(Qt::Key_F2));
    CombsDelExists = MakeAction(this, "CombsDelExists", QStringLiteral("Исключить тиражи"),
                                QStringLiteral("Удалить N последних тиражей из списка комбинаций"),
                                QKeySequence(QStringLiteral("Ctrl+E")));
    CombsDelExists->setIconText(QStringLiteral("[-] Тиражи")); // the button's caption
    CombsDelSelected = MakeAction(this, "CombsDelSelected", QStringLiteral("Удалить выделенные"),
                                  {}, QKeySequence(QStringLiteral("Ctrl+Del")));
    CombsCopy = MakeAction(this, "CombsCopy", QStringLiteral("Копировать в буфер"), {},
                           QKeySequence(QStringLiteral("Ctrl+C")));
    CombsPaste = MakeAction(this, "CombsPaste", QStringLiteral("Вставить из буфера"), {},
                            QKeySequence(QStringLiteral("Ctrl+V")));
    CombsSelectAll = MakeAction(this, "CombsSelectAll", QStringLiteral("Выделить все"), {},
                                QKeySequence(QStringLiteral("Ctrl+A")));
    CombsOpen = MakeAction(this, "CombsOpen", QStringLiteral("Открыть"), {},
                           QKeySequence(QStringLiteral("Ctrl+O")));
    CombsSave = MakeAction(this, "CombsSave", QStringLiteral("Сохранить"), {},
                           QKeySequence(QStringLiteral("Ctrl+S")));
    CombsUndo = MakeAction(this, "CombsUndo", QStringLiteral("Отменить"),
                           QStringLiteral("Отменить последнее действие"),
                           QKeySequence(QStringLiteral("Ctrl+Z")));
    CombsXlsExport =
        MakeAction(this, "CombsXlsExport", QStringLiteral("Экспорт в Microsoft Excel"));
    ViewColorCombs =
        MakeOption(this, "ViewColorCombs", QStringLiteral("Выделять каналы в списке комбинаций"),
                   options_.ColorCombs);

    connect(CombsInfo, &QAction::triggered, this, &TCombsPage::OnInfo);
    connect(CombsCheckNums, &QAction::triggered, this, &TCombsPage::OnCheckNums);
    connect(CombsFindInDraws, &QAction::triggered, this, &TCombsPage::OnFindInDraws);
    connect(CombsGen, &QAction::triggered, this, &TCombsPage::OnGen);
    connect(CombsDelExists, &QAction::triggered, this, &TCombsPage::OnDelExists);
    connect(CombsDelSelected, &QAction::triggered, this, &TCombsPage::OnDelSelected);
    connect(CombsCopy, &QAction::triggered, this, &TCombsPage::OnCopy);
    connect(CombsPaste, &QAction::triggered, this, &TCombsPage::OnPaste);
    connect(CombsSelectAll, &QAction::triggered, this, &TCombsPage::OnSelectAll);
    connect(CombsOpen, &QAction::triggered, this, &TCombsPage::OnOpen);
    connect(CombsSave, &QAction::triggered, this, &TCombsPage::OnSave);
    connect(CombsUndo, &QAction::triggered, this, &TCombsPage::OnUndo);
    connect(CombsXlsExport, &QAction::triggered, this, &TCombsPage::OnXlsExport);
    connect(ViewColorCombs, &QAction::triggered, this, &TCombsPage::OnColorCombs);
}

QList<QAction*> TCombsPage::MenuActions() const {
    return {CombsInfo,      CombsCheckNums,   CombsFindInDraws, nullptr,   CombsGen,
            CombsDelExists, CombsDelSelected, nullptr,          CombsCopy, CombsPaste,
            CombsSelectAll, nullptr,          CombsOpen,        CombsSave, nullptr,
            CombsUndo,      nullptr,          CombsXlsExport};
}

void TCombsPage::AddPopupActions(const QList<QAction*>& actions, QAction* onDoubleClick) {
    popupActions_ += actions;
    if (onDoubleClick) doubleClickAction_ = onDoubleClick;
}

void TCombsPage::UpdateActions() {
    const bool idle = ws_.IsIdle();
    const bool has = ws_.Combs().List.Count() > 0;
    const bool selected = has && lvCombs->selectionModel()->hasSelection();
    CombsInfo->setEnabled(idle && selected);
    CombsCheckNums->setEnabled(idle);
    CombsFindInDraws->setEnabled(idle && selected);
    CombsGen->setEnabled(idle);
    CombsDelExists->setEnabled(idle && has && !ws_.Draws().empty() && edCombsExclude->value() > 0);
    CombsDelSelected->setEnabled(idle && selected);
    CombsCopy->setEnabled(idle && has);
    CombsPaste->setEnabled(idle && clipboardHasText_);
    CombsSelectAll->setEnabled(idle && has);
    CombsOpen->setEnabled(idle);
    CombsSave->setEnabled(idle && has);
    CombsUndo->setEnabled(idle && ws_.Combs().CanUndo());
    CombsXlsExport->setEnabled(idle && has);
    ViewColorCombs->setEnabled(idle);
    ViewColorCombs->setChecked(options_.ColorCombs);
}

TCombSelection TCombsPage::Selection() const {
    TCombSelection selection;
    for (const QItemSelectionRange& range : lvCombs->selectionModel()->selection())
        if (range.isValid())
            selection.AddRange(static_cast<std::size_t>(range.top()),
                               static_cast<std::size_t>(range.bottom()) + 1);
    return selection;
}

int TCombsPage::FiltersHeight() const {
    return lvFilters->height();
}

void TCombsPage::SetFiltersHeight(int height) {
    const int total = std::max(Splitter->height(), height + 100);
    Splitter->setSizes({total - height, height});
}

void TCombsPage::ListChanged() {
    model_->Refresh();
}

void TCombsPage::HistoryChanged() {
    filters_->Refresh();
    lvFilters->scrollToBottom();
}

bool TCombsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edCombsExclude && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            edCombsExclude->interpretText();
            UpdateActions();
            if (CombsDelExists->isEnabled()) CombsDelExists->trigger();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TCombsPage::OnGen() {
    if (!ws_.IsIdle()) return;
    TFormGenCombs dialog(ws_.GenerateParams(), window());
    if (TUiSeams::Current().ExecDialog(dialog) != QDialog::Accepted) return;
    const TGenerateParams params = dialog.Params();
    if (dialog.SaveAsDefault()) ws_.SaveGenerateParams(params);
    ws_.Combs().CombsGen(params);
}

void TCombsPage::OnOpen() {
    if (!ws_.IsIdle()) return;
    const QString file =
        TUiSeams::Current().OpenFileName(window(), CombsOpen->text(), CombsFileFilter());
    if (!file.isEmpty()) ws_.Combs().OpenCombsFile(PathOf(file));
}

void TCombsPage::OnSave() {
    if (!ws_.IsIdle() || ws_.Combs().List.Count() == 0) return;
    const QString file = TUiSeams::Current().SaveFileName(window(), CombsSave->text(),
                                                          CombsFileFilter(), QStringLiteral("lcv"));
    if (!file.isEmpty()) ws_.Combs().SaveCombsFile(PathOf(file));
}

void TCombsPage::OnUndo() {
    if (ws_.IsIdle()) ws_.Combs().CombsUndo();
}

void TCombsPage::OnDelExists() {
    const int n = edCombsExclude->value();
    if (!ws_.IsIdle() || n <= 0 || ws_.Combs().List.Count() == 0 || ws_.Draws().empty()) return;
    ws_.Combs().CombsDelExists(n, ws_.Draws(), ws_.DrawsOffset());
}

void TCombsPage::OnDelSelected() {
    if (!ws_.IsIdle()) return;
    const TCombSelection selection = Selection();
    if (!selection.Empty()) ws_.Combs().CombsDelSelected(selection);
}

void TCombsPage::OnSelectAll() {
    if (!ws_.IsIdle() || ws_.Combs().List.Count() == 0) return;
    TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Подождите пожалуйста...");
    lvCombs->selectAll();
}

void TCombsPage::OnCopy() {
    if (!ws_.IsIdle()) return;
    const TCombSelection selection = Selection();
    if (selection.Empty()) return;
    const std::string text = ws_.Combs().CopyText(selection);
    if (text.empty()) return;
    // Plain bytes: the digits and blanks need no conversion to UTF-16 (155 MB of text for
    // the full list would take longer to convert than to make).
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), QByteArray(text.data(), qsizetype(text.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

void TCombsPage::OnPaste() {
    if (!ws_.IsIdle()) return;
    const QString text = QGuiApplication::clipboard()->text();
    ws_.Combs().PasteText(StdStr(text));
}

void TCombsPage::OnFindInDraws() {
    if (!ws_.IsIdle()) return;
    if (const auto comb = ws_.Combs().FirstSelected(Selection()))
        ws_.Combs().FindInDraws(*comb, ws_.Draws());
}

void TCombsPage::OnCheckNums() {
    if (ws_.IsIdle()) ws_.Combs().CountUniqueNumbers();
}

void TCombsPage::OnInfo() {
    if (!ws_.IsIdle()) return;
    if (const auto comb = ws_.Combs().FirstSelected(Selection())) {
        const int index = ws_.AnalysisIndex();
        TFormInfo::ShowDetails(window(), ws_, -1, std::string(), *comb, ws_.SortedDraws(),
                               index < 0 ? 0 : index);
    }
}

void TCombsPage::OnXlsExport() {
    const TCombList& list = ws_.Combs().List;
    if (!ws_.IsIdle() || list.Count() == 0) return;
    // Every row straight from the list: the view's generic path would go through a
    // QVariant per cell for millions of rows.
    std::vector<int> columns;
    TSheetTable table = SheetColumnsFromView(*lvCombs, QStringLiteral("Комбинации"), columns);
    table.RowCount = list.Count();
    table.FillRow = [&list, columns](std::size_t row, std::vector<TSheetCell>& cells) {
        const TComb& comb = list[row];
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const int column = columns[c];
            double value = 0;
            if (column == TCombsModel::colPosition)
                value = double(row + 1);
            else if (column >= TCombsModel::colN1 && column <= TCombsModel::colN6)
                value = comb[column - TCombsModel::colN1];
            else if (column == TCombsModel::colSum)
                for (std::uint8_t n : comb)
                    value += n;
            cells[c] = TSheetCell::Of(value);
        }
    };
    ExportToSpreadsheet(window(), ws_, table);
}

void TCombsPage::OnColorCombs() {
    if (!ws_.IsIdle()) return;
    options_.ColorCombs = !options_.ColorCombs;
    Q_EMIT OptionToggled(QStringLiteral("ColorCombs"), options_.ColorCombs);
    model_->Repaint();
}

} // namespace pelko
