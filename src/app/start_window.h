#pragma once

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
class TForm4;
class WindowScan;

// The start window: the small first window from which a scan starts or a list is opened; the
// application's main window.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int clientWidth = 356;
    static constexpr int clientHeight = 108;
    static constexpr int progressMaximum = 200;

    TForm1(AppContext& context, TForm4& mainWindow, QWidget* parent = nullptr);
    ~TForm1() override;

    QPushButton* Button1 = nullptr; // "Start"
    QLabel* Image1 = nullptr;       // the banner strip
    QLabel* Label1 = nullptr;       // the greeting
    QLabel* Image2 = nullptr;       // the moving picture
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label2 = nullptr; // the error label under the progress bar; the scan's progress
    QPushButton* stopScanButton = nullptr; // "Stop", beside the progress bar during a scan
    QTimer* Timer1 = nullptr;

    QAction* N4 = nullptr;     // "Start scanning..."
    QAction* N8 = nullptr;     // "Open Corvanteller list..."
    QAction* N16 = nullptr;    // "Exit"
    QAction* N17 = nullptr;    // "Parameters of scanning"
    QAction* N18 = nullptr;    // "General settings"
    QAction* N19 = nullptr;    // "About" > "Information"
    QAction* N20 = nullptr;    // "About" > "Prompt"
    QAction* N6 = nullptr;     // "Corvanteller help"
    QAction* Excel1 = nullptr; // "Import from Excel file"
    QList<QAction*> permanentlyDisabled;

    void Button1Click();
    void N4Click() { Button1Click(); }
    void N8Click();
    // The Start button's scan and the list open without their dialogs, for a folder or a list
    // named on the command line.
    void startScanOf(const QString& folder);
    void openList(const QString& path);
    void Excel1Click();
    void N16Click();
    void N17Click();
    void N18Click();
    void N19Click();
    void N20Click();
    void N6Click();
    void Timer1Timer();
    void FormActivate();

Q_SIGNALS:
    // The first activation has loaded the settings: the start-up sequence is over.
    void startUpFinished();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The moving picture runs only while the window is on the screen and no scan hides it.
    void updateAnimation();
    void runAnimation(bool shown);
    void buildControls();
    void buildMenu();
    QAction* addDisabled(QMenu* menu, const QString& caption);
    void centreHorizontally(QWidget* control);
    void handOverToMainWindow();
    void startScan(const std::optional<QString>& folder);
    // Opens or imports a table into the main window's grid and hands over to it; read returns
    // false when the main window is not to be shown.
    void handOverTableReadBy(const std::function<bool()>& read);

    AppContext& context_;
    TForm4& mainWindow_;
    WindowScan* scan_ = nullptr;
};

} // namespace corvanteller
