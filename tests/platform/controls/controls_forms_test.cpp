// Forms, the application's default exception handler, the dialog entry point and menus.
#include "DialogRecorder.h"

#include "controls/Buttons.h"
#include "controls/ExtCtrls.h"
#include "controls/DragDrop.h"
#include "controls/ListBoxes.h"
#include "controls/Menus.h"
#include "controls/PopupMenus.h"
#include "controls/StdCtrls.h"
#include "controls/TreeViews.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

class FormsTest : public ::testing::Test {
protected:
    DialogRecorder dialogs;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
};

TEST_F(FormsTest, ExceptionFromAnEventGoesToTheDefaultHandler)
{
    auto* button = new TSpeedButton(form.get());
    button->SetParent(form.get());
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        if (++clicks == 1)
            throw EConvertError("'x' is not a valid integer value");
        throw std::runtime_error("plain failure.");
    };
    auto* q = static_cast<QAbstractButton*>(button->Widget());
    q->click();
    q->click();   // the program went on
    ASSERT_EQ(dialogs.Requests.size(), 2u);
    const TDialogRequest& first = dialogs.Requests[0];
    EXPECT_EQ(first.Text, "'x' is not a valid integer value.");
    EXPECT_EQ(first.Type, mtError);
    EXPECT_EQ(first.Caption, Application->Title());
    EXPECT_TRUE(first.Buttons == TMsgDlgButtons({mbOK}));
    EXPECT_EQ(dialogs.Requests[1].Text, "plain failure.");
}

// An exception of the background work reaches the caller once the work has ended and
// its last progress has run, so that the caller's handler can show it.
TEST_F(FormsTest, AFailureOfBackgroundWorkReachesTheCallerAfterTheWork)
{
    std::atomic<bool> ended{false};
    int progressAfterEnd = 0;
    TBackgroundWork task;
    task.ProgressInterval = 5;
    task.Work = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ended = true;
        throw std::runtime_error("The disk is full");
    };
    task.Progress = [&] { progressAfterEnd += ended ? 1 : 0; };
    try {
        RunInBackground(task);
        ADD_FAILURE() << "the failure was swallowed";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "The disk is full");
    }
    EXPECT_TRUE(ended);
    EXPECT_GE(progressAfterEnd, 1);
}

TEST_F(FormsTest, MessageBoxesGoThroughTheEntryPoint)
{
    dialogs.Answer = [](TDialogRequest& r) { return r.Buttons.Contains(mbNo) ? mrNo : mrOk; };
    EXPECT_EQ(MessageDlg("Sure?", mtConfirmation, {mbYes, mbNo}, 0), mrNo);
    EXPECT_EQ(MessageDlg("Careful", mtWarning, {mbOK}, 0), mrOk);
    ShowMessage("Plain");
    EXPECT_EQ(Application->MessageBox("Stop", "Title", MB_YESNO | MB_ICONERROR), IDNO);
    ASSERT_EQ(dialogs.Requests.size(), 4u);
    EXPECT_EQ(dialogs.Requests[0].Caption, "Confirm");
    EXPECT_EQ(dialogs.Requests[1].Caption, "Warning");
    EXPECT_EQ(dialogs.Requests[1].Type, mtWarning);
    EXPECT_EQ(dialogs.Requests[2].Type, mtCustom);
    EXPECT_EQ(dialogs.Requests[2].Caption, Application->Title());
    EXPECT_EQ(dialogs.Requests[3].Caption, "Title");
    EXPECT_EQ(dialogs.Requests[3].Type, mtError);
    EXPECT_TRUE(dialogs.Requests[3].Buttons == TMsgDlgButtons({mbYes, mbNo}));
}

