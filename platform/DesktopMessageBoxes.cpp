#include "platform/DesktopMessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QWidget>

#include <algorithm>

namespace platform {
namespace {

// What a person does with a window: the events a modal message holds back.
bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// The window a message belongs to: the one in use, else the program's window.
QWidget *ownerWindow()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible() && !qobject_cast<QMessageBox *>(window) && window->windowType() == Qt::Window)
            return window;
    return nullptr;
}

}  // namespace

void DesktopMessageBoxes::show(const QString &text, const QString &title, MessageIcon icon)
{
    // Owned by the window it belongs to (by nobody when there is none); deleted
    // when closed.
    auto *box = new QMessageBox(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, title,
                                text, QMessageBox::Ok, ownerWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::NonModal);
    connect(box, &QObject::destroyed, this, &DesktopMessageBoxes::forget);
    if (open_.empty())
        qApp->installEventFilter(this);
    open_.emplace_back(box);
    box->show();
    box->activateWindow();
}

std::vector<QMessageBox *> DesktopMessageBoxes::open() const
{
    std::vector<QMessageBox *> boxes;
    for (const QPointer<QMessageBox> &box : open_)
        if (box && box->isVisible())
            boxes.push_back(box);
    return boxes;
}

void DesktopMessageBoxes::forget(QObject *box)
{
    std::erase_if(open_, [box](const QPointer<QMessageBox> &b) { return !b || b == box; });
    if (open_.empty())
        qApp->removeEventFilter(this);
}

bool DesktopMessageBoxes::isInsideAMessage(const QObject *object) const
{
    const auto *widget = qobject_cast<const QWidget *>(object);
    if (!widget) {
        // A shortcut's action belongs to the widgets it is on.
        const auto *action = qobject_cast<const QAction *>(object);
        const QList<QObject *> owners = action ? action->associatedObjects() : QList<QObject *>{};
        return std::any_of(owners.begin(), owners.end(), [this](QObject *o) { return isInsideAMessage(o); });
    }
    const QWidget *window = widget->window();
    return std::any_of(open_.begin(), open_.end(), [window](const QPointer<QMessageBox> &b) { return b == window; });
}

bool DesktopMessageBoxes::eventFilter(QObject *watched, QEvent *event)
{
    const std::vector<QMessageBox *> boxes = open();
    if (boxes.empty())
        return false;
    if (event->type() == QEvent::Close && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow() &&
        !isInsideAMessage(watched)) {
        for (QMessageBox *box : boxes)
            if (box->parentWidget() == watched)
                box->close();
        return false;
    }
    if (!isInput(event->type()) || isInsideAMessage(watched))
        return false;
    // As a modal message would: the window waits, the message comes forward.
    if (event->type() == QEvent::MouseButtonPress) {
        QMessageBox *newest = boxes.back();
        newest->raise();
        newest->activateWindow();
        QApplication::beep();
    }
    return true;
}

}  // namespace platform
