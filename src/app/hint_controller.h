#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>

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
};

// The application's hints. Every widget's tool tip passes an event filter on the application,
// which shows nothing while hints are off and otherwise lets one show handler adjust each
// hint (text, colour, width, position, how long it stays) before it is shown. Tool tips that a
// widget makes itself (an item view's cells, tabs) are left to it while hints are on.
class HintController final : public QObject {
    Q_OBJECT

public:
    using ShowHandler = std::function<void(HintRequest&)>;

    // Installs itself on the running QApplication; there is one per application.
    explicit HintController(QObject* parent = nullptr);
    ~HintController() override;

    // The controller of the running application, or nullptr before it exists.
    static HintController* instance();

    // Off: no tool tip anywhere, and one on the screen goes at once.
    void setHintsEnabled(bool enabled);
    bool hintsEnabled() const { return enabled_; }

    // Called before each hint of a widget with a tool tip is shown; replaces the previous
    // handler, which is returned so that a window can put it back.
    ShowHandler setHintShowHandler(ShowHandler handler);

    // The hint hide pause: how long a hint stays up, for every hint from now on. -1: the
    // toolkit's own time, which grows with the text.
    void setHintHidePause(int ms) { hidePauseMs_ = ms; }
    int hintHidePause() const { return hidePauseMs_; }

    // Shows a hint now with the request's colour, width and time, unless hints are off or the
    // request says not to; for widgets that decide their hints themselves (e.g. long list
    // items). Does not call the show handler.
    void showHint(const HintRequest& request);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool enabled_ = true;
    int hidePauseMs_ = -1;
    ShowHandler handler_;
    QPalette defaultPalette_;
};

} // namespace corvanteller
