// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/long_item_hints.h"

#include "ui/hint_controller.h"

#include <QEvent>
#include <QFontMetrics>
#include <QListWidget>
#include <QMouseEvent>
#include <QProxyStyle>

namespace corvanteller {

namespace {

// Item views draw an item's text inside a margin of the focus frame's margin + 1 on each side;
// with no focus frame margin the text has the item's width less 2 pixels, which is what the
// hint rule counts on.
class NarrowTextMarginStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_FocusFrameHMargin) {
            return 0;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

LongItemHints::LongItemHints(QListWidget* list, HintController& hints)
    : QObject(list), list_(list), hints_(hints) {
    auto* style = new NarrowTextMarginStyle;
    style->setParent(this); // the list forgets a style that is gone
    list_->setStyle(style);
    list_->setTextElideMode(Qt::ElideNone);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->viewport()->setMouseTracking(true);
    list_->viewport()->installEventFilter(this);
    restTimer_.setSingleShot(true);
    restTimer_.setInterval(restMs);
    connect(&restTimer_, &QTimer::timeout, this, [this] { mouseRested(); });
    // Items that come or go under a resting mouse are a new rest.
    connect(list_->model(), &QAbstractItemModel::modelReset, this, [this] { forgetRow(); });
    connect(list_->model(), &QAbstractItemModel::rowsInserted, this, [this] { forgetRow(); });
}

bool LongItemHints::needsHint(int row) const {
    const QListWidgetItem* item = list_->item(row);
    if (item == nullptr) {
        return false;
    }
    const int itemWidth = list_->viewport()->width();
    return QFontMetrics(list_->font()).horizontalAdvance(item->text()) > itemWidth - 2;
}

bool LongItemHints::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        const int row = list_->indexAt(pos).row();
        if (row != row_) {
            row_ = row;
            if (row >= 0) {
                restTimer_.start();
            } else {
                restTimer_.stop();
            }
        }
        break;
    }
    case QEvent::Leave:
    case QEvent::Wheel:
        forgetRow();
        break;
    case QEvent::ToolTip:
        // The list has no hint of its own, and the view would take the item's hint away.
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void LongItemHints::forgetRow() {
    row_ = -1;
    restTimer_.stop();
}

void LongItemHints::mouseRested() {
    if (!needsHint(row_)) {
        return;
    }
    QWidget* viewport = list_->viewport();
    const QRect item = list_->visualItemRect(list_->item(row_));
    HintRequest request;
    request.widget = viewport;
    request.text = list_->item(row_)->text();
    request.pos = QPoint(list_->mapToGlobal(QPoint(0, 0)).x() + 1,
                         viewport->mapToGlobal(item.topLeft()).y() - 1);
    request.cursorRect = QRect(0, item.top(), viewport->width(), item.height());
    request.hidePauseMs = hidePauseMs;
    request.overlay = true;
    hints_.showHint(request);
}

} // namespace corvanteller
