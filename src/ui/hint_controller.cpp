#include "ui/hint_controller.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QStringList>
#include <QTextLayout>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

// Breaks the text into lines no wider than maxWidth in the tool tips' font (a word longer than
// that gets a line of its own), keeping the text's own line breaks.
QString wrapToWidth(const QString& text, int maxWidth) {
    if (maxWidth <= 0) {
        return text;
    }
    const QFont font = QToolTip::font();
    const QFontMetrics metrics(font);
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n')) {
        if (metrics.horizontalAdvance(paragraph) <= maxWidth) {
            lines.append(paragraph);
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(maxWidth);
            QString part = paragraph.mid(line.textStart(), line.textLength());
            while (!part.isEmpty() && part.back().isSpace()) {
                part.chop(1); // the space the line was broken at
            }
            lines.append(part);
        }
        layout.endLayout();
    }
    return lines.join(u'\n');
}

// A tool tip takes text that looks like markup as rich text; hints are plain text.
QString asPlainTip(const QString& text) {
    if (!Qt::mightBeRichText(text)) {
        return text;
    }
    return u"<p style='white-space:pre'>"_s + text.toHtmlEscaped() + u"</p>"_s;
}

// The toolkit's tool tip window names itself so.
bool isTipLabel(const QObject* object) {
    return object->objectName() == "qtooltip_label"_L1;
}

QWidget* shownTip() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && isTipLabel(window)) {
            return window;
        }
    }
    return nullptr;
}

} // namespace

HintController::HintController(QObject* parent)
    : QObject(parent), defaultPalette_(QToolTip::palette()) {
    qApp->installEventFilter(this);
}

HintController::~HintController() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
        QToolTip::setPalette(defaultPalette_);
    }
}

void HintController::setHintsEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled) {
        QToolTip::hideText();
    }
    Q_EMIT hintsSwitched(enabled);
}

void HintController::setHintHandler(QWidget* widget, ShowHandler handler) {
    if (handlers_.insert_or_assign(widget, std::move(handler)).second) {
        connect(widget, &QObject::destroyed, this,
                [this](QObject* gone) { handlers_.erase(gone); });
    }
}

void HintController::showHint(const HintRequest& request) {
    if (!enabled_ || !request.show || request.text.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    QPalette palette = defaultPalette_;
    if (request.background.isValid()) {
        palette.setColor(QPalette::ToolTipBase, request.background);
    }
    QToolTip::setPalette(palette);
    if (request.overlay) {
        overlayPos_ = request.pos;
    }
    QToolTip::showText(request.pos, asPlainTip(wrapToWidth(request.text, request.maxWidth)),
                       request.widget, request.cursorRect, request.hidePauseMs);
    if (request.overlay) {
        // A tip already on the screen was only given the new text and moved to the toolkit's
        // place.
        if (QWidget* tip = shownTip()) {
            placeOverlay(tip);
        }
        overlayPos_.reset();
    }
}

void HintController::placeOverlay(QWidget* tip) const {
    tip->move(*overlayPos_);
    // Without this, the tip appearing under the mouse would take it from the control, and
    // the toolkit hides a tip whose control the mouse leaves.
    if (QWindow* window = tip->windowHandle()) {
        window->setFlag(Qt::WindowTransparentForInput, true);
    }
}

bool HintController::eventFilter(QObject* watched, QEvent* event) {
    // A new tip is placed before the window system shows it, so it never covers the mouse
    // even for a moment.
    if (event->type() == QEvent::Show && overlayPos_ && watched->isWidgetType() &&
        isTipLabel(watched)) {
        placeOverlay(static_cast<QWidget*>(watched));
        return false;
    }
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) {
        return false;
    }
    if (!enabled_) {
        QToolTip::hideText();
        event->accept();
        return true;
    }
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->toolTip().isEmpty()) {
        return false; // no hint of its own: the widget may still make one, or its parent has one
    }
    HintRequest request;
    request.widget = widget;
    request.text = widget->toolTip();
    request.pos = static_cast<QHelpEvent*>(event)->globalPos();
    request.hidePauseMs = widget->toolTipDuration() > 0 ? widget->toolTipDuration() : hidePauseMs_;
    if (const auto handler = handlers_.find(widget); handler != handlers_.end()) {
        handler->second(request);
    }
    showHint(request);
    event->accept();
    return true;
}

} // namespace corvanteller
