#pragma once

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QLabel;

namespace platform {

// The status line and the time-sliced yield of the long loops. A loop sets its
// text here as a value at every step; the text reaches the label when pending
// events are delivered, so whatever runs inside a yield sees exactly the text the
// loop last set, without a text layout per step. Events are delivered when a
// time slice has passed since the last delivery.
class StatusLine {
public:
    StatusLine(QLabel *label, int sliceMs);

    QString text() const;
    // Shows `text` at once.
    void setText(const QString &text);
    // Keeps `text` for the next delivery.
    void defer(const QString &text);
    // Pushes what is kept into the label, with every other deferred text.
    void push();
    // Forgets what is kept (a caller is about to set the texts itself).
    void drop();

    // Runs `push` and `drop` of another deferred text along with this one's (the
    // totals of a walk, the rows of the list).
    void addDeferred(std::function<void()> push, std::function<void()> drop = {});

    // Delivers all pending events now, after pushing every deferred text.
    void deliverPendingEvents();
    // Delivers pending events when a time slice has passed since the last delivery.
    void yieldIfDue();

private:
    QLabel *label_;
    int sliceMs_;
    std::optional<QString> pending_;
    QElapsedTimer sinceDelivery_;
    struct Deferred {
        std::function<void()> push;
        std::function<void()> drop;
    };
    std::vector<Deferred> others_;
};

}  // namespace platform
