// The form builder's layout rules, read from the positions and sizes of a form built for
// the test at two client sizes: what is fixed stays put, what grows takes the difference.
#include "TestSupport.h"

#include "controls/FormBuilder.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <memory>

namespace {

class LayoutForm : public TForm {
public:
    LayoutForm(int ClientWidth, int ClientHeight) : TForm(nullptr)
    {
        SetName("LayoutForm");
        BuildForm(this, ClientWidth, ClientHeight, {
            Row(LCode, "LCode", "&Code:", {Ctl(ECode, "ECode", "", 90)}),
            Ctl(CBKind, "CBKind", "", 70),
            Ctl(EWide, "EWide"),
            Columns({
                Column({Ctl(LBLeft, "LBLeft"), Ctl(BLeft, "BLeft", "Left")}),
                Growing(Column({Growing(Ctl(LBRight, "LBRight")), Ctl(BRight, "BRight", "Right")})),
            }),
            Radios(RGOrder, "RGOrder", "Order:", {"&1", "&2", "&3", "&4", "&5"}, 2),
            Row("&Step:", {UpDownEdit(EStep, "EStep", UDStep, "UDStep", -3, 7)}),
            Row("&Balance:", {Ctl(SBBalance, "SBBalance"), Ctl(LBalance, "LBalance", "50 %", 48)}),
            Row("&Pair:", {UpDownEdit(EPair, "EPair", UDPair, "UDPair", 0, 9), Panel(PPair, "PPair", {Ctl(EInPanel, "EInPanel")})}),
        });
    }
    TLabel* LCode;
    TEdit* ECode;
    TComboBox* CBKind;
    TEdit* EWide;
    TListBox* LBLeft;
    TButton* BLeft;
    TListBox* LBRight;
    TButton* BRight;
    TRadioGroup* RGOrder;
    TEdit* EStep;
    TUpDown* UDStep;
    TScrollBar* SBBalance;
    TLabel* LBalance;
    TEdit* EPair;
    TUpDown* UDPair;
    TPanel* PPair;
    TEdit* EInPanel;
};

// Rows only: nothing in it grows.
class RowsForm : public TForm {
public:
    explicit RowsForm(int ClientHeight) : TForm(nullptr)
    {
        SetName("RowsForm");
        BuildForm(this, 240, ClientHeight, {
            Row(LFirst, "LFirst", "&First:", {Ctl(EFirst, "EFirst")}),
            Ctl(CBSecond, "CBSecond", "&Second"),
        });
    }
    TLabel* LFirst;
    TEdit* EFirst;
    TCheckBox* CBSecond;
};

// Rows, empty room, then a button row: the buttons keep to the bottom right.
class StretchForm : public TForm {
public:
    explicit StretchForm(int ClientHeight) : TForm(nullptr)
    {
        SetName("StretchForm");
        BuildForm(this, 260, ClientHeight, {
            Ctl(CBTop, "CBTop", "&Top"),
            Stretch(),
            Buttons({Ctl(BOk, "BOk", "OK"), Ctl(BCancel, "BCancel", "Cancel")}),
        });
    }
    TCheckBox* CBTop;
    TButton* BOk;
    TButton* BCancel;
};

struct FormBuilderLayout : ::testing::Test {
    // The same table roomy enough for every control's preferred size, and 200 pixels
    // larger each way.
    std::unique_ptr<LayoutForm> small = std::make_unique<LayoutForm>(700, 600);
    std::unique_ptr<LayoutForm> large =
        std::make_unique<LayoutForm>(small->Width() + 200, small->Height() + 200);
};

TEST_F(FormBuilderLayout, FixedWidthControlsKeepTheirWidthAndPlace)
{
    ASSERT_EQ(large->Width(), small->Width() + 200);
    for (LayoutForm* f : {small.get(), large.get()}) {
        EXPECT_EQ(f->ECode->Width(), 90);
        EXPECT_EQ(f->CBKind->Width(), 70);
        // A fixed control on a line of its own stays at the left margin, as does the
        // label of a row; the row's field follows its label.
        EXPECT_EQ(f->CBKind->Left(), f->EWide->Left());
        EXPECT_EQ(f->LCode->Left(), f->EWide->Left());
        EXPECT_GE(f->ECode->Left(), f->LCode->Left() + f->LCode->Width());
    }
    EXPECT_EQ(large->ECode->Left(), small->ECode->Left());
    // A control without a fixed width spans its line.
    EXPECT_EQ(large->EWide->Width(), small->EWide->Width() + 200);
}

TEST_F(FormBuilderLayout, AHorizontalScrollBarSpansWhatItsRowLeaves)
{
    // As a slider does: the bar is no stub beside its label, and the fixed label after
    // it keeps to the right end.
    for (LayoutForm* f : {small.get(), large.get()}) {
        EXPECT_EQ(f->LBalance->Left() + f->LBalance->Width(), f->EWide->Left() + f->EWide->Width());
        EXPECT_GE(f->SBBalance->Width(), f->EWide->Width() / 2);
    }
    EXPECT_EQ(large->SBBalance->Width(), small->SBBalance->Width() + 200);
}

TEST_F(FormBuilderLayout, TheGrowingColumnAndItemTakeWhatIsLeftOver)
{
    // Width: only the column marked growing widens.
    EXPECT_EQ(large->LBLeft->Width(), small->LBLeft->Width());
    EXPECT_EQ(large->LBRight->Width(), small->LBRight->Width() + 200);
    EXPECT_EQ(large->LBRight->Left(), small->LBRight->Left());
    EXPECT_GT(small->LBRight->Left(), small->LBLeft->Left() + small->LBLeft->Width());
    // Height: the growing item of the growing column takes it all; the item below it
    // moves down, the other column keeps its items' sizes and places at the top.
    EXPECT_EQ(large->LBRight->Height(), small->LBRight->Height() + 200);
    EXPECT_EQ(large->BRight->Top(), small->BRight->Top() + 200);
    EXPECT_EQ(large->BRight->Height(), small->BRight->Height());
    EXPECT_EQ(large->LBLeft->Height(), small->LBLeft->Height());
    EXPECT_EQ(large->LBLeft->Top(), large->LBRight->Top());
    EXPECT_EQ(large->BLeft->Top(), small->BLeft->Top());
    EXPECT_EQ(large->BLeft->Top(), large->LBLeft->Top() + large->LBLeft->Height() + 6);
    // Rows above keep their place, rows below move down with the columns' bottom.
    EXPECT_EQ(large->ECode->Top(), small->ECode->Top());
    EXPECT_EQ(large->RGOrder->Top(), small->RGOrder->Top() + 200);
    EXPECT_EQ(large->RGOrder->Height(), small->RGOrder->Height());
    if (const std::string path = testsupport::ArtifactPath("formbuilder-layout.png"); !path.empty()) {
        large->Show();
        EXPECT_TRUE(SaveControlPicture(large.get(), path));
    }
}

TEST(FormBuilderRows, RowsStayAtTheTopOfATallContainer)
{
    RowsForm low(10);
    RowsForm tall(low.Height() + 300);
    ASSERT_EQ(tall.Height(), low.Height() + 300);
    EXPECT_EQ(tall.EFirst->Top(), low.EFirst->Top());
    EXPECT_EQ(tall.EFirst->Height(), low.EFirst->Height());
    EXPECT_EQ(tall.CBSecond->Top(), low.CBSecond->Top());
    EXPECT_EQ(tall.CBSecond->Top(), tall.EFirst->Top() + tall.EFirst->Height() + 6);
}

TEST(FormBuilderRows, EmptyRoomPushesTheButtonRowToTheBottom)
{
    StretchForm low(10);
    StretchForm tall(low.Height() + 150);
    EXPECT_EQ(tall.CBTop->Top(), low.CBTop->Top());
    EXPECT_EQ(tall.BOk->Top(), low.BOk->Top() + 150);
    EXPECT_EQ(tall.BOk->Top() + tall.BOk->Height(), tall.Height() - 8);
    EXPECT_EQ(tall.BCancel->Left() + tall.BCancel->Width(), tall.Width() - 8);
    // The buttons keep their own widths; the room is left of them.
    EXPECT_GT(tall.BOk->Left(), tall.CBTop->Left());
    EXPECT_EQ(tall.BCancel->Left(), tall.BOk->Left() + tall.BOk->Width() + 6);
}

TEST_F(FormBuilderLayout, RadioItemsFillTheAskedColumnsDownwardsFirst)
{
    TRadioGroup* rg = small->RGOrder;
    ASSERT_EQ(rg->Columns(), 2);
    const auto at = [rg](int I) { return rg->Buttons(I)->Widget()->geometry(); };
    // Five items in two columns: three rows, the first column full.
    EXPECT_EQ(at(1).left(), at(0).left());
    EXPECT_EQ(at(2).left(), at(0).left());
    EXPECT_GT(at(1).top(), at(0).top());
    EXPECT_GT(at(2).top(), at(1).top());
    EXPECT_GT(at(3).left(), at(0).left());
    EXPECT_EQ(at(3).top(), at(0).top());
    EXPECT_EQ(at(4).left(), at(3).left());
    EXPECT_EQ(at(4).top(), at(1).top());
}

TEST_F(FormBuilderLayout, UpDownEditStartsAtItsMinimum)
{
    // A negative minimum, so that a position left at 0 shows.
    EXPECT_EQ(small->UDStep->Min(), -3);
    EXPECT_EQ(small->UDStep->Max(), 7);
    EXPECT_EQ(small->UDStep->Position(), -3);
    EXPECT_EQ(small->EStep->Text(), "-3");
    EXPECT_EQ(small->UDStep->Left(), small->EStep->Left() + small->EStep->Width());
    // Alone in its row the pair keeps to the left; beside a group that widens, it keeps
    // its width at the left and the group takes all the room the form gains.
    EXPECT_EQ(large->UDStep->Left(), small->UDStep->Left());
    EXPECT_EQ(large->EPair->Width(), small->EPair->Width());
    EXPECT_EQ(large->UDPair->Left(), small->UDPair->Left());
    EXPECT_EQ(large->UDPair->Left(), large->EPair->Left() + large->EPair->Width());
    EXPECT_EQ(large->PPair->Width(), small->PPair->Width() + 200);
}

} // namespace
