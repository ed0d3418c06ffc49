// The gallery panel and the gallery dialog over registered test types: layout rows,
// keyboard and mouse choice, disabled function charts, and the answered class pair.
#include "editor_driver.h"

#include "ChartStarted.h"
#include "UserInput.h"

#include "Galleries.h"
#include "Series.h"
#include "ShapeSeries.h"
#include "TeEngine.h"
#include "TeeFunci.h"

#include "ChartListBox.h"
#include "classes/TypInfo.h"
#include "controls/Registry.h"
#include "controls/StdCtrls.h"

#include <gtest/gtest-spi.h>

#include <QApplication>

#include <memory>
#include <set>
#include <type_traits>
#include <utility>
#include <vector>

using namespace editortest;

namespace {

// Distinct series classes for the registry (one record per class): even ones are line
// series, odd ones point series.
template <int N>
class TGallerySample : public std::conditional_t<N % 2 == 0, TLineSeries, TPointSeries> {
public:
    using Base = std::conditional_t<N % 2 == 0, TLineSeries, TPointSeries>;
    using Base::Base;
    const char* ClassName() const override { return "TGallerySample"; }
    static const TClassInfo* StaticClassInfo()
    {
        static const TClassInfo info =
            TClassBuilder<TGallerySample>("TGallerySample" + std::to_string(N), TChartSeries::StaticClassInfo())
                .ComponentFactory()
                .Build();
        return &info;
    }
    const TClassInfo* ClassInfo() const override { return StaticClassInfo(); }
};

template <int... N>
std::vector<const TClassInfo*> SampleClassList(std::integer_sequence<int, N...>)
{
    return {TGallerySample<N>::StaticClassInfo()...};
}

const TClassInfo* SampleClass(int Index)
{
    static const std::vector<const TClassInfo*> classes = SampleClassList(std::make_integer_sequence<int, 16>());
    return classes.at(size_t(Index));
}

using TGalleryLine = TGallerySample<0>;
using TGalleryPoint = TGallerySample<1>;

// A function that no series may feed.
class TGalleryPickyFunction : public TTeeFunction {
public:
    DECLARE_CLASS_INFO(TGalleryPickyFunction)
    using TTeeFunction::TTeeFunction;
    bool AcceptsSource(TComponent*) const override { return false; }
};
BEGIN_CLASS_INFO(TGalleryPickyFunction, TTeeFunction)
    .ComponentFactory()
END_CLASS_INFO

class GalleriesTest : public testsupport::ChartStartedTest {
protected:
    void SetUp() override
    {
        // The editor options the galleries read and write stay with the test.
        SetRegistryFileName(testsupport::TempDir() + "/gallery-settings.ini");
        host = std::make_unique<TForm>(nullptr);
        host->SetBounds(0, 0, 400, 300);
        panel = std::make_unique<TChartGalleryPanel>(nullptr);
        panel->SetParent(host.get());
        panel->SetBounds(0, 0, 400, 300);
        user::ShowAndActivate(host.get());
    }
    void TearDown() override
    {
        panel.reset();
        host.reset();
        SetRegistryFileName("");
    }
    // Registers Count types on page Page, alternating line and point series; the last
    // one shows no sample series when ZeroLast.
    void Register(int Count, const std::string& Page, bool ZeroLast = false)
    {
        for (int i = 0; i < Count; ++i) {
            names.push_back(std::make_unique<std::string>(Page + " " + std::to_string(i)));
            pages.push_back(std::make_unique<std::string>(Page));
            const TClassInfo* cls = SampleClass(next++);
            AddSeriesType(cls, nullptr, names.back().get(), pages.back().get(), ZeroLast && i == Count - 1 ? 0 : 2);
        }
    }
    void Key(int K, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) { EXPECT_TRUE(user::Key(panel.get(), K, Modifiers)); }
    int SelectedIndex() const
    {
        for (int i = 0; i < panel->ChartCount(); ++i)
            if (panel->Charts(i) == panel->SelectedChart())
                return i;
        return -1;
    }

