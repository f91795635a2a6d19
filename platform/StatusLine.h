#pragma once

#include <QString>

class QLabel;

namespace platform {

// The status line: what a walk, an export or the summary says last.
class StatusLine {
public:
    explicit StatusLine(QLabel *label);

    QString text() const;
    void setText(const QString &text);

private:
    QLabel *label_;
};

}  // namespace platform
