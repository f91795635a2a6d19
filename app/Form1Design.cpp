// The controls and menus of the window with their design values.
#include "app/AboutTexts.h"
#include "app/BackgroundArea.h"
#include "app/Form1.h"
#include "platform/Brand.h"
#include "platform/Palette.h"
#include "platform/Twips.h"
#include "preview/PictureBox.h"
#include "search/FolderList.h"
#include "search/ResultList.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>

namespace {

// The design fonts are Windows fonts. Their stand-ins were chosen by width: of the
// sans-serif families Debian packages (DejaVu Sans and Sans Condensed, Liberation
// Sans, Arimo, Nimbus Sans, FreeSans, Liberation Sans Narrow), Liberation Sans
// Narrow comes nearest the average letter width of "MS Sans Serif" 8 point (5.3
// against about 5.6 pixels; the others 6.1 to 6.8) and is the only one in which
// every caption, "99999 from 99999" and each line of the thank-you text fit their
// controls at the design size.
void installFontStandIns()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans Narrow"));
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"));
}

QImage renderBanner(const preview::PictureBox &box)
{
    QImage image = box.makeSharpImage(box.innerSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer svg(QStringLiteral(":/banner.svg"));
    QPainter painter(&image);
    svg.render(&painter);
    return image;
}

QColor rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

// A check box fills its ground from the Button role, not the Window role, and
// draws its caption with WindowText: both get the colour.
void setCheckBoxColour(QCheckBox *box, const QColor &colour)
{
    platform::setFixedColour(box, QPalette::Window, colour);
    platform::setFixedColour(box, QPalette::Button, colour);
}

QPushButton *button(QWidget *parent, const QString &caption, const QString &tip, const QColor &colour)
{
    auto *b = new QPushButton(caption, parent);
    if (!tip.isEmpty())
        b->setToolTip(tip);
    platform::setFixedColour(b, QPalette::Button, colour);
    return b;
}

QLabel *label(QWidget *parent, const QString &tip, const QColor &colour)
{
    auto *l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    if (!tip.isEmpty())
        l->setToolTip(tip);
    if (colour.isValid())
        platform::setFixedColour(l, QPalette::Window, colour);
    return l;
}

}  // namespace

QWidget *Form1::place(QWidget *control, const QString &typeName, int left, int top, int width,
                      int height, QWidget *container)
{
    const double tppX = platform::twipsPerPixelX();
    const double tppY = platform::twipsPerPixelY();
    control->setGeometry(qRound(left / tppX), qRound(top / tppY), qRound(width / tppX),
                         qRound(height / tppY));
    controls_.push_back({control, typeName, container ? container : area_});
    return control;
}

