#include "search/ResultList.h"

#include "platform/FileNames.h"
#include "platform/Palette.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

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
    : QListView(parent)
{
    setModel(&model_);
    setUniformItemSizes(true);
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
    const QModelIndex top = indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

int ResultList::entryHeight() const
{
    const int h = sizeHintForRow(0);
    return h > 0 ? h : fontMetrics().height();
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
    QListView::mousePressEvent(event);
    if (userSelections_ == selectionsBefore && event->button() == Qt::LeftButton &&
        ListIndex() == indexAt(event->position().toPoint()).row())
        emit Click();
}

void ResultList::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit DblClick();
}

void ResultList::mouseMoveEvent(QMouseEvent *event)
{
    QListView::mouseMoveEvent(event);
    emit MouseMove(event->position().toPoint());
}

void ResultList::keyPressEvent(QKeyEvent *event)
{
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey) {
        QListView::keyPressEvent(event);
        return;
    }
    const QModelIndex current = currentIndex();
    const QRect row = current.isValid() ? visualRect(current) : QRect();
    const QPoint local = row.isValid() && viewport()->rect().intersects(row) ? row.bottomLeft() : QPoint(0, 0);
    emit ContextMenuKey(viewport()->mapToGlobal(local));
    event->accept();
}

}  // namespace search
