// The editor dialogs' small controls: the colour button's swatch, its colour dialog and
// the program's custom colours, properties linked by name, and the flat combo box.
#include "TeeButtons.h"
#include "PixelProbe.h"

#include "ChartStarted.h"
#include "DialogRecorder.h"

#include "controls/CommonDialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

namespace {

using testsupport::Px;

class ButtonsTest : public testsupport::ChartStartedTest {
protected:
    DialogRecorder dialogs;

    // Answers every colour dialog with Pick (a cancel when Pick is clNone), keeping the
    // colour each one started at and the custom colours it was given.
    void AnswerColors(TColor Pick)
    {
        dialogs.Answer = [this, Pick](TDialogRequest& r) {
            TColorDialogRequest* c = AsColorDialogRequest(r);
            if (c == nullptr)
                return int(mrCancel);
            Started.push_back(c->Color);
            CustomSeen.push_back(c->CustomColors);
            if (Pick == clNone)
                return int(mrCancel);
            c->Color = Pick;
            c->CustomColors[3] = Pick;
            return int(mrOk);
        };
    }
    std::vector<TColor> Started;
    std::vector<std::vector<TColor>> CustomSeen;
};

} // namespace

TEST_F(ButtonsTest, ColourButtonPaintsItsSwatchInTheSymbolRectangle)
{
    TButtonColor button(nullptr);
    TChartPen pen;
    pen.SetColor(clRed);
    button.LinkProperty(&pen, "Color");
    EXPECT_EQ(button.Width(), 75);
    EXPECT_EQ(button.Height(), 25);
    EXPECT_EQ(button.SymbolRect(), TRect(56, 7, 69, 19));

    TBitmap bmp;
    button.PaintTo(&bmp);
    ASSERT_EQ(bmp.Width(), 75);
    EXPECT_EQ(Px(bmp, 62, 12), clRed);     // the fill
    EXPECT_EQ(Px(bmp, 56, 7), clBlack);    // the frame, right and bottom edges excluded
    EXPECT_EQ(Px(bmp, 68, 18), clBlack);
    EXPECT_NE(Px(bmp, 69, 12), clBlack);
    EXPECT_NE(Px(bmp, 62, 19), clBlack);

    // Disabled: the swatch without its frame.
    button.SetEnabled(false);
    button.PaintTo(&bmp);
    EXPECT_EQ(Px(bmp, 62, 12), clRed);
    EXPECT_NE(Px(bmp, 56, 12), clBlack);

    // A system colour is shown as its RGB value.
    pen.SetColor(clBtnShadow);
    EXPECT_EQ(button.SymbolColor(), ColorToRGB(clBtnShadow));
}

TEST_F(ButtonsTest, ColourButtonShowingNoneLeavesTheButtonAsItIs)
{
    TTeeButton plain(nullptr);
    plain.SetCaption("&Color...");
    TButtonColor button(nullptr);
    button.SetCaption("&Color...");
    TChartPen pen;
    pen.SetColor(clNone);
    button.LinkProperty(&pen, "Color");
    TBitmap a, b;
    plain.PaintTo(&a);
    button.PaintTo(&b);
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(Px(a, x, y), Px(b, x, y)) << x << "," << y;
}

TEST_F(ButtonsTest, PickingAnotherColourWritesTheLinkedPropertyThenFiresOnClick)
{
    TButtonColor button(nullptr);
    TChartPen pen;
    int penChanges = 0;
    pen.OnChange = [&](TObject*) { ++penChanges; };
    pen.SetColor(clBtnFace);
    penChanges = 0;
    button.LinkProperty(&pen, "color");   // names compare without case
    ASSERT_NE(button.LinkedProperty(), nullptr);
    TColor seenInOnClick = clNone;
    int clicks = 0;
    button.OnClick = [&](TObject*) {
        ++clicks;
        seenInOnClick = pen.Color();
    };

    AnswerColors(clLime);
    button.Click();
    ASSERT_EQ(Started.size(), 1u);
    EXPECT_EQ(Started[0], ColorToRGB(clBtnFace));   // the dialog starts at the colour shown
    EXPECT_EQ(pen.Color(), clLime);
    EXPECT_EQ(penChanges, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seenInOnClick, clLime);

    // The same colour picked again: nothing is written and OnClick does not fire.
    button.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(penChanges, 1);

    // Cancelled: the property is unchanged and OnClick does not fire.
    AnswerColors(clNone);
    button.Click();
    EXPECT_EQ(pen.Color(), clLime);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonsTest, CustomColoursChosenInOneDialogAppearInTheNext)
{
    TButtonColor first(nullptr), second(nullptr);
    AnswerColors(clTeal);
    first.Click();
    ASSERT_EQ(CustomSeen.size(), 1u);
    ASSERT_EQ(CustomSeen[0].size(), size_t(ColorDialogCustomCount));
    EXPECT_EQ(CustomSeen[0][3], clWhite);   // none chosen yet

    // A cancelled dialog keeps nothing of what it showed.
    dialogs.Answer = [&](TDialogRequest& r) {
        TColorDialogRequest* c = AsColorDialogRequest(r);
        CustomSeen.push_back(c->CustomColors);
        c->CustomColors[3] = clPurple;
        return int(mrCancel);
    };
    second.Click();
    AnswerColors(clNavy);
    second.Click();
    ASSERT_EQ(CustomSeen.size(), 3u);
    EXPECT_EQ(CustomSeen[1][3], clTeal);
    EXPECT_EQ(CustomSeen[2][3], clTeal);
    EXPECT_EQ(second.SymbolColor(), clNavy);

    // The list lives until the library finishes.
    testsupport::FinishChartLibrary();
    testsupport::StartChartLibrary();
    AnswerColors(clNavy);
    first.Click();
    EXPECT_EQ(CustomSeen.back()[3], clWhite);
}

