// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_window.h"

#include "app/app_context.h"
#include "app/app_texts.h"
#include "app/list_commands.h"
#include "app/main_window.h"
#include "app/recent_lists_menu.h"
#include "app/settings_actions.h"
#include "help/about_window.h"
#include "help/help_window.h"
#include "help/splash_window.h"
#include "scan/scan_parameters_dialog.h"
#include "scan/window_scan.h"
#include "settings/general_settings_dialog.h"
#include "ui/dropped_file.h"
#include "ui/error_guard.h"
#include "ui/jpeg_image.h"
#include "ui/menu_keys.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

// The moving picture's clock: one pixel a tick, at the tick that the toolkit really keeps.
constexpr int movingPictureTickMs = 15;

QPixmap picture(const QString& resource) {
    return QPixmap::fromImage(loadJpegResource(resource));
}

} // namespace

StartWindow::StartWindow(AppContext& context, MainWindow& mainWindow, QWidget* parent)
    : ProgramWindow(context.windowServices(), parent), context_(context), mainWindow_(mainWindow),
      lists_(mainWindow.listCommands()) {
    setWindowTitle(appTexts::programTitle());
    setAcceptDrops(true);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    buildControls();
    buildMenu();
    scan_ = new WindowScan({this, scanProgressBar, scanErrorLabel, scanErrorLabel, stopScanButton},
                           context_.scanFolderReached, {&context_.scanCache, &context_.desktop});
    setFixedSize(clientWidth, clientHeight + menuBar()->sizeHint().height());
    pictureTimer = new QTimer(this);
    pictureTimer->setObjectName(u"pictureTimer"_s);
    pictureTimer->setInterval(movingPictureTickMs);
    connect(pictureTimer, &QTimer::timeout, this, [this] { advancePicture(); });
}

StartWindow::~StartWindow() = default;

void StartWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(clientWidth, clientHeight);
    setCentralWidget(client);

    greetingLabel = new QLabel(appTexts::greeting(), client);
    greetingLabel->setObjectName(u"greetingLabel"_s);
    greetingLabel->setToolTip(appTexts::greetingHint());
    greetingLabel->setStyleSheet(u"color: red;"_s);
    greetingLabel->adjustSize();
    greetingLabel->move((clientWidth - greetingLabel->width()) / 2, 2);

    bannerPicture = new QLabel(client);
    bannerPicture->setObjectName(u"bannerPicture"_s);
    bannerPicture->setScaledContents(true);
    bannerPicture->setPixmap(picture(artwork::banner()));
    bannerPicture->setGeometry(71, 22, 214, 12);

    startButton = new QPushButton(appTexts::start(), client);
    startButton->setObjectName(u"startButton"_s);
    startButton->setToolTip(appTexts::startHint());
    startButton->setGeometry(140, 40, 75, 25);
    connect(startButton, &QPushButton::clicked, this,
            guard(this, context_.ui, [this] { startScanning(); }));

    scanProgressBar = new QProgressBar(client);
    scanProgressBar->setObjectName(u"scanProgressBar"_s);
    scanProgressBar->setRange(0, progressMaximum);
    scanProgressBar->setTextVisible(false);
    // Beside it during a scan, the Stop button.
    scanProgressBar->setGeometry(9, 72, 281, 9);
    scanProgressBar->hide();
    stopScanButton = new QPushButton(appTexts::stop(), client);
    stopScanButton->setObjectName(u"stopScanButton"_s);
    stopScanButton->setGeometry(296, 66, 51, 20);
    stopScanButton->hide();
    connect(stopScanButton, &QPushButton::clicked, this, [this] { scan_->stop(); });

    scanErrorLabel = new QLabel(client);
    scanErrorLabel->setObjectName(u"scanErrorLabel"_s);
    scanErrorLabel->setGeometry(9, 83, 281, 14);

    movingPicture = new QLabel(client);
    movingPicture->setObjectName(u"movingPicture"_s);
    movingPicture->setScaledContents(true);
    movingPicture->setPixmap(picture(artwork::movingPicture()));
    movingPicture->setGeometry(4, 90, 15, 15);
}

