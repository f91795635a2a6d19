#include "platform/StatusLine.h"

#include <QLabel>

namespace platform {

StatusLine::StatusLine(QLabel *label)
    : label_(label)
{
}

QString StatusLine::text() const
{
    return label_->text();
}

void StatusLine::setText(const QString &text)
{
    label_->setText(text);
}

}  // namespace platform