    EditorDriver driver;
    std::unique_ptr<TForm> host;
    std::unique_ptr<TChartGalleryPanel> panel;
    std::vector<std::unique_ptr<std::string>> names, pages;
    int next = 0;
};

TEST_F(GalleriesTest, RowsFollowTheCountAndChartsFillTheirCells)
{
    EXPECT_EQ(GalleryRowsFor(13, 4), 4);
    EXPECT_EQ(GalleryRowsFor(5, 4), 3);
    EXPECT_EQ(GalleryRowsFor(0, 4), 3);
    EXPECT_EQ(GalleryRowsFor(8, 4), 3);
    EXPECT_EQ(GalleryRowsFor(9, 4), 3);
    Register(5, "Alpha");
    CreateGalleryPage(panel.get(), "Alpha");
    ASSERT_EQ(panel->ChartCount(), 5);
    EXPECT_EQ(panel->NumRows(), 3);
    EXPECT_EQ(panel->Charts(4)->Left(), 0);
    EXPECT_EQ(panel->Charts(4)->Top(), panel->CellHeight());
    EXPECT_EQ(panel->Charts(1)->Width(), 100);
    EXPECT_EQ(panel->Charts(0)->Title()->Text()->Strings(0), "Alpha 0");
    EXPECT_EQ(panel->Charts(0)->SeriesCount(), 2);
    EXPECT_GT(panel->Charts(0)->Series(0)->Count(), 0);
    // The first chart is focused; the others keep the plain look.
    EXPECT_EQ(SelectedIndex(), 0);
    EXPECT_TRUE(panel->Charts(0)->Gradient()->Visible());
    EXPECT_FALSE(panel->Charts(1)->HasGradient() && panel->Charts(1)->Gradient()->Visible());
}

TEST_F(GalleriesTest, KeyboardAndMouseChooseAndNeverLeaveTheCharts)
{
    Register(6, "Alpha", true);
    CreateGalleryPage(panel.get(), "Alpha");
    int chosen = 0;
    panel->OnSelectedChart = [&](TObject*) { ++chosen; };
    Key(Qt::Key_Left);
    Key(Qt::Key_Up);
    EXPECT_EQ(SelectedIndex(), 0);
    for (int i = 0; i < 5; ++i)
        Key(Qt::Key_Right);
    EXPECT_EQ(SelectedIndex(), 3);   // the last column
    Key(Qt::Key_Down);
    EXPECT_EQ(SelectedIndex(), 3);   // below it is an empty cell
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    Key(Qt::Key_Down);
    EXPECT_EQ(SelectedIndex(), 5);
    Key(Qt::Key_Right);
    EXPECT_EQ(SelectedIndex(), 5);
    Key(Qt::Key_Down);
    EXPECT_EQ(SelectedIndex(), 5);
    Key(Qt::Key_Return);
    EXPECT_EQ(chosen, 1);
    // The type without sample series is shown and answers its classes.
    TChartSeriesClass seriesClass = nullptr;
    TTeeFunctionClass functionClass = nullptr;
    int sub = 0;
    ASSERT_TRUE(GetSelectedTypes(panel.get(), seriesClass, functionClass, sub));
    EXPECT_EQ(panel->Charts(5)->SeriesCount(), 0);
    EXPECT_EQ(seriesClass, SampleClass(5));
    EXPECT_EQ(functionClass, nullptr);
    EXPECT_EQ(sub, -1);
    // The mouse: a click focuses, a double click chooses.
    EXPECT_TRUE(user::Click(panel->Charts(2), QPoint(10, 10)));
    EXPECT_EQ(SelectedIndex(), 2);
    EXPECT_TRUE(user::DoubleClick(panel->Charts(1), QPoint(10, 10)));
    EXPECT_EQ(SelectedIndex(), 1);
    EXPECT_EQ(chosen, 2);
    ASSERT_TRUE(GetSelectedTypes(panel.get(), seriesClass, functionClass, sub));
    EXPECT_EQ(seriesClass, SampleClass(1));
    // An empty panel answers nothing and chooses nothing.
    panel->Clear();
    Key(Qt::Key_Return);
    EXPECT_EQ(chosen, 2);
    EXPECT_FALSE(GetSelectedTypes(panel.get(), seriesClass, functionClass, sub));
}

// Tab stops at the grid once, at the chosen chart, and goes on from there.
TEST_F(GalleriesTest, TheGridIsOneTabStopAtTheChosenChart)
{
    host->SetBounds(0, 0, 400, 340);
    auto* box = new TCheckBox(host.get());
    box->SetParent(host.get());
    box->SetBounds(0, 310, 100, 20);
    Register(6, "Alpha");
    // Before a chart is chosen, Tab stops at the grid, and an arrow chooses the first.
    for (int i = 0; i < 3; ++i)
        AddGalleryChart(panel.get(), nullptr);
    ASSERT_TRUE(user::Focus(box));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    ASSERT_TRUE(user::Key(Qt::Key_Right));
    EXPECT_EQ(SelectedIndex(), 0);
    CreateGalleryPage(panel.get(), "Alpha");
    Key(Qt::Key_Right);
    ASSERT_EQ(SelectedIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), user::W(panel->Charts(1)));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    EXPECT_EQ(QApplication::focusWidget(), user::W(box));
    ASSERT_TRUE(user::Key(Qt::Key_Backtab, Qt::ShiftModifier));
    EXPECT_EQ(QApplication::focusWidget(), user::W(panel->Charts(1)));
}