void Form1::buildControls()
{
    const double tppX = platform::twipsPerPixelX();
    const double tppY = platform::twipsPerPixelY();
    area_ = new BackgroundArea(this);
    area_->setObjectName(QStringLiteral("Form1"));
    area_->setWallpaper(services_.wallpaperPath);
    setCentralWidget(area_);
    area_->resize(qRound(13275 / tppX), qRound(5610 / tppY));
    installFontStandIns();
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    List1 = new search::ResultList(area_);
    place(List1, QStringLiteral("ListBox"), 600, 720, 8055, 1425);

    Label4 = label(area_, QStringLiteral("Showing selected record no."), rgb(224, 224, 224));
    place(Label4, QStringLiteral("Label"), 600, 240, 1215, 375);

    Label1 = label(area_, {}, rgb(255, 192, 255));
    place(Label1, QStringLiteral("Label"), 120, 5040, 12135, 375);

    Text3 = new QLineEdit(area_);
    platform::setFixedColour(Text3, QPalette::Base, rgb(255, 255, 0));
    Text3->hide();
    place(Text3, QStringLiteral("TextBox"), 600, 2640, 5415, 285);

    Text4 = new QPlainTextEdit(area_);
    platform::setFixedColour(Text4, QPalette::Base, rgb(255, 255, 0));
    Text4->hide();
    place(Text4, QStringLiteral("TextBox"), 600, 3120, 5415, 645);

    Drive1 = new QComboBox(area_);
    Drive1->setToolTip(QStringLiteral("Select Drive"));
    platform::setFixedColour(Drive1, QPalette::Button, rgb(255, 192, 192));
    platform::setFixedColour(Drive1, QPalette::Base, rgb(255, 192, 192));
    place(Drive1, QStringLiteral("DriveListBox"), 600, 3960, 1575, 315);

    Dir1 = new search::FolderList(area_);
    Dir1->setToolTip(QStringLiteral("Select Directory"));
    platform::setFixedColour(Dir1, QPalette::Base, rgb(255, 224, 192));
    place(Dir1, QStringLiteral("DirListBox"), 2280, 3960, 2415, 990);

    Text1 = new QLineEdit(QStringLiteral("c:\\"), area_);
    Text1->hide();
    place(Text1, QStringLiteral("TextBox"), 600, 4200, 1455, 315);

    Text2 = new QLineEdit(QStringLiteral("*.jpg"), area_);
    Text2->setToolTip(QStringLiteral("write your file specification here,  e.g. *.jpg;*.bmp"));
    platform::setFixedColour(Text2, QPalette::Base, rgb(255, 255, 192));
    place(Text2, QStringLiteral("TextBox"), 4800, 3960, 1215, 315);

    Command1 = button(area_, QStringLiteral("Search"), QStringLiteral("click here to search"), rgb(192, 255, 192));
    place(Command1, QStringLiteral("CommandButton"), 6360, 3960, 825, 735);

    Check1 = new QCheckBox(QStringLiteral("Show Listbox while searching"), area_);
    Check1->setChecked(true);
    {
        QFont f(QStringLiteral("Arial Narrow"));
        f.setPointSizeF(8.25);
        Check1->setFont(f);
    }
    setCheckBoxColour(Check1, rgb(192, 192, 192));
    place(Check1, QStringLiteral("CheckBox"), 6360, 2880, 2295, 375);

    Check2 = new QCheckBox(QStringLiteral("Show Image Preview while searching"), area_);
    Check2->setChecked(true);
    {
        QFont f(QStringLiteral("Arial Narrow"));
        f.setPointSizeF(6.75);
        Check2->setFont(f);
    }
    setCheckBoxColour(Check2, rgb(192, 192, 192));
    place(Check2, QStringLiteral("CheckBox"), 6360, 3360, 2295, 375);

    Command9 = button(area_, QStringLiteral("Showing Desktop Files"),
                      QStringLiteral("Right click to show files from subfolder from Desktop"), rgb(255, 192, 192));
    place(Command9, QStringLiteral("CommandButton"), 6360, 2280, 2295, 495);

    Command2 = button(area_, QStringLiteral("About"), {}, rgb(192, 255, 255));
    place(Command2, QStringLiteral("CommandButton"), 7800, 3960, 825, 735);

    const QColor exportGreen = rgb(192, 255, 192);
    Command7 = button(area_, QStringLiteral("&Print"), QStringLiteral("Print"), exportGreen);
    place(Command7, QStringLiteral("CommandButton"), 2400, 100, 800, 500);
    Command6 = button(area_, QStringLiteral("P&df"), QStringLiteral("Export List to pdf file"), exportGreen);
    place(Command6, QStringLiteral("CommandButton"), 3480, 100, 800, 500);
    Command8 = button(area_, QStringLiteral("&Html"), QStringLiteral("Export List to Html"), exportGreen);
    place(Command8, QStringLiteral("CommandButton"), 4560, 100, 800, 500);
    Command5 = button(area_, QStringLiteral("&Notepad"),
                      QStringLiteral("Export List to Notepade Text file saved in App path"), exportGreen);
    place(Command5, QStringLiteral("CommandButton"), 5640, 100, 800, 500);
    Command4 = button(area_, QStringLiteral("&Word"),
                      QStringLiteral("Export List to Wordl document with Hyperlink."), exportGreen);
    place(Command4, QStringLiteral("CommandButton"), 6720, 100, 800, 500);
    Command3 = button(area_, QStringLiteral("&Excel"),
                      QStringLiteral("Export List to Excel Sheet with Hyperlink."), exportGreen);
    place(Command3, QStringLiteral("CommandButton"), 7800, 100, 800, 500);
    Command10 = button(area_, QStringLiteral("&Copy Image to Clipboard"),
                       QStringLiteral("Export List to Excel Sheet with Hyperlink."), exportGreen);
    place(Command10, QStringLiteral("CommandButton"), 9960, 120, 2235, 500);
    for (QPushButton *b : {Command7, Command6, Command8, Command5, Command4, Command3, Command10})
        b->hide();

    Picture1 = new preview::PictureBox(area_);
    Picture1->setToolTip(QStringLiteral("image displayed by quorvel software"));
    place(Picture1, QStringLiteral("PictureBox"), 9120, 720, 4000, 3255);

    Text5 = new QPlainTextEdit(Picture1);
    Text5->setPlainText(QString(about::kThankYou).remove(QLatin1Char('\r')));
    {
        platform::setFixedColour(Text5, QPalette::Base, rgb(192, 255, 192));
        QPalette p = Text5->palette();
        p.setColor(QPalette::Text, rgb(0, 0, 128));
        Text5->setPalette(p);
    }
    Text5->hide();
    place(Text5, QStringLiteral("TextBox"), 316, 320, 3375, 2535, Picture1);

    Label2 = label(Picture1, {}, QColor());
    Label2->setFont(QFont(QStringLiteral("MS Sans Serif"), 24));
    Label2->setWordWrap(true);
    Label2->hide();
    place(Label2, QStringLiteral("Label"), 600, 720, 2535, 1575, Picture1);

    Label3 = label(area_, {}, QColor());
    Label3->setText(QStringLiteral("Showing moving animation from static image, right click to stop."));
    Label3->setWordWrap(true);
    Label3->hide();
    place(Label3, QStringLiteral("Label"), 9840, 4080, 2655, 615);

    Picture2 = new preview::PictureBox(area_);
    Picture2->setToolTip(QStringLiteral("Goto ") + brand::kWebAddress);
    place(Picture2, QStringLiteral("PictureBox"), 12480, 4800, 735, 735);
    Picture2->setPicture(renderBanner(*Picture2));

    // Object names are the design names, so the window can be inspected and tested by name.
    const std::pair<QObject *, const char *> names[] = {
        {List1, "List1"}, {Label1, "Label1"}, {Label2, "Label2"}, {Label3, "Label3"}, {Label4, "Label4"},
        {Text1, "Text1"}, {Text2, "Text2"}, {Text3, "Text3"}, {Text4, "Text4"}, {Text5, "Text5"},
        {Drive1, "Drive1"}, {Dir1, "Dir1"}, {Command1, "Command1"}, {Command2, "Command2"},
        {Command3, "Command3"}, {Command4, "Command4"}, {Command5, "Command5"}, {Command6, "Command6"},
        {Command7, "Command7"}, {Command8, "Command8"}, {Command9, "Command9"}, {Command10, "Command10"},
        {Check1, "Check1"}, {Check2, "Check2"}, {Picture1, "Picture1"}, {Picture2, "Picture2"}};
    for (const auto &[object, name] : names)
        object->setObjectName(QLatin1String(name));

    // What a screen reader calls the controls that have no caption of their own
    // (buttons and check boxes are called by their captions). The labels whose text changes keep their text as their name, and say what
    // they are in their description.
    const std::pair<QWidget *, const char *> accessibleNames[] = {
        {List1, "Results"},       {Drive1, "Drive"},         {Dir1, "Folder"},
        {Text1, "Search folder"}, {Text2, "File specification"}, {Text3, "Items found"},
        {Text4, "Size of files found"}, {Text5, "Thank you"}, {Picture1, "Preview"},
        {Picture2, "Web page"},   {Label3, "Animation hint"}};
    for (const auto &[control, name] : accessibleNames)
        control->setAccessibleName(QLatin1String(name));
    Label1->setAccessibleDescription(QStringLiteral("Status"));
    Label2->setAccessibleDescription(QStringLiteral("Kind of the previewed file"));
    Label4->setAccessibleDescription(QStringLiteral("Selected entry"));

    for (const ControlEntry &c : controls_)
        if (qobject_cast<QAbstractButton *>(c.widget) || qobject_cast<QLabel *>(c.widget))
            captionFit_.watch(c.widget);
    captionFit_.watchLines(Text5);
}