QMenu* StartWindow::addMenu(QWidget* bar, const char* name) {
    auto* menu = new QMenu(appTexts::startCaption(name), bar);
    menu->setObjectName(QString::fromLatin1(name));
    bar->addAction(menu->menuAction());
    return menu;
}

QAction* StartWindow::addDisabled(QMenu* menu, const char* name) {
    QAction* action = menu->addAction(appTexts::startCaption(name));
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(false);
    permanentlyDisabled.append(action);
    return action;
}

QAction* StartWindow::addMenuCommand(QMenu* menu, const char* name,
                                     void (StartWindow::*handler)()) {
    return addCommand(menu, name, appTexts::startCaption(name), handler);
}

void StartWindow::buildMenu() {
    QMenu* file = addMenu(menuBar(), "fileMenu");
    startScanningAction =
        addMenuCommand(file, "startScanningAction", &StartWindow::startScanningFromMenu);
    file->addSeparator();
    openListAction = addMenuCommand(file, "openListAction", &StartWindow::openList);
    addRecentListsMenu(file, this, context_, [this](const QString& path) { openList(path); });
    addDisabled(file, "openTextListAction");
    file->addSeparator();
    addDisabled(file, "saveListAction");
    addDisabled(file, "saveListAsAction");
    addDisabled(file, "saveAsTextAction");
    addDisabled(file, "saveAsWordAction");
    file->addSeparator();
    addDisabled(file, "exportAction");
    importExcelAction = addMenuCommand(file, "importExcelAction", &StartWindow::importExcel);
    file->addSeparator();
    QMenu* rename = addMenu(file, "renameMenu");
    rename->addAction(appTexts::startCaption("renameFromNameColumnAction"));
    rename->addAction(appTexts::startCaption("complexRenamingAction"));
    rename->menuAction()->setEnabled(false);
    permanentlyDisabled.append(rename->menuAction());
    file->addSeparator();
    exitAction = addMenuCommand(file, "exitAction", &StartWindow::exitProgram);

    QMenu* settings = addMenu(menuBar(), "settingsMenu");
    scanParametersAction =
        addMenuCommand(settings, "scanParametersAction", &StartWindow::showScanParameters);
    generalSettingsAction =
        addMenuCommand(settings, "generalSettingsAction", &StartWindow::showGeneralSettings);

    QMenu* help = addMenu(menuBar(), "helpMenu");
    QMenu* about = addMenu(help, "aboutMenu");
    informationAction = addMenuCommand(about, "informationAction", &StartWindow::showInformation);
    promptAction = addMenuCommand(about, "promptAction", &StartWindow::showPrompt);
    helpAction = addMenuCommand(help, "helpAction", &StartWindow::showHelp);
    reachMenusByKeyboard(*menuBar());
}

void StartWindow::onActivated() {
    context_.table.startWindowHandedTable = false;
    centreHorizontally(bannerPicture);
    centreHorizontally(startButton);
    if (!context_.settingsLoaded) {
        context_.settingsLoaded = true;
        loadSettingsAtStart(context_, this);
        Q_EMIT startUpFinished();
    }
}

void StartWindow::centreHorizontally(QWidget* control) {
    control->move(width() / 2 - control->width() / 2, control->y());
}

void StartWindow::advancePicture() {
    if (width() < movingPicture->x() + 45) {
        movingPicture->move(4, movingPicture->y());
    }
    movingPicture->move(movingPicture->x() + 1, movingPicture->y());
}

void StartWindow::startScanning() {
    startScan(std::nullopt);
}

void StartWindow::startScanOf(const QString& folder) {
    startScan(folder);
}

