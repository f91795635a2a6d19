#include "app/Form1.h"

#include "app/HelpAbout.h"
#include "app/WindowLayout.h"
#include "export/BackgroundExport.h"
#include "export/DocumentExport.h"
#include "export/HtmlExport.h"
#include "export/PdfExport.h"
#include "export/Printing.h"
#include "export/SpreadsheetExport.h"
#include "export/TextExport.h"
#include "platform/EventSignal.h"
#include "platform/PictureBox.h"
#include "platform/StatusLine.h"
#include "preview/AnimatedPreview.h"
#include "preview/FileActions.h"
#include "preview/SelectionPreview.h"
#include "search/DesktopListing.h"
#include "search/FolderList.h"
#include "search/ResultList.h"
#include "search/SearchCommand.h"
#include "search/SearchLocation.h"
#include "search/WalkSession.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

// Outside every namespace: the resource initialiser is declared where it is used.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

// The layout scales within these inner sizes of the window, in pixels.
constexpr LayoutLimits kLayoutLimits{100, 100, 2000, 1000};

}  // namespace

// The subsystem objects, each given the controls and services it uses.
struct Form1::Subsystems {
    platform::StatusLine status;
    search::WalkSession walk;
    search::SearchCommand searchCommand;
    search::SearchLocation location;
    search::DesktopListings desktop;
    preview::SelectionPreview selection;
    preview::AnimatedPreview animation;
    preview::FileActions actions;
    helpabout::Banner banner;
    helpabout::ListHoverTip hoverTip;
    listexport::ExportContext exports;
    // After the context it writes with: stopped, and its thread ended, before the context goes.
    listexport::BackgroundExports background;

    explicit Subsystems(Form1 &f)
        : status(f.Label1)
        , walk({f.List1, f.Check1, f.Check2, f.Text3, f.Text4, f.Picture1}, status,
               {f.services_.walkFrameMs, f.services_.walkReaders, f.services_.beforeFolderRead,
                f.services_.walkCountLimit, f.services_.walkFrameClock})
        , searchCommand({f.Command1, f.Text1, f.Text2, f.Text3, f.Text4, f.Dir1, f.List1, f.Picture1, f.Command9,
                         {f.Command3, f.Command4, f.Command5, f.Command6, f.Command7, f.Command8}, f.Command10},
                        walk, status, *f.services_.clock, *f.services_.messages)
        , location(f.Drive1, f.Dir1, f.Text1)
        , desktop(f.Command9, f.List1, walk, status, f.services_.desktopFolder)
        , selection({f.List1, f.Picture1, f.Picture2, f.Label2, f.Label4, f.Text5, f.Command10}, walk,
                    f.services_.beforePictureDecode)
        , animation({f.List1, f.Picture1, f.Picture2, f.Label3}, selection)
        , actions(f.List1, f.menuCopy, *f.services_.shell, *f.services_.messages, status, &f)
        , banner(f.Picture1, *f.services_.shell, [this] { selection.show(); })
        , hoverTip(f.List1)
        , exports{f.services_.applicationFolder, *f.services_.shell, *f.services_.messages, status, background}
        , background(status, f.services_.duringExport)
    {
    }
};

Form1::Form1(platform::Services services, QWidget *parent)
    : QMainWindow(parent)
    , services_(std::move(services))
{
    initResources();
    setWindowTitle(QStringLiteral("Quorvel File Search    Ver 13.1"));
    setWindowIcon(QIcon(QStringLiteral(":/quorvel.svg")));
    buildControls();
    buildMenus();
    applyTabOrder();
    nameForScreenReaders();

    parts_ = std::make_unique<Subsystems>(*this);
    connectEvents();
    Form_Load();
}

Form1::~Form1() = default;

const search::WalkSession &Form1::walkSession() const
{
    return parts_->walk;
}

const preview::AnimatedPreview &Form1::animation() const
{
    return parts_->animation;
}

bool Form1::working() const
{
    return parts_->walk.walking() || parts_->selection.decoding() || parts_->actions.copying() ||
           parts_->background.busy();
}

