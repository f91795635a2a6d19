#include "app/Form1.h"

#include "app/BackgroundArea.h"
#include "app/HelpAbout.h"
#include "app/StartupListing.h"
#include "app/WindowLayout.h"
#include "export/DocumentExport.h"
#include "export/HtmlExport.h"
#include "export/PdfExport.h"
#include "export/Printing.h"
#include "export/SpreadsheetExport.h"
#include "export/TextExport.h"
#include "platform/Brand.h"
#include "platform/PlainText.h"
#include "preview/AnimatedPreview.h"
#include "preview/FileActions.h"
#include "preview/PictureBox.h"
#include "preview/SelectionPreview.h"
#include "search/DesktopListing.h"
#include "search/FolderList.h"
#include "search/ResultList.h"
#include "search/SearchCommand.h"
#include "search/SearchLocation.h"
#include "search/SearchTexts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

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
    connectEvents();
    sinceDelivery_.start();
    sinceStatusShown_.start();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::connectEvents()
{
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Drive1, &QComboBox::activated, this, &Form1::Drive1_Change);
    connect(Dir1, &search::FolderList::Change, this, &Form1::Dir1_Change);
    Text2->installEventFilter(this);
    connect(List1, &search::ResultList::Click, this, &Form1::List1_Click);
    connect(List1, &search::ResultList::DblClick, this, &Form1::List1_DblClick);
    connect(List1, &search::ResultList::MouseDown, this, &Form1::List1_MouseDown);
    // The keyboard's way to the Action menu, where the mouse has the right button.
    connect(List1, &search::ResultList::ContextMenuKey, menuCopy, [this](QPoint at) { menuCopy->popup(at); });
    // Enter in the specification box searches, as a click on the button would.
    connect(Text2, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    Command9->installEventFilter(this);
    // The copy-image button runs the menu command.
    connect(Command10, &QPushButton::clicked, CopyImage, &QAction::trigger);
    const std::pair<QAction *, void (*)(Form1 &)> actions[] = {
        {copylist, preview::copylist_Click},     {copy1, preview::copy1_Click},
        {CopyImage, preview::CopyImage_Click},   {openfolder, preview::openfolder_Click},
        {openfile, preview::openfile_Click},     {Fileproperty, preview::Fileproperty_Click}};
    for (const auto &[action, handler] : actions)
        connect(action, &QAction::triggered, this, [this, h = handler] { h(*this); });
    connect(Picture1, &preview::PictureBox::MouseUp, this, &Form1::Picture1_MouseUp);
    connect(Picture1, &preview::PictureBox::Click, this, &Form1::Picture1_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);

    const std::pair<QAction *, QPushButton *> exportMenus[] = {
        {Excel, Command3}, {Word, Command4}, {Notepad, Command5},
        {PDF, Command6},   {Print, Command7}, {Html, Command8}};
    for (const auto &[menu, button] : exportMenus)
        connect(menu, &QAction::triggered, this, [this, b = button] { exportMenu(b); });
    connect(Exit, &QAction::triggered, this, &Form1::Exit_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(About, &QAction::triggered, this, [this] { Command2->click(); });
    connect(Helpf1, &QAction::triggered, this, &Form1::Helpf1_Click);
    connect(Picture2, &preview::PictureBox::MouseUp, this, &Form1::Picture2_MouseUp);
    connect(List1, &search::ResultList::MouseMove, this, &Form1::List1_MouseMove);
    connect(area_, &BackgroundArea::MouseMove, this, &Form1::Form_MouseMove);
    area_->installEventFilter(this);
}

void Form1::Form_Load()
{
    recordGeometry();
    state.Limits = {100, 100, 2000, 1000};
    search::fillDriveList(*this);
    Text1->setText(Dir1->path());
    startup::listDesktopAndPreview(*this);
}

void Form1::recordGeometry()
{
    // Recorded in pixels from the design placement, before anything can move it.
    state.ControlGeometryTable.assign(controls_.size(), ControlGeometry{});
    const QSize inner = area_->size();  // still the design size: nothing has been shown yet
    for (size_t i = 0; i < controls_.size(); ++i) {
        const ControlEntry &c = controls_[i];
        if (!c.widget)
            continue;
        ControlGeometry &g = state.ControlGeometryTable[i];
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

void Form1::messageBox(const QString &text, const QString &title, platform::MessageIcon icon)
{
    services_.messages->show(text, title.isEmpty() ? brand::kAppTitle : title, icon);
}

void Form1::msg1()
{
    messageBox(QStringLiteral("List box empty"), brand::kAppTitle);
}

void Form1::exportMenu(QPushButton *button)
{
    if (List1->ListCount() < 1) {
        msg1();
        return;
    }
    // The button's handler runs whether or not the button is shown.
    emit button->clicked();
}

void Form1::Exit_Click()
{
    close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Every long loop reads these flags at its next step and unwinds at once.
    const bool first = !state.Closing;
    state.Closing = true;
    state.FindContinue = 0;
    state.StopRequested = true;
    state.AnimationState = AnimationStates::Stopped;
    event->accept();
    if (first && services_.quit)
        services_.quit();
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == area_ && event->type() == QEvent::Resize)
        Form_Resize();
    if (watched == Text2 && event->type() == QEvent::FocusIn)
        Text2_GotFocus();
    if (watched == Command9 && event->type() == QEvent::MouseButtonPress)
        Command9_MouseDown(static_cast<QMouseEvent *>(event)->button());
    return QMainWindow::eventFilter(watched, event);
}

void Form1::Form_Resize()
{
    layout::Form_Resize(*this);
}

void Form1::Form_MouseMove()
{
    area_->update();
}

void Form1::Command2_Click()
{
    helpabout::Command2_Click(*this);
}

void Form1::Helpf1_Click()
{
    helpabout::Helpf1_Click(*this);
}

void Form1::Picture2_MouseUp(Qt::MouseButton button)
{
    helpabout::Picture2_MouseUp(*this, button);
}

void Form1::List1_MouseMove(QPoint position)
{
    helpabout::List1_MouseMove(*this, position);
}

void Form1::Command1_Click()
{
    fillListAfterTreeListing([this] { search::runSearchCommand(*this); });
}

void Form1::Drive1_Change()
{
    search::Drive1_Change(*this);
}

void Form1::Dir1_Change()
{
    search::Dir1_Change(*this);
}

void Form1::Text2_GotFocus()
{
    Dir1->show();
}

void Form1::List1_Click()
{
    preview::List1_Click(*this);
}

void Form1::List1_DblClick()
{
    preview::List1_DblClick(*this);
}

void Form1::List1_MouseDown(Qt::MouseButton button, QPoint position)
{
    preview::List1_MouseDown(*this, button, List1->viewport()->mapToGlobal(position));
}

void Form1::Command9_Click()
{
    fillListAfterTreeListing([this] { search::Command9_Click(*this); });
}

void Form1::Command9_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        fillListAfterTreeListing([this] { listDesktopTree(); });
}

void Form1::fillListAfterTreeListing(std::function<void()> fill)
{
    if (!treeListingRunning_) {
        fill();
        return;
    }
    afterTreeListing_ = std::move(fill);
    state.FindContinue = 0;
    state.StopRequested = true;
}

void Form1::listDesktopTree()
{
    treeListingRunning_ = true;
    search::walkDesktopTree(*this);
    treeListingRunning_ = false;
    if (std::function<void()> next = std::exchange(afterTreeListing_, nullptr)) {
        dropPendingTexts();
        next();
        return;
    }
    search::finishDesktopTree(*this);
}

void Form1::Picture1_Click()
{
    preview::Picture1_Click(*this);
}

void Form1::Picture1_MouseUp(Qt::MouseButton button)
{
    preview::Picture1_MouseUp(*this, button);
}

void Form1::Command3_Click()
{
    listexport::exportSpreadsheet(*this);
}

void Form1::Command4_Click()
{
    listexport::exportDocument(*this);
}

void Form1::Command5_Click()
{
    listexport::exportText(*this);
}

void Form1::Command6_Click()
{
    listexport::exportPdf(*this);
}

void Form1::Command7_Click()
{
    listexport::printList(*this);
}

void Form1::Command8_Click()
{
    listexport::exportHtml(*this);
}

// --- The time-sliced yield of the long loops ---

void Form1::deliverPendingEvents()
{
    pushPendingTexts();
    List1->flushPending();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceDelivery_.restart();
}

void Form1::yieldIfDue()
{
    if (sinceDelivery_.elapsed() >= services_.yieldSliceMs)
        deliverPendingEvents();
}

void Form1::setStatusNow(const QString &text)
{
    pendingStatus_ = text;
    if (sinceStatusShown_.elapsed() < services_.yieldSliceMs)
        return;
    pushPendingTexts();
    Label1->repaint();
    sinceStatusShown_.restart();
}

void Form1::pushPendingTexts()
{
    if (pendingStatus_) {
        Label1->setText(*pendingStatus_);
        pendingStatus_.reset();
    }
    if (pendingTotals_) {
        const WalkTotals &t = *pendingTotals_;
        Text3->setText(search::countsText(t.fileCount, t.dirCount));
        Text4->setPlainText(search::walkSizeText(t.folder, t.folderSize));
        pendingTotals_.reset();
    }
}

void Form1::dropPendingTexts()
{
    pendingStatus_.reset();
    pendingTotals_.reset();
}

// --- What the walk reads and writes ---

bool Form1::showListWhileSearching()
{
    return Check1->isChecked();
}

bool Form1::previewWhileSearching()
{
    return Check2->isChecked();
}

void Form1::setListVisible(bool visible)
{
    if (List1->isVisibleTo(area_) != visible)
        List1->setVisible(visible);
}

void Form1::setSearchStatus(const QString &text)
{
    pendingStatus_ = text;
}

void Form1::appendEntry(const QString &entry)
{
    List1->AddItem(entry);
}

void Form1::selectLastEntry()
{
    List1->setListIndex(List1->ListCount() - 1);
}

void Form1::showWalkTotals(int fileCount, int dirCount, const QString &folder, std::int64_t folderSize)
{
    pendingTotals_ = WalkTotals{fileCount, dirCount, folder, folderSize};
}
