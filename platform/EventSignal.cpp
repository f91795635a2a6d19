#include "platform/EventSignal.h"

namespace platform {

EventSignal::EventSignal(QObject *target, QEvent::Type type)
    : QObject(target)
    , type_(type)
{
    target->installEventFilter(this);
}

EventSignal *EventSignal::watch(QObject *target, QEvent::Type type)
{
    return new EventSignal(target, type);
}

bool EventSignal::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == type_)
        emit happened(event);
    return QObject::eventFilter(watched, event);
}

}  // namespace platform
