#pragma once

#include "app/BackgroundArea.h"
#include "app/CaptionFit.h"
#include "app/WindowState.h"
#include "platform/Services.h"
#include "search/FileFinder.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace search {
class FolderList;
class ResultList;
}
namespace preview {
class PictureBox;
}

// One control of the window as the layout and the start-up record see it.
struct ControlEntry {
    QWidget *widget = nullptr;  // null for menu items and the printer dialog
    QString typeName;           // "TextBox", "CommandButton", ...
    QWidget *container = nullptr;
};

// The one window. It owns the controls, the shared state and the routing of
// every event; what each handler does lives in the subsystem it belongs to.
class Form1 : public QMainWindow, public search::WalkHost {
    Q_OBJECT
public:
    explicit Form1(platform::Services services, QWidget *parent = nullptr);
    ~Form1() override;

    // Controls, by their design names.
    search::ResultList *List1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QPlainTextEdit *Text4 = nullptr;
    QPlainTextEdit *Text5 = nullptr;
    QComboBox *Drive1 = nullptr;
    search::FolderList *Dir1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *Command10 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    preview::PictureBox *Picture1 = nullptr;
    preview::PictureBox *Picture2 = nullptr;

    // Menu items.
    QMenu *menuCopy = nullptr;
    QAction *Excel = nullptr;
    QAction *Word = nullptr;
    QAction *Notepad = nullptr;
    QAction *Html = nullptr;
    QAction *PDF = nullptr;
    QAction *Print = nullptr;
    QAction *Exit = nullptr;
    QAction *copylist = nullptr;
    QAction *copy1 = nullptr;
    QAction *CopyImage = nullptr;
    QAction *openfolder = nullptr;
    QAction *openfile = nullptr;
    QAction *Fileproperty = nullptr;
    QAction *Helpf1 = nullptr;
    QAction *About = nullptr;

    WindowState state;

    platform::Services &services() { return services_; }
    const std::vector<ControlEntry> &controls() const { return controls_; }
    // The inner area of the window, where the controls lie.
    QWidget *innerArea() const { return area_; }
    CaptionFit &captionFit() { return captionFit_; }

    // Message boxes, all through the services.
    void messageBox(const QString &text, const QString &title = {},
                    platform::MessageIcon icon = platform::MessageIcon::None);
    void msg1();

    // Delivers all pending events now, after pushing the texts the running loop
    // has set, so every handler that runs sees them.
    void deliverPendingEvents();
    // Delivers pending events when a time slice has passed since the last delivery.
    void yieldIfDue();
    // Sets the status line and shows it at once when a time slice has passed,
    // for long work that does not deliver events.
    void setStatusNow(const QString &text);
    // Pushes the deferred walk texts into their controls.
    void pushPendingTexts();
    // Forgets the deferred walk texts (a handler is about to set the controls itself).
    void dropPendingTexts();

    // search::WalkHost
    WindowState &windowState() override { return state; }
    bool showListWhileSearching() override;
    bool previewWhileSearching() override;
    void setListVisible(bool visible) override;
    void setSearchStatus(const QString &text) override;
    void appendEntry(const QString &entry) override;
    void selectLastEntry() override;
    void showWalkTotals(int fileCount, int dirCount, const QString &folder,
                        std::int64_t folderSize) override;
    void yieldToEvents() override { yieldIfDue(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Handlers, routed to the subsystem each belongs to. They are reached only
    // through the events of the controls, as a person makes them.
    // Window: start-up, layout, close, help and about, the banner.
    void Form_Load();
    void Form_Resize();
    void Form_MouseMove();
    void Exit_Click();
    void exportMenu(QPushButton *button);
    void Command2_Click();
    void Helpf1_Click();
    void Picture2_MouseUp(Qt::MouseButton button);
    void List1_MouseMove(QPoint position);
    // Search: the search command, the location, the desktop listings.
    void Command1_Click();
    void Drive1_Change();
    void Dir1_Change();
    void Text2_GotFocus();
    void Command9_Click();
    void Command9_MouseDown(Qt::MouseButton button);
    // Preview and file actions.
    void List1_Click();
    void List1_DblClick();
    void List1_MouseDown(Qt::MouseButton button, QPoint position);
    void Picture1_Click();
    void Picture1_MouseUp(Qt::MouseButton button);
    // Exports: Excel, Word, Notepad, PDF, Print, Html.
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();


    // Runs `fill`, a filling of the list, now; while the desktop-tree listing runs,
    // ends that listing first and runs `fill` once it has unwound, so that two
    // fillings never mix in the list.
    void fillListAfterTreeListing(std::function<void()> fill);
    void listDesktopTree();

    void buildControls();
    void buildMenus();
    void applyTabOrder();
    void connectEvents();
    void recordGeometry();

    QWidget *place(QWidget *control, const QString &typeName, int left, int top, int width,
                   int height, QWidget *container = nullptr);

    platform::Services services_;
    CaptionFit captionFit_;
    BackgroundArea *area_ = nullptr;
    std::vector<ControlEntry> controls_;
    QElapsedTimer sinceDelivery_;
    QElapsedTimer sinceStatusShown_;

    struct WalkTotals {
        int fileCount;
        int dirCount;
        QString folder;
        std::int64_t folderSize;
    };
    bool treeListingRunning_ = false;
    std::function<void()> afterTreeListing_;
    std::optional<QString> pendingStatus_;
    std::optional<WalkTotals> pendingTotals_;
};
