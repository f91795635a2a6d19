#include "platform/DesktopMessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QAbstractButton>
#include <QWidget>
#include <QWindow>

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

// A dialog of its window: a title and a close button, nothing to minimise or
// maximise, as the message boxes of every desktop have.
constexpr Qt::WindowFlags kMessageFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

}  // namespace

void DesktopMessageBoxes::show(const QString &text, const QString &title, MessageIcon icon)
{
    // Owned by the window it belongs to (by nobody when there is none); deleted
    // when closed.
    auto *box = new QMessageBox(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, title,
                                text, QMessageBox::Ok, ownerWindow(), kMessageFlags);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::NonModal);
    // Forgotten as soon as it is answered, and at the latest when it goes.
    connect(box, &QDialog::finished, this, [this, box] { forget(box); });
    connect(box, &QObject::destroyed, this, &DesktopMessageBoxes::forget);
    if (open_.empty())
        qApp->installEventFilter(this);
    open_.emplace_back(box);
    box->show();
    box->raise();
    box->activateWindow();
    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        ok->setFocus(Qt::ActiveWindowFocusReason);
}

std::vector<QMessageBox *> DesktopMessageBoxes::open() const
{
    std::vector<QMessageBox *> boxes;
    for (const QPointer<QWidget> &widget : open_)
        if (auto *box = qobject_cast<QMessageBox *>(widget.data()); box && box->isVisible())
            boxes.push_back(box);
    return boxes;
}

void DesktopMessageBoxes::forget(const QObject *box)
{
    std::erase_if(open_, [box](const QPointer<QWidget> &b) { return !b || b == box; });
    if (open_.empty())
        qApp->removeEventFilter(this);
}

// The window a message belongs to: the one in use, else the program's window.
// Never another message, which would take its followers with it when answered,
// nor a menu, which goes the moment it is chosen from.
QWidget *DesktopMessageBoxes::ownerWindow() const
{
    QWidget *owner = QApplication::activeWindow();
    while (owner && (owner->windowType() != Qt::Window || isOpenMessage(owner)))
        owner = owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
    if (owner)
        return owner;
    QWidget *hidden = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->windowType() != Qt::Window || isOpenMessage(window))
            continue;
        if (window->isVisible())
            return window;
        if (!hidden)
            hidden = window;
    }
    return hidden;
}

bool DesktopMessageBoxes::isOpenMessage(const QObject *object) const
{
    return object && std::any_of(open_.begin(), open_.end(), [object](const QPointer<QWidget> &b) { return b == object; });
}

bool DesktopMessageBoxes::isInsideAMessage(const QObject *object) const
{
    if (const auto *widget = qobject_cast<const QWidget *>(object))
        return isOpenMessage(widget->window());
    // Input from the window system reaches a message's window before its widgets.
    if (const auto *window = qobject_cast<const QWindow *>(object))
        return std::any_of(open_.begin(), open_.end(),
                           [window](const QPointer<QWidget> &b) { return b && b->windowHandle() == window; });
    // A shortcut's action belongs to the widgets it is on.
    const auto *action = qobject_cast<const QAction *>(object);
    const QList<QObject *> owners = action ? action->associatedObjects() : QList<QObject *>{};
    return std::any_of(owners.begin(), owners.end(), [this](const QObject *o) { return isInsideAMessage(o); });
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
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) {
        QMessageBox *newest = boxes.back();
        newest->raise();
        newest->activateWindow();
        QApplication::beep();
    }
    return true;
}

}  // namespace platform
