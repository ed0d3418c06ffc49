// The standard controls keep the platform's semantics over their toolkit widgets.
#include "DialogRecorder.h"
#include "UserInput.h"

#include "controls/StdButtons.h"
#include "controls/ExtCtrls.h"
#include "controls/Grids.h"
#include "controls/ListBoxes.h"
#include "controls/StdCtrls.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

class ControlsTest : public ::testing::Test {
protected:
    DialogRecorder dialogs;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
};

TEST_F(ControlsTest, EditFiresOnChangeForProgramAndUserChanges)
{
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    std::vector<std::string> seen;
    edit->OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, edit);
        seen.push_back(edit->Text());
    };
    edit->SetText("12");
    edit->SetText("12");   // the same text is no change
    static_cast<QLineEdit*>(edit->Widget())->insert("3");
    EXPECT_EQ(seen, (std::vector<std::string>{"12", "123"}));
    EXPECT_EQ(edit->Text(), "123");
}

TEST_F(ControlsTest, AltWithALetterTypesNothingIntoEditsAndMemos)
{
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    auto* memo = new TMemo(form.get());
    memo->SetParent(form.get());
    memo->SetTop(40);
    edit->SetText("2");
    user::ShowAndActivate(form.get());
    ASSERT_TRUE(user::Key(edit, Qt::Key_End));
    ASSERT_TRUE(user::Key(Qt::Key_D, Qt::AltModifier));
    ASSERT_TRUE(user::Key(Qt::Key_5, Qt::AltModifier));
    ASSERT_TRUE(user::Type("0"));
    EXPECT_EQ(edit->Text(), "20");
    ASSERT_TRUE(user::Key(memo, Qt::Key_Q, Qt::AltModifier));
    ASSERT_TRUE(user::Type("x"));
    EXPECT_EQ(memo->Text(), "x");
}

TEST_F(ControlsTest, MemoLinesFollowThePlatformLineRules)
{
    auto* memo = new TMemo(form.get());
    TStrings* lines = memo->Lines();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add("a");
    lines->Add("b");
    EXPECT_EQ(lines->Count(), 2);
    EXPECT_EQ(memo->Text(), "a\r\nb\r\n");
    lines->Insert(1, "x");
    lines->Put(0, "A");
    EXPECT_EQ(memo->Text(), "A\r\nx\r\nb\r\n");
    lines->Delete(2);
    lines->Delete(0);
    EXPECT_EQ(memo->Text(), "x\r\n");
    EXPECT_THROW(lines->Get(1), EListError);

    // A text without a final line break: the next line is added after one.
    lines->SetText("p\r\nq");
    EXPECT_EQ(lines->Count(), 2);
    lines->Add("r");
    EXPECT_EQ(lines->Get(2), "r");
    EXPECT_EQ(static_cast<QPlainTextEdit*>(memo->Widget())->toPlainText(), "p\nq\nr");
    memo->Clear();
    EXPECT_EQ(lines->Count(), 0);
}

TEST_F(ControlsTest, TabAndShiftTabLeaveAMemoWithoutTypingIntoIt)
{
    form->SetBounds(0, 0, 300, 200);
    auto* memo = new TMemo(form.get());
    memo->SetParent(form.get());
    memo->Lines()->Add("title");
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetTop(120);
    user::ShowAndActivate(form.get());
    ASSERT_TRUE(user::Key(memo, Qt::Key_Tab));
    EXPECT_EQ(QApplication::focusWidget(), edit->Widget());
    ASSERT_TRUE(user::Key(Qt::Key_Backtab, Qt::ShiftModifier));
    EXPECT_EQ(QApplication::focusWidget(), memo->Widget());
    EXPECT_EQ(memo->Text(), "title\r\n");
    // A memo that wants tabs takes Tab as a character.
    memo->SetWantTabs(true);
    ASSERT_TRUE(user::Key(memo, Qt::Key_Tab));
    EXPECT_EQ(QApplication::focusWidget(), memo->Widget());
    EXPECT_NE(memo->Text().find('\t'), std::string::npos);
}

