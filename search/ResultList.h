#pragma once

#include <QAbstractListModel>
#include <QColor>
#include <QListView>
#include <QStringList>

namespace search {

// The entries of the result list. Appends are O(1) and only become rows of the
// model when flushed, so a walk adding thousands of entries between two
// deliveries of events costs the view one insertion, not thousands.
class ResultListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    void append(const QString &entry) { entries_.append(entry); }
    void flush();
    void clear();
    int count() const { return int(entries_.size()); }
    const QString &at(int i) const { return entries_.at(i); }
    const QStringList &entries() const { return entries_; }

private:
    QStringList entries_;
    int shown_ = 0;
};

// The list box of the window: one full path per entry, never sorted.
class ResultList : public QListView {
    Q_OBJECT
public:
    explicit ResultList(QWidget *parent = nullptr);

    void AddItem(const QString &entry) { model_.append(entry); }
    void Clear();
    int ListCount() const { return model_.count(); }
    // The entry at `index`; the empty text for an index outside the list.
    QString List(int index) const;
    const QStringList &entries() const { return model_.entries(); }
    int ListIndex() const;
    // Selecting from code raises Click just as a user's selection does; an index
    // outside -1 .. count-1 is refused.
    bool setListIndex(int index);
    // Selects the newest entry when the entries are next flushed: a walk that
    // selects every entry it finds costs the view one selection per delivery of
    // events, not one (and a layout of every row) per entry.
    void selectNewestOnFlush() { newestPending_ = true; }
    // The selected entry's text, empty when nothing is selected.
    QString Text() const { return List(ListIndex()); }
    int TopIndex() const;
    // Height of one entry in pixels.
    int entryHeight() const;
    void setBackColor(const QColor &colour);
    QColor backColor() const;
    // Shows the entries added since the last flush, and the newest one selected
    // if that was asked for.
    void flushPending();

signals:
    void Click();
    void DblClick();
    void MouseDown(Qt::MouseButton button, QPoint position);
    void MouseMove(QPoint position);
    // The keyboard asked for the entry's context menu (Menu key, Shift+F10), at
    // this point of the screen.
    void ContextMenuKey(QPoint globalPosition);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    ResultListModel model_;
    bool settingFromCode_ = false;
    unsigned userSelections_ = 0;  // selections a person made, counted
    bool newestPending_ = false;
};

}  // namespace search
