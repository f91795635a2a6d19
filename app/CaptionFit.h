#pragma once

#include <QFont>
#include <QHash>
#include <QObject>
#include <QString>

class QWidget;

// Keeps every caption whole inside its control. A caption wider than its control
// is drawn condensed, then smaller (never below 8 points), then more condensed,
// rather than cut off. The font the layout gives a control is the upper bound.
// Captions are checked when their control paints, so a caption set from anywhere
// (a count, a status, a button turning into "Cancel") is fitted before it is seen.
class CaptionFit : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Fits the caption of a button, a check box or a one-line label.
    void watch(QWidget *control);
    // Fits a text box so that its longest line needs no wrapping.
    void watchLines(QWidget *textBox);

    // The font the layout last gave `control`, before any fitting.
    QFont baseFont(const QWidget *control) const;
    // Takes `control`'s current font as its new upper bound and fits it again.
    void rebase(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Fit {
        QFont base;
        QString caption;  // what was fitted last, and into how many pixels
        int room = -1;
        bool lines = false;
    };
    void fitIfChanged(QWidget *control, Fit &fit);

    QHash<const QWidget *, Fit> fits_;
};
