// The style editors driven as a user would: each writes into its object at once, Cancel
// (or the close box) restores where the editor keeps a copy, and each saves its picture.
#include "UserInput.h"
#include "editor_driver.h"

#include "TeeSourceEdit.h"

#include "graphics/Bitmap.h"

#include <QApplication>

#include <memory>
#include <set>

using namespace editortest;

namespace {

class StyleEditorsTest : public ::testing::Test {
protected:
    EditorDriver driver;
    TForm owner{nullptr};
    int changes = 0;
};

TEST_F(StyleEditorsTest, GradientEditorThemesDirectionsAndCancel)
{
    TTeeGradient gradient([this](TObject*) { ++changes; });
    gradient.SetVisible(true);
    driver.Act = [&](TForm* f) {
        auto* e = static_cast<TTeeGradientEditor*>(f);
        SavePicture(e, "gradient");
        // "Hot" keeps no middle colour; "Ace" is bottom-top with balance 74.
        e->Gallery->SetItemIndex(e->Gallery->Items()->IndexOf("Hot"));
        e->Gallery->Click();
        EXPECT_EQ(gradient.StartColor(), TColor(0x0000FF));
        EXPECT_EQ(gradient.MidColor(), clNone);
        EXPECT_TRUE(e->CBMid->Checked());
        e->Gallery->SetItemIndex(e->Gallery->Items()->IndexOf("Ace"));
        e->Gallery->Click();
        EXPECT_EQ(gradient.Direction(), gdBottomTop);
        EXPECT_EQ(gradient.Balance(), 74);
        EXPECT_EQ(e->LabelBalance->Caption(), "74 %");
        // Radial enables the offsets and disables the middle colour.
        e->CBDirection->Pick(int(gdRadial));
        EXPECT_TRUE(e->TrackBar1->Enabled());
        EXPECT_FALSE(e->BMid->Enabled());
        e->TrackBar1->SetPosition(100);
        EXPECT_EQ(gradient.RadialX(), 100);
        e->CBDirection->Pick(int(gdTopBottom));
        EXPECT_FALSE(e->TrackBar1->Enabled());
        EXPECT_TRUE(e->BMid->Enabled());
        // Unticking "No Middle" without a middle colour gives white.
        e->CBMid->SetChecked(true);
        e->CBMid->SetChecked(false);
        EXPECT_EQ(gradient.MidColor(), clWhite);
        e->DirectionsChangeChart(int(gdDiagonalUp));
        EXPECT_EQ(gradient.Direction(), gdDiagonalUp);
        EXPECT_EQ(e->CBDirection->ItemIndex(), int(gdDiagonalUp));
        EXPECT_TRUE(user::Click(e->BCancel));
    };
    changes = 0;
    EXPECT_FALSE(ShowGradientEditor(&owner, &gradient));
    EXPECT_EQ(gradient.Direction(), gdTopBottom);
    EXPECT_EQ(gradient.StartColor(), clWhite);
    EXPECT_EQ(gradient.RadialX(), 0);
    EXPECT_EQ(gradient.MidColor(), clNone);

    // The close box counts as Cancel too.
    driver.Act = [&](TForm* f) { EXPECT_TRUE(user::Click(static_cast<TTeeGradientEditor*>(f)->BSwap)); };
    EXPECT_FALSE(ShowGradientEditor(&owner, &gradient));
    EXPECT_EQ(gradient.StartColor(), clWhite);
    driver.Act = [&](TForm* f) {
        EXPECT_TRUE(user::Click(static_cast<TTeeGradientEditor*>(f)->BSwap));
        EXPECT_TRUE(user::Click(static_cast<TTeeGradientEditor*>(f)->BOk));
    };
    EXPECT_TRUE(ShowGradientEditor(&owner, &gradient));
    EXPECT_EQ(gradient.StartColor(), clYellow);

    // Embedded: no OK/Cancel panel, and shorter by it.
    TTeeGradientEditor full(&owner);
    TTeeGradientEditor* embedded = CreateEmbeddedGradientEditor(&owner, &gradient);
    EXPECT_FALSE(embedded->Panel1->Visible());
    EXPECT_LT(embedded->Height(), full.Height());
}

TEST_F(StyleEditorsTest, GradientBalanceIsReachedByTabAndMovedByKeys)
{
    TTeeGradient gradient;
    gradient.SetVisible(true);
    TTeeGradientEditor editor(&owner);
    editor.SetGradient(&gradient);
    user::ShowAndActivate(&editor);
    ASSERT_TRUE(user::ClickTab(editor.PageControl1, "Options"));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    ASSERT_EQ(QApplication::focusWidget(), user::W(editor.SBBalance));
    ASSERT_TRUE(user::Key(Qt::Key_End));
    EXPECT_EQ(gradient.Balance(), 100);
    EXPECT_EQ(editor.LabelBalance->Caption(), "100 %");
    ASSERT_TRUE(user::Key(Qt::Key_Home));
    EXPECT_EQ(gradient.Balance(), 0);
}

TEST_F(StyleEditorsTest, GradientPreviewFollowsBalanceAndRadialCentre)
{
    TTeeGradient gradient;
    gradient.SetVisible(true);
    gradient.SetDirection(gdRadial);
    TTeeGradientEditor editor(&owner);
    editor.SetGradient(&gradient);
    user::ShowAndActivate(&editor);
    editor.SBBalance->SetPosition(80);
    editor.TrackBar1->SetPosition(-120);
    editor.TrackBar2->SetPosition(60);
    ASSERT_EQ(gradient.Balance(), 80);
    ASSERT_EQ(gradient.RadialX(), -120);
    const TTeeGradient* shown = editor.Preview->Gradient();
    EXPECT_EQ(shown->Balance(), 80);
    EXPECT_EQ(shown->RadialX(), -120);
    EXPECT_EQ(shown->RadialY(), 60);
    editor.PageControl1->SelectPage(editor.TabDefault);
    SavePicture(&editor, "gradient-radial-preview");
}

TEST_F(StyleEditorsTest, ShadowEditorWritesAtOnceAndAnswersTrueOnOk)
{
    TTeeShadow shadow;
    driver.Act = [&](TForm* f) {
        auto* e = static_cast<TTeeShadowEditor*>(f);
        SavePicture(e, "shadow");
        e->Edit1->SetText("7");
        e->EVertSize->SetText("-3");
        e->EShadowTransp->SetText("40");
        e->CBSmooth->SetChecked(!shadow.Smooth());
        EXPECT_EQ(shadow.HorizSize(), 7);
        EXPECT_EQ(shadow.VertSize(), -3);
        EXPECT_EQ(shadow.Transparency(), 40);
        EXPECT_TRUE(user::Click(e->BOK));
    };
    const bool smooth = shadow.Smooth();
    EXPECT_TRUE(ShowShadowEditor(&owner, &shadow));
    EXPECT_NE(shadow.Smooth(), smooth);
}

TEST_F(StyleEditorsTest, BrushDialogPatternsTexturesColourRuleAndCancel)
{
    TChartBrush brush;
    driver.Act = [&](TForm* f) {
        auto* d = static_cast<TBrushDialog*>(f);
        EXPECT_EQ(d->LStyle->Items()->Count(), 27);
        d->LStyle->SetItemIndex(1);   // "None": no colour to choose
        d->LStyle->Click();
        EXPECT_EQ(brush.Style(), bsClear);
        EXPECT_FALSE(d->BColor->Enabled());
        d->LStyle->SetItemIndex(d->LStyle->Items()->IndexOf("Wood"));
        d->LStyle->Click();
        EXPECT_TRUE(brush.HasImage());
        EXPECT_EQ(brush.Image()->Width(), 32);
        EXPECT_EQ(d->Button1->Caption(), "Clea&r");
        SavePicture(d, "brush");
        EXPECT_TRUE(user::Click(d->Button1));
        EXPECT_TRUE(!brush.HasImage() || brush.Image()->Empty());
        EXPECT_EQ(d->Button1->Caption(), "B&rowse...");
        d->LStyle->SetItemIndex(6);
        d->LStyle->Click();
        EXPECT_TRUE(d->BColor->Enabled());
        EXPECT_TRUE(user::Click(d->Button3));
    };
    EXPECT_FALSE(ShowBrushEditor(&owner, &brush));
    EXPECT_EQ(brush.Style(), bsSolid);
    // Patterns are black on a see-through white.
    std::unique_ptr<TBitmap> fill = BrushPatternBitmap(8);
    int black = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            black += fill->ScanLine(y)[x].rgbRed == 0;
    EXPECT_NEAR(black, 51, 4);
}

TEST_F(StyleEditorsTest, BrushStyleRowsShowASampleOfTheirStyleBesideTheName)
{
    TBrushDialog dialog(&owner);
    ASSERT_EQ(dialog.LStyle->Style(), lbOwnerDrawFixed);
    TBitmap row;
    // The sample column (x 3..14) and the text column (x 20 on) of a row.
    const auto sample = [&row](int Item, TOwnerDrawState State, TBrushDialog& d) {
        d.LStyle->PaintItemTo(&row, Item, State);
        std::set<TColor> colours;
        for (int y = 3; y < row.Height() - 3; ++y)
            for (int x = 3; x < 15; ++x)
                colours.insert(row.Canvas()->Pixel(x, y));
        return colours;
    };
    const auto textInk = [&row]() {
        int dark = 0;
        for (int y = 0; y < row.Height(); ++y)
            for (int x = 20; x < 80; ++x)
                dark += row.Canvas()->Pixel(x, y) == clBlack;
        return dark;
    };
    EXPECT_EQ(sample(0, 0, dialog), std::set<TColor>{clBlack});   // "Solid"
    EXPECT_GT(textInk(), 10);
    const TColor ground = row.Canvas()->Pixel(row.Width() - 2, row.Height() / 2);
    EXPECT_EQ(sample(1, 0, dialog), std::set<TColor>{ground});     // "None" shows no sample
    EXPECT_EQ(sample(2, 0, dialog), (std::set<TColor>{clBlack, clWhite}));   // "Horizontal"
    EXPECT_EQ(sample(8, 0, dialog).count(clBlack), 1u);           // "Fill 80%", a pattern
    // A selected row is drawn in the highlight colours.
    sample(0, odSelected, dialog);
    EXPECT_NE(row.Canvas()->Pixel(row.Width() - 2, row.Height() / 2), ground);
}

TEST_F(StyleEditorsTest, ShapeEditorPagesWriteTheShape)
{
    TTeeCustomShape shape;
    std::unique_ptr<TFormTeeShape> editor(CreateShapeEditor(&owner, &shape));
    editor->Show();
    editor->CBRound->SetChecked(true);
    EXPECT_EQ(shape.ShapeStyle(), fosRoundRectangle);
    editor->CBTransparent->SetChecked(true);
    EXPECT_TRUE(shape.Transparent());
    EXPECT_FALSE(editor->EBevWidth->Enabled());
    editor->CBBevel->Pick(2);
    EXPECT_EQ(shape.Bevel(), bvRaised);
    EXPECT_TRUE(editor->EBevWidth->Enabled());
    editor->EBevWidth->SetText("3");
    EXPECT_EQ(shape.BevelWidth(), 3);
    editor->EShadowTransp->SetText("25");
    EXPECT_EQ(shape.Transparency(), 25);
    editor->BColorClick(editor->BBackColor);
    EXPECT_FALSE(shape.Transparent());
    SavePicture(editor.get(), "shape");
    // The embedded pages edit the shape's own gradient, font and shadow.
    editor->FontEditor()->Edit2->SetText("4");
    EXPECT_EQ(shape.Font()->InterCharSize(), 4);
    editor->ShadowEditor()->Edit1->SetText("5");
    EXPECT_EQ(shape.Shadow()->HorizSize(), 5);
    editor->GradientEditor()->CBVisible->SetChecked(true);
    EXPECT_TRUE(shape.Gradient()->Visible());
    editor->PC1->SelectPage(editor->TabText);
    SavePicture(editor.get(), "shape-text");
    editor->PC1->SelectPage(editor->TabGradient);
    SavePicture(editor.get(), "shape-gradient");
    editor->PC1->SelectPage(editor->TabShadow);
    SavePicture(editor.get(), "shape-shadow");
    // An editor whose gradient page has no gradient yet offers no swap and takes the
    // gallery's clicks without harm.
    std::unique_ptr<TFormTeeShape> bare(CreateShapeEditor(&owner, nullptr));
    user::ShowAndActivate(bare.get());
    EXPECT_TRUE(user::ClickTab(bare->PC1, "Gradient"));
    bare->GradientEditor()->CBVisible->SetChecked(true);
    EXPECT_FALSE(bare->GradientEditor()->BSwap->Enabled());
    bare->GradientEditor()->Gallery->SetItemIndex(0);
    bare->GradientEditor()->Gallery->Click();
    EXPECT_EQ(bare->GradientEditor()->TheGradient(), nullptr);
}

// The pages move into the host's page control and the editor's own form stays hidden:
// the pattern dialog belongs to (and is centred on) the window that shows its button.
TEST_F(StyleEditorsTest, PatternDialogOfEmbeddedShapePagesBelongsToTheHostWindow)
{
    TTeeCustomShape shape;
    TForm host(nullptr);
    auto* pages = new TPageControl(&host);
    pages->SetParent(&host);
    TFormTeeShape* editor = EmbedShapeEditor(pages, &shape);
    user::ShowAndActivate(&host);
    TComponent* dialogOwner = nullptr;
    driver.Act = [&](TForm* f) {
        dialogOwner = f->Owner();
        EXPECT_TRUE(user::Click(static_cast<TBrushDialog*>(f)->Button3));
    };
    ASSERT_TRUE(user::Click(editor->Button6));
    EXPECT_EQ(driver.Shown, 1);
    EXPECT_EQ(dialogOwner, &host);
}

TEST_F(StyleEditorsTest, FontEditorSpacingOutlineGradientAndColour)
{
    TTeeFont font;
    auto* editor = new TTeeFontEditor(&owner);
    LoadFontControls(editor, &font);
    editor->Show();
    editor->Edit2->SetText("-5");
    EXPECT_EQ(font.InterCharSize(), -5);
    editor->CBOutGrad->SetChecked(true);
    EXPECT_TRUE(font.Gradient()->Outline());
    driver.PickColor = clRed;
    editor->SHTextClick();
    EXPECT_EQ(font.Color(), clRed);
    EXPECT_EQ(editor->SHText->BrushColor(), clRed);
    EXPECT_EQ(editor->BOutline->LinkedPen(), font.OutLine());
    SavePicture(editor, "font");
}

} // namespace

namespace {

TEST(SourceEditorTest, ClosingWithChangesNotAppliedAsks)
{
    EditorDriver driver;
    TBaseSourceEditor editor(nullptr);
    editor.CBSources->Items()->Add("One");
    editor.Show();
    EXPECT_FALSE(editor.BApply->Enabled());
    EXPECT_TRUE(editor.CloseQuery());
    int applied = 0;
    editor.BApply->OnClick = [&](TObject*) {
        ++applied;
        editor.BApply->SetEnabled(false);
    };
    editor.CBSources->Pick(0);
    ASSERT_TRUE(editor.BApply->Enabled());
    driver.MessageAnswer = mrCancel;
    EXPECT_FALSE(editor.CloseQuery());
    ASSERT_EQ(driver.Messages.back(), "Apply Changes ?");
    driver.MessageAnswer = mrYes;
    EXPECT_TRUE(editor.CloseQuery());
    EXPECT_EQ(applied, 1);
    editor.CBSources->Pick(0);
    driver.MessageAnswer = mrNo;
    EXPECT_TRUE(editor.CloseQuery());
    EXPECT_EQ(applied, 1);
    EXPECT_FALSE(editor.BApply->Enabled());
}

} // namespace
