#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace search {

class ResultList;

// What assistive technology sees of the result list: a list whose children are
// its entries. Qt describes its own list views this way but gives a view of
// another kind no rows at all, so the list brings its own description. Rows are
// described when asked for, never all at once: a million entries cost nothing
// until a screen reader visits them.
class ResultListAccessible : public QAccessibleWidget {
public:
    explicit ResultListAccessible(ResultList *list);
    ~ResultListAccessible() override;
    ResultListAccessible(const ResultListAccessible &) = delete;
    ResultListAccessible &operator=(const ResultListAccessible &) = delete;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    // Lets Qt find this description for every result list.
    static void install();

private:
    ResultList *list() const;
    void forgetRows() const;

    // Row interfaces handed out, by row, for the list's contents as they were
    // when `generation_` was read; a new list of entries makes them stale.
    mutable QHash<int, QAccessible::Id> rows_;
    mutable quint64 generation_ = 0;
};

// One entry of the result list.
class ResultRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ResultRowAccessible(ResultList *list, int row, quint64 generation);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    int row() const { return row_; }

private:
    QPointer<ResultList> list_;
    const int row_;
    const quint64 generation_;
};

}  // namespace search
