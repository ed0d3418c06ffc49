// The pen dialog driven as a user would: its layout, what it shows for a pen, the edits
// it writes at once, the rules for platforms without extended pens, and Cancel.
#include "UserInput.h"
#include "pendlg_driver.h"
#include "PixelProbe.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

#include "controls/FormBuilder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTimer>
#include <QPixmap>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

using namespace pendlgtest;

namespace {

std::vector<std::string> ItemsOf(TComboBox* Combo)
{
    std::vector<std::string> items;
    for (int i = 0; i < Combo->Items()->Count(); ++i)
        items.push_back(Combo->Items()->Get(i));
    return items;
}

using testsupport::Px;

class PenDialogTest : public ::testing::Test {
protected:
    PenDialogDriver driver;
    TForm owner{nullptr};
    TChartPen pen{[this](TObject*) { ++changes; }};
    int changes = 0;
};

} // namespace

TEST_F(PenDialogTest, LayoutHasEveryControlWithItsNameCaptionAndItems)
{
    driver.Act = [&](TPenDialog* d) {
        EXPECT_EQ(d->Caption(), "Border Editor");
        // The stored size, or more where the laid-out controls need it.
        EXPECT_GE(FormClientWidth(d), 269);
        EXPECT_GE(FormClientHeight(d), 104);
        EXPECT_LT(FormClientHeight(d), 2 * 104);
        if (const std::string path = testsupport::ArtifactPath("editor-pen.png"); !path.empty()) {
            EXPECT_TRUE(SaveControlPicture(d, path));
        }
        EXPECT_EQ(FormBorderStyle(d), bsDialog);
        EXPECT_EQ(FormBorderIcons(d), TBorderIcons(biSystemMenu));
        EXPECT_EQ(d->Position(), poOwnerFormCenter);
        EXPECT_EQ(d->Owner(), &owner);
        const std::pair<TControl*, const char*> named[] = {
            {d->CBVisible, "CBVisible"}, {d->CBStyle, "CBStyle"}, {d->SEWidth, "SEWidth"},
            {d->UDWidth, "UDWidth"},     {d->BColor, "BColor"},   {d->CBEndStyle, "CBEndStyle"},
            {d->BOk, "BOk"},             {d->BCancel, "BCancel"},
        };
        for (auto [control, name] : named) {
            EXPECT_EQ(control->Name(), name);
            EXPECT_EQ(d->Widget()->findChild<QWidget*>(name), control->Widget()) << name;
        }
        EXPECT_EQ(d->CBVisible->Caption(), "&Visible");
        EXPECT_EQ(d->LStyle->Caption(), "&Style:");
        EXPECT_EQ(d->LWidth->Caption(), "&Width:");
        EXPECT_EQ(d->BColor->Caption(), "&Color...");
        EXPECT_EQ(d->BOk->Caption(), "OK");
        EXPECT_TRUE(d->BOk->Default());
        EXPECT_EQ(d->BCancel->Caption(), "Cancel");
        EXPECT_TRUE(d->BCancel->Cancel());
        EXPECT_EQ(ItemsOf(d->CBStyle),
                  (std::vector<std::string>{"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot", "Small Dots"}));
        EXPECT_TRUE(d->CBStyle->OwnerDraw());
        EXPECT_EQ(d->CBStyle->ItemHeight(), 16);
        EXPECT_EQ(ItemsOf(d->CBEndStyle), (std::vector<std::string>{"Round", "Square", "Flat"}));
        EXPECT_EQ(d->UDWidth->Min(), 1);
        EXPECT_EQ(d->UDWidth->Associate(), d->SEWidth);
    };
    EXPECT_FALSE(ShowPenEditor(&owner, &pen));
    EXPECT_EQ(driver.Shown, 1);
}

TEST_F(PenDialogTest, ShowingFillsTheControlsFromThePenWithoutTouchingIt)
{
    pen.SetWidth(3);
    pen.SetStyle(psDot);
    pen.SetEndStyle(esFlat);
    pen.SetVisible(false);
    changes = 0;
    driver.Act = [&](TPenDialog* d) {
        EXPECT_FALSE(d->CBVisible->Checked());
        EXPECT_EQ(d->CBStyle->ItemIndex(), int(psDot));
        EXPECT_EQ(d->SEWidth->Text(), "3");
        EXPECT_EQ(d->UDWidth->Position(), 3);
        EXPECT_EQ(d->CBEndStyle->ItemIndex(), int(esFlat));
        EXPECT_TRUE(d->SEWidth->Enabled());
        EXPECT_TRUE(d->CBEndStyle->Visible());
        EXPECT_EQ(d->BColor->Instance(), &pen);
        EXPECT_FALSE(d->Modified());
        EXPECT_EQ(d->BackupPen()->Width(), 3);
        EXPECT_FALSE(d->BackupPen()->Visible());
        EXPECT_TRUE(user::Click(d->BOk));
    };
    EXPECT_TRUE(ShowPenEditor(&owner, &pen));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(pen.Width(), 3);
    EXPECT_FALSE(pen.Visible());

    // A width beyond the up-down's range is shown as its maximum but kept until edited.
    pen.SetWidth(150);
    changes = 0;
    driver.Act = [&](TPenDialog* d) {
        EXPECT_EQ(d->SEWidth->Text(), "100");
        EXPECT_TRUE(user::Click(d->BOk));
    };
    EXPECT_TRUE(ShowPenEditor(&owner, &pen));
    EXPECT_EQ(pen.Width(), 150);
    EXPECT_EQ(changes, 0);
}

