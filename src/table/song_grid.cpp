// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/song_grid.h"

#include "table/song_table_model.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QWindow>

#include <cmath>

namespace corvanteller {

namespace {

bool isCharacterKey(const QKeyEvent* event) {
    const QString text = event->text();
    return !text.isEmpty() && text.front().isPrint();
}

// Paints the "#" column like a fixed column and lets the grid see every key typed into an
// in-place editor, since any typing counts as a change.
class GridDelegate final : public QStyledItemDelegate {
public:
    explicit GridDelegate(SongGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor != nullptr) {
            editor->installEventFilter(grid_);
        }
        return editor;
    }

    // Cells are drawn as a string grid draws them: the text 2 pixels from the left edge and
    // cut at the cell's border, never shortened with an ellipsis, so that the widths of the
    // "widest line" mode fit their texts exactly.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QString text = cell.text;
        cell.text.clear();
        if (index.column() == 0) {
            painter->fillRect(cell.rect, cell.palette.button());
        }
        const QWidget* widget = cell.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        const bool selected = (cell.state & QStyle::State_Selected) != 0;
        painter->save();
        painter->setClipRect(cell.rect);
        painter->setPen(cell.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(cell.rect.adjusted(textMargin, 0, -1, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter->restore();
    }

    static constexpr int textMargin = 2;

private:
    SongGrid* grid_;
};

// The cell tooltip's window: it never takes the mouse or the focus, so the pointer resting on
// it still rests on the cell below.
QLabel* makeCellTooltip(QWidget* owner) {
    auto* tooltip = new QLabel(owner, Qt::ToolTip | Qt::WindowTransparentForInput |
                                          Qt::WindowDoesNotAcceptFocus);
    tooltip->setAttribute(Qt::WA_TransparentForMouseEvents);
    tooltip->setAttribute(Qt::WA_ShowWithoutActivating);
    tooltip->setFocusPolicy(Qt::NoFocus);
    tooltip->setTextFormat(Qt::PlainText);
    tooltip->setWordWrap(true);
    tooltip->setAutoFillBackground(true);
    tooltip->setBackgroundRole(QPalette::ToolTipBase);
    tooltip->setForegroundRole(QPalette::ToolTipText);
    tooltip->setMargin(2);
    return tooltip;
}

// The size of a text laid out in font, wrapped at width pixels.
QSize wrappedTextSize(const QString& text, const QFont& font, int width) {
    QTextDocument document;
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setPlainText(text);
    document.setTextWidth(width);
    return {static_cast<int>(std::ceil(document.idealWidth())),
            static_cast<int>(std::ceil(document.size().height()))};
}

} // namespace

SongGrid::SongGrid(SongTableModel& model, QWidget* parent)
    : QTableView(parent), model_(model), cellTooltip_(makeCellTooltip(this)) {
    setObjectName(QStringLiteral("songGrid"));
    setModel(&model);
    setItemDelegate(new GridDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    // Captions start where the cells' texts start, so a narrow column shows their beginning.
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::SelectedClicked);
    setMouseTracking(true);
    viewport()->installEventFilter(this);
}

SongGrid::~SongGrid() {
    hideCellTooltip(true);
}

void SongGrid::commitOpenEditor() {
    if (state() != QAbstractItemView::EditingState) {
        return;
    }
    QWidget* editor = indexWidget(currentIndex());
    if (editor == nullptr) {
        return;
    }
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void SongGrid::showFromTopLeft() {
    // The layout of a table just replaced may still be pending; the headers' offsets place the
    // cells, so they go back with the scroll bars.
    doItemsLayout();
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
    horizontalHeader()->setOffset(horizontalScrollBar()->value());
    verticalHeader()->setOffset(verticalScrollBar()->value());
    viewport()->update();
}

void SongGrid::keyboardSearch(const QString& /*search*/) {}

void SongGrid::focusInEvent(QFocusEvent* event) {
    switch (event->reason()) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        Q_EMIT focusedByUser();
        break;
    default:
        break;
    }
    QTableView::focusInEvent(event);
}

void SongGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        Q_EMIT checkToggleRequested(currentIndex());
        return;
    }
    if (isCharacterKey(event)) {
        Q_EMIT characterTyped();
        // A click on the current cell waits a double-click's time before it opens the editor,
        // and the view refuses a key's edit while it waits. A double-click's trigger, which
        // this grid does not edit on, ends that wait, so the key opens the editor at once.
        if (state() != QAbstractItemView::EditingState &&
            (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ==
                Qt::NoModifier) {
            edit(currentIndex(), QAbstractItemView::DoubleClicked, event);
        }
    }
    QTableView::keyPressEvent(event);
}

void SongGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    hideCellTooltip(true);
    QTableView::mouseDoubleClickEvent(event);
}

bool SongGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport()) {
        if (event->type() == QEvent::MouseMove) {
            showCellTooltip(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (event->type() == QEvent::Leave && !pointerOverViewport()) {
            hideCellTooltip(true);
        }
    } else if (event->type() == QEvent::KeyPress &&
               isCharacterKey(static_cast<QKeyEvent*>(event))) {
        Q_EMIT characterTyped(); // typed into the in-place editor
    }
    return QTableView::eventFilter(watched, event);
}

// A window system may report leaving the grid when the tooltip appears under the pointer; only
// a pointer that is really elsewhere hides it.
bool SongGrid::pointerOverViewport() const {
    return viewport()->rect().contains(viewport()->mapFromGlobal(QCursor::pos()));
}

void SongGrid::showCellTooltip(QPoint viewportPos) {
    const QModelIndex index = indexAt(viewportPos);
    const int row = index.isValid() ? index.row() + 1 : -1;
    const int column = index.isValid() ? index.column() : -1;
    if (!tooltipTracker_.movedToNewCell(viewportPos, row, column)) {
        return;
    }
    hideCellTooltip(false);
    if (!index.isValid()) {
        return;
    }
    const QString& text = model_.cellRef(row, column);
    const int rowHeightNow = rowHeight(index.row());
    if (!cellMayShowTooltip(row, column, rowHeightNow, text)) {
        return;
    }
    const QFont font = window()->font();
    const int columnWidthNow = columnWidth(column);
    if (cellTextFits(rowHeightNow, columnWidthNow,
                     wrappedTextSize(text, font, tooltipWrapWidth(columnWidthNow)))) {
        return;
    }
    // Shown whole, wrapped only at the screen's width as a hint window wraps.
    const QPoint topLeft = viewport()->mapToGlobal(visualRect(index).topLeft()) + tooltipOffset;
    const QScreen* screen = this->screen();
    const int margins = 2 * cellTooltip_->margin();
    const int screenWidth = screen != nullptr ? screen->availableGeometry().width() : 1024;
    const QSize shown = wrappedTextSize(text, font, std::max(screenWidth - margins, 1));
    cellTooltip_->setFont(font);
    cellTooltip_->setText(text);
    cellTooltip_->setFixedSize(std::max(shown.width(), 1) + margins, shown.height() + margins);
    cellTooltip_->move(topLeft);
    cellTooltip_->show();
    // Qt 6.4 makes the window anew at its first showing and loses its input transparency on
    // X11; setting the flag again restores it.
    if (QWindow* window = cellTooltip_->windowHandle()) {
        window->setFlag(Qt::WindowTransparentForInput, false);
        window->setFlag(Qt::WindowTransparentForInput, true);
    }
}

void SongGrid::hideCellTooltip(bool forget) {
    cellTooltip_->hide();
    if (forget) {
        tooltipTracker_.forget();
    }
}

} // namespace corvanteller