void Form1::connectEvents()
{
    using platform::EventSignal;
    connect(EventSignal::watch(area_, QEvent::Resize), &EventSignal::happened, this, &Form1::Form_Resize);
    connect(area_, &BackgroundArea::MouseMove, this, &Form1::Form_MouseMove);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Text2, &QLineEdit::returnPressed, this, &Form1::Command1_Click);
    connect(Drive1, &QComboBox::activated, this, &Form1::Drive1_Change);
    connect(Dir1, &search::FolderList::Change, this, &Form1::Dir1_Change);
    connect(EventSignal::watch(Text2, QEvent::FocusIn), &EventSignal::happened, this, &Form1::Text2_GotFocus);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    connect(EventSignal::watch(Command9, QEvent::MouseButtonPress), &EventSignal::happened, this,
            [this](QEvent *e) { Command9_MouseDown(static_cast<QMouseEvent *>(e)->button()); });
    connect(EventSignal::watch(Command9, QEvent::KeyPress), &EventSignal::happened, this,
            [this](QEvent *e) { Command9_KeyDown(*static_cast<QKeyEvent *>(e)); });
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, &Form1::MenuBar_F10);
    connect(List1, &search::ResultList::Click, this, &Form1::List1_Click);
    connect(List1, &search::ResultList::DblClick, this, &Form1::List1_DblClick);
    connect(List1, &search::ResultList::MouseDown, this, &Form1::List1_MouseDown);
    connect(List1, &search::ResultList::ContextMenuKey, this, &Form1::List1_ContextMenuKey);
    connect(List1, &search::ResultList::MouseMove, this, &Form1::List1_MouseMove);
    connect(Picture1, &platform::PictureBox::MouseUp, this, &Form1::Picture1_MouseUp);
    connect(Picture1, &platform::PictureBox::Click, this, &Form1::Picture1_Click);
    connect(Picture2, &platform::PictureBox::MouseUp, this, &Form1::Picture2_MouseUp);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(About, &QAction::triggered, this, &Form1::Command2_Click);
    connect(Helpf1, &QAction::triggered, this, &Form1::Helpf1_Click);
    connect(Exit, &QAction::triggered, this, &Form1::Exit_Click);
    // The copy-image button runs the menu command.
    connect(Command10, &QPushButton::clicked, this, &Form1::CopyImage_Click);

    const std::pair<QAction *, void (Form1::*)()> actions[] = {
        {copylist, &Form1::copylist_Click},     {copy1, &Form1::copy1_Click},
        {CopyImage, &Form1::CopyImage_Click},   {openfolder, &Form1::openfolder_Click},
        {openfile, &Form1::openfile_Click},     {Fileproperty, &Form1::Fileproperty_Click}};
    for (const auto &[action, handler] : actions)
        connect(action, &QAction::triggered, this, handler);

    const std::tuple<QPushButton *, QAction *, void (Form1::*)()> exports[] = {
        {Command3, Excel, &Form1::Command3_Click},   {Command4, Word, &Form1::Command4_Click},
        {Command5, Notepad, &Form1::Command5_Click}, {Command6, PDF, &Form1::Command6_Click},
        {Command7, Print, &Form1::Command7_Click},   {Command8, Html, &Form1::Command8_Click}};
    for (const auto &[button, menu, handler] : exports) {
        connect(button, &QPushButton::clicked, this, handler);
        connect(menu, &QAction::triggered, this, [this, h = handler] { exportMenu(h); });
    }
}

// --- The window: start-up, layout, closing, help and about, the banner ---

void Form1::start(const StartOptions &options)
{
    parts_->selection.prepare();
    if (!options.folder.isEmpty())
        parts_->location.open(options.folder);
    if (!options.pattern.isEmpty())
        Text2->setText(options.pattern);
    if (options.search)
        QMetaObject::invokeMethod(Command1, &QPushButton::click, Qt::QueuedConnection);
}

void Form1::Form_Load()
{
    recordGeometry();
    state_.Limits = kLayoutLimits;
    parts_->location.fillDrives();
    listDesktopAndPreviewFirstJpg();
}

void Form1::recordGeometry()
{
    // Recorded in pixels from the design placement, before anything can move it.
    state_.ControlGeometryTable.assign(controls_.size(), ControlGeometry{});
    const QSize inner = area_->size();  // still the design size: nothing has been shown yet
    for (size_t i = 0; i < controls_.size(); ++i) {
        const ControlEntry &c = controls_[i];
        if (!c.widget)
            continue;
        ControlGeometry &g = state_.ControlGeometryTable[i];
        const QRect r = c.widget->geometry();
        g.Top = std::int16_t(r.top());
        g.Left = std::int16_t(r.left());
        g.Width = std::int16_t(r.width());
        g.Height = std::int16_t(r.height());
        g.ParentScaleHeight = std::int16_t(inner.height());
        g.ParentScaleWidth = std::int16_t(inner.width());
        g.FontSize = std::int16_t(qRound(c.widget->font().pointSizeF()));
    }
}

// The last steps of start-up: the desktop's files listed, and the first entry
// ending in "JPG" (any case) selected and previewed.
void Form1::listDesktopAndPreviewFirstJpg()
{
    parts_->desktop.listFiles();
    // Only the last three letters count: "photo.jpeg" is not taken, "PHOTO.JPG" is.
    int first = 0;
    const int count = List1->ListCount();
    while (first < count && List1->List(first).right(3).toUpper() != QLatin1String("JPG"))
        ++first;
    parts_->selection.show();
    // With no such entry the index is past the end and nothing is selected.
    List1->setListIndex(first);
}