TEST_F(PenDialogTest, RealWindowEndsWithItsOkButton)
{
    const TDialogAnswerer recorder = SetDialogAnswerer(nullptr);   // the real modal loop
    QTimer::singleShot(0, [] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        window->findChild<QLineEdit*>("SEWidth")->setText("4");
        window->findChild<QAbstractButton*>("BOk")->click();
    });
    const bool ok = ShowPenEditor(&owner, &pen);
    SetDialogAnswerer(recorder);
    EXPECT_TRUE(ok);
    EXPECT_EQ(pen.Width(), 4);
}

TEST_F(PenDialogTest, PictureOfTheDialog)
{
    const std::string path = testsupport::ArtifactPath("pen-dialog.png");
    if (path.empty())
        GTEST_SKIP() << "TEST_ARTIFACTS_DIR is not set";
    pen.SetColor(clRed);
    pen.SetWidth(3);
    pen.SetStyle(psDash);
    driver.Act = [&](TPenDialog* d) {
        const QImage image = d->Widget()->grab().toImage();
        EXPECT_TRUE(image.save(QString::fromStdString(path)));
        TBitmap item;
        d->CBStyle->PaintItemTo(&item, 1, odSelected);
        item.SaveToFile(testsupport::ArtifactPath("pen-dialog-item.bmp"));
    };
    ShowPenEditor(&owner, &pen);
}

TEST_F(PenDialogTest, EachControlWritesThePenAtOnce)
{
    driver.PickColor = clRed;
    driver.Act = [&](TPenDialog* d) {
        d->CBVisible->SetChecked(false);
        EXPECT_FALSE(pen.Visible());
        d->SEWidth->SetText("4");
        EXPECT_EQ(pen.Width(), 4);
        d->UDWidth->StepUp();
        EXPECT_EQ(pen.Width(), 5);
        Choose(d->CBStyle, int(psDashDot));
        EXPECT_EQ(pen.Style(), psDashDot);
        Choose(d->CBEndStyle, int(esSquare));
        EXPECT_EQ(pen.EndStyle(), esSquare);
        EXPECT_TRUE(user::Click(d->BColor));
        EXPECT_EQ(pen.Color(), clRed);
        EXPECT_TRUE(d->Modified());
        EXPECT_TRUE(user::Click(d->BOk));
    };
    EXPECT_TRUE(ShowPenEditor(&owner, &pen));
    EXPECT_EQ(driver.ColorDialogs, 1);
    EXPECT_FALSE(pen.Visible());
    EXPECT_EQ(pen.Width(), 5);
    EXPECT_EQ(pen.Style(), psDashDot);
    EXPECT_EQ(pen.EndStyle(), esSquare);
    EXPECT_EQ(pen.Color(), clRed);
}

TEST_F(PenDialogTest, WidthEditKeepsTheLastGoodNumberWithinRange)
{
    pen.SetWidth(2);
    driver.Act = [&](TPenDialog* d) {
        d->SEWidth->SetText("abc");
        EXPECT_EQ(pen.Width(), 2);
        d->SEWidth->SetText("0");   // below the minimum
        EXPECT_EQ(pen.Width(), 1);
        d->SEWidth->SetText(" 7 ");
        EXPECT_EQ(pen.Width(), 7);
        EXPECT_TRUE(user::Click(d->BOk));
    };
    EXPECT_TRUE(ShowPenEditor(&owner, &pen));
    EXPECT_EQ(pen.Width(), 7);
}