TEST_F(FormsTest, ARealMessageBoxWrapsALongFileNameOnTheScreen)
{
    // A name of about 250 characters without a blank: the box keeps to the screen, its
    // text is not cut and the OK button stays inside it.
    const std::string name = "/data/" + std::string(120, 'a') + "/" + std::string(120, 'b') + ".TBL";
    const TDialogAnswerer recorder = SetDialogAnswerer(nullptr);   // the real box
    int boxWidth = 0, screenWidth = 0, textNeeds = 0, textHas = 0;
    bool okInside = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        boxWidth = box->frameGeometry().width();
        screenWidth = box->screen()->availableGeometry().width();
        auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        ASSERT_NE(label, nullptr);
        textNeeds = label->minimumSizeHint().width();
        textHas = label->width();
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        okInside = ok->isVisible() && box->rect().contains(QRect(ok->mapTo(box, QPoint(0, 0)), ok->size()));
        ok->click();
    });
    EXPECT_EQ(MessageDlg("Results are saved into the file " + name, mtInformation, {mbOK}, 0), mrOk);
    SetDialogAnswerer(recorder);
    EXPECT_LE(boxWidth, screenWidth);
    EXPECT_LE(textNeeds, textHas);
    EXPECT_TRUE(okInside);
}

TEST_F(FormsTest, OpenDialogIsAnsweredThroughTheEntryPoint)
{
    TOpenDialog dialog(nullptr);
    dialog.SetFilter("Data (*.dat)|*.dat");
    dialog.SetDefaultExt("dat");
    dialog.SetInitialDir("/data");
    dialog.SetFileName("old.dat");
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "old.dat");

    dialogs.Answer = [](TDialogRequest& r) {
        r.FileName = "/data/new.dat";
        return mrOk;
    };
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "/data/new.dat");
    const TDialogRequest& r = dialogs.Requests.back();
    EXPECT_EQ(r.Kind, TDialogKind::dkOpenFile);
    EXPECT_EQ(r.Filter, "Data (*.dat)|*.dat");
    EXPECT_EQ(r.InitialDir, "/data");
    EXPECT_EQ(r.DefaultExt, "dat");

    EXPECT_EQ(FilterToNameFilters("Data (*.dat)|*.dat|Text|*.txt;*.csv"), "Data (*.dat) (*.dat);;Text (*.txt *.csv)");
}

TEST_F(FormsTest, CloseHidesUnlessOnCloseSaysOtherwise)
{
    form->Show();
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(form->Widget()->isVisible());
    TCloseAction next = caNone;
    form->OnClose = [&](TObject*, TCloseAction& Action) { Action = next; };
    form->Close();
    EXPECT_TRUE(form->Visible());
    next = caHide;
    form->Close();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Widget()->isVisible());

    // The window manager's close request takes the same way.
    form->Show();
    form->Widget()->close();
    EXPECT_FALSE(form->Visible());

    // caFree frees the form once the current event is done.
    auto* child = new TForm(form.get());
    child->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
    child->Close();
    EXPECT_EQ(form->ComponentCount(), 1);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->ComponentCount(), 0);
}

TEST_F(FormsTest, CloseButtonClosesItsForm)
{
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    auto* button = new TBitBtn(form.get());
    button->SetParent(panel);
    button->SetKind(bkClose);
    EXPECT_EQ(button->Caption(), "&Close");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    static_cast<QAbstractButton*>(button->Widget())->click();
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(clicks, 0);
}