TEST_F(ButtonsTest, ColourComesFromTheGetterThenThePropertyThenTheButton)
{
    TeeButtonsFinalization();   // a button linked before start-up finds the property too
    TButtonColor button(nullptr);
    TTeeGradient gradient;
    button.LinkProperty(&gradient, "EndColor");
    EXPECT_EQ(button.SymbolColor(), clYellow);
    button.SetSymbolColor(clRed);
    EXPECT_EQ(gradient.EndColor(), clRed);

    button.GetColorProc = [] { return clAqua; };
    EXPECT_EQ(button.SymbolColor(), clAqua);
    button.GetColorProc = nullptr;

    // A name the class does not have links nothing: the button keeps its own colour.
    TChartPen pen;
    pen.SetColor(clGreen);
    button.LinkProperty(&pen, "EndColor");
    EXPECT_EQ(button.LinkedProperty(), nullptr);
    button.SetSymbolColor(clMaroon);
    EXPECT_EQ(button.SymbolColor(), clMaroon);
    EXPECT_EQ(pen.Color(), clGreen);
}

// A chart object that lists its properties in its class information.
class TListedSwatch : public TPersistent {
public:
    DECLARE_CLASS_INFO(TListedSwatch)
    TColor BackColor() const { return FBack; }
    void SetBackColor(TColor v) { FBack = v; }
    std::string Caption() const { return "swatch"; }

private:
    TColor FBack = clTeal;
};
BEGIN_CLASS_INFO(TListedSwatch, TPersistent)
    .Int("BackColor", &TListedSwatch::BackColor, &TListedSwatch::SetBackColor)
    .Str("Caption", &TListedSwatch::Caption)
END_CLASS_INFO

TEST_F(ButtonsTest, AnyListedColourPropertyCanBeLinked)
{
    TButtonColor button(nullptr);
    TListedSwatch swatch;
    button.LinkProperty(&swatch, "backcolor");
    ASSERT_EQ(button.LinkedProperty(), TListedSwatch::StaticClassInfo()->FindProperty("BackColor"));
    EXPECT_EQ(button.SymbolColor(), clTeal);
    button.SetSymbolColor(clOlive);
    EXPECT_EQ(swatch.BackColor(), clOlive);
    // A text property is no colour.
    button.LinkProperty(&swatch, "Caption");
    EXPECT_EQ(button.LinkedProperty(), nullptr);
}

TEST_F(ButtonsTest, FlatComboHasItsDefaultsAndStoresOnlyAnOwnDropDownWidth)
{
    TComboFlat combo(nullptr);
    EXPECT_EQ(combo.Height(), 21);
    EXPECT_EQ(combo.ItemHeight(), 13);
    EXPECT_EQ(combo.Style(), csDropDownList);
    EXPECT_EQ(combo.ItemIndex(), -1);

    combo.SetWidth(120);
    EXPECT_EQ(combo.DropDownWidth(), 120);
    EXPECT_FALSE(combo.IsDropDownWidthStored());
    combo.SetDropDownWidth(200);
    EXPECT_EQ(combo.Perform(CB_GETDROPPEDWIDTH, 0, 0), 200);
    EXPECT_TRUE(combo.IsDropDownWidthStored());
    combo.SetWidth(200);
    EXPECT_FALSE(combo.IsDropDownWidthStored());
    // The list is never narrower than the box.
    combo.Perform(CB_SETDROPPEDWIDTH, 50, 0);
    EXPECT_EQ(combo.DropDownWidth(), 200);
}

TEST_F(ButtonsTest, FlatComboDrawsItsFlatFrameOnlyWhileTheMouseIsAway)
{
    TComboFlat combo(nullptr);
    combo.SetBounds(0, 0, 100, 21);
    combo.Items()->Add("One");
    combo.SetItemIndex(0);
    const TColor face = ColorToRGB(clBtnFace), window = ColorToRGB(clWindow);

    TBitmap flat;
    combo.PaintTo(&flat);
    ASSERT_EQ(flat.Width(), 100);
    for (int x = 0; x < 100; ++x) {
        ASSERT_EQ(Px(flat, x, 0), face) << x;    // the outer frame
        ASSERT_EQ(Px(flat, x, 20), face) << x;
    }
    EXPECT_EQ(Px(flat, 1, 10), face);            // the frame inset by 1
    // The drop-down button's area inside that: framed from x = 99 - 18 - 2 = 79 and
    // y = 2 to 18, with a line at x = 97.
    EXPECT_EQ(Px(flat, 79, 10), window);
    EXPECT_EQ(Px(flat, 85, 2), window);
    EXPECT_EQ(Px(flat, 85, 18), window);
    EXPECT_EQ(Px(flat, 97, 5), window);

    QWidget* box = combo.Widget();
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(box, &enter);
    EXPECT_TRUE(combo.MouseInControl());
    TBitmap over;
    combo.PaintTo(&over);
    int differing = 0;
    for (int x = 0; x < 100; ++x)
        differing += Px(over, x, 0) != face || Px(over, x, 20) != face ? 1 : 0;
    EXPECT_GT(differing, 0);   // the toolkit's own frame shows

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(box, &leave);
    EXPECT_FALSE(combo.MouseInControl());
    combo.PaintTo(&over);
    EXPECT_EQ(Px(over, 50, 0), face);
}
