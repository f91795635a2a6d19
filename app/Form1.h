#pragma once

#include "app/BackgroundArea.h"
#include "app/CaptionFit.h"
#include "app/CommandLine.h"
#include "app/ControlTable.h"
#include "app/WindowState.h"
#include "platform/Services.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class PictureBox;
}
namespace search {
class FolderList;
class ResultList;
class WalkSession;
}  // namespace search
namespace preview {
class AnimatedPreview;
}

// The one window. It owns the controls, its own state and the routing: every
// event of a control reaches one handler here, named for the control and the
// event, which hands it to the subsystem object it belongs to.
class Form1 : public QMainWindow {
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
    platform::PictureBox *Picture1 = nullptr;
    platform::PictureBox *Picture2 = nullptr;

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

    // Applies what the command line asked for: the search location, the file
    // file specification, and a search started once the window is up.
    void start(const StartOptions &options);

    // What the layout recorded at start-up.
    const WindowState &state() const { return state_; }
    platform::Services &services() { return services_; }
    const std::vector<ControlEntry> &controls() const { return controls_; }
    // The inner area of the window, where the controls lie.
    QWidget *innerArea() const { return area_; }
    // The subsystems' states, for reading.
    const search::WalkSession &walkSession() const;
    const preview::AnimatedPreview &animation() const;
    // Work the window handed to another thread is under way: a walk filling the
    // list, a picture being decoded for the preview, a picture being made ready
    // for the clipboard, an export being written.
    bool working() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct Subsystems;

    // Handlers: reached only through the events of the controls.
    void Form_Load();
    void Form_Resize();
    void Form_MouseMove();
    void Exit_Click();
    void Command2_Click();
    void Helpf1_Click();
    void Picture2_MouseUp(Qt::MouseButton button);
    void List1_MouseMove(QPoint position);
    void Command1_Click();
    void Drive1_Change();
    void Dir1_Change();
    void Text2_GotFocus();
    void Command9_Click();
    void Command9_MouseDown(Qt::MouseButton button);
    void Command9_KeyDown(const QKeyEvent &key);
    void MenuBar_F10();
    void List1_Click();
    void List1_DblClick();
    void List1_MouseDown(Qt::MouseButton button, QPoint position);
    void List1_ContextMenuKey(QPoint globalPosition);
    void Picture1_Click();
    void Picture1_MouseUp(Qt::MouseButton button);
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void copylist_Click();
    void copy1_Click();
    void CopyImage_Click();
    void openfolder_Click();
    void openfile_Click();
    void Fileproperty_Click();
    // An export menu: "List box empty" for an empty list, else the button's export,
    // whether or not the button is shown.
    void exportMenu(void (Form1::*exportHandler)());
    void msg1();

    void buildControls();
    void buildMenus();
    void bindControls();
    void applyTabOrder();
    void nameForScreenReaders();
    void connectEvents();
    void recordGeometry();
    void listDesktopAndPreviewFirstJpg();

    platform::Services services_;
    WindowState state_;
    CaptionFit captionFit_;
    BackgroundArea *area_ = nullptr;
    std::vector<ControlEntry> controls_;
    std::unique_ptr<Subsystems> parts_;
    bool closing_ = false;
};
