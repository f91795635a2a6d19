#include "platform/StatusLine.h"

#include <QCoreApplication>
#include <QLabel>

namespace platform {

StatusLine::StatusLine(QLabel *label, int sliceMs)
    : label_(label)
    , sliceMs_(sliceMs)
{
    sinceDelivery_.start();
}

QString StatusLine::text() const
{
    return label_->text();
}

void StatusLine::setText(const QString &text)
{
    pending_.reset();
    label_->setText(text);
}

void StatusLine::defer(const QString &text)
{
    pending_ = text;
}

void StatusLine::push()
{
    if (pending_) {
        label_->setText(*pending_);
        pending_.reset();
    }
    for (const Deferred &d : others_)
        d.push();
}

void StatusLine::drop()
{
    pending_.reset();
    for (const Deferred &d : others_)
        if (d.drop)
            d.drop();
}

void StatusLine::addDeferred(std::function<void()> push, std::function<void()> drop)
{
    others_.push_back({std::move(push), std::move(drop)});
}

void StatusLine::deliverPendingEvents()
{
    push();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceDelivery_.restart();
}

void StatusLine::yieldIfDue()
{
    if (sinceDelivery_.elapsed() >= sliceMs_)
        deliverPendingEvents();
}

}  // namespace platform
