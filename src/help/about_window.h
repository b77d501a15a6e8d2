#pragma once

#include "help/strip_motion.h"
#include "ui/program_dialog.h"

class QLabel;
class QLocale;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace corvanteller {

struct RunTimes;

// The About window ("About"): what the program is, its version, the Office note, the strip
// going to and fro, and when the program was last closed. Created once.
class TForm5 : public ProgramDialog {
    Q_OBJECT

public:
    static constexpr int clientWidth = 457;
    static constexpr int clientHeight = 363;
    static constexpr int stripTickMs = 15;

    // runTimes holds the previous run's close, as loaded; locale gives the date and time
    // formats. Both are read at every activation.
    TForm5(const WindowServices& services, const RunTimes& runTimes, const QLocale& locale);

    QLabel* Label1 = nullptr;        // the title
    QPlainTextEdit* Memo1 = nullptr; // the about text
    QLabel* Label2 = nullptr;        // the credit line
    QLabel* Label3 = nullptr;        // "Version 1.3"
    QLabel* Label4 = nullptr;        // "Russia, Moscow"
    QLabel* Label5 = nullptr;        // "2003"
    QLabel* Image1 = nullptr;        // the moving strip
    QLabel* Label6 = nullptr;        // the Office note
    QLabel* Label7 = nullptr;        // the last-close line
    QPushButton* Button1 = nullptr;  // "OK"
    QTimer* Timer1 = nullptr;        // moves the strip

    // The menus' "Information": shows the window centred on the screen; a shown window only
    // comes forward.
    void showAbout();

    void FormActivate() override;
    void Timer1Timer();
    void Button1Click();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void centreHorizontally(QWidget* control);

    const RunTimes& runTimes_;
    const QLocale& locale_;
    StripMotion strip_;
};

} // namespace corvanteller