TEST_F(GalleriesTest, FunctionsThatRefuseTheSeriesCannotBeFocused)
{
    std::string name = "Picky", page = "Functions";
    AddSeriesType(TGalleryLine::StaticClassInfo(), TGalleryPickyFunction::StaticClassInfo(), &name, &page, 1);
    TChart chart(nullptr);
    auto* current = new TGalleryLine(&chart);
    panel->FunctionsMode = true;
    panel->CurrentSeries = current;
    CreateGalleryPage(panel.get(), "Functions");
    ASSERT_EQ(panel->ChartCount(), 1);
    EXPECT_FALSE(panel->Charts(0)->Enabled());
    EXPECT_EQ(panel->SelectedChart(), nullptr);
    EXPECT_NONFATAL_FAILURE(user::Click(panel->Charts(0), QPoint(5, 5)), "disabled");
    Key(Qt::Key_Right);
    EXPECT_EQ(panel->SelectedChart(), nullptr);
}

TEST_F(GalleriesTest, SubGalleryOffersTheStylesOfTheClassAndAppliesTheChosenOne)
{
    CreateGalleryPage(panel.get(), "Standard");
    TGalleryChart* bar = nullptr;
    for (int i = 0; i < panel->ChartCount(); ++i)
        if (panel->Charts(i)->SeriesType->SeriesClass == TBarSeries::StaticClassInfo())
            bar = panel->Charts(i);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->HasSubStyles);
    std::vector<std::string> styles;
    TBarSeries(nullptr).AddSubGalleryStyles(styles);
    int subSelected = 0;
    panel->OnSubSelected = [&](TObject*) { ++subSelected; };
    // A click on the marker of a chart not yet focused only focuses it.
    EXPECT_TRUE(user::Click(bar, QPoint(3, bar->Height() - 3)));
    EXPECT_EQ(panel->SelectedChart(), bar);
    EXPECT_EQ(driver.Shown, 0);
    // Alt+Down: the pop-up lists every style; Right twice and Enter choose the third.
    driver.Act = [&](TForm* f) {
        auto* nested = dynamic_cast<TChartGalleryPanel*>(f->FindComponent("SubGalleryPanel"));
        ASSERT_NE(nested, nullptr);
        ASSERT_EQ(nested->ChartCount(), int(styles.size()));
        EXPECT_EQ(nested->Charts(2)->Title()->Text()->Strings(0), styles[2]);
        EXPECT_EQ(nested->NumRows(), (int(styles.size()) + 3) / 4);
        // Kept on the screen.
        EXPECT_LE(f->Left() + f->Width(), Screen()->Width() - 2);
        EXPECT_LE(f->Top() + f->Height(), Screen()->Height() - 2);
        SavePicture(f, "subgallery");
        EXPECT_TRUE(user::Key(nested, Qt::Key_Right));
        EXPECT_TRUE(user::Key(Qt::Key_Right));
        EXPECT_TRUE(user::Key(Qt::Key_Return));
    };
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(driver.Shown, 1);
    EXPECT_EQ(subSelected, 1);
    EXPECT_EQ(bar->Tag(), 2);
    EXPECT_EQ(static_cast<TBarSeries*>(bar->Series(0))->BarStyle(), bsPyramid);
    TChartSeriesClass seriesClass = nullptr;
    TTeeFunctionClass functionClass = nullptr;
    int sub = -1;
    ASSERT_TRUE(GetSelectedTypes(panel.get(), seriesClass, functionClass, sub));
    EXPECT_EQ(seriesClass, TBarSeries::StaticClassInfo());
    EXPECT_EQ(sub, 2);
    // A click on the focused chart's marker opens it too; Esc leaves the choice alone.
    driver.Act = [](TForm* f) {
        auto* nested = static_cast<TChartGalleryPanel*>(f->FindComponent("SubGalleryPanel"));
        EXPECT_TRUE(user::Key(nested, Qt::Key_Escape));
    };
    EXPECT_TRUE(user::Click(bar, QPoint(3, bar->Height() - 3)));
    EXPECT_EQ(driver.Shown, 2);
    EXPECT_EQ(subSelected, 1);
    EXPECT_EQ(bar->Tag(), 2);
}

