// The routines the editor forms share: dialogs and pages, confirmations, value formats,
// arrow glyphs, list boxes and cursor lists.
#include "pendlg_driver.h"

#include "RizUridu.h"

#include "controls/CursorNames.h"
#include "controls/ExtCtrls.h"
#include "controls/Resources.h"
#include "graphics/Bitmap.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace pendlgtest;

namespace {

std::vector<std::string> ItemsOf(TStrings* Items)
{
    std::vector<std::string> items;
    for (int i = 0; i < Items->Count(); ++i)
        items.push_back(Items->Get(i));
    return items;
}

class HelpersTest : public ::testing::Test {
protected:
    PenDialogDriver driver;
};

class TNamedObject : public TObject {
public:
    explicit TNamedObject(int AId) : Id(AId) {}
    int Id;
};

} // namespace

TEST_F(HelpersTest, DialogsBelongToTheOwnersFormAndOpenCentredOnIt)
{
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    auto* button = new TButton(&form);
    button->SetParent(panel);

    std::unique_ptr<TPenDialog> dialog(CreateDialogForm<TPenDialog>(button));
    EXPECT_EQ(dialog->Owner(), &form);
    EXPECT_EQ(dialog->Position(), poOwnerFormCenter);
    EXPECT_EQ(dialog->Align(), alNone);
    EXPECT_EQ(FormBorderStyle(dialog.get()), bsDialog);

    // A second dialog of the same owner gets a name of its own.
    std::unique_ptr<TPenDialog> other(CreateDialogForm<TPenDialog>(&form));
    EXPECT_NE(other->Name(), dialog->Name());

    // An owner that is no control owns the dialog itself; without one it is centred on
    // the screen.
    TComponent holder(nullptr);
    std::unique_ptr<TForm> held(CreateDialogForm<TForm>(&holder));
    EXPECT_EQ(held->Owner(), &holder);
    std::unique_ptr<TForm> lone(CreateDialogForm<TForm>(nullptr));
    EXPECT_EQ(lone->Owner(), nullptr);
    EXPECT_EQ(lone->Position(), poScreenCenter);
}

TEST_F(HelpersTest, FormClassesAreCreatedByName)
{
    EXPECT_TRUE(FormClassRegistered("tpendialog"));
    TForm form(nullptr);
    std::unique_ptr<TForm> created(CreateDialogFormByName("TPenDialog", &form));
    ASSERT_NE(created, nullptr);
    EXPECT_NE(dynamic_cast<TPenDialog*>(created.get()), nullptr);
    EXPECT_EQ(created->Position(), poOwnerFormCenter);
    EXPECT_EQ(CreateDialogFormByName("TNoSuchForm", &form), nullptr);

    // Every dialog and page of the editor is found by name from the library's start-up
    // until it finishes.
    const char* const editorForms[] = {
        "TPenDialog", "TAxisIncrement", "TAxisMaxMin", "TFormatEditor", "TSeriesPointerEditor",
        "TTeeGradientEditor", "TTeeShadowEditor", "TBrushDialog", "TTeeFontEditor", "TTeeGallery",
        "TTeeGalleryForm", "TSelectListForm", "TTeeFuncEditor", "TFormTeeSeries", "TFormTeeAxis",
        "TFormTeeGeneral", "TFormTeeTitle", "TFormTeeLegend", "TFormTeePanel", "TFormTeePage",
        "TFormTeeWall", "TFormTee3D", "TFormTeeShape", "TFormTeeTools", "TTeeToolsGallery",
        "TChartPreview", "TRurOzuviForm", "TChartEditForm", "TTeeExportForm"};
    for (const char* name : editorForms)
        EXPECT_TRUE(FormClassRegistered(name)) << name;
    testsupport::FinishChartLibrary();
    for (const char* name : editorForms)
        EXPECT_FALSE(FormClassRegistered(name)) << name;
    testsupport::StartChartLibrary();
}

