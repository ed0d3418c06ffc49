// A chart file can hold any number in any numeric property: every integer and float
// property of a chart and its series, set to each extreme value a stream can carry, must
// leave a chart whose drawing ends without overflow (the sanitizers watch the arithmetic).
#include "chart_fixture.h"

#include "ChartStarted.h"

#include "classes/Collections.h"
#include "classes/Streaming.h"
#include "classes/Streams.h"
#include "classes/TypInfo.h"

#include <cmath>
#include <functional>
#include <limits>

namespace charttest {
namespace {

// A numeric property of one object of the chart, by its dotted path.
struct NumericProperty {
    TPersistent* Object;
    const TPropInfo* Info;
    std::string Path;
};

void CollectNumeric(TPersistent* Obj, const std::string& Prefix, std::vector<NumericProperty>& Out, int Depth = 0)
{
    if (Obj == nullptr || Depth > 6 || dynamic_cast<TStrings*>(Obj) != nullptr)
        return;
    if (auto* collection = dynamic_cast<TCollection*>(Obj)) {
        for (int i = 0; i < collection->Count(); ++i)
            CollectNumeric(collection->Items(i), Prefix + "[" + std::to_string(i) + "]", Out, Depth + 1);
        return;
    }
    for (const TPropInfo& p : Obj->ClassInfo()->Properties) {
        const std::string path = Prefix + "." + p.Name;
        if (p.Kind == TPropKind::Object)
            CollectNumeric(p.GetObj(Obj), path, Out, Depth + 1);
        else if ((p.Kind == TPropKind::Integer && p.SetOrd) || (p.Kind == TPropKind::Float && p.SetFloat))
            Out.push_back({Obj, &p, path});
    }
}

struct HostileValues : ChartSeriesTest, ::testing::WithParamInterface<double> {
    // Every numeric property of the chart and its series, after a few series of each kind
    // of drawing (lines, bars, areas with marks; a pie alone in a second chart).
    std::vector<NumericProperty> Properties(TChart* Chart)
    {
        std::vector<NumericProperty> all;
        CollectNumeric(Chart, "Chart", all);
        for (int i = 0; i < Chart->SeriesCount(); ++i)
            CollectNumeric(Chart->Series(i), Chart->Series(i)->Name(), all);
        return all;
    }
    // Each object's numeric properties take the value together (one drawing per object
    // keeps the sweep quick); then they get their own values back.
    void Sweep(TChart* Chart)
    {
        const double value = GetParam();
        const std::vector<NumericProperty> all = Properties(Chart);
        ASSERT_GT(all.size(), 100u);
        for (size_t first = 0; first < all.size();) {
            size_t last = first;
            while (last < all.size() && all[last].Object == all[first].Object)
                ++last;
            std::string paths;
            std::vector<std::function<void()>> restore;
            for (size_t k = first; k < last; ++k) {
                const NumericProperty& p = all[k];
                const bool integer = p.Info->Kind == TPropKind::Integer;
                if (integer && (std::isnan(value) || std::abs(value) > 4e18))
                    continue;
                try {
                    if (integer) {
                        restore.push_back([p, old = p.Info->GetOrd(p.Object)] { p.Info->SetOrd(p.Object, old); });
                        p.Info->SetOrd(p.Object, int64_t(value));
                    } else {
                        restore.push_back([p, old = p.Info->GetFloat(p.Object)] { p.Info->SetFloat(p.Object, old); });
                        p.Info->SetFloat(p.Object, value);
                    }
                    paths += " " + p.Path;
                } catch (const Exception&) {
                    // refused where the class gives a range, as a file's value is
                }
            }
            first = last;
            if (restore.empty())
                continue;
            SCOPED_TRACE(paths);
            try {
                std::unique_ptr<TBitmap> picture = Chart->DrawToBitmap(clWhite, TRect(0, 0, W, H));
                EXPECT_EQ(picture->Width(), W);
            } catch (const Exception& e) {
                ADD_FAILURE() << "drawing raised " << e.Message();
            }
            for (auto it = restore.rbegin(); it != restore.rend(); ++it)
                (*it)();
        }
    }
};

TEST_P(HostileValues, EveryNumericPropertyOfACartesianChartDrawsAndEnds)
{
    chart->Legend()->Show();
    chart->SetView3D(true);
    auto* line = Add<TLineSeries>(clRed, {3, 1, 4, 1, 5});
    line->Marks()->SetVisible(true);
    Add<TBarSeries>(clBlue, {2, 7, 1, 8, 2});
    Add<TAreaSeries>(clGreen, {5, 3, 5, 8, 9});
    Add<TPointSeries>(clFuchsia, {9, 2, 6, 5, 3});
    Sweep(chart.get());
}

TEST_P(HostileValues, EveryNumericPropertyOfAPieChartDrawsAndEnds)
{
    chart->Legend()->Show();
    chart->SetView3D(true);
    auto* pie = Add<TPieSeries>(clRed, {3, 1, 4, 1, 5});
    pie->Marks()->SetVisible(true);
    Sweep(chart.get());
}

// The values that hung a drawing or overflowed it, each read from a chart file: the
// reader keeps them within what the drawing can take, and the chart draws.
TEST(HostileChartFile, ExtremeValuesReadFromAFileAreBoundedAndDraw)
{
    const testsupport::ChartStarted started;
    RegisterSeriesUnitTypes();
    struct Case {
        const char* Line;
        std::function<int64_t(TChart&)> Read;
        int64_t Expected;
    };
    const Case cases[] = {
        {"Legend.ShadowSize = 2147483647", [](TChart& c) { return c.Legend()->Shadow()->VertSize(); }, MaxStoredPixels},
        {"View3DOptions.HorizOffset = -2147483648", [](TChart& c) { return c.View3DOptions()->HorizOffset(); },
         -MaxStoredPixels},
        {"Legend.ColorWidth = 2147483648", [](TChart& c) { return c.Legend()->ColorWidth(); }, MaxStoredPixels},
        {"Legend.ColorWidth = -2147483648", nullptr, 0},   // the legend's own range refuses it
        {"Legend.Symbol.Width = 2147483647", [](TChart& c) { return c.Legend()->Symbol()->Width(); }, MaxStoredPixels},
        {"Legend.TopPos = 2147483647", [](TChart& c) { return c.Legend()->TopPos(); }, MaxStoredPercent},
        {"Legend.Frame.Width = 2147483647", [](TChart& c) { return c.Legend()->Pen()->Width(); }, MaxStoredPixels},
        {"Title.Font.Height = -2147483648", [](TChart& c) { return c.Title()->Font()->Height(); }, -MaxStoredPixels},
        {"BottomAxis.TickLength = 2147483647", [](TChart& c) { return c.BottomAxis()->TickLength(); }, MaxStoredPixels},
        {"LeftAxis.PositionPercent = 1E308",
         [](TChart& c) { return int64_t(c.LeftAxis()->PositionPercent()); }, MaxStoredPercent},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Line);
        const std::string text = std::string("object Chart1: TChart\n  ") + k.Line +
                                 "\n  object Series1: TLineSeries\n  end\nend\n";
        TMemoryStream input, binary;
        input.WriteBuffer(text.data(), int64_t(text.size()));
        input.SetPosition(0);
        ObjectTextToBinary(&input, &binary);
        binary.SetPosition(0);
        TChart chart(nullptr);
        chart.SetBounds(0, 0, 320, 240);
        if (!k.Read) {
            EXPECT_THROW(ReadComponent(&binary, &chart), Exception);
            continue;
        }
        ReadComponent(&binary, &chart);
        EXPECT_EQ(k.Read(chart), k.Expected);
        chart.Series(0)->Add(3);
        chart.Series(0)->Add(1);
        EXPECT_EQ(chart.DrawToBitmap(clWhite, TRect(0, 0, 320, 240))->Height(), 240);
    }
}

std::string ValueName(const ::testing::TestParamInfo<double>& Info)
{
    static const char* const Names[] = {"IntMax", "IntMin", "Huge", "MinusHuge", "NaN"};
    return Names[Info.index];
}

INSTANTIATE_TEST_SUITE_P(Extremes, HostileValues,
                         ::testing::Values(2147483647.0, -2147483648.0, 1E308, -1E308,
                                           std::numeric_limits<double>::quiet_NaN()),
                         ValueName);

} // namespace
} // namespace charttest
