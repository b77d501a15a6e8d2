// SPDX-License-Identifier: GPL-3.0-or-later
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
class AboutWindow : public ProgramDialog {
    Q_OBJECT

public:
    static constexpr int clientWidth = 457;
    static constexpr int clientHeight = 363;
    static constexpr int stripTickMs = 15;

    // runTimes holds the previous run's close, as loaded; locale gives the date and time
    // formats. Both are read at every activation.
    AboutWindow(const WindowServices& services, const RunTimes& runTimes, const QLocale& locale);

    // The menus' "Information": shows the window centred on the screen; a shown window only
    // comes forward.
    void showAbout();

    void onActivated() override;
    void moveStrip();
    void hideAbout();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void centreHorizontally(QWidget* control);

    QLabel* titleLabel = nullptr;        // the title
    QPlainTextEdit* aboutText = nullptr; // the about text
    QLabel* creditLabel = nullptr;       // the credit line
    QLabel* versionLabel = nullptr;      // "Version 1.3"
    QLabel* placeLabel = nullptr;        // "Russia, Moscow"
    QLabel* yearLabel = nullptr;         // "2003"
    QLabel* movingStrip = nullptr;       // the moving strip
    QLabel* officeNoteLabel = nullptr;   // the Office note
    QLabel* lastCloseLabel = nullptr;    // the last-close line
    QPushButton* okButton = nullptr;     // "OK"
    QTimer* stripTimer = nullptr;        // moves the strip

    const RunTimes& runTimes_;
    const QLocale& locale_;
    StripMotion strip_;
};

} // namespace corvanteller
