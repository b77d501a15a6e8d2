#pragma once

#include <QMainWindow>

#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QProgressBar;
class QTableView;

namespace corvanteller {

class AppContext;
class CellTooltipTracker;
class TableHint;

// The main window: the song table with its menus, the "Check all" box, a progress bar for a
// new scan and the status line.
class TForm4 : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int clientWidth = 733;
    static constexpr int clientHeight = 493;
    static constexpr int progressMaximum = 100;
    static constexpr int rowHeight = 18;
    static constexpr int statusRightMargin = 10;

    explicit TForm4(AppContext& context, QWidget* parent = nullptr);
    ~TForm4() override;

    QTableView* StringGrid1 = nullptr;
    QCheckBox* CheckBox1 = nullptr; // "Check all"
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr;      // the status line
    QLabel* Label2 = nullptr;      // the last folder, shown when "Check all" is clicked
    QLabel* Label3 = nullptr;      // the scan's error label, never visible
    QLabel* cellTooltip = nullptr; // the cell tooltip's own hint window
    QMenu* PopupMenu1 = nullptr;

    QAction* newScanning = nullptr; // "&New scanning..."
    QAction* N8 = nullptr;          // "&Open Corvanteller list..."
    QAction* N29 = nullptr;         // "&Save list"
    QAction* N9 = nullptr;          // "Save list &as..."
    QAction* exitAction = nullptr;  // "Exit"
    QAction* parametersOfScanning = nullptr;
    QAction* generalSettings = nullptr;
    QAction* N19 = nullptr;          // "&Add row"
    QAction* promptAction = nullptr; // "&Prompt"
    QAction* popupNewScanning = nullptr;
    // Entries whose commands arrive with later work; present and disabled until then.
    QList<QAction*> notYetAvailable;

    // Shows the window and runs its activation at once.
    void showAsActive();

    void FormActivate();
    void FormDeactivate();
    void NewScanningClick();
    void N8Click();
    void N9Click();
    void N29Click();
    void N19Click();
    void StringGrid1DblClick(const QModelIndex& index);
    void CheckBox1Click();
    void applyColumnWidthMode();
    void updateStatusLine(const QString& text);
    // The widths of columns 0 to 6 as the grid has them now.
    std::array<int, 7> columnWidths() const;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildGrid(QWidget* client);
    void buildBottomRow(QWidget* client);
    void buildMenus();
    QAction* addLater(QMenu* menu, const QString& caption);
    void installTableHint();
    void layoutClient();
    void alignStatusLine();
    void showCellTooltip(QPoint viewportPos);
    void hideCellTooltip(bool forget);

    AppContext& context_;
    std::unique_ptr<CellTooltipTracker> tooltipTracker_;
    std::unique_ptr<TableHint> tableHint_;
    bool centred_ = false;
};

} // namespace corvanteller
