#include "search/ResultList.h"

#include "platform/FileNames.h"
#include "platform/Palette.h"
#include "search/ResultListAccessibility.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QStyle>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace search {

int ResultListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : shown_;
}

QVariant ResultListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_)
        return {};
    // Bytes of a name that are not valid UTF-8 show as U+FFFD; the entry keeps them.
    return platform::shownFileName(entries_.at(index.row()));
}

void ResultListModel::flush()
{
    const int total = count();
    if (total == shown_)
        return;
    beginInsertRows({}, shown_, total - 1);
    shown_ = total;
    endInsertRows();
}

void ResultListModel::clear()
{
    beginResetModel();
    entries_.clear();
    shown_ = 0;
    endResetModel();
}

ResultList::ResultList(QWidget *parent)
    : QAbstractItemView(parent)
{
    ResultListAccessible::install();
    setModel(&model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // A click is a change of the selection, not of the current row: a mouse press
    // makes the clicked row current before it selects it, so the selection is the
    // moment at which the clicked entry is the list's index.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!settingFromCode_) {
            ++userSelections_;
            emit Click();
        }
    });
}

void ResultList::flushPending()
{
    model_.flush();
    if (newestPending_) {
        newestPending_ = false;
        setListIndex(model_.count() - 1);
    }
}

void ResultList::Clear()
{
    newestPending_ = false;
    settingFromCode_ = true;
    model_.clear();
    settingFromCode_ = false;
}

QString ResultList::List(int index) const
{
    if (index < 0 || index >= model_.count())
        return {};
    return model_.at(index);
}

int ResultList::ListIndex() const
{
    if (newestPending_)
        return model_.count() - 1;
    const QModelIndex current = selectionModel()->currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

bool ResultList::setListIndex(int index)
{
    if (index < -1 || index >= model_.count())
        return false;
    newestPending_ = false;
    model_.flush();
    settingFromCode_ = true;
    if (index == -1) {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    } else {
        const QModelIndex target = model_.index(index);
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        scrollTo(target);
    }
    settingFromCode_ = false;
    emit Click();
    return true;
}

int ResultList::TopIndex() const
{
    return verticalScrollBar()->value();
}

int ResultList::entryHeight() const
{
    return rowHeight();
}

void ResultList::setBackColor(const QColor &colour)
{
    platform::setFixedColour(this, QPalette::Base, colour);
}

QColor ResultList::backColor() const
{
    return palette().color(QPalette::Base);
}

void ResultList::mousePressEvent(QMouseEvent *event)
{
    emit MouseDown(event->button(), event->position().toPoint());
    // A right button going down pops up the action menu over the selection as it
    // stands; a press below the last entry leaves the selection alone.
    if (event->button() == Qt::RightButton || !indexAt(event->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        return;
    }
    // A click on the entry already selected is a click all the same: it previews
    // that entry again (after a search, say, to bring up the copy-image button).
    const unsigned selectionsBefore = userSelections_;
    QAbstractItemView::mousePressEvent(event);
    if (userSelections_ == selectionsBefore && event->button() == Qt::LeftButton &&
        ListIndex() == indexAt(event->position().toPoint()).row())
        emit Click();
}

void ResultList::mouseDoubleClickEvent(QMouseEvent *event)
{
    QAbstractItemView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit DblClick();
}

void ResultList::mouseMoveEvent(QMouseEvent *event)
{
    QAbstractItemView::mouseMoveEvent(event);
    emit MouseMove(event->position().toPoint());
}

void ResultList::keyPressEvent(QKeyEvent *event)
{
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey) {
        QAbstractItemView::keyPressEvent(event);
        return;
    }
    const QModelIndex current = currentIndex();
    const QRect row = current.isValid() ? visualRect(current) : QRect();
    const QPoint local = row.isValid() && viewport()->rect().intersects(row) ? row.bottomLeft() : QPoint(0, 0);
    emit ContextMenuKey(viewport()->mapToGlobal(local));
    event->accept();
}

// --- Rows by arithmetic ---
// The rows are laid out by nothing but their height.

int ResultList::rowHeight() const
{
    if (rowHeight_ == 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.features |= QStyleOptionViewItem::HasDisplay;
        option.text = QStringLiteral("Xg");
        const QSize size = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
        rowHeight_ = std::max({size.height(), fontMetrics().height(), 1});
    }
    return rowHeight_;
}

int ResultList::rowsShown() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

int ResultList::rowAt(int y) const
{
    return verticalScrollBar()->value() + (y < 0 ? -1 - (-y - 1) / rowHeight() : y / rowHeight());
}

// The horizontal extent follows the longest entry by characters, measured when it
// comes: one text measurement per new longest entry, not one per entry.
void ResultList::measureRows(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        const int length = int(model_.entries().bytesAt(row).size());
        if (length <= longest_)
            continue;
        longest_ = length;
        longestRow_ = row;
    }
    if (longestRow_ < 0)
        return;
    const QString text = platform::shownFileName(model_.at(longestRow_));
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    widest_ = std::max(widest_, fontMetrics().horizontalAdvance(text) + margin + fontMetrics().averageCharWidth());
}