TEST_F(GalleriesTest, SmoothChartsAreReducedFromALargerDrawingThatLeavesThemUnchanged)
{
    CreateGalleryPage(panel.get(), "Standard");
    TGalleryChart* chart = nullptr;
    for (int i = 0; i < panel->ChartCount(); ++i)
        if (panel->Charts(i)->SeriesType->SeriesClass == TFastLineSeries::StaticClassInfo())
            chart = panel->Charts(i);
    ASSERT_NE(chart, nullptr);
    const int labelSize = chart->LeftAxis()->LabelsFont()->Size();
    ASSERT_FALSE(panel->Smooth());
    std::unique_ptr<TBitmap> plain = chart->DrawToBitmap(clWhite, chart->ClientRect());
    // Every chart on the screen is drawn again at once, not when something else repaints it.
    QApplication::processEvents();
    int draws = 0;
    chart->OnAfterDraw = [&](TObject*) { ++draws; };
    panel->SetSmooth(true);
    QApplication::processEvents();
    EXPECT_GT(draws, 0);
    chart->OnAfterDraw = nullptr;
    std::unique_ptr<TBitmap> smooth = chart->DrawToBitmap(clWhite, chart->ClientRect());
    SavePicture(panel.get(), "gallery-smooth");
    // Anti-aliased edges bring in colours the plain drawing does not have.
    auto colours = [](TBitmap* b) {
        std::set<TColor> out;
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x)
                out.insert(b->Canvas()->Pixel(x, y));
        return out.size();
    };
    EXPECT_GT(colours(smooth.get()), 2 * colours(plain.get()));
    EXPECT_FALSE(chart->LeftAxis()->Labels());
    EXPECT_EQ(chart->LeftAxis()->LabelsFont()->Size(), labelSize);
    EXPECT_TRUE(chart->Title()->Visible());
}

TEST_F(GalleriesTest, GalleryDialogAnswersTheChosenTypeAndAddsTheSeries)
{
    Register(3, "Alpha");
    Register(2, "Beta");
    TChart chart(nullptr);
    // The 3D box starts ticked whatever the chart shows.
    chart.SetView3D(false);
    user::ModalActions modal(driver.Dialogs);
    modal.Then([&](TForm* f) {
        auto* g = static_cast<TTeeGallery*>(f);
        EXPECT_TRUE(g->CB3D->Checked());
        // The standard types come first; the registered pages follow.
        TStrings* tabs = g->TabPages->Tabs();
        ASSERT_GE(tabs->Count(), 3);
        EXPECT_EQ(tabs->Get(0), "Standard");
        EXPECT_GT(g->ChartGalleryPanel1->ChartCount(), 0);
        SavePicture(g, "gallery");
        ASSERT_TRUE(user::ClickTab(g->TabTypes, 1));
        EXPECT_TRUE(g->ChartGalleryPanel1->FunctionsMode);
        SavePicture(g, "gallery-functions");
        ASSERT_TRUE(user::ClickTab(g->TabTypes, 0));
        ASSERT_TRUE(user::ClickTab(g->TabPages, "Alpha"));
        EXPECT_EQ(g->ChartGalleryPanel1->ChartCount(), 3);
        ASSERT_TRUE(user::ClickTab(g->TabPages, "Beta"));
        EXPECT_EQ(g->ChartGalleryPanel1->ChartCount(), 2);
        ASSERT_TRUE(user::Click(g->CB3D));
        ASSERT_TRUE(user::Key(g->ChartGalleryPanel1, Qt::Key_Right));
        ASSERT_TRUE(user::Key(Qt::Key_Return));
    });
    TChartSeries* series = NewSeriesFromGallery(nullptr, &chart);
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->ClassInfo(), SampleClass(4));
    EXPECT_EQ(series->ParentChart(), &chart);
    EXPECT_FALSE(chart.View3D());
    // Changing a series' type: cancelled changes nothing.
    modal.Then([](TForm* f) { user::Click(static_cast<TTeeGallery*>(f)->BCancel); });
    EXPECT_EQ(ChangeSeriesTypeFromGallery(nullptr, series), nullptr);
    EXPECT_EQ(series->ClassInfo(), SampleClass(4));
}