TEST_F(FormsTest, ClosingTheMainFormEndsTheProgram)
{
    TForm* mainForm = nullptr;
    Application->CreateForm(mainForm);
    ASSERT_EQ(Application->MainForm(), mainForm);
    mainForm->Close();
    EXPECT_TRUE(Application->Terminated());
    delete mainForm;
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(FormsTest, MessageLoopRunsUntilTheMainFormCloses)
{
    FinalizeFormsUnit();   // a fresh application that has not been terminated
    InitializeFormsUnit();
    Application->Initialize();
    TForm* mainForm = nullptr;
    TForm* other = nullptr;
    Application->CreateForm(mainForm);
    Application->CreateForm(other);
    int shown = 0;
    // The main window's first paint fills with one helper thread of the shared pool,
    // which has its size back when the loop ends.
    const int poolThreads = QThreadPool::globalInstance()->maxThreadCount();
    QThreadPool::globalInstance()->setMaxThreadCount(5);
    int threadsWhileShowing = 0;
    mainForm->OnShow = [&](TObject*) {
        ++shown;
        threadsWhileShowing = QThreadPool::globalInstance()->maxThreadCount();
    };
    QTimer::singleShot(0, [&] {
        other->Show();
        other->Widget()->close();         // a second window closing ends nothing
        EXPECT_FALSE(Application->Terminated());
        mainForm->Widget()->close();      // the user closes the main window
    });
    Application->Run();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(threadsWhileShowing, 1);
    EXPECT_EQ(QThreadPool::globalInstance()->maxThreadCount(), 5);
    QThreadPool::globalInstance()->setMaxThreadCount(poolThreads);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(other->Visible());
    FinalizeFormsUnit();
}

TEST_F(FormsTest, ShowModalIsAnsweredThroughTheEntryPoint)
{
    form->SetCaption("Options");
    dialogs.Answer = [&](TDialogRequest& r) {
        EXPECT_EQ(r.Form, form.get());
        return mrOk;
    };
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(form->ModalResult(), mrOk);
    EXPECT_EQ(dialogs.Requests.back().Kind, TDialogKind::dkModalForm);
    EXPECT_EQ(dialogs.Requests.back().Caption, "Options");
}

TEST_F(FormsTest, RealModalLoopEndsWithTheButtonsResult)
{
    auto* ok = new TBitBtn(form.get());
    ok->SetParent(form.get());
    ok->SetKind(bkOK);
    const TDialogAnswerer recorder = SetDialogAnswerer(nullptr);   // no answerer: the real loop
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(form->Modal());
        EXPECT_TRUE(form->Widget()->isVisible());
        form->Widget()->close();   // closing a modal form cancels it
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    QTimer::singleShot(0, [&] { static_cast<QAbstractButton*>(ok->Widget())->click(); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    SetDialogAnswerer(recorder);
    EXPECT_FALSE(form->Modal());
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormsTest, WidgetsCarryTheComponentNames)
{
    form->SetName("fmTest");
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetName("edValue");
    EXPECT_EQ(form->Widget()->objectName(), "fmTest");
    EXPECT_EQ(form->Widget()->findChild<QLineEdit*>("edValue"), edit->Widget());
    edit->SetName("edOther");
    EXPECT_EQ(edit->Widget()->objectName(), "edOther");
}

TEST_F(FormsTest, MainMenuShowsItemsAndRunsTheirHandlers)
{
    auto* menu = new TMainMenu(form.get());
    auto* file = new TMenuItem(form.get());
    file->SetName("File1");
    file->SetCaption("&File");
    menu->Items()->Add(file);
    auto* open = new TMenuItem(form.get());
    open->SetName("Open1");
    open->SetCaption("&Open");
    file->Add(open);
    auto* separator = new TMenuItem(form.get());
    separator->SetCaption("-");
    file->Add(separator);
    form->SetMenu(menu);

    auto* bar = static_cast<QMainWindow*>(form->Widget())->menuBar();
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->objectName(), "File1");
    EXPECT_EQ(bar->actions()[0]->text(), "&File");
    ASSERT_NE(file->Action()->menu(), nullptr);
    EXPECT_EQ(file->Action()->menu()->actions().size(), 2);
    EXPECT_TRUE(separator->Action()->isSeparator());

    int opened = 0;
    open->OnClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, open);
        ++opened;
        throw EInOutError("File not found");
    };
    open->Action()->trigger();
    EXPECT_EQ(opened, 1);
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Text, "File not found.");

    delete open;
    EXPECT_EQ(file->Count(), 1);
    delete menu;   // frees its items with it
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(form->FindComponent("File1"), nullptr);
}

