#pragma once

#include "search/EntryList.h"

#include <QAbstractListModel>
#include <QColor>
#include <QAbstractItemView>
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
    void append(const EntryList &entries) { entries_.append(entries); }
    void flush();
    void clear();
    int count() const { return int(entries_.size()); }
    QString at(int i) const { return entries_.at(i); }
    const EntryList &entries() const { return entries_; }

private:
    EntryList entries_;
    int shown_ = 0;
};

// The list box of the window: one full path per entry, never sorted. Every entry
// is one line of the same height, so the view places, finds and paints rows by
// arithmetic: adding, selecting or scrolling to an entry costs the same with a
// million entries as with ten (a list view lays out every row each time rows are
// added). The vertical scroll bar counts rows, not pixels.
class ResultList : public QAbstractItemView {
    Q_OBJECT
public:
    explicit ResultList(QWidget *parent = nullptr);

    void AddItem(const QString &entry) { model_.append(entry); }
    void AddItems(const EntryList &entries) { model_.append(entries); }
    void Clear();
    int ListCount() const { return model_.count(); }
    // The entry at `index`; the empty text for an index outside the list.
    QString List(int index) const;
    // The entries; a copy is a snapshot of the list as it is now.
    const EntryList &entries() const { return model_.entries(); }
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
    // Changes whenever the list is emptied: rows described before then are gone.
    quint64 contentsGeneration() const { return generation_; }
    void setBackColor(const QColor &colour);
    QColor backColor() const;
    // Shows the entries added since the last flush, and the newest one selected
    // if that was asked for.
    void flushPending();

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;
    void reset() override;

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

    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    QSize viewportSizeHint() const override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &) const override { return false; }
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;

private:
    int rowHeight() const;
    // Rows wholly inside the viewport (at least one).
    int rowsShown() const;
    int rowAt(int y) const;
    void measureRows(int first, int last);

    ResultListModel model_;
    bool settingFromCode_ = false;
    unsigned userSelections_ = 0;  // selections a person made, counted
    bool newestPending_ = false;
    mutable int rowHeight_ = 0;  // 0: measure again (the font or style changed)
    int widest_ = 0;             // pixels of the widest entry measured
    int longest_ = 0;            // characters of the longest entry
    int longestRow_ = -1;
    quint64 generation_ = 0;
};

}  // namespace search