// As the editor's "Change..." opens it: the series' own type is chosen and has the keys.
TEST_F(GalleriesTest, ChangingATypeStartsOnTheSeriesTypeAndTheArrowsMoveOnFromIt)
{
    TChart chart(nullptr);
    TChartSeries* series = new TPointSeries(&chart);
    series->SetParentChart(&chart);
    user::ModalActions modal(driver.Dialogs);
    modal.Then([](TForm* f) {
        auto* g = static_cast<TTeeGallery*>(f);
        ASSERT_NE(g->ChartGalleryPanel1->SelectedChart(), nullptr);
        EXPECT_EQ(g->ChartGalleryPanel1->SelectedChart()->Series(0)->ClassInfo(), TPointSeries::StaticClassInfo());
        EXPECT_TRUE(user::Key(Qt::Key_Right));
        EXPECT_TRUE(user::Key(Qt::Key_Return));
    });
    TChartSeries* changed = series;
    EXPECT_EQ(ChangeSeriesTypeFromGallery(nullptr, changed), TPieSeries::StaticClassInfo());   // after Point
    EXPECT_EQ(changed->ClassInfo(), TPieSeries::StaticClassInfo());
}

TEST_F(GalleriesTest, AFunctionChosenInTheGalleryAddsALineSeriesWithIt)
{
    TChart chart(nullptr);
    user::ModalActions modal(driver.Dialogs);
    modal.Then([&](TForm* f) {
        auto* g = static_cast<TTeeGallery*>(f);
        ASSERT_TRUE(user::ClickTab(g->TabTypes, "Functions"));
        TGalleryChart* average = nullptr;
        for (int i = 0; i < g->ChartGalleryPanel1->ChartCount(); ++i)
            if (g->ChartGalleryPanel1->Charts(i)->SeriesType->FunctionClass == TAverageTeeFunction::StaticClassInfo())
                average = g->ChartGalleryPanel1->Charts(i);
        ASSERT_NE(average, nullptr);
        ASSERT_TRUE(user::Click(average));
        ASSERT_TRUE(user::Click(g->BOk));
    });
    TChartSeries* series = NewSeriesFromGallery(nullptr, &chart);
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->ClassInfo(), TLineSeries::StaticClassInfo());
    ASSERT_NE(series->FunctionType(), nullptr);
    EXPECT_EQ(series->FunctionType()->ClassInfo(), TAverageTeeFunction::StaticClassInfo());
    EXPECT_EQ(chart.SeriesCount(), 1);
}

// Every registered type added through the gallery, each by a click on its chart and on
// OK: the new series have no points, and the chart still shows its plot whole inside the
// picture in 3D (the gallery's default), with no depth taken by the empty series.
TEST_F(GalleriesTest, EveryTypeAddedThroughTheGalleryLeavesTheChartReadable)
{
    RegisterSeriesUnitTypes();
    {
        constexpr int W = 500, H = 400;
        TChart chart(nullptr);
        chart.SetBounds(0, 0, W, H);
        const int types = SeriesTypeList()->Count();
        ASSERT_EQ(types, 23);
        user::ModalActions modal(driver.Dialogs);
        for (int t = 0; t < types; ++t) {
            const TTeeSeriesType* type = SeriesTypeList()->Get(t);
            modal.Then([&, type](TForm* f) {
                auto* g = static_cast<TTeeGallery*>(f);
                if (type->FunctionClass != nullptr) {
                    ASSERT_TRUE(user::ClickTab(g->TabTypes, "Functions"));
                } else {
                    ASSERT_TRUE(user::ClickTab(g->TabPages, type->GalleryPageText()));
                }
                TGalleryChart* wanted = nullptr;
                for (int i = 0; i < g->ChartGalleryPanel1->ChartCount(); ++i)
                    if (g->ChartGalleryPanel1->Charts(i)->SeriesType == type)
                        wanted = g->ChartGalleryPanel1->Charts(i);
                ASSERT_NE(wanted, nullptr) << type->DescriptionText();
                ASSERT_TRUE(user::Click(wanted));
                ASSERT_TRUE(user::Click(g->BOk));
            });
            TChartSeries* s = NewSeriesFromGallery(nullptr, &chart);
            ASSERT_NE(s, nullptr) << type->DescriptionText();
            // The shape keeps its two corners; every other type starts without points.
            EXPECT_EQ(s->Count(), type->SeriesClass == TChartShape::StaticClassInfo() ? 2 : 0)
                << type->DescriptionText();
        }
        EXPECT_EQ(chart.SeriesCount(), types);
        EXPECT_TRUE(chart.View3D());
        auto bmp = chart.DrawToBitmap(clWhite, TRect(0, 0, W, H));
        if (const std::string path = testsupport::ArtifactPath("editor-gallery-every-type.png"); !path.empty())
            bmp->SaveToFile(path);
        // Only the shape takes a depth; the plot's front lies inside the picture.
        EXPECT_EQ(chart.DepthAxis()->Map().Maximum, 0.5);
        EXPECT_GT(chart.ChartRect.Top, 0);
        EXPECT_LT(chart.LeftAxis()->Map().EndPos, H);
        EXPECT_LT(chart.BottomAxis()->Map().EndPos + chart.Width3D, W);
    }
}

