// The series-type and tool-type registries, creating, naming, copying and replacing
// series through them, the colour palettes, and a legend symbol drawn into any canvas.
#include "chart_fixture_support.h"

#include "classes/TypInfo.h"
#include "graphics/Graphics.h"
#include "system/SysUtils.h"

#include <stdexcept>

namespace {

using charttest::ChartTest;
using charttest::Px;

class TRegistrySeriesA : public TChartSeries {
public:
    DECLARE_CLASS_INFO(TRegistrySeriesA)
    using TChartSeries::TChartSeries;
};
BEGIN_CLASS_INFO(TRegistrySeriesA, TChartSeries)
    .ComponentFactory()
END_CLASS_INFO

class TRegistrySeriesB : public TChartSeries {
public:
    DECLARE_CLASS_INFO(TRegistrySeriesB)
    using TChartSeries::TChartSeries;
    // Set to make the legend symbol fail while it is drawn.
    static inline bool FailSymbol = false;
    void DrawSymbolShape(int ValueIndex, const TRect& R) override
    {
        if (FailSymbol)
            throw std::runtime_error("symbol");
        TChartSeries::DrawSymbolShape(ValueIndex, R);
    }
};
BEGIN_CLASS_INFO(TRegistrySeriesB, TChartSeries)
    .ComponentFactory()
END_CLASS_INFO

// Takes only series of its own class as sources.
class TRegistrySeriesPicky : public TChartSeries {
public:
    DECLARE_CLASS_INFO(TRegistrySeriesPicky)
    using TChartSeries::TChartSeries;
    bool AcceptsDataSource(TComponent* Source) const override
    {
        return dynamic_cast<TRegistrySeriesPicky*>(Source) != nullptr && TChartSeries::AcceptsDataSource(Source);
    }
};
BEGIN_CLASS_INFO(TRegistrySeriesPicky, TChartSeries)
    .ComponentFactory()
END_CLASS_INFO

class TRegistryFunction : public TTeeFunction {
public:
    DECLARE_CLASS_INFO(TRegistryFunction)
    using TTeeFunction::TTeeFunction;
};
BEGIN_CLASS_INFO(TRegistryFunction, TTeeFunction)
    .ComponentFactory()
END_CLASS_INFO

class TRegistryTool : public TTeeCustomToolSeries {
public:
    DECLARE_CLASS_INFO(TRegistryTool)
    using TTeeCustomToolSeries::TTeeCustomToolSeries;
};
BEGIN_CLASS_INFO(TRegistryTool, TTeeCustomToolSeries)
    .ComponentFactory()
END_CLASS_INFO

const TClassInfo* const SeriesA = TRegistrySeriesA::StaticClassInfo();
const TClassInfo* const SeriesB = TRegistrySeriesB::StaticClassInfo();
const TClassInfo* const FunctionF = TRegistryFunction::StaticClassInfo();

// The series-type registries come from the core's start-up.
struct SeriesTypesTest : ChartTest {};

TEST_F(SeriesTypesTest, RegistrationKeepsOneRecordPerPairAndFindSkipsFunctionEntries)
{
    std::string name = "Alpha";
    RegisterSeriesType(SeriesA, &name, &TeeMsg_GalleryExtended, 1);
    AddSeriesType(SeriesA, FunctionF, &TeeMsg_GalleryFunctions, &TeeMsg_GalleryFunctions, 1);
    RegisterSeriesType(SeriesA, &name, &TeeMsg_GalleryExtended, 1);
    RegisterStandardFunctionType(FunctionF, &TeeMsg_GalleryFunctions);
    TTeeSeriesTypes* types = SeriesTypeList();
    ASSERT_EQ(types->Count(), 3);
    EXPECT_EQ(types->Get(1)->FunctionClass, FunctionF);
    EXPECT_EQ(types->Get(2)->SeriesClass, nullptr);
    EXPECT_EQ(types->Get(2)->GalleryPageText(), "Standard");
    EXPECT_EQ(types->Get(2)->NumGallerySeries, 2);
    EXPECT_THROW(types->Get(3), ERangeError);
    // Find answers the plain series entry, never the one with the function.
    EXPECT_EQ(types->Find(SeriesA), types->Get(0));
    EXPECT_EQ(types->Find(SeriesB), nullptr);
    // Registered classes can be streamed by name.
    EXPECT_EQ(GetClass("TRegistrySeriesA"), SeriesA);
    EXPECT_EQ(GetClass("TRegistryFunction"), FunctionF);

    // The gallery name follows the text variable; an unregistered class answers its name.
    TChartSeries* a = CreateSeriesInChart(&form, chart.get(), SeriesA);
    TChartSeries* b = CreateSeriesInChart(&form, chart.get(), SeriesB);
    name = "Renamed";
    EXPECT_EQ(GalleryNameOfSeries(a), "Renamed");
    EXPECT_EQ(GalleryNameOfSeries(b), "TRegistrySeriesB");

    // Tool classes: each once, in order.
    ToolTypeList()->Add(TRegistryTool::StaticClassInfo());
    ToolTypeList()->Add(TRegistryTool::StaticClassInfo());
    ASSERT_EQ(ToolTypeList()->Count(), 1);
    EXPECT_EQ(ToolTypeList()->Get(0), TRegistryTool::StaticClassInfo());
}

TEST_F(SeriesTypesTest, CreatedSeriesAreNamedOwnedAttachedAndGetTheirFunction)
{
    auto* first = new TChartSeries(&form);
    first->SetName("Series1");
    TChartSeries* s = CreateSeriesInChart(&form, chart.get(), SeriesA, FunctionF);
    EXPECT_EQ(s->Name(), "Series2");
    EXPECT_EQ(s->Owner(), &form);
    EXPECT_EQ(s->ParentChart(), chart.get());
    EXPECT_EQ(s->ClassInfo(), SeriesA);
    ASSERT_NE(s->FunctionType(), nullptr);
    EXPECT_EQ(s->FunctionType()->ClassInfo(), FunctionF);
    EXPECT_EQ(s->FunctionType()->Name(), "TeeFunction1");
    EXPECT_EQ(s->FunctionType()->Owner(), &form);

    // Once the chart owns one of its series, new series are the chart's too.
    TChartSeries* own = CreateSeriesInChart(nullptr, chart.get(), SeriesB);
    EXPECT_EQ(own->Owner(), chart.get());
    EXPECT_EQ(CreateSeriesInChart(&form, chart.get(), SeriesA)->Owner(), chart.get());

    // A copy has the class, the function class and the points.
    s->AddPointXY(1, 5);
    TChartSeries* copy = CreateSeriesOfSameClass(s);
    EXPECT_EQ(copy->ClassInfo(), SeriesA);
    ASSERT_NE(copy->FunctionType(), nullptr);
    EXPECT_EQ(copy->FunctionType()->ClassInfo(), FunctionF);
    EXPECT_EQ(copy->ParentChart(), chart.get());

    // A class without a factory is refused and leaves nothing behind.
    const int before = form.ComponentCount();
    EXPECT_THROW(CreateSeriesInChart(&form, chart.get(), TTeeFunction::StaticClassInfo()), EClassNotFound);
    EXPECT_THROW(chart->AddSeriesOfClass(FunctionF), EClassNotFound);
    EXPECT_EQ(form.ComponentCount(), before);

    // Added by class: owned by the chart's owner.
    TComponent chartOwner(nullptr);
    TChart owned(&chartOwner);
    TChartSeries* byClass = owned.AddSeriesOfClass(SeriesB);
    EXPECT_EQ(byClass->Owner(), &chartOwner);
    EXPECT_EQ(owned.Series(0), byClass);
}

TEST_F(SeriesTypesTest, ReplaceSeriesMovesSourcesDependentsToolsGroupsEventsAndPlace)
{
    TChartSeries* source = CreateSeriesInChart(&form, chart.get(), SeriesA);
    TChartSeries* old = CreateSeriesInChart(&form, chart.get(), SeriesA);
    TChartSeries* dependent = CreateSeriesInChart(&form, chart.get(), SeriesA);
    TChartSeries* last = CreateSeriesInChart(&form, chart.get(), SeriesA);
    source->AddPointXY(1, 2);
    source->AddPointXY(2, 3);
    old->SetDataSource(source);
    dependent->SetDataSource(old);
    old->SetTitle("Old title");
    int clicks = 0;
    old->OnClick = [&](TChartSeries*, int, TMouseButton, TShiftState, int, int) { ++clicks; };
    auto* tool = new TRegistryTool(&form);
    chart->Tools()->AddTool(tool);
    tool->SetSeries(old);
    TSeriesGroup* group = chart->SeriesList()->AddGroup("G");
    group->Series()->Add(last);
    group->Series()->Add(old);
    int titleEvents = 0;
    struct Listener : IPanelEventListener {
        int* Count;
        explicit Listener(int* c) : Count(c) {}
        void HandleEvent(TTeeEvent* E) override
        {
            if (auto* e = dynamic_cast<TTeeSeriesEvent*>(E); e && e->Event == seChangeTitle)
                ++*Count;
        }
    } listener(&titleEvents);
    chart->AddListenerOnce(&listener);

    TChartSeries* replaced = old;
    TChartSeries* result = ReplaceSeriesClass(replaced, SeriesB);
    chart->RemoveListener(&listener);

    ASSERT_EQ(result, replaced);
    EXPECT_EQ(replaced->ClassInfo(), SeriesB);
    EXPECT_EQ(replaced->Name(), "Series2");
    EXPECT_EQ(replaced->StoredTitle(), "Old title");
    EXPECT_EQ(chart->IndexOfSeries(replaced), 1);
    EXPECT_EQ(chart->SeriesCount(), 4);
    EXPECT_EQ(replaced->DataSource(), source);
    EXPECT_EQ(replaced->Count(), 2);
    EXPECT_EQ(dependent->DataSource(), replaced);
    EXPECT_GE(replaced->LinkedSeries()->IndexOf(dependent), 0);
    EXPECT_EQ(source->LinkedSeries()->Count(), 1);
    EXPECT_EQ(source->LinkedSeries()->Series(0), replaced);
    EXPECT_EQ(dependent->Count(), 2);
    EXPECT_EQ(tool->Series(), replaced);
    ASSERT_EQ(group->Series()->Count(), 2);
    EXPECT_EQ(group->Series()->Series(1), replaced);
    EXPECT_GE(titleEvents, 1);
    ASSERT_TRUE(replaced->OnClick);
    replaced->OnClick(replaced, 0, mbLeft, {}, 0, 0);
    EXPECT_EQ(clicks, 1);

    // Its own class changes nothing.
    TChartSeries* same = replaced;
    EXPECT_EQ(ReplaceSeriesClass(same, SeriesB), replaced);
    EXPECT_EQ(same, replaced);
    EXPECT_EQ(chart->SeriesCount(), 4);
}

TEST_F(SeriesTypesTest, ATypeThatRefusesTheSourcesLeavesTheChartAsItWas)
{
    TChartSeries* source = CreateSeriesInChart(&form, chart.get(), SeriesA);
    TChartSeries* old = CreateSeriesInChart(&form, chart.get(), SeriesA);
    source->AddPointXY(1, 2);
    old->SetDataSource(source);
    const int components = form.ComponentCount();
    TChartSeries* replaced = old;
    EXPECT_THROW(ReplaceSeriesClass(replaced, TRegistrySeriesPicky::StaticClassInfo()), ChartException);
    EXPECT_EQ(replaced, old);
    EXPECT_EQ(chart->SeriesCount(), 2);
    EXPECT_EQ(chart->Series(1), old);
    EXPECT_EQ(form.ComponentCount(), components);
    ASSERT_EQ(source->LinkedSeries()->Count(), 1);
    EXPECT_EQ(source->LinkedSeries()->Series(0), old);
    EXPECT_EQ(old->DataSource(), source);
}

TEST_F(SeriesTypesTest, PalettesApplyToTheChartAndItsDefaultColouredSeries)
{
    ASSERT_EQ(ColorPaletteList()->Count(), 10);
    EXPECT_EQ(ColorPaletteList()->Strings(0), "RurEvido");
    EXPECT_EQ(ColorPaletteList()->Strings(3), "Pastels");
    EXPECT_EQ(ColorPaletteList()->Strings(9), "Win. XP");
    EXPECT_EQ(ColorPaletteColors(8).size(), 25u);
    EXPECT_EQ(ColorPaletteColors(8).back(), TColor(0xFF00CC));
    EXPECT_TRUE(ColorPaletteColors(10).empty());

    TChartSeries* s = CreateSeriesInChart(&form, chart.get(), SeriesA);
    ApplyChartPalette(chart.get(), 3);
    EXPECT_EQ(chart->ColorPaletteIndex(), 3);
    ASSERT_EQ(chart->ColorPalette().size(), 14u);
    EXPECT_EQ(chart->ColorPalette().front(), TColor(0xFFFFCC));
    s->SetSeriesColor(clDefault);
    chart->SetColorPaletteIndex(4);
    EXPECT_EQ(s->SeriesColor(), TColor(0xFF0000));   // the first colour of "Solid"

    // Index 0 and an index past the palettes empty the chart's palette; the series
    // then take the default palette's colours.
    s->SetSeriesColor(clDefault);
    ApplyChartPalette(chart.get(), 0);
    EXPECT_TRUE(chart->ColorPalette().empty());
    EXPECT_EQ(s->SeriesColor(), GetDefaultPaletteColor(0));
    ApplyChartPalette(chart.get(), 42);
    EXPECT_TRUE(chart->ColorPalette().empty());
    EXPECT_EQ(chart->ColorPaletteIndex(), 42);

    const TColor colors[] = {clRed, clGreen, clBlue};
    SetDefaultPalette(colors, 1);
    EXPECT_EQ(DefaultPalette().size(), 2u);
    EXPECT_EQ(GetDefaultPaletteColor(3), clGreen);
    EXPECT_THROW(SetDefaultPalette(colors, 3), ERangeError);
    SetDefaultPalette(colors, 0);
    EXPECT_EQ(DefaultPalette(), BuiltInDefaultPalette());
}

TEST_F(SeriesTypesTest, SymbolInRectUsesATemporaryChartAndAlwaysDetaches)
{
    auto s = std::make_unique<TRegistrySeriesB>(nullptr);
    s->SetSeriesColor(clRed);
    TBitmap picture(40, 20);
    picture.Canvas()->Brush()->SetColor(clWhite);
    picture.Canvas()->FillRect(TRect(0, 0, 40, 20));
    DrawSeriesSymbolInRect(s.get(), picture.Canvas(), TRect(5, 5, 35, 15));
    picture.Canvas()->Flush();
    EXPECT_EQ(Px(picture, 20, 10), clRed);
    EXPECT_EQ(Px(picture, 2, 2), clWhite);
    EXPECT_EQ(s->ParentChart(), nullptr);

    // Drawing into the given chart's surface; a failure still detaches the series and
    // points the surface back.
    TCanvas* shown = chart->Canvas()->ReferenceCanvas();
    TRegistrySeriesB::FailSymbol = true;
    EXPECT_THROW(DrawSeriesSymbolInRect(s.get(), picture.Canvas(), TRect(5, 5, 35, 15), chart.get()),
                 std::runtime_error);
    TRegistrySeriesB::FailSymbol = false;
    EXPECT_EQ(s->ParentChart(), nullptr);
    EXPECT_EQ(chart->SeriesCount(), 0);
    EXPECT_EQ(chart->Canvas()->ReferenceCanvas(), shown);
}

} // namespace
