#include "table/main_window.h"

#include "app/app_context.h"
#include "app/error_guard.h"
#include "app/hint_controller.h"
#include "app/settings_actions.h"
#include "help/splash_window.h"
#include "scan/scan_messages.h"
#include "scan/window_scan.h"
#include "table/column_widths.h"
#include "table/list_file_commands.h"
#include "table/save_changes_prompt.h"
#include "table/table_hints.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTextDocument>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr int bottomRowHeight = 44;

// Paints the "#" column like a fixed column and lets the window see every key typed into an
// in-place editor, since any typing counts as a change.
class GridDelegate final : public QStyledItemDelegate {
public:
    GridDelegate(QObject* keyWatcher, QObject* parent)
        : QStyledItemDelegate(parent), keyWatcher_(keyWatcher) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor != nullptr) {
            editor->installEventFilter(keyWatcher_);
        }
        return editor;
    }

    // Cells are drawn as a string grid draws them: the text 2 pixels from the left edge and
    // cut at the cell's border, never shortened with an ellipsis, so that the widths of the
    // "widest line" mode fit their texts exactly.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QString text = cell.text;
        cell.text.clear();
        if (index.column() == 0) {
            painter->fillRect(cell.rect, cell.palette.button());
        }
        const QWidget* widget = cell.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        const bool selected = (cell.state & QStyle::State_Selected) != 0;
        painter->save();
        painter->setClipRect(cell.rect);
        painter->setPen(cell.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(cell.rect.adjusted(textMargin, 0, -1, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter->restore();
    }

    static constexpr int textMargin = 2;

private:
    QObject* keyWatcher_;
};

bool isCharacterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const QString text = static_cast<const QKeyEvent*>(event)->text();
    return !text.isEmpty() && text.front().isPrint();
}

} // namespace

TForm4::TForm4(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context),
      tooltipTracker_(std::make_unique<CellTooltipTracker>()),
      tableHint_(std::make_unique<TableHint>(context.random)) {
    setWindowTitle(u"Corvanteller"_s);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    buildGrid(client);
    buildBottomRow(client);
    buildMenus();
    resize(clientWidth, clientHeight + menuBar()->sizeHint().height());

    cellTooltip = new QLabel(this, Qt::ToolTip);
    cellTooltip->setWordWrap(true);
    cellTooltip->setAutoFillBackground(true);
    cellTooltip->setBackgroundRole(QPalette::ToolTipBase);
    cellTooltip->setForegroundRole(QPalette::ToolTipText);
    cellTooltip->setMargin(2);

    context_.table.hasCurrentListFile = false;
    context_.table.unsavedChanges = true;
    if (context_.setHintsEnabled) {
        context_.setHintsEnabled(true);
    }
    installTableHint();
}

TForm4::~TForm4() {
    hideCellTooltip(true);
}

void TForm4::buildGrid(QWidget* client) {
    StringGrid1 = new QTableView(client);
    StringGrid1->setObjectName(u"StringGrid1"_s);
    StringGrid1->setModel(&context_.table.model());
    StringGrid1->setItemDelegate(new GridDelegate(this, StringGrid1));
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setMinimumSectionSize(0);
    StringGrid1->verticalHeader()->setDefaultSectionSize(rowHeight);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    StringGrid1->setWordWrap(false);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::AnyKeyPressed |
                                 QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::SelectedClicked);
    StringGrid1->setMouseTracking(true);
    StringGrid1->setToolTip(TableHint::initialText());
    StringGrid1->installEventFilter(this);
    StringGrid1->viewport()->installEventFilter(this);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(
        StringGrid1, &QTableView::doubleClicked, this,
        guard(this, context_.ui, [this](const QModelIndex& index) { StringGrid1DblClick(index); }));
    connect(StringGrid1, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(pos)); });
}