TEST_F(GalleriesTest, GalleryModeOneListsTheTypesAndOffersTheStylesOfTheChosenOne)
{
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TeeEditorRegistryKey, true));
        registry.WriteInteger("GalleryMode", 1);
    }
    TChart chart(nullptr);
    driver.Act = [&](TForm* f) {
        auto* g = dynamic_cast<TTeeGalleryForm*>(f);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->CBPage->Items()->Get(0), "(all)");
        EXPECT_EQ(g->CBPage->Items()->Get(g->CBPage->ItemIndex()), "Standard");
        // Sorted by title, line separators shown as blanks.
        TStrings* lines = g->ChartListBox1->Items();
        const int hbar = lines->IndexOf("Horizontal Bar");
        ASSERT_GE(hbar, 0);
        EXPECT_EQ(lines->Get(0), "Area");
        EXPECT_TRUE(user::Click(g->ChartListBox1, QPoint(60, hbar * TChartListBox::ItemHeight + 5)));
        std::vector<std::string> styles;
        THorizBarSeries(nullptr).AddSubGalleryStyles(styles);
        ASSERT_EQ(g->ChartGalleryPanel1->ChartCount(), int(styles.size()));
        SavePicture(g, "gallery-form");
        EXPECT_TRUE(user::Key(g->ChartGalleryPanel1, Qt::Key_Right));
        EXPECT_TRUE(user::Key(Qt::Key_Return));
    };
    TChartSeries* series = NewSeriesFromGallery(nullptr, &chart);
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->ClassInfo(), THorizBarSeries::StaticClassInfo());
    EXPECT_TRUE(series->ColorEachPoint());   // the second style: a colour for each bar
}

} // namespace

namespace {

TEST(SelectListTest, ItemsMoveBetweenTheListsAndWithinTheChosenOne)
{
    EditorDriver driver;
    TSelectListForm form(nullptr);
    int changes = 0;
    form.OnChange = [&](TObject*) { ++changes; };
    for (const char* s : {"a", "b", "c", "d"})
        form.FromList->Items()->Add(s);
    form.Show();
    EXPECT_FALSE(form.BLeftOne->Enabled());
    form.FromList->SetSelected(1, true);
    form.FromList->SetSelected(2, true);
    EXPECT_TRUE(user::Click(form.BRightOne));
    EXPECT_EQ(form.ToList->Items()->Text(), "b\r\nc\r\n");
    EXPECT_TRUE(form.FromList->Selected(0));
    EXPECT_TRUE(form.BLeftOne->Enabled());
    // A double click moves the clicked item and selects the last chosen one.
    form.FromList->SetItemIndex(1);
    form.FromList->OnDblClick(form.FromList);
    EXPECT_EQ(form.ToList->Items()->Text(), "b\r\nc\r\nd\r\n");
    EXPECT_EQ(form.ToList->ItemIndex(), 2);
    EXPECT_TRUE(form.BMoveUP->Enabled());
    EXPECT_FALSE(form.BMoveDown->Enabled());
    EXPECT_TRUE(user::Click(form.BMoveUP));
    EXPECT_EQ(form.ToList->Items()->Text(), "b\r\nd\r\nc\r\n");
    EXPECT_EQ(form.ToList->ItemIndex(), 1);
    EXPECT_TRUE(form.BMoveDown->Enabled());
    EXPECT_TRUE(user::Click(form.BRightAll));
    EXPECT_EQ(form.FromList->Items()->Count(), 0);
    EXPECT_FALSE(form.BRightOne->Enabled());
    // A double click on the empty list does nothing.
    form.FromList->OnDblClick(form.FromList);
    EXPECT_EQ(form.ToList->Items()->Count(), 4);
    EXPECT_GE(changes, 5);
    SavePicture(&form, "select-list");
}

} // namespace
