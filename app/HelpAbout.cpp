#include "app/HelpAbout.h"

#include "app/Form1.h"
#include "preview/SelectionPreview.h"
#include "platform/Brand.h"
#include "platform/PlainText.h"
#include "preview/PictureBox.h"
#include "search/ResultList.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QUrl>

namespace helpabout {

QString aboutText()
{
    return QStringLiteral("Quorvel File Search\nVersion 13.1.9\nby Quorvel Software (") + brand::kContactEmail +
           QLatin1Char(')');
}

QString helpText()
{
    return QStringLiteral(
        "Unlike Microsoft Windows built-in search utility, Quorvel File Search features provide options for Preview "
        "of Image while searching to let you find exactly the files\\Images you are looking for.");
}

void Command2_Click(Form1 &f)
{
    f.Text5->show();
    f.messageBox(aboutText(), brand::kAppTitle);
}

void Helpf1_Click(Form1 &f)
{
    f.messageBox(helpText(), brand::kAppTitle);
}

void Picture2_MouseUp(Form1 &f, Qt::MouseButton button)
{
    if (button != Qt::RightButton) {
        f.services().shell->openUrl(QUrl(brand::kWebAddress));
        return;
    }
    preview::List1_Click(f);
    preview::PictureBox &box = *f.Picture1;
    box.setScaleMode(preview::ScaleModes::Pixels);
    const QImage shown = box.rendered();
    if (f.state.FlipStep == 0) {
        box.replaceCanvas(shown.mirrored(true, false));
    } else if (f.state.FlipStep == 1) {
        box.replaceCanvas(shown.mirrored(false, true));
    } else {
        f.state.FlipStep = 0;
        return;
    }
    ++f.state.FlipStep;
}

void List1_MouseMove(Form1 &f, QPoint position)
{
    const int entry = f.List1->TopIndex() + position.y() / f.List1->entryHeight();
    if (f.state.HoverTipSet && entry == f.state.HoveredEntry)
        return;
    f.state.HoverTipSet = true;
    f.state.HoveredEntry = entry;
    f.List1->setToolTip(platform::plainToolTip(f.List1->List(entry)));
}

}  // namespace helpabout
