#include "app/start_window.h"

#include "app/app_context.h"
#include "app/main_window.h"
#include "app/settings_actions.h"
#include "help/about_window.h"
#include "help/help_window.h"
#include "help/splash_window.h"
#include "scan/scan_parameters_dialog.h"
#include "scan/window_scan.h"
#include "settings/general_settings_dialog.h"
#include "ui/error_guard.h"
#include "ui/jpeg_image.h"
#include "ui/menu_keys.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
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

TForm1::TForm1(AppContext& context, TForm4& mainWindow, QWidget* parent)
    : QMainWindow(parent), context_(context), mainWindow_(mainWindow) {
    setWindowTitle(u"Corvanteller"_s);
    context_.activations.addForm(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    buildControls();
    buildMenu();
    scan_ = new WindowScan({this, ProgressBar1, Label2, Label2, stopScanButton},
                           context_.scanFolderReached);
    setFixedSize(clientWidth, clientHeight + menuBar()->sizeHint().height());
    Timer1 = new QTimer(this);
    Timer1->setInterval(movingPictureTickMs);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

TForm1::~TForm1() {
    context_.activations.removeForm(this);
}

void TForm1::buildControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(clientWidth, clientHeight);
    setCentralWidget(client);

    Label1 = new QLabel(u"From Russia -- with love!"_s, client);
    Label1->setToolTip(u":-)"_s);
    Label1->setStyleSheet(u"color: red;"_s);
    Label1->adjustSize();
    Label1->move((clientWidth - Label1->width()) / 2, 2);

    Image1 = new QLabel(client);
    Image1->setScaledContents(true);
    Image1->setPixmap(picture(artwork::banner()));
    Image1->setGeometry(71, 22, 214, 12);

    Button1 = new QPushButton(u"Start"_s, client);
    Button1->setToolTip(u"Let's start..."_s);
    Button1->setGeometry(140, 40, 75, 25);
    connect(Button1, &QPushButton::clicked, this,
            guard(this, context_.ui, [this] { Button1Click(); }));

    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setRange(0, progressMaximum);
    ProgressBar1->setTextVisible(false);
    // Beside it during a scan, the Stop button.
    ProgressBar1->setGeometry(9, 72, 281, 9);
    ProgressBar1->hide();
    stopScanButton = new QPushButton(u"Stop"_s, client);
    stopScanButton->setGeometry(296, 66, 51, 20);
    stopScanButton->hide();
    connect(stopScanButton, &QPushButton::clicked, this, [this] { scan_->stop(); });

    Label2 = new QLabel(client);
    Label2->setGeometry(9, 83, 281, 14);

    Image2 = new QLabel(client);
    Image2->setScaledContents(true);
    Image2->setPixmap(picture(artwork::movingPicture()));
    Image2->setGeometry(4, 90, 15, 15);
}

QAction* TForm1::addDisabled(QMenu* menu, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setEnabled(false);
    permanentlyDisabled.append(action);
    return action;
}

void TForm1::buildMenu() {
    UiServices& ui = context_.ui;
    QMenu* file = menuBar()->addMenu(u"&File"_s);
    N4 = file->addAction(u"Start scanning..."_s);
    connect(N4, &QAction::triggered, this, guard(this, ui, [this] { N4Click(); }));
    file->addSeparator();
    N8 = file->addAction(u"Open Corvanteller list..."_s);
    connect(N8, &QAction::triggered, this, guard(this, ui, [this] { N8Click(); }));
    addDisabled(file, u"Open list in text format"_s);
    file->addSeparator();
    addDisabled(file, u"Save"_s);
    addDisabled(file, u"Save list as..."_s);
    addDisabled(file, u"Save as text..."_s);
    addDisabled(file, u"Save as Ms Word document..."_s);
    file->addSeparator();
    addDisabled(file, u"Export"_s);
    Excel1 = file->addAction(u"Import from Excel file"_s);
    connect(Excel1, &QAction::triggered, this, guard(this, ui, [this] { Excel1Click(); }));
    file->addSeparator();
    QMenu* rename = file->addMenu(u"Rename files"_s);
    rename->addAction(u"From column of name (file)"_s);
    rename->addAction(u"Dif..."_s);
    rename->menuAction()->setEnabled(false);
    permanentlyDisabled.append(rename->menuAction());
    file->addSeparator();
    N16 = file->addAction(u"Exit"_s);
    connect(N16, &QAction::triggered, this, [this] { N16Click(); });

    QMenu* settings = menuBar()->addMenu(u"&Settings"_s);
    N17 = settings->addAction(u"Parameters of scanning"_s);
    connect(N17, &QAction::triggered, this, guard(this, ui, [this] { N17Click(); }));
    N18 = settings->addAction(u"General settings"_s);
    connect(N18, &QAction::triggered, this, guard(this, ui, [this] { N18Click(); }));

    QMenu* help = menuBar()->addMenu(u"&Help"_s);
    QMenu* about = help->addMenu(u"About"_s);
    N19 = about->addAction(u"Information"_s);
    connect(N19, &QAction::triggered, this, guard(this, ui, [this] { N19Click(); }));
    N20 = about->addAction(u"Prompt"_s);
    connect(N20, &QAction::triggered, this, guard(this, ui, [this] { N20Click(); }));
    N6 = help->addAction(u"Corvanteller help"_s);
    connect(N6, &QAction::triggered, this, guard(this, ui, [this] { N6Click(); }));
    reachMenusByKeyboard(*menuBar());
}

bool TForm1::event(QEvent* event) {
    if (context_.activations.isActivation(this, event)) {
        guarded(this, context_.ui, [this] { FormActivate(); });
    }
    return QMainWindow::event(event);
}

void TForm1::FormActivate() {
    context_.table.startWindowHandedTable = false;
    centreHorizontally(Image1);
    centreHorizontally(Button1);
    if (!context_.settingsLoaded) {
        context_.settingsLoaded = true;
        loadSettingsAtStart(context_, this);
        Q_EMIT startUpFinished();
    }
}

void TForm1::centreHorizontally(QWidget* control) {
    control->move(width() / 2 - control->width() / 2, control->y());
}

void TForm1::Timer1Timer() {
    if (width() < Image2->x() + 45) {
        Image2->move(4, Image2->y());
    }
    Image2->move(Image2->x() + 1, Image2->y());
}

void TForm1::Button1Click() {
    startScan(std::nullopt);
}

void TForm1::startScanOf(const QString& folder) {
    startScan(folder);
}

// Without a folder the folder dialog asks for one.
void TForm1::startScan(const std::optional<QString>& folder) {
    TableSession& table = context_.table;
    table.origin = TableOrigin::StartWindow;
    table.startStore().setRowCount(0);
    Button1->setCursor(Qt::WaitCursor);
    Timer1->stop();
    Image2->hide();

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
    finishScanProgress(ProgressBar1);
    Image2->show();
    updateAnimation();
    Button1->unsetCursor();
    if (closing) {
        close();
    }
}

void TForm1::handOverToMainWindow() {
    hide();
    mainWindow_.showAsActive();
}

void TForm1::handOverTableReadBy(const std::function<bool()>& read) {
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

void TForm1::N8Click() {
    handOverTableReadBy([this] { return mainWindow_.openListForStartWindow(this); });
}

void TForm1::openList(const QString& path) {
    handOverTableReadBy([this, &path] { return mainWindow_.openListForStartWindow(this, path); });
}

void TForm1::Excel1Click() {
    handOverTableReadBy([this] { return mainWindow_.importExcelForStartWindow(this); });
}

void TForm1::N16Click() {
    context_.quit();
}

void TForm1::N17Click() {
    context_.scanParameters->showFor(this);
}

void TForm1::N18Click() {
    context_.generalSettings->showFor(this);
}

void TForm1::N19Click() {
    context_.about->showAbout();
}

void TForm1::N20Click() {
    context_.prompt->showPrompt();
}

void TForm1::N6Click() {
    context_.help->showHelp();
}

void TForm1::updateAnimation() {
    runAnimation(isVisible() && !isMinimized());
}

void TForm1::runAnimation(bool shown) {
    // The scan hides the moving picture while it runs.
    if (shown && !Image2->isHidden()) {
        Timer1->start();
    } else {
        Timer1->stop();
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    runAnimation(true);
}

void TForm1::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    runAnimation(false);
}

void TForm1::closeEvent(QCloseEvent* event) {
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
