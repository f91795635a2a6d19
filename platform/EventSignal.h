#pragma once

#include <QEvent>
#include <QObject>

namespace platform {

// Turns one kind of event of a widget into a signal, for the events Qt has no
// signal for (a text box getting the focus, a button pressed with the right
// mouse button), so that every event is routed the same way: by a connection.
class EventSignal : public QObject {
    Q_OBJECT
public:
    // Watches `type` on `target`; the watcher is a child of `target`.
    static EventSignal *watch(QObject *target, QEvent::Type type);

signals:
    void happened(QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EventSignal(QObject *target, QEvent::Type type);
    QEvent::Type type_;
};

}  // namespace platform