TEST_F(FormsTest, PopupMenuOpensForItsControlAfterOnPopup)
{
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    auto* menu = new TPopupMenu(form.get());
    auto* first = new TMenuItem(form.get());
    first->SetCaption("&First");
    menu->Items()->Add(first);
    auto* second = new TMenuItem(form.get());
    second->SetCaption("&Second");
    menu->Items()->Add(second);
    int clicks = 0;
    second->OnClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, second);
        ++clicks;
    };
    // OnPopup sees the control the menu opens for and may hide items before it shows.
    menu->OnPopup = [&](TObject* Sender) {
        EXPECT_EQ(Sender, menu);
        first->SetVisible(menu->PopupComponent() != edit);
    };
    menu->BindTo(edit);
    form->Show();
    emit edit->Widget()->customContextMenuRequested(QPoint(3, 4));
    EXPECT_EQ(menu->PopupComponent(), edit);
    EXPECT_TRUE(menu->Showing());
    EXPECT_FALSE(first->Action()->isVisible());
    second->Action()->trigger();
    EXPECT_EQ(clicks, 1);
    menu->CloseUp();
    EXPECT_FALSE(menu->Showing());

    // The control going away unbinds the menu.
    delete edit;
    EXPECT_EQ(menu->BoundControl(), nullptr);
    EXPECT_EQ(menu->PopupComponent(), nullptr);
}

TEST_F(FormsTest, DropTargetTakesWhatOnDragOverAccepts)
{
    auto* source = new TEdit(form.get());
    source->SetParent(form.get());
    auto* target = new TListBox(form.get());
    target->SetParent(form.get());
    target->SetBounds(0, 30, 120, 120);
    target->Items()->Add("zero");
    target->Items()->Add("one");
    form->Show();
    auto* list = static_cast<QListWidget*>(target->Widget());
    const QPoint one = list->viewport()->mapTo(list, list->visualItemRect(list->item(1)).center());
    ASSERT_EQ(ListItemAtPos(target, one.x(), one.y()), 1);

    std::vector<int> dropped;
    SetDragSource(source, true);
    SetDropTarget(
        target,
        [&](TObject* Sender, TObject* Source, int X, int Y, bool& Accept) {
            Accept = Sender == target && Source == source && ListItemAtPos(target, X, Y) == 1;
        },
        [&](TObject*, TObject*, int X, int Y) { dropped.push_back(ListItemAtPos(target, X, Y)); });
    EXPECT_TRUE(IsDropTarget(target));
    EXPECT_FALSE(DropOnTarget(target, source, 2, 2));
    EXPECT_FALSE(DropOnTarget(target, target, one.x(), one.y()));
    EXPECT_TRUE(DropOnTarget(target, source, one.x(), one.y()));
    EXPECT_EQ(dropped, std::vector<int>{1});

    // A drop from outside the program is refused.
    QMimeData text;
    text.setText("zero");
    QDropEvent outside(QPointF(one), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &outside);
    EXPECT_FALSE(outside.isAccepted());
    EXPECT_EQ(dropped.size(), 1u);

    SetDropTarget(target, nullptr, nullptr);
    EXPECT_FALSE(IsDropTarget(target));
    EXPECT_FALSE(DropOnTarget(target, source, one.x(), one.y()));
}