QRect ResultList::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != &model_ || index.row() >= model_.rowCount())
        return {};
    const int h = rowHeight();
    return QRect(-horizontalOffset(), (index.row() - verticalScrollBar()->value()) * h,
                 std::max(widest_, viewport()->width()), h);
}

QModelIndex ResultList::indexAt(const QPoint &point) const
{
    if (point.y() < 0 || point.x() < 0 || point.x() >= std::max(widest_, viewport()->width()) - horizontalOffset())
        return {};
    const int row = rowAt(point.y());
    return row >= 0 && row < model_.rowCount() ? model_.index(row) : QModelIndex();
}

void ResultList::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid() || index.model() != &model_)
        return;
    const int row = index.row();
    const int shown = rowsShown();
    int top = verticalScrollBar()->value();
    switch (hint) {
    case EnsureVisible:
        if (row < top)
            top = row;
        else if (row >= top + shown)
            top = row - shown + 1;
        break;
    case PositionAtTop:
        top = row;
        break;
    case PositionAtBottom:
        top = row - shown + 1;
        break;
    case PositionAtCenter:
        top = row - shown / 2;
        break;
    }
    // The rows may have been added since the range was last set.
    updateGeometries();
    verticalScrollBar()->setValue(top);
}

void ResultList::reset()
{
    QAbstractItemView::reset();
    ++generation_;
    widest_ = 0;
    longest_ = 0;
    longestRow_ = -1;
    updateGeometries();
    viewport()->update();
}

void ResultList::updateGeometries()
{
    const int shown = rowsShown();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(shown);
    verticalScrollBar()->setRange(0, std::max(0, model_.rowCount() - shown));
    const int width = viewport()->width();
    horizontalScrollBar()->setSingleStep(std::max(1, 2 * fontMetrics().averageCharWidth()));
    horizontalScrollBar()->setPageStep(std::max(1, width));
    horizontalScrollBar()->setRange(0, std::max(0, widest_ - width));
    QAbstractItemView::updateGeometries();
}

QSize ResultList::viewportSizeHint() const
{
    return QSize(widest_, int(std::min<qint64>(qint64(model_.rowCount()) * rowHeight(), QWIDGETSIZE_MAX)));
}

int ResultList::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int ResultList::verticalOffset() const
{
    return verticalScrollBar()->value() * rowHeight();
}

QModelIndex ResultList::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int rows = model_.rowCount();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model_.index(0);
    int row = current.row();
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        --row;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row -= rowsShown();
        break;
    case MovePageDown:
        row += rowsShown();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        // One line per entry: sideways is a scroll, the entry stays.
        horizontalScrollBar()->triggerAction(cursorAction == MoveLeft ? QAbstractSlider::SliderSingleStepSub
                                                                      : QAbstractSlider::SliderSingleStepAdd);
        break;
    }
    return model_.index(std::clamp(row, 0, rows - 1));
}

void ResultList::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    const QRect area = rect.normalized();
    const int first = std::max(0, rowAt(area.top()));
    const int last = std::min(model_.rowCount() - 1, rowAt(area.bottom()));
    if (first > last) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    selectionModel()->select(QItemSelection(model_.index(first), model_.index(last)), command);
}

QRegion ResultList::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    const int top = verticalScrollBar()->value();
    const int bottom = top + rowsShown();
    for (const QItemSelectionRange &range : selection) {
        if (!range.isValid() || range.model() != &model_)
            continue;
        const int first = std::max(range.top(), top);
        const int last = std::min({range.bottom(), bottom, model_.rowCount() - 1});
        if (first <= last)
            region += visualRect(model_.index(first)).united(visualRect(model_.index(last)));
    }
    return region;
}

void ResultList::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State base = option.state;
    const QModelIndex current = currentIndex();
    const bool focused = hasFocus();
    const int first = std::max(0, rowAt(event->rect().top()));
    const int last = std::min(model_.rowCount() - 1, rowAt(event->rect().bottom()));
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model_.index(row);
        option.rect = visualRect(index);
        option.state = base;
        if (selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (focused && index == current)
            option.state |= QStyle::State_HasFocus;
        itemDelegate()->paint(&painter, option, index);
    }
}

void ResultList::changeEvent(QEvent *event)
{
    QAbstractItemView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        rowHeight_ = 0;
        widest_ = 0;
        if (longestRow_ >= 0)
            measureRows(longestRow_, longestRow_);
        updateGeometries();
    }
}

void ResultList::scrollContentsBy(int, int)
{
    viewport()->update();
}

void ResultList::rowsInserted(const QModelIndex &parent, int start, int end)
{
    measureRows(start, end);
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    if (start <= verticalScrollBar()->value() + rowsShown())
        viewport()->update();
}

void ResultList::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
#if QT_CONFIG(accessibility)
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(current.row());
        QAccessible::updateAccessibility(&focus);
    }
#endif
}

void ResultList::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
#if QT_CONFIG(accessibility)
    if (QAccessible::isActive() && !selected.isEmpty() && selected.first().isValid()) {
        QAccessibleEvent selection(this, QAccessible::Selection);
        selection.setChild(selected.first().top());
        QAccessible::updateAccessibility(&selection);
    }
#endif
}

}  // namespace search
