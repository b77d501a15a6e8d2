// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/hint_controller.h"

#include <QApplication>
#include <QCursor>
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
        overlayPos_.reset();
        if (QWidget* tip = shownTip()) {
            // A tip already on the screen was only given the new text and moved to the
            // toolkit's place.
            tip->move(request.pos);
            letMouseThrough(tip);
            overlayControl_ = request.widget;
            overlayRect_ = request.cursorRect;
        }
    }
}

void HintController::letMouseThrough(QWidget* tip) {
    if (tip == overlayTip_) {
        return;
    }
    overlayTip_ = tip;
    if (QWindow* window = tip->windowHandle()) {
        // Off and on again: the window system's window is made anew when a tip first shows
        // and may not take the flag then.
        window->setFlag(Qt::WindowTransparentForInput, false);
        window->setFlag(Qt::WindowTransparentForInput, true);
    }
    // Ahead of the tip's own filter, which hides the tip when anything reports the mouse
    // leaving.
    qApp->installEventFilter(this);
}

bool HintController::overlayKeepsMouse() const {
    if (overlayTip_.isNull() || !overlayTip_->isVisible() || overlayControl_.isNull()) {
        return false;
    }
    return overlayRect_.contains(overlayControl_->mapFromGlobal(QCursor::pos()));
}

bool HintController::eventFilter(QObject* watched, QEvent* event) {
    // A new overlay tip is placed before the window system shows it.
    if (event->type() == QEvent::Show && overlayPos_ && watched->isWidgetType() &&
        isTipLabel(watched)) {
        static_cast<QWidget*>(watched)->move(*overlayPos_);
        return false;
    }
    // The window system reports the mouse leaving the control when an overlay tip appears
    // under it and again when the tip lets it through; the mouse is still on the item, and the
    // tip stays.
    if (event->type() == QEvent::Leave && overlayKeepsMouse()) {
        return true;
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