void Form1::buildMenus()
{
    auto action = [this](QMenu *menu, const QString &caption, const char *name) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        controls_.push_back({nullptr, QStringLiteral("Menu"), nullptr});
        return a;
    };
    QMenu *menu = menuBar()->addMenu(QStringLiteral("Menu"));
    menu->setObjectName(QStringLiteral("Menu"));
    QMenu *exportMenu = menu->addMenu(QStringLiteral("Export"));
    exportMenu->setObjectName(QStringLiteral("Export"));
    Excel = action(exportMenu, QStringLiteral("Excel"), "Excel");
    Word = action(exportMenu, QStringLiteral("Word"), "Word");
    Notepad = action(exportMenu, QStringLiteral("Note pad"), "Notepad");
    QMenu *view = menu->addMenu(QStringLiteral("View in"));
    view->setObjectName(QStringLiteral("View"));
    Html = action(view, QStringLiteral("Html"), "Html");
    PDF = action(view, QStringLiteral("PDF"), "PDF");
    Print = action(menu, QStringLiteral("Print"), "Print");
    Exit = action(menu, QStringLiteral("Exit"), "Exit");

    menuCopy = menuBar()->addMenu(QStringLiteral("Action"));
    menuCopy->setObjectName(QStringLiteral("menuCopy"));
    copylist = action(menuCopy, QStringLiteral("Copy List to Clipboard"), "copylist");
    copy1 = action(menuCopy, QStringLiteral("Copy Full Path to Clipboard"), "copy1");
    CopyImage = action(menuCopy, QStringLiteral("Copy Image to Clipboard"), "CopyImage");
    openfolder = action(menuCopy, QStringLiteral("Open Folder"), "openfolder");
    openfile = action(menuCopy, QStringLiteral("Open File"), "openfile");
    Fileproperty = action(menuCopy, QStringLiteral("File Property"), "Fileproperty");

    QMenu *help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help"));
    Helpf1 = action(help, QStringLiteral("Help"), "Helpf1");
    Helpf1->setShortcut(QKeySequence(Qt::Key_F1));
    Helpf1->setShortcutContext(Qt::ApplicationShortcut);
    About = action(help, QStringLiteral("About"), "About");

    // The printer dialog counts among the controls but has no place on the window.
    controls_.push_back({nullptr, QStringLiteral("CommonDialog"), nullptr});

    // The window opens with its inner area at the design size.
    resize(area_->width(), area_->height() + menuBar()->sizeHint().height());
}

void Form1::applyTabOrder()
{
    const QList<QWidget *> order{Drive1,   Dir1,     Text2,    Check1,   Check2,   Command1,
                                 List1,    Command9, Command2, Command7, Command6, Command8,
                                 Command5, Command4, Command3, Command10, Picture1, Picture2,
                                 Text3,    Text4,    Text1,    Text5};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    Picture1->setFocusPolicy(Qt::TabFocus);
    Picture2->setFocusPolicy(Qt::TabFocus);
}
