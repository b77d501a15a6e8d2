// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <unordered_map>

class QWidget;

namespace corvanteller {

// One hint about to be shown. The show handler may change any field.
struct HintRequest {
    QWidget* widget = nullptr; // the control whose hint it is
    QString text;              // plain text
    QPoint pos;                // global point; the hint appears just below and right of it
    QRect cursorRect;          // in widget coordinates: the hint goes when the mouse leaves it;
                               // empty: when it leaves the widget
    QColor background;         // invalid: the system's tool tip colour
    int maxWidth = 0;          // pixels of text per line, word-wrapped; 0: no limit
    int hidePauseMs = -1;      // how long the hint stays up; -1: the toolkit's own time
    bool show = true;          // false: no hint this time
    // true: the hint's top-left corner is pos itself, over the control, and the mouse passes
    // through the hint to the control under it (whose hint it is), as for a long list item
    bool overlay = false;
};

// The application's hints. Every widget's tool tip passes an event filter on the application,
// which shows nothing while hints are off and otherwise lets the handler registered for the
// widget adjust the hint (text, colour, width, position, how long it stays) before it is shown.
// Tool tips that a widget makes itself (an item view's cells, tabs) are left to it while hints
// are on.
class HintController final : public QObject {
    Q_OBJECT

public:
    using ShowHandler = std::function<void(HintRequest&)>;

    // Installs itself on the running QApplication.
    explicit HintController(QObject* parent = nullptr);
    ~HintController() override;

    // The one switch of the program's hints. Off: no tool tip anywhere, and one on the screen
    // goes at once.
    void setHintsEnabled(bool enabled);
    bool hintsEnabled() const { return enabled_; }

    // Called before each hint of this widget is shown; a window registers it for the widgets
    // whose hints it adjusts. The registration ends with the widget.
    void setHintHandler(QWidget* widget, ShowHandler handler);

    // The hint hide pause: how long a hint stays up, for every hint from now on. -1: the
    // toolkit's own time, which grows with the text.
    void setHintHidePause(int ms) { hidePauseMs_ = ms; }
    int hintHidePause() const { return hidePauseMs_; }

    // Shows a hint now with the request's colour, width and time, unless hints are off or the
    // request says not to; for widgets that decide their hints themselves (e.g. long list
    // items). Does not call a handler.
    void showHint(const HintRequest& request);

    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    // Every use of the switch, whether or not it changed anything.
    void hintsSwitched(bool enabled);

private:
    void letMouseThrough(QWidget* tip);
    // An overlay hint is up and the mouse is still within its control's rectangle.
    bool overlayKeepsMouse() const;

    bool enabled_ = true;
    std::optional<QPoint> overlayPos_; // while an overlay hint is being shown
    QPointer<QWidget> overlayTip_;     // the toolkit's tip window last shown as an overlay
    QPointer<QWidget> overlayControl_;
    QRect overlayRect_;
    int hidePauseMs_ = -1;
    std::unordered_map<const QObject*, ShowHandler> handlers_;
    QPalette defaultPalette_;
};

} // namespace corvanteller