void TForm4::buildBottomRow(QWidget* client) {
    CheckBox1 = new QCheckBox(u"Check all"_s, client);
    CheckBox1->setToolTip(u"Check all files"_s);
    connect(CheckBox1, &QCheckBox::toggled, this, guard(this, context_.ui, [this](bool checked) {
                context_.table.model().setAllChecked(checked);
            }));
    connect(CheckBox1, &QCheckBox::clicked, this,
            guard(this, context_.ui, [this] { CheckBox1Click(); }));

    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setRange(0, progressMaximum);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();

    Label1 = new QLabel(client);
    Label2 = new QLabel(client);
    Label3 = new QLabel(client);
    Label3->hide();
}

QAction* TForm4::addLater(QMenu* menu, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setEnabled(false);
    notYetAvailable.append(action);
    return action;
}

void TForm4::buildMenus() {
    UiServices& ui = context_.ui;
    QMenu* file = menuBar()->addMenu(u"&File"_s);
    newScanning = file->addAction(u"&New scanning..."_s);
    connect(newScanning, &QAction::triggered, this,
            guard(this, ui, [this] { NewScanningClick(); }));
    file->addSeparator();
    N8 = file->addAction(u"&Open Corvanteller list..."_s);
    connect(N8, &QAction::triggered, this, guard(this, ui, [this] { N8Click(); }));
    addLater(file, u"Open list in &text format..."_s);
    file->addSeparator();
    N29 = file->addAction(u"&Save list"_s);
    connect(N29, &QAction::triggered, this, guard(this, ui, [this] { N29Click(); }));
    N9 = file->addAction(u"Save list &as..."_s);
    connect(N9, &QAction::triggered, this, guard(this, ui, [this] { N9Click(); }));
    addLater(file, u"Save as te&xt..."_s);
    addLater(file, u"Save as Ms &Word document..."_s);
    addLater(file, u"&Print from Ms Word (text)"_s);
    file->addSeparator();
    QMenu* exportMenu = file->addMenu(u"Export"_s);
    addLater(exportMenu, u"Tex&t"_s);
    addLater(exportMenu, u"Ms &Excel"_s);
    addLater(exportMenu, u"&Ms Word"_s);
    addLater(file, u"&Import from Excel file"_s);
    file->addSeparator();
    QMenu* rename = file->addMenu(u"Rename files"_s);
    addLater(rename, u"&From column of name (file)"_s);
    addLater(rename, u"&Complex renaming..."_s);
    file->addSeparator();
    exitAction = file->addAction(u"Exit"_s);
    connect(exitAction, &QAction::triggered, this, [this] { close(); });

    QMenu* settings = menuBar()->addMenu(u"&Settings"_s);
    parametersOfScanning = settings->addAction(u"&Parameters of scanning"_s);
    generalSettings = settings->addAction(u"&General settings"_s);
    connect(generalSettings, &QAction::triggered, this,
            guard(this, ui, [this] { showGeneralSettings(context_, this); }));

    QMenu* table = menuBar()->addMenu(u"&Table"_s);
    N19 = table->addAction(u"&Add row"_s);
    connect(N19, &QAction::triggered, this, guard(this, ui, [this] { N19Click(); }));
    addLater(table, u"&Export to text"_s);

    QMenu* help = menuBar()->addMenu(u"&Help"_s);
    QMenu* about = help->addMenu(u"&About"_s);
    addLater(about, u"&Information"_s);
    promptAction = about->addAction(u"&Prompt"_s);
    connect(promptAction, &QAction::triggered, this,
            guard(this, ui, [this] { context_.prompt->showPrompt(); }));
    addLater(help, u"&Corvanteller help"_s);

    PopupMenu1 = new QMenu(this);
    popupNewScanning = PopupMenu1->addAction(u"New scanning..."_s);
    connect(popupNewScanning, &QAction::triggered, this,
            guard(this, ui, [this] { NewScanningClick(); }));
    addLater(PopupMenu1, u"Corvanteller help"_s);
}