TEST_F(PenDialogTest, SmallDotsThenDashClearsSmallDotsAndEnablesTheWidth)
{
    driver.Act = [&](TPenDialog* d) {
        Choose(d->CBStyle, 5);
        EXPECT_TRUE(pen.SmallDots());
        EXPECT_FALSE(d->SEWidth->Enabled());
        EXPECT_FALSE(d->UDWidth->Enabled());
        Choose(d->CBStyle, int(psDash));
        EXPECT_FALSE(pen.SmallDots());
        EXPECT_EQ(pen.Style(), psDash);
        EXPECT_TRUE(d->SEWidth->Enabled());
        EXPECT_TRUE(d->UDWidth->Enabled());
        EXPECT_TRUE(user::Click(d->BOk));
    };
    EXPECT_TRUE(ShowPenEditor(&owner, &pen));

    // A small-dots pen opens with the last item selected and the width disabled.
    pen.SetSmallDots(true);
    driver.Act = [&](TPenDialog* d) {
        EXPECT_EQ(d->CBStyle->ItemIndex(), 5);
        EXPECT_FALSE(d->SEWidth->Enabled());
    };
    ShowPenEditor(&owner, &pen);
}

TEST_F(PenDialogTest, WithoutExtendedPensTheStyleNeedsWidthOne)
{
    pen.SetWidth(2);
    pen.SetSmallDots(true);
    owner.SetName("Owner");
    std::unique_ptr<TPenDialog> dialog(CreateDialogForm<TPenDialog>(&owner));
    dialog->SetExtendedPens(false);
    dialog->SetPen(&pen);
    driver.Act = [&](TPenDialog* d) {
        EXPECT_EQ(ItemsOf(d->CBStyle).size(), 5u);
        EXPECT_FALSE(d->CBEndStyle->Visible());
        EXPECT_FALSE(d->CBStyle->Enabled());
        EXPECT_EQ(d->CBStyle->ItemIndex(), int(psSolid));
        d->SEWidth->SetText("1");
        EXPECT_TRUE(d->CBStyle->Enabled());
        Choose(d->CBStyle, 4);   // the last item is a plain style here
        EXPECT_EQ(pen.Style(), psDashDotDot);
        EXPECT_FALSE(pen.SmallDots());
        d->SEWidth->SetText("3");
        EXPECT_FALSE(d->CBStyle->Enabled());
        EXPECT_TRUE(user::Click(d->BOk));
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    dialog.reset();
    EXPECT_EQ(pen.Width(), 3);
}

TEST_F(PenDialogTest, CancelWithoutChangesLeavesThePenAlone)
{
    pen.SetColor(clNavy);
    changes = 0;
    driver.Act = [&](TPenDialog* d) { EXPECT_TRUE(user::Click(d->BCancel)); };
    EXPECT_FALSE(ShowPenEditor(&owner, &pen));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(pen.Color(), clNavy);
}

TEST_F(PenDialogTest, CancelRestoresEveryChangeAndTellsTheOwnerOnce)
{
    pen.SetColor(clNavy);
    pen.SetWidth(2);
    pen.SetStyle(psDot);
    changes = 0;
    driver.PickColor = clLime;
    driver.Act = [&](TPenDialog* d) {
        d->CBVisible->SetChecked(false);
        d->SEWidth->SetText("6");
        Choose(d->CBStyle, 5);
        Choose(d->CBEndStyle, int(esFlat));
        EXPECT_TRUE(user::Click(d->BColor));
        ASSERT_EQ(pen.Color(), clLime);
        changes = 0;
        EXPECT_TRUE(user::Click(d->BCancel));
    };
    EXPECT_FALSE(ShowPenEditor(&owner, &pen));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(pen.Visible());
    EXPECT_EQ(pen.Width(), 2);
    EXPECT_EQ(pen.Style(), psDot);
    EXPECT_FALSE(pen.SmallDots());
    EXPECT_EQ(pen.EndStyle(), esRound);
    EXPECT_EQ(pen.Color(), clNavy);
}

TEST_F(PenDialogTest, ClosingTheDialogOtherwiseIsACancelToo)
{
    pen.SetWidth(2);
    changes = 0;
    driver.Act = [&](TPenDialog* d) { d->SEWidth->SetText("5"); };   // then Escape or the close box
    EXPECT_FALSE(ShowPenEditor(&owner, &pen));
    EXPECT_EQ(pen.Width(), 2);
    EXPECT_EQ(changes, 2);   // the edit, then the restore
    // In its own loop the window's close box closes the form, and its copy with it.
    user::ModalActions modal(driver.Dialogs);
    modal.Then([](TForm* f) {
        static_cast<TPenDialog*>(f)->SEWidth->SetText("7");
        f->Widget()->close();
    });
    EXPECT_FALSE(ShowPenEditor(&owner, &pen));
    EXPECT_EQ(pen.Width(), 2);
}

TEST_F(PenDialogTest, CancelAfterOnlyAColourChangePutsTheColourBack)
{
    pen.SetColor(clNavy);
    driver.PickColor = clYellow;
    driver.Act = [&](TPenDialog* d) {
        EXPECT_TRUE(user::Click(d->BColor));
        EXPECT_TRUE(user::Click(d->BCancel));
    };
    EXPECT_FALSE(ShowPenEditor(&owner, &pen));
    EXPECT_EQ(pen.Color(), clNavy);
}

TEST_F(PenDialogTest, PlainPenHidesWhatOnlyChartPensHave)
{
    TPen plain;
    plain.SetStyle(psDashDot);
    driver.Act = [&](TPenDialog* d) {
        EXPECT_FALSE(d->CBVisible->Visible());
        EXPECT_FALSE(d->CBEndStyle->Visible());
        EXPECT_EQ(ItemsOf(d->CBStyle).size(), 5u);
        EXPECT_EQ(d->CBStyle->ItemIndex(), int(psDashDot));
        Choose(d->CBStyle, int(psDot));
        d->SEWidth->SetText("3");
        EXPECT_TRUE(user::Click(d->BCancel));
    };
    EXPECT_FALSE(ShowPenEditor(&owner, &plain));
    EXPECT_EQ(plain.Style(), psDashDot);
    EXPECT_EQ(plain.Width(), 1);

    // A clear pen selects no style rather than the small-dots item.
    pen.SetStyle(psClear);
    driver.Act = [&](TPenDialog* d) { EXPECT_EQ(d->CBStyle->ItemIndex(), -1); };
    ShowPenEditor(&owner, &pen);
}

TEST_F(PenDialogTest, HideColorHidesTheColourButton)
{
    driver.Act = [&](TPenDialog* d) { EXPECT_FALSE(d->BColor->Visible()); };
    ShowPenEditor(&owner, &pen, true);
    driver.Act = [&](TPenDialog* d) { EXPECT_TRUE(d->BColor->Visible()); };
    ShowPenEditor(&owner, &pen, false);
    EXPECT_EQ(driver.Shown, 2);
}

TEST_F(PenDialogTest, StyleItemsDrawASampleLineAndTheirName)
{
    pen.SetColor(clRed);
    driver.Act = [&](TPenDialog* d) {
        TBitmap item;
        d->CBStyle->PaintItemTo(&item, int(psSolid), 0);
        ASSERT_EQ(item.Height(), 16);
        const TColor window = ColorToRGB(clWindow);
        EXPECT_EQ(Px(item, 1, 8), window);
        for (int x = 2; x < 30; ++x)
            ASSERT_EQ(Px(item, x, 8), clRed) << x;
        EXPECT_EQ(Px(item, 30, 8), window);   // the line leaves out its last pixel
        EXPECT_EQ(Px(item, 15, 7), window);
        int text = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 34; x < item.Width(); ++x)
                text += Px(item, x, y) != window ? 1 : 0;
        EXPECT_GT(text, 0);

        // A dashed sample has gaps; the small-dots sample is every other pixel.
        d->CBStyle->PaintItemTo(&item, int(psDash), 0);
        int red = 0;
        for (int x = 2; x < 30; ++x)
            red += Px(item, x, 8) == clRed ? 1 : 0;
        EXPECT_GT(red, 0);
        EXPECT_LT(red, 28);
        d->CBStyle->PaintItemTo(&item, 5, 0);
        for (int x = 2; x < 29; ++x)
            ASSERT_NE(Px(item, x, 8) == clRed, Px(item, x + 1, 8) == clRed) << x;

        // A selected item is drawn on the highlight.
        d->CBStyle->PaintItemTo(&item, int(psSolid), odSelected);
        EXPECT_EQ(Px(item, 1, 8), ColorToRGB(clHighlight));
    };
    ShowPenEditor(&owner, &pen);
}

TEST_F(PenDialogTest, SampleInTheBackgroundColourTurnsWhiteOrBlack)
{
    driver.Act = [&](TPenDialog* d) {
        TBitmap item;
        pen.SetColor(clWhite);   // the list's colour: drawn black
        d->CBStyle->PaintItemTo(&item, int(psSolid), 0);
        EXPECT_EQ(Px(item, 10, 8), clBlack);
        pen.SetColor(clHighlight);   // the selected item's colour: drawn white
        d->CBStyle->PaintItemTo(&item, int(psSolid), odSelected);
        EXPECT_EQ(Px(item, 10, 8), clWhite);
        pen.SetColor(clGreen);
        d->CBStyle->PaintItemTo(&item, int(psSolid), odSelected);
        EXPECT_EQ(Px(item, 10, 8), clGreen);
    };
    ShowPenEditor(&owner, &pen);
}