TEST_F(ControlsTest, TabOrderFollowsTheParentsOfAFormEmbeddedLater)
{
    form->SetBounds(0, 0, 300, 300);
    auto* above = new TEdit(form.get());
    above->SetParent(form.get());
    auto* host = new TPanel(form.get());
    host->SetParent(form.get());
    host->SetBounds(0, 40, 300, 100);
    auto* below = new TButton(form.get());
    below->SetParent(form.get());
    below->SetTop(200);
    user::ShowAndActivate(form.get());
    // A form embedded in the panel after the window was built comes between the controls
    // above and below the panel, not after the window's last control.
    auto* inner = new TForm(form.get());
    auto* innerEdit = new TEdit(inner);
    innerEdit->SetParent(inner);
    inner->SetParent(host);
    inner->Show();
    ASSERT_TRUE(user::Key(above, Qt::Key_Tab));
    EXPECT_EQ(QApplication::focusWidget(), innerEdit->Widget());
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(QApplication::focusWidget(), below->Widget());
}

TEST_F(ControlsTest, TabReachesAScrollBarAndItsKeysMoveItAsThePlatformsDo)
{
    form->SetBounds(0, 0, 300, 200);
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    auto* bar = new TScrollBar(form.get());
    bar->SetParent(form.get());
    bar->SetTop(60);
    bar->SetPosition(50);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    user::ShowAndActivate(form.get());
    ASSERT_TRUE(user::Key(edit, Qt::Key_Tab));
    EXPECT_EQ(QApplication::focusWidget(), bar->Widget());
    // Right, Down and Page Down towards the maximum; Left and Up back.
    ASSERT_TRUE(user::Key(Qt::Key_Right));
    EXPECT_EQ(bar->Position(), 51);
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(user::Key(Qt::Key_Down));
    ASSERT_TRUE(user::Key(Qt::Key_PageDown));
    EXPECT_EQ(bar->Position(), 62);
    ASSERT_TRUE(user::Key(Qt::Key_Left));
    ASSERT_TRUE(user::Key(Qt::Key_Up));
    EXPECT_EQ(bar->Position(), 60);
}

TEST_F(ControlsTest, TabLeavesAGridForTheNextControl)
{
    form->SetBounds(0, 0, 300, 300);
    auto* grid = new TStringGrid(form.get());
    grid->SetParent(form.get());
    grid->SetOptions(goEditing);
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetTop(200);
    user::ShowAndActivate(form.get());
    ASSERT_TRUE(user::Key(grid, Qt::Key_Tab));
    EXPECT_EQ(QApplication::focusWidget(), edit->Widget());
    ASSERT_TRUE(user::Key(Qt::Key_Backtab, Qt::ShiftModifier));
    EXPECT_EQ(QApplication::focusWidget(), grid->Widget());

    // From a cell being edited too, the typed text kept.
    ASSERT_TRUE(user::ClickItem(grid, 1, 1));
    ASSERT_TRUE(user::Type("9"));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(QApplication::focusWidget(), edit->Widget());
    EXPECT_EQ(grid->Cells(1, 1), "9");
    ASSERT_TRUE(user::ClickItem(grid, 2, 2));
    ASSERT_TRUE(user::Type("8"));
    ASSERT_TRUE(user::Key(Qt::Key_Backtab, Qt::ShiftModifier));
    EXPECT_EQ(QApplication::focusWidget(), edit->Widget());
    EXPECT_EQ(grid->Cells(2, 2), "8");
}