void TForm4::installTableHint() {
    HintController* hints = HintController::instance();
    if (hints == nullptr) {
        return;
    }
    hints->setHintShowHandler([this](HintRequest& request) {
        if (request.widget != StringGrid1 && request.widget != StringGrid1->viewport()) {
            return;
        }
        const TableHintShowing showing = tableHint_->beforeShow(StringGrid1->width());
        HintController::instance()->setHintHidePause(showing.hidePauseMs);
        request.show = showing.show;
        request.text = showing.text;
        request.hidePauseMs = showing.hidePauseMs;
        request.background =
            QColor(showing.background.red, showing.background.green, showing.background.blue);
        request.maxWidth = showing.maxWidth;
        request.pos += QPoint(showing.shiftRight, 0);
        StringGrid1->setToolTip(tableHint_->enabled() ? tableHint_->text() : QString());
    });
}

void TForm4::showAsActive() {
    if (!centred_) {
        centred_ = true;
        if (const QScreen* screen = this->screen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    show();
    raise();
    activateWindow();
    if (context_.noteFormActivation(this)) {
        FormActivate();
    }
}

bool TForm4::event(QEvent* event) {
    if (context_.isFormActivation(this, event)) {
        guarded(this, context_.ui, [this] { FormActivate(); });
    } else if (event->type() == QEvent::WindowDeactivate) {
        guarded(this, context_.ui, [this] { FormDeactivate(); });
    }
    return QMainWindow::event(event);
}

void TForm4::FormActivate() {
    installTableHint();
    context_.table.rebuildOnActivation();
    applyColumnWidthMode();
    updateStatusLine(context_.table.statusText());
}

void TForm4::FormDeactivate() {
    context_.table.refreshStores();
}

std::array<int, 7> TForm4::columnWidths() const {
    std::array<int, 7> widths{};
    for (int column = 0; column < 7; ++column) {
        widths[static_cast<std::size_t>(column)] = StringGrid1->columnWidth(column);
    }
    return widths;
}

void TForm4::applyColumnWidthMode() {
    SongTableModel& model = context_.table.model();
    const QFontMetrics metrics(StringGrid1->font());
    const ColumnLayout layout = corvanteller::applyColumnWidthMode(
        static_cast<ColumnWidthMode>(context_.options.general.columnWidthMode), model,
        columnWidths(), context_.options.savedColumnWidths,
        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); },
        model.widestCellLengths());
    for (int column = 0; column < 7; ++column) {
        StringGrid1->setColumnWidth(column, layout.widths[static_cast<std::size_t>(column)]);
    }
    model.setWidestCellLengths(layout.widest);
}

void TForm4::updateStatusLine(const QString& text) {
    Label1->setText(text);
    Label1->adjustSize();
    alignStatusLine();
}

void TForm4::alignStatusLine() {
    QWidget* client = centralWidget();
    Label1->move(client->width() - Label1->width() - statusRightMargin,
                 client->height() - Label1->height() - 4);
}

void TForm4::layoutClient() {
    QWidget* client = centralWidget();
    const int width = client->width();
    const int height = client->height();
    StringGrid1->setGeometry(0, 0, width, height - bottomRowHeight);
    const int rowTop = height - bottomRowHeight + 4;
    CheckBox1->move(8, rowTop);
    CheckBox1->adjustSize();
    ProgressBar1->setGeometry(CheckBox1->x() + CheckBox1->width() + 12, rowTop + 4, 250, 10);
    Label2->move(8, rowTop + 20);
    Label2->adjustSize();
    alignStatusLine();
}

void TForm4::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutClient();
}

void TForm4::CheckBox1Click() {
    Label2->setText(context_.options.lastFolder);
    Label2->adjustSize();
}

void TForm4::StringGrid1DblClick(const QModelIndex& index) {
    hideCellTooltip(true);
    CheckBox1->setChecked(false);
    if (index.isValid()) {
        StringGrid1->setCurrentIndex(index);
        context_.table.model().toggleCheck(index.row() + 1);
    }
}

void TForm4::N19Click() {
    const QModelIndex current = StringGrid1->currentIndex();
    const int selectedRow = current.isValid() ? current.row() + 1 : 1;
    if (!context_.table.model().insertEmptyRowAt(selectedRow)) {
        context_.ui.showMessage(this, tableFullMessage());
    }
}

