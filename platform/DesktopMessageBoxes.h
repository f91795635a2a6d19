#pragma once

#include "platform/Services.h"

#include <QObject>
#include <QPointer>

#include <vector>

class QMessageBox;
class QWidget;

namespace platform {

// Messages in message boxes that hold the window's input as modal ones do, but
// not its close button: the toolkit drops the window system's close request for
// a window under a modal dialog, and a person closing the program should not have
// to answer a message first. Closing the window closes its messages with it.
// A message waits for nobody: it is shown and the program goes on.
class DesktopMessageBoxes final : public QObject, public MessageBoxes {
    Q_OBJECT
public:
    void show(const QString &text, const QString &title, MessageIcon icon) override;

    // The messages shown now, oldest first.
    std::vector<QMessageBox *> open() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void forget(const QObject *box);
    bool isOpenMessage(const QObject *object) const;
    bool isInsideAMessage(const QObject *object) const;
    QWidget *ownerWindow() const;

    // Kept as widgets: a box's last events come from its base classes'
    // destructors, when it is a message box no more.
    std::vector<QPointer<QWidget>> open_;
};

}  // namespace platform