// Without a folder the folder dialog asks for one.
void StartWindow::startScan(const std::optional<QString>& folder) {
    TableSession& table = context_.table;
    table.origin = TableOrigin::StartWindow;
    table.startStore().setRowCount(0);
    startButton->setCursor(Qt::WaitCursor);
    pictureTimer->stop();
    movingPicture->hide();

    const std::optional<ScanOutcome> outcome =
        folder
            ? scan_->scanFolder(*folder, context_.options, table.startStore(), RunSet::StartWindow)
            : scan_->chooseFolderAndScan(context_.ui, context_.options, table.startStore(),
                                         RunSet::StartWindow);
    // A scan stopped by the close box ends in the window's close, not in the main window.
    const bool closing = scan_->closeWanted();
    if (outcome && !closing) {
        handOverToMainWindow();
        reportScanEnd(context_.ui, &mainWindow_, *outcome);
    }
    finishScanProgress(scanProgressBar);
    movingPicture->show();
    updateAnimation();
    startButton->unsetCursor();
    if (closing) {
        close();
    }
}

void StartWindow::handOverToMainWindow() {
    hide();
    mainWindow_.showAsActive();
}

void StartWindow::handOverTableReadBy(const std::function<bool()>& read) {
    context_.table.startWindowHandedTable = true;
    bool handOver = false;
    try {
        handOver = read();
    } catch (...) {
        context_.table.startWindowHandedTable = false;
        throw;
    }
    if (handOver) {
        handOverToMainWindow();
    } else {
        // Nothing was read, or the reading stopped: the next scan must rebuild the table as
        // usual.
        context_.table.startWindowHandedTable = false;
    }
}

void StartWindow::openList() {
    handOverTableReadBy([this] { return lists_.openListForStartWindow(this); });
}

void StartWindow::openList(const QString& path) {
    handOverTableReadBy([this, &path] { return lists_.openListForStartWindow(this, path); });
}

void StartWindow::importExcel() {
    handOverTableReadBy([this] { return lists_.importExcelForStartWindow(this); });
}

void StartWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedFile(event->mimeData()).kind != DroppedFile::Kind::None) {
        event->acceptProposedAction();
    }
}

void StartWindow::dropEvent(QDropEvent* event) {
    const DroppedFile dropped = droppedFile(event->mimeData());
    if (dropped.kind == DroppedFile::Kind::None || WindowScan::anyRunning()) {
        return;
    }
    event->acceptProposedAction();
    guarded(this, context_.ui, [this, &dropped] {
        switch (dropped.kind) {
        case DroppedFile::Kind::Folder:
            startScanOf(dropped.path);
            break;
        case DroppedFile::Kind::List:
            openList(dropped.path);
            break;
        case DroppedFile::Kind::Workbook:
        case DroppedFile::Kind::None:
            handOverTableReadBy(
                [this, &dropped] { return lists_.importExcelForStartWindow(this, dropped.path); });
            break;
        }
    });
}

void StartWindow::exitProgram() {
    context_.quit();
}

void StartWindow::showScanParameters() {
    context_.scanParameters->showFor(this);
}

void StartWindow::showGeneralSettings() {
    context_.generalSettings->showFor(this);
}

void StartWindow::showInformation() {
    context_.about->showAbout();
}

void StartWindow::showPrompt() {
    context_.prompt->showPrompt();
}

void StartWindow::showHelp() {
    context_.help->showHelp();
}

void StartWindow::updateAnimation() {
    runAnimation(isVisible() && !isMinimized());
}

void StartWindow::runAnimation(bool shown) {
    // The scan hides the moving picture while it runs.
    if (shown && !movingPicture->isHidden()) {
        pictureTimer->start();
    } else {
        pictureTimer->stop();
    }
}

void StartWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    runAnimation(true);
}

void StartWindow::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    runAnimation(false);
}

void StartWindow::closeEvent(QCloseEvent* event) {
    if (scan_->running()) {
        event->ignore();
        scan_->stopForClose();
        return;
    }
    event->accept();
    saveSettingsAtClose(context_, this, mainWindow_.widthsAtClose());
    context_.quit();
}

} // namespace corvanteller