void Form1::Form_Resize()
{
    layout::scaleControls(controls_, state_, area_->size(), captionFit_);
    if (!parts_->animation.running())
        parts_->selection.show();
    area_->update();
}

void Form1::Form_MouseMove()
{
    area_->update();
}

void Form1::Exit_Click()
{
    close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Nothing under way holds the window: a walk is let go (its threads end on
    // their own), the animation and an export stop at once.
    const bool first = !closing_;
    closing_ = true;
    parts_->walk.abandon();
    parts_->animation.stop();
    parts_->background.stop();
    event->accept();
    if (first && services_.quit)
        services_.quit();
}

void Form1::msg1()
{
    services_.messages->inform(tr("List box empty"));
}

void Form1::Command2_Click()
{
    Text5->show();
    services_.messages->inform(helpabout::aboutText());
}

void Form1::Helpf1_Click()
{
    services_.messages->inform(helpabout::helpText());
}

void Form1::Picture2_MouseUp(Qt::MouseButton button)
{
    parts_->banner.buttonReleased(button);
}

void Form1::List1_MouseMove(QPoint position)
{
    parts_->hoverTip.pointerMoved(position);
}

// --- Search: the search command, the location, the desktop listings ---

void Form1::Command1_Click()
{
    parts_->desktop.fillAfterTreeListing([this] { parts_->searchCommand.run(); });
}

void Form1::Drive1_Change()
{
    parts_->location.driveChanged();
}

void Form1::Dir1_Change()
{
    parts_->location.folderChanged();
}

void Form1::Text2_GotFocus()
{
    parts_->location.showFolders();
}

void Form1::Command9_Click()
{
    parts_->desktop.fillAfterTreeListing([this] { parts_->desktop.listFiles(); });
}

void Form1::Command9_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        parts_->desktop.fillAfterTreeListing([this] { parts_->desktop.listTree(); });
}

// The keyboard's way to the right button's listing: Shift+Enter or the Menu key.
void Form1::Command9_KeyDown(const QKeyEvent &key)
{
    const bool shiftEnter = (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
                            (key.modifiers() & Qt::ShiftModifier);
    if (shiftEnter || key.key() == Qt::Key_Menu)
        Command9_MouseDown(Qt::RightButton);
}

void Form1::MenuBar_F10()
{
    if (!menuBar()->actions().isEmpty())
        menuBar()->setActiveAction(menuBar()->actions().first());
}

// --- Preview and file actions ---

void Form1::List1_Click()
{
    parts_->selection.show();
}

void Form1::List1_DblClick()
{
    parts_->actions.openSelected();
}

void Form1::List1_MouseDown(Qt::MouseButton button, QPoint position)
{
    if (button == Qt::RightButton)
        parts_->actions.popUpMenu(List1->viewport()->mapToGlobal(position));
}

void Form1::List1_ContextMenuKey(QPoint globalPosition)
{
    parts_->actions.popUpMenu(globalPosition);
}

void Form1::Picture1_Click()
{
    parts_->animation.clicked();
}

void Form1::Picture1_MouseUp(Qt::MouseButton button)
{
    parts_->animation.buttonReleased(button);
}

void Form1::copylist_Click()
{
    parts_->actions.copyList();
}

void Form1::copy1_Click()
{
    parts_->actions.copyPath();
}

void Form1::CopyImage_Click()
{
    parts_->actions.copyImage();
}

void Form1::openfolder_Click()
{
    parts_->actions.openFolder();
}

void Form1::openfile_Click()
{
    parts_->actions.openFile();
}

void Form1::Fileproperty_Click()
{
    parts_->actions.showProperties();
}

// --- Exports: Excel, Word, Notepad, PDF, Print, Html ---

void Form1::exportMenu(void (Form1::*exportHandler)())
{
    if (List1->ListCount() < 1) {
        msg1();
        return;
    }
    (this->*exportHandler)();
}

void Form1::Command3_Click()
{
    listexport::exportSpreadsheet(parts_->exports,
                                  {List1->entries(), List1->ListIndex(), Text1->text() + QLatin1Char('/') + Text2->text()});
}

void Form1::Command4_Click()
{
    listexport::exportDocument(parts_->exports, List1->entries());
}

void Form1::Command5_Click()
{
    listexport::exportText(parts_->exports, List1->entries());
}

void Form1::Command6_Click()
{
    listexport::exportPdf(parts_->exports, List1->entries());
}

void Form1::Command7_Click()
{
    listexport::printList(*services_.printer, List1->entries());
}

void Form1::Command8_Click()
{
    listexport::exportHtml(parts_->exports, List1->entries());
}