TEST_F(ControlsTest, GridsFixedCellsAreNeverChosen)
{
    form->SetBounds(0, 0, 400, 300);
    auto* grid = new TStringGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(0, 0, 380, 200);
    grid->SetOptions(goEditing);
    user::ShowAndActivate(form.get());
    auto* table = static_cast<QTableWidget*>(grid->Widget());
    const auto current = [table] { return std::make_pair(table->currentRow(), table->currentColumn()); };
    const auto chosen = [table](int row, int col) {
        return table->selectionModel()->isSelected(table->model()->index(row, col));
    };

    // The keyboard starts at the first cell beyond the fixed ones and stops at them.
    ASSERT_TRUE(user::Focus(grid));
    EXPECT_EQ(current(), std::make_pair(1, 1));
    ASSERT_TRUE(user::Key(Qt::Key_Up));
    ASSERT_TRUE(user::Key(Qt::Key_Left));
    EXPECT_EQ(current(), std::make_pair(1, 1));
    ASSERT_TRUE(user::Key(Qt::Key_Down));
    ASSERT_TRUE(user::Key(Qt::Key_Right));
    ASSERT_TRUE(user::Key(Qt::Key_Right));
    ASSERT_TRUE(user::Key(Qt::Key_Home));
    EXPECT_EQ(current(), std::make_pair(2, 1));
    ASSERT_TRUE(user::Key(Qt::Key_End));
    ASSERT_TRUE(user::Key(Qt::Key_Home, Qt::ControlModifier));
    EXPECT_EQ(current(), std::make_pair(1, 1));

    // A click on a header cell or on a fixed column's cell chooses nothing.
    ASSERT_TRUE(user::ClickItem(grid, 3, 2));
    ASSERT_TRUE(user::ClickItem(grid, 0, 2));
    ASSERT_TRUE(user::ClickItem(grid, 2, 0));
    EXPECT_EQ(current(), std::make_pair(3, 2));
    EXPECT_TRUE(chosen(3, 2));
    EXPECT_FALSE(chosen(0, 2));
    EXPECT_FALSE(chosen(2, 0));
}

TEST_F(ControlsTest, GridKeepsTextsOfHiddenRowsAndChecksIndexes)
{
    auto* grid = new TStringGrid(form.get());
    grid->SetColCount(4);
    grid->SetRowCount(6);
    auto* table = static_cast<QTableWidget*>(grid->Widget());
    grid->SetCells(2, 5, "kept");
    grid->SetRowCount(3);
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(grid->Cells(2, 5), "kept");
    grid->SetCells(1, 10, "beyond");   // rows past the count can be written
    grid->SetRowCount(11);
    ASSERT_NE(table->item(5, 2), nullptr);
    EXPECT_EQ(table->item(5, 2)->text(), "kept");
    EXPECT_EQ(table->item(10, 1)->text(), "beyond");

    EXPECT_THROW(grid->Cells(-1, 0), ERangeError);
    EXPECT_THROW(grid->SetCells(0, TStringGrid::MaxCellIndex + 1, "x"), ERangeError);
    EXPECT_THROW(grid->ColWidths(4), ERangeError);
    EXPECT_EQ(grid->Cells(3, TStringGrid::MaxCellIndex), "");
}

