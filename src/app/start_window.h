// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/program_window.h"

#include <QMainWindow>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;

namespace corvanteller {

class AppContext;
class ListCommands;
class MainWindow;
class WindowScan;

// The start window: the small first window from which a scan starts or a list is opened; the
// application's main window.
class StartWindow : public ProgramWindow<QMainWindow> {
    Q_OBJECT

public:
    static constexpr int clientWidth = 356;
    static constexpr int clientHeight = 108;
    static constexpr int progressMaximum = 200;

    StartWindow(AppContext& context, MainWindow& mainWindow, QWidget* parent = nullptr);
    ~StartWindow() override;

    QList<QAction*> permanentlyDisabled;

    void startScanning();
    void startScanningFromMenu() { startScanning(); }
    void openList();
    // The Start button's scan and the list open without their dialogs, for a folder or a list
    // named on the command line.
    void startScanOf(const QString& folder);
    void openList(const QString& path);
    void importExcel();
    void exitProgram();
    void showScanParameters();
    void showGeneralSettings();
    void showInformation();
    void showPrompt();
    void showHelp();
    void advancePicture();
    void onActivated() override;

Q_SIGNALS:
    // The first activation has loaded the settings: the start-up sequence is over.
    void startUpFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The moving picture runs only while the window is on the screen and no scan hides it.
    void updateAnimation();
    void runAnimation(bool shown);
    void buildControls();
    void buildMenu();
    // A menu or a menu entry with the caption its name has; the disabled entries stay so.
    QMenu* addMenu(QWidget* bar, const char* name);
    QAction* addDisabled(QMenu* menu, const char* name);
    QAction* addMenuCommand(QMenu* menu, const char* name, void (StartWindow::*handler)());
    void centreHorizontally(QWidget* control);
    void handOverToMainWindow();
    void startScan(const std::optional<QString>& folder);
    // Opens or imports a table into the main window's grid and hands over to it; read returns
    // false when the main window is not to be shown.
    void handOverTableReadBy(const std::function<bool()>& read);

    QPushButton* startButton = nullptr; // "Start"
    QLabel* bannerPicture = nullptr;    // the banner strip
    QLabel* greetingLabel = nullptr;    // the greeting
    QLabel* movingPicture = nullptr;    // the moving picture
    QProgressBar* scanProgressBar = nullptr;
    QLabel* scanErrorLabel = nullptr; // the error label under the progress bar; the scan's progress
    QPushButton* stopScanButton = nullptr; // "Stop", beside the progress bar during a scan
    QTimer* pictureTimer = nullptr;

    QAction* startScanningAction = nullptr;   // "Start scanning..."
    QAction* openListAction = nullptr;        // "Open Corvanteller list..."
    QAction* exitAction = nullptr;            // "Exit"
    QAction* scanParametersAction = nullptr;  // "Parameters of scanning"
    QAction* generalSettingsAction = nullptr; // "General settings"
    QAction* informationAction = nullptr;     // "About" > "Information"
    QAction* promptAction = nullptr;          // "About" > "Prompt"
    QAction* helpAction = nullptr;            // "Corvanteller help"
    QAction* importExcelAction = nullptr;     // "Import from Excel file"

    AppContext& context_;
    MainWindow& mainWindow_;
    ListCommands& lists_; // the main window's table, read from a list or a workbook
    WindowScan* scan_ = nullptr;
};

} // namespace corvanteller
