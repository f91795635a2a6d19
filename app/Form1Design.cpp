// The controls and menus of the window, built from the design table.
#include "app/AboutTexts.h"
#include "app/BackgroundArea.h"
#include "app/Form1.h"
#include "platform/Brand.h"
#include "platform/Palette.h"
#include "platform/PictureBox.h"
#include "platform/Twips.h"
#include "search/FolderList.h"
#include "search/ResultList.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSvgRenderer>

namespace {

// The design size of the window's inner area, in twips.
constexpr int kDesignWidthTwips = 13275;
constexpr int kDesignHeightTwips = 5610;
// The window's default font, and the fonts of the controls that have their own.
constexpr int kDefaultPointSize = 8;
constexpr double kCheck1PointSize = 8.25;
constexpr double kCheck2PointSize = 6.75;
constexpr int kLabel2PointSize = 24;
// The thank-you text is navy on its pale green.
const QColor kThankYouText(0, 0, 128);

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

QImage renderBanner(const platform::PictureBox &box)
{
    QImage image = box.makeSharpImage(box.innerSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer svg(QStringLiteral(":/banner.svg"));
    QPainter painter(&image);
    svg.render(&painter);
    return image;
}

QFont fontOf(const char *family, double points)
{
    QFont font{QLatin1String(family)};
    font.setPointSizeF(points);
    return font;
}

QWidget *makeControl(const ControlRow &row, QWidget *parent)
{
    const QString caption = QCoreApplication::translate("Form1", row.caption);
    switch (row.kind) {
    case ControlKind::ListBox:
        return new search::ResultList(parent);
    case ControlKind::Label: {
        auto *label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::TextBox:
        return new QLineEdit(caption, parent);
    case ControlKind::MultiLineTextBox: {
        // Tab moves on, as from every other control: a keyboard user is never held in a box.
        auto *box = new QPlainTextEdit(caption, parent);
        box->setTabChangesFocus(true);
        return box;
    }
    case ControlKind::DriveListBox:
        return new QComboBox(parent);
    case ControlKind::DirListBox:
        return new search::FolderList(parent);
    case ControlKind::CommandButton:
        return new QPushButton(caption, parent);
    case ControlKind::CheckBox: {
        auto *box = new QCheckBox(caption, parent);
        box->setChecked(true);
        return box;
    }
    case ControlKind::PictureBox:
        return new platform::PictureBox(parent);
    case ControlKind::Menu:
    case ControlKind::CommonDialog:
        break;
    }
    return nullptr;
}

// Each kind draws its colour in its own role: a label's ground is the window
// colour, a text box's the base, a button's the button colour. A check box fills
// its ground from the Button role but draws its caption over the Window role; the
// drive list shows its colour on the button and in its drop-down.
void colour(QWidget *control, ControlKind kind, const QColor &colour)
{
    if (!colour.isValid())
        return;
    switch (kind) {
    case ControlKind::Label:
        platform::setFixedColour(control, QPalette::Window, colour);
        break;
    case ControlKind::CommandButton:
        platform::setFixedColour(control, QPalette::Button, colour);
        break;
    case ControlKind::CheckBox:
        platform::setFixedColour(control, QPalette::Window, colour);
        platform::setFixedColour(control, QPalette::Button, colour);
        break;
    case ControlKind::DriveListBox:
        platform::setFixedColour(control, QPalette::Button, colour);
        platform::setFixedColour(control, QPalette::Base, colour);
        break;
    default:
        platform::setFixedColour(control, QPalette::Base, colour);
        break;
    }
}

}  // namespace

void Form1::buildControls()
{
    const double tppX = platform::twipsPerPixelX();
    const double tppY = platform::twipsPerPixelY();
    area_ = new BackgroundArea(this);
    area_->setObjectName(QStringLiteral("Form1"));
    area_->findWallpaper(services_.findWallpaper);
    setCentralWidget(area_);
    area_->resize(qRound(kDesignWidthTwips / tppX), qRound(kDesignHeightTwips / tppY));
    installFontStandIns();
    setFont(QFont(QStringLiteral("MS Sans Serif"), kDefaultPointSize));

    int count = 0;
    const ControlRow *rows = controlRows(count);
    QWidget *picture1 = nullptr;
    for (int i = 0; i < count; ++i) {
        const ControlRow &row = rows[i];
        QWidget *control = makeControl(row, row.insidePicture1 ? picture1 : area_);
        control->setObjectName(QLatin1String(row.name));
        if (*row.toolTip)
            control->setToolTip(QCoreApplication::translate("Form1", row.toolTip));
        colour(control, row.kind, row.colour);
        const QRect &t = row.twips;
        control->setGeometry(qRound(t.x() / tppX), qRound(t.y() / tppY), qRound(t.width() / tppX),
                             qRound(t.height() / tppY));
        control->setVisible(row.shown);
        controls_.push_back({control, row.kind});
        if (row.kind == ControlKind::PictureBox && !picture1)
            picture1 = control;
    }
    bindControls();

    // What the table cannot say: the fonts of their own, the texts that wrap, the
    // thank-you text in navy, the banner and its address.
    Check1->setFont(fontOf("Arial Narrow", kCheck1PointSize));
    Check2->setFont(fontOf("Arial Narrow", kCheck2PointSize));
    Label2->setFont(fontOf("MS Sans Serif", kLabel2PointSize));
    Label2->setWordWrap(true);
    Label3->setWordWrap(true);
    Text5->setPlainText(about::thankYou().remove(QLatin1Char('\r')));
    QPalette thankYou = Text5->palette();
    thankYou.setColor(QPalette::Text, kThankYouText);
    Text5->setPalette(thankYou);
    Picture2->setToolTip(QCoreApplication::translate("Form1", "Goto %1").arg(brand::kWebAddress));
    Picture2->setPicture(renderBanner(*Picture2));

    for (const ControlEntry &c : controls_)
        if (qobject_cast<QAbstractButton *>(c.widget) || qobject_cast<QLabel *>(c.widget))
            captionFit_.watch(c.widget);
    captionFit_.watchLines(Text5);
}

namespace {

template <typename Control>
void bind(QWidget *area, Control *&member, const char *name)
{
    member = area->findChild<Control *>(QLatin1String(name));
    Q_ASSERT(member);
}

}  // namespace

void Form1::bindControls()
{
    bind(area_, List1, "List1");
    bind(area_, Label1, "Label1");
    bind(area_, Label2, "Label2");
    bind(area_, Label3, "Label3");
    bind(area_, Label4, "Label4");
    bind(area_, Text1, "Text1");
    bind(area_, Text2, "Text2");
    bind(area_, Text3, "Text3");
    bind(area_, Text4, "Text4");
    bind(area_, Text5, "Text5");
    bind(area_, Drive1, "Drive1");
    bind(area_, Dir1, "Dir1");
    bind(area_, Command1, "Command1");
    bind(area_, Command2, "Command2");
    bind(area_, Command3, "Command3");
    bind(area_, Command4, "Command4");
    bind(area_, Command5, "Command5");
    bind(area_, Command6, "Command6");
    bind(area_, Command7, "Command7");
    bind(area_, Command8, "Command8");
    bind(area_, Command9, "Command9");
    bind(area_, Command10, "Command10");
    bind(area_, Check1, "Check1");
    bind(area_, Check2, "Check2");
    bind(area_, Picture1, "Picture1");
    bind(area_, Picture2, "Picture2");
}

// What a screen reader calls the controls that have no caption of their own
// (buttons and check boxes are called by their captions). The labels whose text
// changes keep their text as their name, and say what they are in their
// description.
void Form1::nameForScreenReaders()
{
    const std::pair<QWidget *, const char *> accessibleNames[] = {
        {List1, QT_TRANSLATE_NOOP("Form1", "Results")},
        {Drive1, QT_TRANSLATE_NOOP("Form1", "Drive")},
        {Dir1, QT_TRANSLATE_NOOP("Form1", "Folder")},
        {Text1, QT_TRANSLATE_NOOP("Form1", "Search folder")},
        {Text2, QT_TRANSLATE_NOOP("Form1", "File specification")},
        {Text3, QT_TRANSLATE_NOOP("Form1", "Items found")},
        {Text4, QT_TRANSLATE_NOOP("Form1", "Size of files found")},
        {Text5, QT_TRANSLATE_NOOP("Form1", "Thank you")},
        {Picture1, QT_TRANSLATE_NOOP("Form1", "Preview")},
        {Picture2, QT_TRANSLATE_NOOP("Form1", "Web page")}};
    // Labels whose caption is their content (Label3's hint) are announced by it.
    for (const auto &[control, name] : accessibleNames)
        control->setAccessibleName(tr(name));
    Label1->setAccessibleDescription(tr("Status"));
    Label2->setAccessibleDescription(tr("Kind of the previewed file"));
    Label4->setAccessibleDescription(tr("Selected entry"));
}

void Form1::buildMenus()
{
    auto action = [this](QMenu *menu, const QString &caption, const char *name) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        controls_.push_back({nullptr, ControlKind::Menu});
        return a;
    };
    QMenu *menu = menuBar()->addMenu(tr("Menu"));
    menu->setObjectName(QStringLiteral("Menu"));
    QMenu *exportMenu = menu->addMenu(tr("Export"));
    exportMenu->setObjectName(QStringLiteral("Export"));
    Excel = action(exportMenu, tr("Excel"), "Excel");
    Word = action(exportMenu, tr("Word"), "Word");
    Notepad = action(exportMenu, tr("Note pad"), "Notepad");
    QMenu *view = menu->addMenu(tr("View in"));
    view->setObjectName(QStringLiteral("View"));
    Html = action(view, tr("Html"), "Html");
    PDF = action(view, tr("PDF"), "PDF");
    Print = action(menu, tr("Print"), "Print");
    Exit = action(menu, tr("Exit"), "Exit");

    menuCopy = menuBar()->addMenu(tr("Action"));
    menuCopy->setObjectName(QStringLiteral("menuCopy"));
    copylist = action(menuCopy, tr("Copy List to Clipboard"), "copylist");
    copy1 = action(menuCopy, tr("Copy Full Path to Clipboard"), "copy1");
    CopyImage = action(menuCopy, tr("Copy Image to Clipboard"), "CopyImage");
    openfolder = action(menuCopy, tr("Open Folder"), "openfolder");
    openfile = action(menuCopy, tr("Open File"), "openfile");
    Fileproperty = action(menuCopy, tr("File Property"), "Fileproperty");

    QMenu *help = menuBar()->addMenu(tr("Help"));
    help->setObjectName(QStringLiteral("Help"));
    Helpf1 = action(help, tr("Help"), "Helpf1");
    Helpf1->setShortcut(QKeySequence(Qt::Key_F1));
    Helpf1->setShortcutContext(Qt::ApplicationShortcut);
    About = action(help, tr("About"), "About");

    // The printer dialog counts among the controls but has no place on the window.
    controls_.push_back({nullptr, ControlKind::CommonDialog});

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
