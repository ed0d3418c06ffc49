// The pointer editor and the numeric format editor driven through their controls.
#include "ChartStarted.h"
#include "UserInput.h"
#include "editor_driver.h"

#include "FormatEditor.h"
#include "PointerEditor.h"
#include "Series.h"
#include "TeEngine.h"

#include "Chart.h"

#include <memory>

using namespace editortest;

namespace {

class PointerFormatTest : public testsupport::ChartStartedTest {
protected:
    // The format editor on Format, shown; Act works it, and the built format is answered.
    std::string Edit(const std::string& Format, const std::function<void(TFormatEditor*)>& Act)
    {
        driver.Act = [&](TForm* f) {
            Act(static_cast<TFormatEditor*>(f));
            EXPECT_TRUE(user::Click(static_cast<TFormatEditor*>(f)->Button1));
        };
        return ShowFormatEditor(nullptr, Format, true);
    }
    EditorDriver driver;
};

TEST_F(PointerFormatTest, FormatEditorReadsAndBuildsFormats)
{
    EXPECT_EQ(Edit("#,##0.00", [](TFormatEditor* e) {
                  EXPECT_TRUE(e->CBThousands->Checked());
                  EXPECT_EQ(e->UpDown1->Position(), 2);
                  EXPECT_TRUE(e->CBFixedDecimals->Checked());
                  EXPECT_EQ(e->UpDown2->Position(), 1);
                  SavePicture(e, "format");
              }),
              "#,##0.00");
    EXPECT_EQ(Edit("0", [](TFormatEditor* e) {
                  e->CBThousands->SetChecked(true);
                  e->Edit2->SetText("5");
                  e->Edit1->SetText("0");
              }),
              "00,000");
    EXPECT_EQ(Edit("0.0%", [](TFormatEditor* e) {
                  EXPECT_TRUE(e->CBPercent->Checked());
                  EXPECT_FALSE(e->CBThousands->Enabled());
                  EXPECT_FALSE(e->CBCurrency->Enabled());
              }),
              "0.0%");
    // A date format read, or an option chosen with an empty combo, puts the focus on the
    // combo that holds the format.
    EXPECT_EQ(Edit("mm-dd-yy", [](TFormatEditor* e) { EXPECT_TRUE(e->CBDate->Focused()); }), "mm-dd-yy");
    EXPECT_EQ(Edit("#", [](TFormatEditor* e) {
                  ASSERT_TRUE(user::Click(e->RBCustom));
                  EXPECT_TRUE(e->CBCustom->Focused());
                  ASSERT_TRUE(user::Type("0.00"));
              }),
              "0.00");
    EXPECT_EQ(Edit("hh:nn", [](TFormatEditor* e) {
                  EXPECT_TRUE(e->RBCustom->Checked());
                  EXPECT_FALSE(e->RBInteger->Checked());
                  EXPECT_EQ(e->CBCustom->Text(), "hh:nn");
              }),
              "hh:nn");
    // Choosing the date option starts from the short date format.
    EXPECT_EQ(Edit("0", [](TFormatEditor* e) {
                  ASSERT_TRUE(user::Click(e->RBDate));
                  EXPECT_TRUE(e->CBDate->Focused());
                  EXPECT_FALSE(e->RBInteger->Checked());
                  EXPECT_FALSE(e->Edit1->Enabled());
              }),
              FormatSettings().ShortDateFormat);
    // Cancel keeps the format.
    driver.Act = [](TForm* f) { EXPECT_TRUE(user::Click(static_cast<TFormatEditor*>(f)->Button2)); };
    EXPECT_EQ(ShowFormatEditor(nullptr, "0.###", true), "0.###");
}

TEST_F(PointerFormatTest, PointerEditorWritesThePointerAndFollowsItsRules)
{
    TChart chart(nullptr);
    chart.SetView3D(false);
    auto* series = new TPointSeries(&chart);
    series->SetParentChart(&chart);
    TSeriesPointer* pointer = series->Pointer();
    TSeriesPointerEditor editor(nullptr);
    editor.SetTag(reinterpret_cast<intptr_t>(static_cast<TObject*>(series)));
    editor.Show();
    SavePicture(&editor, "pointer");
    // A 2D chart offers no 3D pointers.
    EXPECT_FALSE(editor.CB3dPoint->Enabled());
    EXPECT_FALSE(editor.CBPoDark->Enabled());
    editor.SEPointHorizSize->SetText("9");
    editor.SEPointVertSize->SetText("7");
    EXPECT_EQ(pointer->HorizSize(), 9);
    EXPECT_EQ(pointer->VertSize(), 7);
    editor.CBStyle->Pick(int(psDiamond));
    EXPECT_EQ(pointer->Style(), psDiamond);
    editor.CBInflate->SetChecked(!pointer->InflateMargins());
    EXPECT_EQ(pointer->InflateMargins(), editor.CBInflate->Checked());
    editor.CBColorEach->SetChecked(true);
    EXPECT_TRUE(series->ColorEachPoint());
    // Default colours: checking sets both to the default, unchecking makes the pen black.
    editor.CBDefBrushColor->SetChecked(true);
    EXPECT_EQ(pointer->Brush()->Color(), clDefault);
    EXPECT_EQ(pointer->Pen()->Color(), clDefault);
    editor.CBDefBrushColor->SetChecked(false);
    EXPECT_EQ(pointer->Pen()->Color(), clBlack);
    // Hiding the pointer disables what edits it.
    editor.CBDrawPoint->SetChecked(false);
    EXPECT_FALSE(pointer->Visible());
    EXPECT_FALSE(editor.CBStyle->Enabled());
    EXPECT_FALSE(editor.SEPointHorizSize->Enabled());
    editor.CBDrawPoint->SetChecked(true);
    // In 3D a square pointer can be 3D.
    chart.SetView3D(true);
    editor.CBStyle->Pick(int(psRectangle));
    EXPECT_TRUE(editor.CB3dPoint->Enabled());
    editor.CB3dPoint->SetChecked(false);
    EXPECT_FALSE(pointer->Draw3D());
    EXPECT_FALSE(editor.CBPoDark->Enabled());

    // The modal dialog for a bare pointer: no inflate or colour-each, a Close button.
    driver.Act = [&](TForm* f) {
        auto* e = static_cast<TSeriesPointerEditor*>(f);
        EXPECT_EQ(e->Caption(), "Pointer");
        EXPECT_FALSE(e->CBColorEach->Visible());
        EXPECT_FALSE(e->CBInflate->Visible());
        EXPECT_TRUE(e->PanelBottom->Visible());
        SavePicture(e, "pointer-dialog");
        e->SEPointHorizSize->SetText("3");
        EXPECT_TRUE(user::Click(e->Button1));
    };
    EXPECT_TRUE(ShowPointerEditor(nullptr, pointer));
    EXPECT_EQ(pointer->HorizSize(), 3);
}

} // namespace