void TForm4::NewScanningClick() {
    TableSession& table = context_.table;
    if (table.beginNewScan() == TableSession::NewScanStart::AskToSave) {
        context_.savePrompt->showFor(this);
        return;
    }
    // A "Yes" before this scan has been answered: the question is settled.
    context_.savePrompt->hide();
    const std::optional<ScanOutcome> outcome =
        chooseFolderAndScan(context_, {this, ProgressBar1, Label3}, table.mainStore(),
                            RunSet::MainWindow, [&table] { table.startNewScanRows(); });
    if (outcome && outcome->tooManyFolders()) {
        context_.ui.showMessage(this, tooManyFoldersMessage());
    }
    finishScanProgress(ProgressBar1);
    table.finishNewScan();
    applyColumnWidthMode();
    updateStatusLine(table.statusText());
}

void TForm4::N8Click() {
    openListFromMainWindow(context_, this);
}

void TForm4::N9Click() {
    saveListAs(context_, this);
}

void TForm4::N29Click() {
    saveList(context_, this);
    switch (context_.table.promptPurpose) {
    case PromptPurpose::CloseAfterSaving:
        context_.savePrompt->hide();
        endProgramFromMainWindow(context_, this);
        break;
    case PromptPurpose::AskBeforeNewScan:
        NewScanningClick();
        break;
    case PromptPurpose::AskBeforeClosing:
        break;
    }
}

void TForm4::closeEvent(QCloseEvent* event) {
    TableSession& table = context_.table;
    guarded(this, context_.ui, [&table] { table.refreshStores(); });
    if (!table.unsavedChanges) {
        event->accept();
        endProgramFromMainWindow(context_, this);
        return;
    }
    event->ignore();
    if (table.promptPurpose != PromptPurpose::AskBeforeNewScan) {
        table.promptPurpose = PromptPurpose::AskBeforeClosing;
    }
    context_.savePrompt->showFor(this);
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    const bool onGrid = watched == StringGrid1 || watched == StringGrid1->viewport();
    if (event->type() == QEvent::FocusIn && watched == StringGrid1) {
        context_.table.unsavedChanges = true;
    } else if (isCharacterKey(event)) {
        context_.table.unsavedChanges = true;
    } else if (onGrid && event->type() == QEvent::MouseMove) {
        showCellTooltip(static_cast<QMouseEvent*>(event)->position().toPoint());
    } else if (onGrid && event->type() == QEvent::Leave) {
        hideCellTooltip(true);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm4::showCellTooltip(QPoint viewportPos) {
    const QModelIndex index = StringGrid1->indexAt(viewportPos);
    const int row = index.isValid() ? index.row() + 1 : -1;
    const int column = index.isValid() ? index.column() : -1;
    if (!tooltipTracker_->movedToNewCell(viewportPos, row, column)) {
        return;
    }
    hideCellTooltip(false);
    if (!index.isValid()) {
        return;
    }
    const QString text = context_.table.model().cellRef(row, column);
    const int rowHeightNow = StringGrid1->rowHeight(index.row());
    if (!cellMayShowTooltip(row, column, rowHeightNow, text)) {
        return;
    }
    const int columnWidth = StringGrid1->columnWidth(column);
    QTextDocument document;
    document.setDefaultFont(font());
    document.setDocumentMargin(0);
    document.setPlainText(text);
    document.setTextWidth(tooltipWrapWidth(columnWidth));
    const QSize measured(static_cast<int>(document.idealWidth()),
                         static_cast<int>(document.size().height()));
    if (cellTextFits(rowHeightNow, columnWidth, measured)) {
        return;
    }
    const QRect cell = StringGrid1->visualRect(index);
    cellTooltip->setText(text);
    cellTooltip->setFixedWidth(std::max(measured.width(), 1) + 2 * cellTooltip->margin());
    cellTooltip->adjustSize();
    cellTooltip->move(StringGrid1->viewport()->mapToGlobal(cell.topLeft()) + tooltipOffset);
    cellTooltip->show();
}

void TForm4::hideCellTooltip(bool forget) {
    if (cellTooltip != nullptr) {
        cellTooltip->hide();
    }
    if (forget) {
        tooltipTracker_->forget();
    }
}

} // namespace corvanteller