TEST_F(FormsTest, TreeViewSelectsAndRenamesOnlyAllowedNodes)
{
    auto* tree = new TTreeView(form.get());
    tree->SetParent(form.get());
    tree->SetBounds(0, 0, 150, 150);
    TTreeNode* series = tree->AddChild(nullptr, "Series");
    TTreeNode* first = tree->AddChild(series, "A", tree);
    TTreeNode* chart = tree->AddChild(nullptr, "Chart");
    TTreeNode* axis = tree->AddChild(chart, "Axis");
    ASSERT_EQ(tree->Count(), 2);
    EXPECT_EQ(tree->TopItem(1), chart);
    EXPECT_EQ(axis->Parent(), chart);
    EXPECT_EQ(series->Item(0), first);
    EXPECT_EQ(tree->FindData(tree), first);
    form->Show();

    std::vector<TTreeNode*> changes;
    tree->OnChange = [&](TObject*, TTreeNode* Node) { changes.push_back(Node); };
    tree->SetSelected(axis);
    EXPECT_EQ(tree->Selected(), axis);
    // Deleting the selected node tells the new selection.
    tree->Delete(chart);
    EXPECT_EQ(tree->Count(), 1);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0], axis);
    EXPECT_EQ(changes[1], tree->Selected());

    // Only nodes with data may be renamed; OnEdited may change the typed text.
    tree->OnEditing = [&](TObject*, TTreeNode* Node, bool& Allow) { Allow = Node->Data() != nullptr; };
    tree->OnEdited = [&](TObject*, TTreeNode*, std::string& S) { S += "!"; };
    auto* widget = static_cast<QTreeWidget*>(tree->Widget());
    const auto editors = [&] { return widget->viewport()->findChildren<QLineEdit*>().size(); };
    widget->editItem(widget->topLevelItem(0));
    EXPECT_EQ(editors(), 0);
    QTreeWidgetItem* item = widget->topLevelItem(0)->child(0);
    widget->editItem(item);
    EXPECT_EQ(editors(), 1);
    item->setText(0, "B");   // what the editor writes back
    EXPECT_EQ(first->Text(), "B!");
    EXPECT_EQ(item->text(0), "B!");
}

TEST_F(FormsTest, OnCreateRunsUnderTheGuard)
{
    struct Created : TForm {
        explicit Created(std::function<void()> Handler) : TForm(nullptr)
        {
            OnCreate = [Handler](TObject*) { Handler(); };
            DoCreate();
        }
    };
    int created = 0;
    Created ok([&] { ++created; });
    EXPECT_EQ(created, 1);
    Created failing([] { throw Exception("broken layout"); });
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Text, "broken layout.");
}

} // namespace

namespace {

TEST_F(FormsTest, DialogsOpenCentredOnTheirOwnersForm)
{
    TForm owner(nullptr);
    owner.SetBounds(100, 80, 400, 300);
    auto* dialog = new TForm(&owner);
    dialog->SetPosition(poOwnerFormCenter);
    dialog->SetBounds(0, 0, 200, 100);
    dialog->Show();
    // Centred on the owner as the owner stands, not on the main form.
    // (The window system may add a few pixels of frame once the window shows.)
    EXPECT_NEAR(dialog->Left() + dialog->Width() / 2, owner.Left() + owner.Width() / 2, 3);
    EXPECT_NEAR(dialog->Top() + dialog->Height() / 2, owner.Top() + owner.Height() / 2, 3);
}

TEST_F(FormsTest, AFormInsideAControlTellsItsShowAndHide)
{
    TForm host(nullptr);
    auto* panel = new TPanel(&host);
    panel->SetParent(&host);
    auto* page = new TForm(&host);
    page->SetVisible(false);
    std::vector<std::string> events;
    page->OnShow = [&](TObject*) { events.push_back("show"); };
    page->OnHide = [&](TObject*) { events.push_back("hide"); };
    page->SetParent(panel);
    page->Show();
    page->Show();
    page->Hide();
    EXPECT_EQ(events, (std::vector<std::string>{"show", "hide"}));
}

// The session bus is looked up where the desktop puts it; without one, no private bus is
// started (the bus address says there is none), and a given address is kept as it is.
class SessionBusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"}) {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    static std::optional<std::string> Address()
    {
        const char* value = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

TEST_F(SessionBusTest, WithoutABusTheAddressSaysThereIsNone)
{
    QTemporaryDir runtime;   // a runtime directory without a bus socket
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    KeepToExistingSessionBus();
    EXPECT_EQ(Address(), "disabled:");
}

TEST_F(SessionBusTest, TheDesktopsBusIsLeftToBeFound)
{
    QTemporaryDir runtime;
    QFile socket(runtime.filePath("bus"));
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    KeepToExistingSessionBus();
    EXPECT_EQ(Address(), std::nullopt);

    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus", 1);
    unsetenv("XDG_RUNTIME_DIR");
    KeepToExistingSessionBus();
    EXPECT_EQ(Address(), "unix:path=/run/user/1000/bus");
}

} // namespace