TEST_F(HelpersTest, EmbeddedFormsSitCentredInTheirParent)
{
    TForm host(nullptr);
    auto* panel = new TPanel(&host);
    panel->SetParent(&host);
    panel->SetBevelOuter(bvNone);
    panel->SetBounds(0, 0, 300, 100);
    panel->SetVisible(false);

    auto* taller = new TForm(&host);
    taller->SetBounds(0, 0, 200, 120);
    EmbedFormWithTag(taller, panel, 42);
    EXPECT_EQ(taller->Parent(), panel);
    EXPECT_EQ(taller->Left(), 4);
    EXPECT_EQ(taller->Top(), 10);
    EXPECT_EQ(taller->Tag(), 42);
    EXPECT_TRUE(taller->Visible());
    EXPECT_EQ(taller->Position(), poDesigned);
    EXPECT_EQ(FormBorderStyle(taller), bsNone);
    EXPECT_EQ(FormBorderIcons(taller), TBorderIcons(0));
    EXPECT_TRUE(FormParentColor(taller));
    EXPECT_FALSE(panel->Visible());   // as visible as it was

    auto* same = new TForm(&host);
    same->SetBounds(0, 0, 200, 100);
    EmbedForm(same, panel);
    EXPECT_EQ(same->Top(), 4);
    EXPECT_EQ(same->Tag(), 0);

    auto* smaller = new TForm(&host);
    smaller->SetBounds(0, 0, 200, 40);
    EmbedFormInPanel(smaller, panel);
    EXPECT_EQ(smaller->Top(), 30);
}

TEST_F(HelpersTest, ConfirmDeleteAsksYesOrNo)
{
    SetScreenCursor(crHourGlass);
    driver.Dialogs.Answer = [](TDialogRequest&) { return int(mrYes); };
    EXPECT_TRUE(ConfirmDelete("Series1"));
    EXPECT_EQ(ScreenCursor(), crDefault);
    ASSERT_EQ(driver.Dialogs.Requests.size(), 1u);
    const TDialogRequest& r = driver.Dialogs.Requests[0];
    EXPECT_EQ(r.Text, "Delete Series1 ?");
    EXPECT_EQ(r.Type, mtConfirmation);
    EXPECT_EQ(r.Buttons, (TMsgDlgButtons{mbYes, mbNo}));
    EXPECT_EQ(r.HelpCtx, 0);

    driver.Dialogs.Answer = [](TDialogRequest&) { return int(mrNo); };
    EXPECT_FALSE(ConfirmDelete("100% of %s"));
    EXPECT_EQ(driver.Dialogs.Requests.back().Text, "Delete 100% of %s ?");
    driver.Dialogs.Answer = [](TDialogRequest&) { return int(mrCancel); };
    EXPECT_FALSE(ConfirmQuestion("Apply?"));
}

TEST_F(HelpersTest, ConfirmationNextToAControlOpensBelowItsCorner)
{
    TForm form(nullptr);
    form.SetBounds(100, 80, 300, 200);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->SetBounds(30, 40, 75, 25);
    form.Show();
    const TPoint origin = ControlScreenOrigin(button);

    const TDialogAnswerer recorder = SetDialogAnswerer(nullptr);   // the real box
    QPoint seen(-1, -1);
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = box->pos();
        box->button(QMessageBox::Yes)->click();
    });
    const bool yes = ConfirmQuestion("Sure?", button);
    SetDialogAnswerer(recorder);
    EXPECT_TRUE(yes);
    EXPECT_EQ(seen, QPoint(origin.X + 20, origin.Y + 30));
}

TEST_F(HelpersTest, AConfirmationNextToAControlInTheScreensCornerStaysOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    TForm form(nullptr);
    form.SetBounds(screen.right() - 120, screen.bottom() - 60, 300, 200);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->SetBounds(30, 10, 75, 25);
    form.Show();

    const TDialogAnswerer recorder = SetDialogAnswerer(nullptr);   // the real box
    QRect seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = box->frameGeometry();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(ConfirmQuestion("Sure?", button));
    SetDialogAnswerer(recorder);
    ASSERT_TRUE(seen.isValid());
    EXPECT_TRUE(screen.contains(seen)) << seen.x() << "," << seen.y() << " " << seen.width() << "x"
                                       << seen.height() << " on " << screen.width() << "x" << screen.height();
    EXPECT_EQ(seen.right(), screen.right());
    EXPECT_EQ(seen.bottom(), screen.bottom());
}

TEST_F(HelpersTest, ValueFormatsAreAppendedInOrder)
{
    TStringList list;
    list.Add("mine");
    AddValueFormats(&list);
    EXPECT_EQ(ItemsOf(&list), (std::vector<std::string>{"mine", "#,##0.###", "0", "0.0", "0.#", "#.#",
                                                         "#,##0.00;(#,##0.00)", "00e-0", "#.0 \"x10\" E+0",
                                                         "#.# x10E-#"}));
}