TEST_F(ControlsTest, GridTakesUserEditsOnlyInEditableCells)
{
    auto* grid = new TStringGrid(form.get());
    auto* table = static_cast<QTableWidget*>(grid->Widget());
    EXPECT_FALSE(table->item(1, 1)->flags() & Qt::ItemIsEditable);
    grid->SetOptions(goEditing);
    EXPECT_TRUE(table->item(1, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(table->item(0, 1)->flags() & Qt::ItemIsEditable);   // fixed row
    EXPECT_FALSE(table->item(1, 0)->flags() & Qt::ItemIsEditable);   // fixed column
    table->item(2, 3)->setText("typed");
    EXPECT_EQ(grid->Cells(3, 2), "typed");
    grid->SetColWidths(1, 95);
    EXPECT_EQ(table->columnWidth(1), 95);
}

TEST_F(ControlsTest, GridCopiesSelectedCellsAndPastesIntoEditableOnes)
{
    form->SetBounds(0, 0, 400, 300);
    auto* grid = new TStringGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(0, 0, 400, 300);
    grid->SetColCount(4);
    grid->SetOptions(goEditing);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 4; ++col)
            grid->SetCells(col, row, std::to_string(col) + ":" + std::to_string(row));
    user::ShowAndActivate(form.get());
    QClipboard* clipboard = QGuiApplication::clipboard();

    // A block selected from its bottom-right corner up and left: rows by lines, cells by tabs.
    ASSERT_TRUE(user::ClickItem(grid, 3, 3));
    ASSERT_TRUE(user::Key(Qt::Key_Up, Qt::ShiftModifier));
    ASSERT_TRUE(user::Key(Qt::Key_Left, Qt::ShiftModifier));
    ASSERT_TRUE(user::Key(Qt::Key_C, Qt::ControlModifier));
    EXPECT_EQ(clipboard->text(), "2:2\t3:2\n2:3\t3:3");

    // Lines from a text editor land from the top-left selected cell on; the fixed column,
    // the fixed row and what falls outside the grid stay as they were.
    clipboard->setText("a\tb\tc\r\nd\te\tf\r\ng\r\n");
    ASSERT_TRUE(user::ClickItem(grid, 3, 2));
    ASSERT_TRUE(user::Key(Qt::Key_Down, Qt::ShiftModifier));
    ASSERT_TRUE(user::Key(Qt::Key_V, Qt::ControlModifier));
    EXPECT_EQ(grid->Cells(2, 3) + grid->Cells(3, 3) + grid->Cells(2, 4) + grid->Cells(3, 4), "abde");
    EXPECT_EQ(grid->Cells(2, 2) + grid->Cells(3, 2), "2:23:2");
    // A click on a fixed cell chooses nothing: the paste still lands on the block chosen.
    clipboard->setText("x\ty");
    ASSERT_TRUE(user::ClickItem(grid, 0, 0));
    ASSERT_TRUE(user::ClickItem(grid, 4, 0));
    ASSERT_TRUE(user::Key(Qt::Key_V, Qt::ControlModifier));
    EXPECT_EQ(grid->Cells(0, 0) + grid->Cells(1, 0) + grid->Cells(0, 4), "0:01:00:4");
    EXPECT_EQ(grid->Cells(2, 3) + grid->Cells(3, 3), "xy");
    auto* table = static_cast<QTableWidget*>(grid->Widget());
    EXPECT_EQ(table->item(3, 3)->text(), "y");

    // A cell being edited keeps the keys for its own text.
    clipboard->setText("typed");
    ASSERT_TRUE(user::ClickItem(grid, 1, 1));
    ASSERT_TRUE(user::Key(Qt::Key_F2));
    ASSERT_TRUE(user::Key(Qt::Key_End));
    ASSERT_TRUE(user::Key(Qt::Key_V, Qt::ControlModifier));
    ASSERT_TRUE(user::Key(Qt::Key_Return));
    EXPECT_EQ(grid->Cells(1, 1), "1:1typed");
}

TEST_F(ControlsTest, ComboBoxChangesFireOnlyForTheUser)
{
    auto* box = new TComboBox(form.get());
    box->SetStyle(csDropDownList);
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    box->Items()->Add("T");
    box->Items()->Add("1/T");
    EXPECT_EQ(box->ItemIndex(), -1);
    box->SetItemIndex(1);
    EXPECT_EQ(box->Text(), "1/T");
    box->SetItemIndex(5);
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(changes, 0);
    auto* q = static_cast<QComboBox*>(box->Widget());
    q->setCurrentIndex(0);
    emit q->activated(0);
    EXPECT_EQ(changes, 1);
    box->SetText("1/T");
    EXPECT_EQ(box->ItemIndex(), 1);

    // An editable box counts typing as a change, once however often its style is set.
    auto* edit = new TComboBox(form.get());
    edit->SetStyle(csDropDownList);
    edit->SetStyle(csDropDown);
    edit->SetStyle(csDropDown);
    int typed = 0;
    edit->OnChange = [&](TObject*) { ++typed; };
    static_cast<QComboBox*>(edit->Widget())->lineEdit()->insert("42");
    EXPECT_EQ(typed, 1);
    EXPECT_EQ(edit->Text(), "42");

    // Made list-only, a box has no editing field until it is made editable.
    auto* list = new TComboBox(form.get(), csDropDownList);
    auto* listBox = static_cast<QComboBox*>(list->Widget());
    EXPECT_EQ(list->Style(), csDropDownList);
    EXPECT_EQ(listBox->lineEdit(), nullptr);
    list->OnChange = [&](TObject*) { ++typed; };
    list->SetStyle(csDropDown);
    ASSERT_NE(listBox->lineEdit(), nullptr);
    listBox->lineEdit()->insert("7");
    EXPECT_EQ(typed, 2);
}

TEST_F(ControlsTest, AListBoxClicksWhenTheUsersKeysOrMouseChooseAnItemButNotForTheProgram)
{
    form->SetBounds(0, 0, 200, 200);
    auto* list = new TListBox(form.get());
    list->SetParent(form.get());
    list->SetBounds(0, 0, 150, 150);
    for (const char* item : {"Solid", "None", "Horizontal", "Vertical"})
        list->Items()->Add(item);
    std::vector<int> clicked;
    list->OnClick = [&](TObject*) { clicked.push_back(list->ItemIndex()); };
    list->SetItemIndex(1);
    user::ShowAndActivate(form.get());
    ASSERT_TRUE(user::Key(list, Qt::Key_Down));
    ASSERT_TRUE(user::Key(Qt::Key_End));
    ASSERT_TRUE(user::Key(Qt::Key_Down));   // at the end: nothing moves, no click
    ASSERT_TRUE(user::Type("s"));
    EXPECT_EQ(clicked, (std::vector<int>{2, 3, 0}));
    list->SetItemIndex(2);
    EXPECT_EQ(clicked.size(), 3U);
    ASSERT_TRUE(user::ClickItem(list, 1));
    EXPECT_EQ(clicked, (std::vector<int>{2, 3, 0, 1}));
}

TEST_F(ControlsTest, CheckBoxClickFollowsCheckedChanges)
{
    auto* box = new TCheckBox(form.get());
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, AlignedChildrenShareTheClientArea)
{
    form->SetBounds(0, 0, 400, 300);
    auto* top = new TPanel(form.get());
    top->SetParent(form.get());
    top->SetHeight(40);
    top->SetAlign(alTop);
    auto* client = new TPanel(form.get());
    client->SetParent(form.get());
    client->SetBevelOuter(bvLowered);
    client->SetAlign(alClient);
    auto* bottom = new TPanel(form.get());
    bottom->SetParent(form.get());
    bottom->SetHeight(30);
    bottom->SetAlign(alBottom);
    EXPECT_EQ(top->Top(), 0);
    EXPECT_EQ(top->Width(), 400);
    EXPECT_EQ(bottom->Top(), 270);
    EXPECT_EQ(client->Top(), 40);
    EXPECT_EQ(client->Height(), 230);

    // Inside a lowered panel the bevel is kept free; a resize lays out again.
    auto* inner = new TMemo(form.get());
    inner->SetParent(client);
    inner->SetAlign(alClient);
    EXPECT_EQ(inner->Left(), 1);
    EXPECT_EQ(inner->Width(), 398);
    form->SetHeight(400);
    EXPECT_EQ(client->Height(), 330);
    EXPECT_EQ(inner->Height(), 328);
    bottom->SetVisible(false);
    EXPECT_EQ(client->Height(), 360);
}

TEST_F(ControlsTest, ControlsOutliveAFreedParent)
{
    auto owner = std::make_unique<TForm>(nullptr);
    auto* panel = new TPanel(owner.get());
    panel->SetParent(owner.get());
    auto* label = new TLabel(form.get());   // owned by another form
    label->SetParent(panel);
    delete panel;
    EXPECT_EQ(label->Parent(), nullptr);
    ASSERT_NE(label->Widget(), nullptr);
    label->SetCaption("still here");
    EXPECT_EQ(label->Caption(), "still here");
}

TEST_F(ControlsTest, CaptionsWithAcceleratorsAndFonts)
{
    EXPECT_EQ(StripHotkey("Close && &RUN "), "Close & RUN ");
    EXPECT_EQ(StripHotkey("E&xit"), "Exit");
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetCaption("X");
    const int narrow = label->Width();
    label->SetCaption("Dividing string");   // a label takes the size of its text
    EXPECT_GT(label->Width(), 3 * narrow);
    label->SetFontName("Courier New");
    label->SetFontStyle(fsBold | fsItalic);
    label->SetFontColor(clRed);
    EXPECT_EQ(label->FontName(), "Courier New");
    EXPECT_TRUE(label->Widget()->font().bold());
    EXPECT_TRUE(label->Widget()->font().italic());
    EXPECT_EQ(label->Widget()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

} // namespace
