#include "search/ResultListAccessibility.h"

#include "platform/FileNames.h"
#include "search/ResultList.h"

#include <QItemSelectionModel>

namespace search {

namespace {

QAccessibleInterface *describeResultList(const QString &className, QObject *object)
{
    if (className != QLatin1String(ResultList::staticMetaObject.className()))
        return nullptr;
    auto *const list = qobject_cast<ResultList *>(object);
    return list ? new ResultListAccessible(list) : nullptr;
}

}  // namespace

void ResultListAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&describeResultList);
        return true;
    }();
    Q_UNUSED(installed);
}

ResultListAccessible::ResultListAccessible(ResultList *list)
    : QAccessibleWidget(list, QAccessible::List)
{
}

ResultListAccessible::~ResultListAccessible()
{
    forgetRows();
}

ResultList *ResultListAccessible::list() const
{
    return static_cast<ResultList *>(widget());
}

void ResultListAccessible::forgetRows() const
{
    for (const QAccessible::Id id : std::as_const(rows_))
        QAccessible::deleteAccessibleInterface(id);
    rows_.clear();
}

int ResultListAccessible::childCount() const
{
    return list()->model()->rowCount();
}

QAccessibleInterface *ResultListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (generation_ != list()->contentsGeneration()) {
        forgetRows();
        generation_ = list()->contentsGeneration();
    }
    if (const auto known = rows_.constFind(index); known != rows_.constEnd())
        return QAccessible::accessibleInterface(*known);
    auto *const row = new ResultRowAccessible(list(), index, generation_);
    rows_.insert(index, QAccessible::registerAccessibleInterface(row));
    return row;
}

int ResultListAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child || child->parent() != this || child->role() != QAccessible::ListItem || !child->isValid())
        return -1;
    return static_cast<const ResultRowAccessible *>(child)->row();
}

QAccessibleInterface *ResultListAccessible::childAt(int x, int y) const
{
    const QPoint local = list()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = list()->indexAt(local);
    return index.isValid() ? child(index.row()) : nullptr;
}

QAccessibleInterface *ResultListAccessible::focusChild() const
{
    const QModelIndex current = list()->currentIndex();
    return current.isValid() ? child(current.row()) : nullptr;
}

ResultRowAccessible::ResultRowAccessible(ResultList *list, int row, quint64 generation)
    : list_(list), row_(row), generation_(generation)
{
}

bool ResultRowAccessible::isValid() const
{
    return list_ && list_->contentsGeneration() == generation_ && row_ < list_->model()->rowCount();
}

QWindow *ResultRowAccessible::window() const
{
    return list_ ? list_->window()->windowHandle() : nullptr;
}

QAccessibleInterface *ResultRowAccessible::parent() const
{
    return list_ ? QAccessible::queryAccessibleInterface(list_.data()) : nullptr;
}

QString ResultRowAccessible::text(QAccessible::Text kind) const
{
    if (kind != QAccessible::Name || !isValid())
        return {};
    return platform::shownFileName(list_->List(row_));
}

QRect ResultRowAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect local = list_->visualRect(list_->model()->index(row_, 0)).intersected(list_->viewport()->rect());
    return local.isEmpty() ? QRect() : QRect(list_->viewport()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State ResultRowAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const QModelIndex index = list_->model()->index(row_, 0);
    state.selectable = true;
    state.focusable = true;
    state.selected = list_->selectionModel()->isSelected(index);
    state.focused = list_->hasFocus() && list_->currentIndex() == index;
    if (rect().isEmpty()) {
        state.invisible = true;
        state.offscreen = true;
    }
    return state;
}

void *ResultRowAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
}

QStringList ResultRowAccessible::actionNames() const
{
    return {setFocusAction()};
}

// Moving the focus to an entry selects it, as moving there with the arrow keys does.
void ResultRowAccessible::doAction(const QString &actionName)
{
    if (actionName != setFocusAction() || !isValid())
        return;
    list_->setFocus(Qt::OtherFocusReason);
    list_->setListIndex(row_);
}

}  // namespace search