TEST_F(HelpersTest, ArrowGlyphsComeFromTheResources)
{
    TSpeedButton up(nullptr), down(nullptr);
    EXPECT_FALSE(SpeedButtonHasGlyph(&up));
    LoadArrowGlyphs(&up, &down);
    EXPECT_TRUE(SpeedButtonHasGlyph(&up));
    EXPECT_TRUE(SpeedButtonHasGlyph(&down));

    // The up glyph points up: its ink is widest at the bottom.
    TBitmap glyph;
    ASSERT_TRUE(LoadBitmapResource(&glyph, "DorOvoriUp"));
    auto inkInRow = [&](TBitmap& b, int y) {
        const TRGBQuad corner = b.ScanLine(b.Height() - 1)[0];
        int n = 0;
        for (int x = 0; x < b.Width(); ++x) {
            const TRGBQuad q = b.ScanLine(y)[x];
            n += (q.rgbRed != corner.rgbRed || q.rgbGreen != corner.rgbGreen || q.rgbBlue != corner.rgbBlue) ? 1 : 0;
        }
        return n;
    };
    EXPECT_LT(inkInRow(glyph, 5), inkInRow(glyph, 9));
    ASSERT_TRUE(LoadBitmapResource(&glyph, "DorOvoriDown"));
    EXPECT_GT(inkInRow(glyph, 5), inkInRow(glyph, 9));
}

TEST_F(HelpersTest, ItemsMoveBetweenListBoxesWithTheirObjects)
{
    TListBox source(nullptr), destination(nullptr);
    source.SetMultiSelect(true);
    TNamedObject a(1), b(2), c(3), d(4);
    source.Items()->AddObject("a", &a);
    source.Items()->AddObject("b", &b);
    source.Items()->AddObject("c", &c);
    source.Items()->AddObject("d", &d);
    destination.Items()->Add("x");
    source.SetSelected(1, true);
    source.SetSelected(3, true);
    EXPECT_EQ(source.SelCount(), 2);

    MoveSelectedItems(&source, &destination);
    EXPECT_EQ(ItemsOf(source.Items()), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(ItemsOf(destination.Items()), (std::vector<std::string>{"x", "b", "d"}));
    EXPECT_EQ(destination.Items()->GetObject(1), &b);
    EXPECT_EQ(destination.Items()->GetObject(2), &d);
    EXPECT_EQ(source.Items()->GetObject(1), &c);

    // Two adjacent selected items keep their order in both lists.
    source.Items()->Add("e");
    source.SetSelected(0, true);
    source.SetSelected(1, true);
    MoveSelectedItems(&source, &destination);
    EXPECT_EQ(ItemsOf(source.Items()), (std::vector<std::string>{"e"}));
    EXPECT_EQ(ItemsOf(destination.Items()), (std::vector<std::string>{"x", "b", "d", "a", "c"}));
    EXPECT_EQ(destination.Items()->GetObject(3), &a);
    EXPECT_EQ(destination.Items()->GetObject(4), &c);

    MoveAllItems(&source, &destination);
    EXPECT_EQ(source.Items()->Count(), 0);
    EXPECT_EQ(ItemsOf(destination.Items()), (std::vector<std::string>{"x", "b", "d", "a", "c", "e"}));
    EXPECT_THROW(source.Selected(0), EListError);
}

TEST_F(HelpersTest, CursorListsShowNamesWithoutTheirPrefix)
{
    TComboFlat combo(nullptr);
    combo.Items()->Add("old");
    FillCursorList(&combo, crTeeHand);
    const std::vector<std::string> items = ItemsOf(combo.Items());
    ASSERT_EQ(items.size(), 23u);
    EXPECT_EQ(items.front(), "Default");
    EXPECT_EQ(items.back(), "TeeHand");
    EXPECT_EQ(combo.Text(), "TeeHand");

    FillCursorList(&combo, crHourGlass);
    EXPECT_EQ(combo.Text(), "HourGlass");
    FillCursorList(&combo, 12345);   // no identifier: nothing selected
    EXPECT_EQ(combo.ItemIndex(), -1);

    EXPECT_EQ(CursorFromName(crArrow, "TeeHand"), crTeeHand);
    EXPECT_EQ(CursorFromName(crArrow, "cross"), crCross);
    EXPECT_EQ(CursorFromName(crArrow, "Nonsense"), crArrow);
    std::string name;
    EXPECT_TRUE(CursorToName(crTeeHand, name));
    EXPECT_EQ(name, "crTeeHand");
    EXPECT_TRUE(CursorToName(crHandPoint, name));
    EXPECT_EQ(CursorDisplayName(name), "HandPoint");
    EXPECT_FALSE(CursorToName(999, name));
    EXPECT_EQ(name, "crHandPoint");
}
