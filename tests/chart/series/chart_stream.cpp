// Charts in component streams and chart files: every streamed class keeps all its
// published properties through Assign and a stream round trip; a whole chart survives a
// chart file; the file writer's own rules.
#include "ArrowCha.h"
#include "BubbleCh.h"
#include "Chart.h"
#include "GanttCh.h"
#include "Series.h"
#include "ShapeSeries.h"
#include "TeeFunci.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "TeeStore.h"
#include "classes/Streaming.h"
#include "system/SysUtils.h"
#include "graphics/Metafile.h"
#include "graphics/TextMeasure.h"

#include "ChartStarted.h"
#include "DialogRecorder.h"
#include "TestSupport.h"
#include "property_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

struct ChartStream : testsupport::ChartStartedTest {
    void SetUp() override
    {
        RegisterSeriesUnitTypes();   // the series types' gallery entries, as the editor's start-up makes them
        // The tool classes come from the engine's start-up.
        RegisterClasses({TChart::StaticClassInfo(), TTeeMovingFunction::StaticClassInfo(),
                         TTeeSeriesSource::StaticClassInfo()});
    }
};

TEST_F(ChartStream, EveryClassKeepsEveryPropertyThroughAssignAndStream)
{
    int tested = 0;
    for (const TClassInfo* info : RegisteredClasses()) {
        // The bare component has nothing to copy.
        if (!info->CreateComponent || info == TComponent::StaticClassInfo())
            continue;
        SCOPED_TRACE(info->ClassName);
        std::unique_ptr<TComponent> original(info->CreateComponent(nullptr));
        const std::vector<std::string> defaults = propwalk::Dump(original.get());
        propwalk::Change(original.get());
        const std::vector<std::string> changed = propwalk::Dump(original.get());
        // Every class but the bare component has something to change.
        size_t differing = 0;
        for (size_t i = 0; i < std::min(defaults.size(), changed.size()); ++i)
            differing += defaults[i] != changed[i];
        EXPECT_GT(differing, 0u);

        std::unique_ptr<TComponent> copy(info->CreateComponent(nullptr));
        copy->Assign(original.get());
        // Assign copies a control's look; its place and size stay its own.
        const std::vector<std::string> place = {"Left", "Top", "Width", "Height"};
        const bool control = dynamic_cast<TControl*>(original.get()) != nullptr;
        auto look = [&](const std::vector<std::string>& v) { return control ? propwalk::Without(v, place) : v; };
        EXPECT_EQ(propwalk::Differences(look(propwalk::Dump(copy.get())), look(changed)), "") << "Assign";

        TMemoryStream stream;
        WriteComponent(&stream, original.get());
        stream.SetPosition(0);
        std::unique_ptr<TComponent> read(info->CreateComponent(nullptr));
        ReadComponent(&stream, read.get());
        // What the stream carries: every property that is stored.
        EXPECT_EQ(propwalk::Differences(propwalk::Dump(read.get(), true), propwalk::Dump(original.get(), true)), "")
            << "stream";
        ++tested;
    }
    EXPECT_GE(tested, 15);
}

} // namespace

namespace {

// How many pixels of two pictures of one size differ.
int DifferentPixels(const TBitmap& A, const TBitmap& B)
{
    if (A.Width() != B.Width() || A.Height() != B.Height())
        return -1;
    int n = 0;
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x) {
            const TRGBQuad a = A.ScanLine(y)[x], b = B.ScanLine(y)[x];
            n += a.rgbRed != b.rgbRed || a.rgbGreen != b.rgbGreen || a.rgbBlue != b.rgbBlue;
        }
    return n;
}

struct ChartFile : ChartStream {
    static constexpr int W = 460, H = 320;
    static constexpr const char* Caption = "Cp, J/(mol\xC2\xB7K) at 25 \xC2\xB0" "C, \xCE\x98";
    std::unique_ptr<TChart> NewChart()
    {
        auto c = std::make_unique<TChartChart>(nullptr);
        c->SetBounds(0, 0, W, H);
        return c;
    }
    // 3D, a custom axis, an area series with labels and marks, a line series that a
    // moving average fills from it, titles, legend, walls, an axis tool, palette 3.
    std::unique_ptr<TChart> WholeChart()
    {
        auto c = NewChart();
        c->SetName("Chart1");
        c->Title()->Text()->Add(Caption);
        c->Foot()->Text()->Add("measured");
        c->Foot()->SetVisible(true);
        c->Legend()->SetAlignment(laBottom);
        c->LeftWall()->SetColor(clAqua);
        c->BackWall()->SetTransparent(false);
        c->SetColorPaletteIndex(3);
        c->View3DOptions()->SetElevation(340);
        auto* axis = static_cast<TChartAxis*>(c->CustomAxes()->Add());
        axis->SetOtherSide(true);
        axis->SetStartPosition(0);
        axis->SetEndPosition(50);
        axis->Title()->SetCaption("average");

        auto* area = new TAreaSeries(c.get());
        area->SetName("Area1");
        c->AddSeries(area);
        area->SetSeriesColor(clTeal);
        const double ys[] = {3, 7, 4, 8, 6, 9, 5};
        for (int i = 0; i < 7; ++i)
            area->AddPointXY(i * 2, ys[i], "p" + std::to_string(i), i == 3 ? clRed : clDefault);
        area->Marks()->SetVisible(true);
        area->Marks()->Item(3)->SetColor(clYellow);
        area->Marks()->Item(3)->Text()->Add("peak");

        auto* line = new TLineSeries(c.get());
        line->SetName("Line1");
        c->AddSeries(line);
        line->SetSeriesColor(clNavy);
        line->LinePen()->SetWidth(2);
        line->SetVertAxis(aCustomVertAxis);
        line->SetCustomVertAxis(axis);
        auto* average = new TTeeMovingFunction(c.get());
        average->SetPeriod(2);
        line->SetFunction(average);
        line->SetDataSource(area);
        line->Marks()->SetVisible(true);
        line->Marks()->SetStyle(smsValue);

        auto* tool = new TTeeCustomToolAxis(c.get());
        tool->SetName("AxisTool1");
        tool->SetAxis(c->LeftAxis());
        c->Tools()->AddTool(tool);
        return c;
    }
    std::unique_ptr<TBitmap> Picture(TChart* C) { return C->DrawToBitmap(clWhite, TRect(0, 0, W, H)); }
    static void Save(TBitmap& B, const std::string& Name)
    {
        if (const std::string path = testsupport::ArtifactPath(Name); !path.empty())
            B.SaveToFile(path);
    }
};

TEST_F(ChartFile, AWholeChartReadBackDrawsTheSamePixels)
{
    auto original = WholeChart();
    auto before = Picture(original.get());
    Save(*before, "chart-file-original.png");

    const std::string dir = testsupport::TempDir();
    WriteChartToFile(original.get(), dir + "/whole");
    EXPECT_EQ(original->Name(), "Chart1");
    auto read = NewChart();
    {
        TFileStream file(dir + "/whole.tee", fmOpenRead);
        ASSERT_TRUE(HasChartHeader(&file));
        file.Seek(4, TSeekOrigin::soCurrent);
        ReadComponent(&file, read.get());
    }
    ASSERT_EQ(read->SeriesCount(), 2);
    EXPECT_EQ(read->Series(0)->Count(), 7);
    EXPECT_EQ(read->Series(1)->FunctionType() != nullptr, true);
    EXPECT_EQ(read->Series(1)->CustomVertAxis(), read->CustomAxes()->Items(0));
    ASSERT_EQ(read->Tools()->Count(), 1);
    EXPECT_EQ(static_cast<TTeeCustomToolAxis*>(read->Tools()->Tool(0))->Axis(), read->LeftAxis());
    EXPECT_EQ(read->ColorPaletteIndex(), 3);
    ASSERT_EQ(read->Series(0)->Marks()->Items()->Count(), 4);
    EXPECT_EQ(read->Series(0)->Marks()->Item(3)->Color(), clYellow);
    EXPECT_EQ(read->Series(0)->Marks()->Item(3)->Text()->Text(), "peak\r\n");
    EXPECT_EQ(read->Title()->Text()->Strings(0), Caption);
    auto after = Picture(read.get());
    Save(*after, "chart-file-read.png");
    EXPECT_EQ(DifferentPixels(*before, *after), 0);

    TMemoryStream text, binary;
    WriteChartToStream(original.get(), &text, true, true);
    text.SetPosition(0);
    ObjectTextToBinary(&text, &binary);
    binary.SetPosition(0);
    auto fromText = NewChart();
    ReadComponent(&binary, fromText.get());
    EXPECT_EQ(fromText->Title()->Text()->Strings(0), Caption);
    EXPECT_EQ(DifferentPixels(*before, *Picture(fromText.get())), 0);
}

TEST_F(ChartFile, WriterRules)
{
    auto chart = WholeChart();
    const std::string dir = testsupport::TempDir();
    // A name with an extension is used as it is; the temporary file is gone.
    WriteChartToFile(chart.get(), dir + "/c.dat");
    EXPECT_TRUE(FileExists(dir + "/c.dat"));
    EXPECT_FALSE(FileExists(dir + "/c.dat.tee"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);

    // The text form has no header; the chart stream tests leave the position alone.
    TMemoryStream text;
    WriteChartToStream(chart.get(), &text, false, true);
    text.SetPosition(0);
    EXPECT_TRUE(IsChartStream(&text));
    EXPECT_FALSE(HasChartHeader(&text));
    EXPECT_EQ(text.Position(), 0);
    const std::string form(text.Memory(), static_cast<size_t>(text.Size()));
    EXPECT_EQ(form.rfind("object TChart", 0), 0u);
    // Without data no series writes its points, not even those added by code.
    EXPECT_EQ(form.find("Data ="), std::string::npos);
    EXPECT_EQ(chart->Series(0)->ForceSaveData || chart->Series(0)->DontSaveData, false);

    // The obsolete "Multiplier" of a value list: 1 passes, anything else is reported.
    DialogRecorder dialogs;
    for (const char* value : {"1.0", "2.0"}) {
        TMemoryStream source, binary;
        const std::string old = std::string("object TChart\r\n  object S: TLineSeries\r\n    YValues.Multiplier = ") +
                                value + "\r\n  end\r\nend\r\n";
        source.WriteBuffer(old.data(), static_cast<int64_t>(old.size()));
        source.SetPosition(0);
        ObjectTextToBinary(&source, &binary);
        binary.SetPosition(0);
        auto target = NewChart();
        ReadComponent(&binary, target.get());
        EXPECT_EQ(target->SeriesCount(), 1);
    }
    ASSERT_EQ(dialogs.Texts().size(), 1u);
    EXPECT_EQ(dialogs.Texts()[0].rfind("Error: Multiplier property is obsolete.", 0), 0u);

    // A bare component stream is no chart stream.
    TMemoryStream bare, out;
    bare.WriteBuffer("TPF0", 4);
    bare.SetPosition(0);
    try {
        ConvertChartToText(&bare, &out);
        ADD_FAILURE() << "a bare stream was converted";
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "Wrong *.tee file format");
    }
}

// A stream that refuses to grow past a limit.
class TShortStream : public TMemoryStream {
public:
    explicit TShortStream(int64_t Limit) : FLimit(Limit) {}
    int64_t Write(const void* Buffer, int64_t Count) override
    {
        if (Position() + Count > FLimit)
            throw EWriteError("disk full");
        return TMemoryStream::Write(Buffer, Count);
    }

private:
    int64_t FLimit;
};

TEST_F(ChartFile, AFailedWriteRestoresTheChartAndLeavesNoFile)
{
    auto chart = WholeChart();
    TShortStream shortStream(200);
    EXPECT_THROW(WriteChartToStream(chart.get(), &shortStream), EWriteError);
    EXPECT_EQ(chart->Name(), "Chart1");
    for (int t = 0; t < chart->SeriesCount(); ++t)
        EXPECT_FALSE(chart->Series(t)->ForceSaveData || chart->Series(t)->DontSaveData);

    // A truncated chart stream ends in the read error with no series left attached.
    TMemoryStream full;
    WriteChartToStream(chart.get(), &full);
    for (int64_t cut : {full.Size() / 2, full.Size() - 3}) {
        TMemoryStream part;
        part.WriteBuffer(static_cast<const char*>(full.Memory()) + 4, cut - 4);
        part.SetPosition(0);
        auto target = NewChart();
        EXPECT_THROW(ReadComponent(&part, target.get()), EReadError);
        EXPECT_EQ(target->SeriesCount(), 0);
        EXPECT_EQ(target->Tools()->Count(), 0);
    }
}

// The binary stream of a chart file (without its header) from a text form.
TMemoryStream* FromText(const std::string& Text, TMemoryStream& Binary)
{
    TMemoryStream source;
    source.WriteBuffer(Text.data(), static_cast<int64_t>(Text.size()));
    source.SetPosition(0);
    ObjectTextToBinary(&source, &Binary);
    Binary.SetPosition(0);
    return &Binary;
}

// A second function child replaces the first while the series is read; the reader
// forgets the freed one instead of telling it that loading is over.
TEST_F(ChartFile, ASecondFunctionReplacesTheFirstWhileReading)
{
    TMemoryStream binary;
    FromText("object TChart\r\n  object Series1: TBarSeries\r\n"
             "    object TeeFunction1: TAverageTeeFunction\r\n    end\r\n"
             "    object TeeFunction2: TAverageTeeFunction\r\n      Period = 3.0\r\n    end\r\n"
             "  end\r\nend\r\n",
             binary);
    auto chart = NewChart();
    ReadComponent(&binary, chart.get());
    ASSERT_EQ(chart->SeriesCount(), 1);
    ASSERT_NE(chart->Series(0)->FunctionType(), nullptr);
    EXPECT_EQ(chart->Series(0)->FunctionType()->Name(), "TeeFunction2");
    EXPECT_EQ(chart->Series(0)->FunctionType()->Period(), 3.0);
    EXPECT_EQ(chart->FindComponent("TeeFunction1"), nullptr);
}

// Every cut of a chart file ends in an error that frees each made component once: a
// function goes with its series, and the chart keeps none of what the read made.
TEST_F(ChartFile, EveryCutOfAChartFileFailsCleanly)
{
    auto withAverage = NewChart();
    auto* bar = new TBarSeries(withAverage.get());
    bar->SetName("Bar1");
    withAverage->AddSeries(bar);
    for (int i = 0; i < 4; ++i)
        bar->AddPointXY(i, 5 - i);
    auto* line = new TLineSeries(withAverage.get());
    line->SetName("Line1");
    withAverage->AddSeries(line);
    line->SetFunction(new TAverageTeeFunction(withAverage.get()));
    line->SetDataSource(bar);

    auto threeFunctions = NewChart();
    for (int t = 0; t < 3; ++t) {
        auto* s = new TLineSeries(threeFunctions.get());
        s->SetName("F" + std::to_string(t));
        threeFunctions->AddSeries(s);
        s->SetFunction(new TAverageTeeFunction(threeFunctions.get()));
    }

    const std::string dir = testsupport::TempDir();
    for (TChart* chart : {withAverage.get(), threeFunctions.get()}) {
        WriteChartToFile(chart, dir + "/cut");
        TMemoryStream file;
        file.LoadFromFile(dir + "/cut.tee");
        const int64_t whole = file.Size() - 4;
        // One chart takes every failed read: each leaves it as it was.
        auto target = NewChart();
        int failed = 0;
        for (int64_t cut = 0; cut < whole; ++cut) {
            TMemoryStream part;
            part.WriteBuffer(file.Memory() + 4, cut);
            part.SetPosition(0);
            try {
                ReadComponent(&part, target.get());
            } catch (const Exception&) {
                ++failed;
            }
            ASSERT_EQ(target->ComponentCount(), 0) << cut;
        }
        EXPECT_EQ(failed, whole);
        EXPECT_EQ(target->SeriesCount(), 0);
    }
}

// Four damaged bytes anywhere in a chart file: the read fails with a message, or gives
// the whole chart back, never a chart with series or points missing (a list or the root
// ended early by a damaged byte leaves the rest of the file unread, which is refused).
TEST_F(ChartFile, EveryFourByteOverwriteFailsOrReadsTheWholeChart)
{
    auto source = NewChart();
    const std::vector<std::vector<double>> values = {{3, 7, 4, 8, 6, 9, 5}, {2, 5}, {1, 4, 2, 8, 5}};
    for (size_t t = 0; t < values.size(); ++t) {
        TChartSeries* s = t == 1 ? static_cast<TChartSeries*>(new TBarSeries(source.get()))
                                 : static_cast<TChartSeries*>(new TLineSeries(source.get()));
        s->SetName("S" + std::to_string(t));
        source->AddSeries(s);
        for (double v : values[t])
            s->AddPointXY(double(s->Count()), v, "p");
    }
    TMemoryStream file;
    WriteChartToStream(source.get(), &file);
    const auto* bytes = reinterpret_cast<const uint8_t*>(file.Memory());
    const int64_t size = file.Size() - 4;
    int whole = 0, failed = 0;
    for (uint32_t damage : {0x00000000u, 0xFFFFFFFFu}) {
        for (int64_t at = 0; at + 4 <= size; ++at) {
            std::vector<uint8_t> damaged(bytes + 4, bytes + 4 + size);
            std::memcpy(damaged.data() + at, &damage, 4);
            TMemoryStream part;
            part.WriteBuffer(damaged.data(), size);
            part.SetPosition(0);
            auto read = NewChart();
            try {
                ReadComponent(&part, read.get());
            } catch (const Exception& e) {
                EXPECT_FALSE(e.Message().empty()) << at;
                ++failed;
                continue;
            }
            ASSERT_EQ(read->SeriesCount(), int(values.size())) << "at " << at << " damage " << damage;
            for (size_t t = 0; t < values.size(); ++t)
                ASSERT_EQ(read->Series(int(t))->Count(), int(values[t].size())) << "at " << at << " damage " << damage;
            ++whole;
        }
    }
    // Both outcomes occur: a damaged value that is still a value reads, a damaged structure fails.
    EXPECT_GT(whole, 0);
    EXPECT_GT(failed, 0);
}

// A failed read into a chart that was already there leaves it as it was.
TEST_F(ChartFile, AFailedReadLeavesTheChartAsItWas)
{
    auto source = WholeChart();
    TMemoryStream full;
    WriteChartToStream(source.get(), &full);

    auto target = NewChart();
    target->SetName("Kept");
    target->SetBounds(5, 7, 210, 130);
    target->Title()->Text()->Add("kept");
    target->SetView3D(false);
    auto* own = new TBarSeries(target.get());
    own->SetName("Own");
    target->AddSeries(own);
    own->AddPointXY(1, 2);
    const std::vector<std::string> before = propwalk::Dump(target.get());
    // Cut where the chart's own properties are read but its series are not.
    for (int64_t cut : {full.Size() - 3 - 4, int64_t(40)}) {
        TMemoryStream part;
        part.WriteBuffer(full.Memory() + 4, cut);
        part.SetPosition(0);
        EXPECT_THROW(ReadComponent(&part, target.get()), EReadError);
        EXPECT_EQ(propwalk::Differences(propwalk::Dump(target.get()), before), "") << cut;
        EXPECT_EQ(target->Name(), "Kept");
        ASSERT_EQ(target->SeriesCount(), 1);
        EXPECT_EQ(target->Series(0), own);
        EXPECT_EQ(own->Count(), 1);
    }
}

// A chart written to a stream with its data and read back into a new chart.
std::unique_ptr<TChart> ThroughAFile(TChart* Chart)
{
    TMemoryStream file;
    WriteChartToStream(Chart, &file);
    file.SetPosition(4);
    auto read = std::make_unique<TChart>(nullptr);
    ReadComponent(&file, read.get());
    return read;
}

TEST_F(ChartFile, SeriesGroupsKeepTheirSeries)
{
    auto chart = NewChart();
    for (const char* name : {"S0", "S1", "S2"}) {
        auto* s = new TLineSeries(chart.get());
        s->SetName(name);
        chart->AddSeries(s);
    }
    TSeriesGroup* front = chart->SeriesList()->AddGroup("Front");
    front->Series()->Add(chart->Series(2));
    front->Series()->Add(chart->Series(0));
    chart->SeriesList()->AddGroup("Back")->Series()->Add(chart->Series(1));
    chart->SeriesList()->AddGroup("None");

    auto read = ThroughAFile(chart.get());
    TSeriesGroups* groups = read->SeriesGroups();
    ASSERT_EQ(groups->Count(), 3);
    EXPECT_EQ(groups->Group(0)->Name(), "Front");
    ASSERT_EQ(groups->Group(0)->Series()->Count(), 2);
    EXPECT_EQ(groups->Group(0)->Series()->Series(0), read->Series(2));
    EXPECT_EQ(groups->Group(0)->Series()->Series(1), read->Series(0));
    ASSERT_EQ(groups->Group(1)->Series()->Count(), 1);
    EXPECT_EQ(groups->Group(1)->Series()->Series(0), read->Series(1));
    EXPECT_EQ(groups->Group(2)->Series()->Count(), 0);
}

// The other slice is computed when the pie is drawn, so the file keeps only the pie's
// own points.
TEST_F(ChartFile, APieWritesNoOtherSlice)
{
    auto chart = NewChart();
    auto* pie = new TPieSeries(chart.get());
    pie->SetName("Pie1");
    chart->AddSeries(pie);
    for (double v : {50.0, 2.0, 30.0, 1.0})
        pie->Add(v);
    pie->OtherSlice()->SetStyle(poBelowValue);
    pie->OtherSlice()->SetValue(5);
    Picture(chart.get());
    ASSERT_EQ(pie->Count(), 5);

    auto read = ThroughAFile(chart.get());
    ASSERT_EQ(read->SeriesCount(), 1);
    TChartSeries* back = read->Series(0);
    ASSERT_EQ(back->Count(), 4);
    for (int i = 0; i < back->Count(); ++i)
        EXPECT_NE(back->XValue(i), TPieSeries::OtherSliceX) << i;
    EXPECT_EQ(back->YValues()->Total(), 83.0);
}

// The project's binary and text streams of a whole chart through the Free Pascal classes
// unit's converters (when fpc is installed) read back as the same chart.
TEST_F(ChartFile, AnIndependentConverterAgrees)
{
    if (std::system("command -v fpc >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "fpc is not installed";
    const std::string dir = testsupport::TempDir();
    const std::string tool = dir + "/streamconv";
    ASSERT_EQ(std::system(("cp " TEST_DATA_DIR "/streamconv.pas " + dir + " && fpc -O1 -FE" + dir + " " + dir +
                           "/streamconv.pas >" + dir + "/fpc.log 2>&1")
                              .c_str()),
              0);
    auto original = WholeChart();
    auto before = Picture(original.get());
    TMemoryStream binary, text;
    WriteChartToStream(original.get(), &binary);
    WriteChartToStream(original.get(), &text, true, true);
    {
        TFileStream b(dir + "/chart.bin", fmCreate);
        b.WriteBuffer(static_cast<const char*>(binary.Memory()) + 4, binary.Size() - 4);
        TFileStream t(dir + "/chart.txt", fmCreate);
        t.WriteBuffer(text.Memory(), text.Size());
    }
    ASSERT_EQ(std::system((tool + " totext " + dir + "/chart.bin " + dir + "/other.txt").c_str()), 0);
    ASSERT_EQ(std::system((tool + " tobinary " + dir + "/chart.txt " + dir + "/other.bin").c_str()), 0);

    // What streams carry: the stored properties.
    const std::vector<std::string> expected = propwalk::Dump(original.get(), true);
    for (const char* name : {"/other.txt", "/other.bin"}) {
        SCOPED_TRACE(name);
        TFileStream file(dir + name, fmOpenRead);
        TMemoryStream stream;
        if (std::string(name) == "/other.txt")
            ObjectTextToBinary(&file, &stream);
        else
            stream.CopyFrom(&file, 0);
        stream.SetPosition(0);
        auto read = NewChart();
        ReadComponent(&stream, read.get());
        EXPECT_EQ(propwalk::Differences(propwalk::Dump(read.get(), true), expected), "");
        ASSERT_EQ(read->SeriesCount(), 2);
        for (int t = 0; t < 2; ++t)
            EXPECT_EQ(
                propwalk::Differences(propwalk::Dump(read->Series(t), true), propwalk::Dump(original->Series(t), true)),
                "");
        EXPECT_EQ(DifferentPixels(*before, *Picture(read.get())), 0);
    }
}

struct SeriesData : ChartStream {
    std::unique_ptr<TChart> chart = std::make_unique<TChart>(nullptr);
    template <class T> T* Series(std::initializer_list<std::pair<double, double>> Points)
    {
        auto* s = new T(chart.get());
        chart->AddSeries(s);
        for (auto [x, y] : Points)
            s->AddPointXY(x, y);
        return s;
    }
    static std::string DataOf(TChartSeries* S)
    {
        TMemoryStream m;
        S->WriteData(&m);
        return std::string(m.Memory(), static_cast<size_t>(m.Size()));
    }
    // The same through a stream that is not in memory, which takes the bytes a part at a time.
    static std::string DataThroughAnotherStream(TChartSeries* S)
    {
        TStringStream m;
        S->WriteData(&m);
        return m.DataString();
    }
    static void ReadInto(TChartSeries* S, const std::string& Data)
    {
        TMemoryStream m;
        m.WriteBuffer(Data.data(), static_cast<int64_t>(Data.size()));
        m.SetPosition(0);
        S->ReadData(&m);
    }
};

TEST_F(SeriesData, LayoutAndFlags)
{
    auto* plain = Series<TLineSeries>({{0, 4}, {1, 5}, {2, 6}});
    std::string d = DataOf(plain);
    ASSERT_EQ(d.size(), 29u);
    EXPECT_EQ(d[0], 0);
    EXPECT_EQ(d.substr(1, 4), std::string("\x03\0\0\0", 4));

    auto* gapped = Series<TLineSeries>({{0, 4}, {1, 5}, {5, 6}});
    d = DataOf(gapped);
    EXPECT_EQ(d[0], 1);
    EXPECT_EQ(d.size(), 5u + 3 * 16);

    // The series' own colour is no point colour; another one makes every point carry one.
    plain->SetSeriesColor(clRed);
    plain->SetValueColor(1, clRed);
    EXPECT_EQ(DataOf(plain)[0], 0);
    plain->SetValueColor(2, clBlue);
    d = DataOf(plain);
    EXPECT_EQ(d[0], 2);
    EXPECT_EQ(d.substr(5 + 8, 4), std::string("\0\0\0\x20", 4));   // point 0 has none

    // A label of 255 characters still fits its length byte; one more takes four.
    auto* labelled = Series<TLineSeries>({{0, 4}});
    for (auto [length, flags] : {std::pair{255, 4}, {256, 4 | 16}}) {
        labelled->SetLabel(0, std::string(static_cast<size_t>(length), 'L'));
        EXPECT_EQ(DataOf(labelled)[0], flags) << length;
    }
}

TEST_F(SeriesData, PointsReadBackWhole)
{
    // Labels longer than a length byte holds, a point beyond 10000 with its own X and
    // colour, a horizontal series; the first and the last are more than a quarter of a
    // megabyte.
    auto* s = Series<TPointSeries>({});
    for (int i = 0; i < 12005; ++i)
        s->AddPointXY(i, i % 7);
    s->XValues()->SetValue(10003, 10003.5);
    s->SetValueColor(10004, clLime);
    s->SetLabel(2, std::string(300, 'L'));
    auto* h = Series<THorizLineSeries>({{3, 0}, {1, 1}, {4, 2}});
    // Plain points of three lists: the radii travel with them.
    auto* bubbles = Series<TBubbleSeries>({});
    for (int i = 0; i < 3; ++i)
        bubbles->AddBubble(i, 10 - i, 0.25 + i);
    // Plain points with X values of their own.
    auto* spaced = Series<TLineSeries>({});
    for (int i = 0; i < 20001; ++i)
        spaced->AddPointXY(1.5 * i, 20001 - i);
    for (TChartSeries* source : {static_cast<TChartSeries*>(s), static_cast<TChartSeries*>(h),
                                 static_cast<TChartSeries*>(bubbles), static_cast<TChartSeries*>(spaced)}) {
        const std::string d = DataOf(source);
        EXPECT_TRUE(DataThroughAnotherStream(source) == d) << source->ClassName();
        TChartSeries* copy = dynamic_cast<TChartSeries*>(source->ClassInfo()->CreateComponent(chart.get()));
        chart->AddSeries(copy);
        ReadInto(copy, d);
        ASSERT_EQ(copy->Count(), source->Count());
        for (int i = 0; i < source->Count(); ++i) {
            EXPECT_EQ(copy->XValue(i), source->XValue(i));
            EXPECT_EQ(copy->YValue(i), source->YValue(i));
            for (int k = 2; k < source->ValuesList()->Count(); ++k)
                EXPECT_EQ(copy->ValuesList()->ValueList(k)->Value(i), source->ValuesList()->ValueList(k)->Value(i))
                    << k << " " << i;
        }
        EXPECT_EQ(copy->LabelText(2), source->LabelText(2));
        if (source == s) {
            EXPECT_EQ(copy->ValueColor(10004), clLime);
        }
        EXPECT_TRUE(copy->ManualData());
        // Cut short, it ends in the read error and keeps no points.
        EXPECT_THROW(ReadInto(copy, d.substr(0, d.size() - 5)), EReadError);
        EXPECT_EQ(copy->Count(), 0);
    }
    // Cut in the last point's label (long enough for the cut to pass the size check), after
    // the first point's custom mark position: no points and no positions.
    auto* marked = Series<TLineSeries>({{0, 1}, {1, 2}, {2, 3}, {3, 4}});
    const std::string label(60, 'q');
    marked->SetLabel(3, label);
    marked->Marks()->Positions()->Ensure(0)->Custom = true;
    const std::string d = DataOf(marked);
    ASSERT_EQ(d[0], 4 | 8);
    auto* copy = Series<TLineSeries>({});
    EXPECT_THROW(ReadInto(copy, d.substr(0, d.find(label) + 40)), EReadError);
    EXPECT_EQ(copy->Count(), 0);
    EXPECT_EQ(copy->Marks()->Positions()->Count(), 0);
    ReadInto(copy, d);
    EXPECT_TRUE(copy->Marks()->Positions()->Position(0)->Custom);
}

// Points taken whole into the lists read back as adding them one by one would: in
// order for an ordered list (also from a file whose X values are not), and through a
// handler that refuses some.
TEST_F(SeriesData, PointsTakenWholeMatchPointsAddedOneByOne)
{
    auto* source = Series<TLineSeries>({});
    source->SetSeriesColor(clGreen);
    source->XValues()->SetOrder(loNone);
    const double xs[] = {4, -2, 7, 7, 1};
    for (int i = 0; i < 5; ++i)
        source->AddPointXY(xs[i], 10 + i, i == 1 ? "minus two" : "", i == 3 ? clRed : clDefault);
    const std::string d = DataOf(source);
    for (TChartListOrder order : {loNone, loAscending, loDescending}) {
        for (bool refuse : {false, true}) {
            SCOPED_TRACE(std::to_string(int(order)) + (refuse ? " refusing" : ""));
            auto* whole = Series<TLineSeries>({});
            auto* one = Series<TLineSeries>({});
            for (TChartSeries* s : {whole, one}) {
                s->SetSeriesColor(clBlue);
                s->XValues()->SetOrder(order);
                if (refuse)
                    s->OnBeforeAdd = [](TChartSeries* S) { return S->XValues()->TempValue != 7; };
            }
            ReadInto(whole, d);
            one->BeginUpdate();
            for (int i = 0; i < 5; ++i)
                one->AddPointXY(xs[i], 10 + i, i == 1 ? "minus two" : "", i == 3 ? clRed : clDefault);
            one->EndUpdate();
            ASSERT_EQ(whole->Count(), one->Count());
            for (int i = 0; i < one->Count(); ++i) {
                EXPECT_EQ(whole->XValue(i), one->XValue(i)) << i;
                EXPECT_EQ(whole->YValue(i), one->YValue(i)) << i;
                EXPECT_EQ(whole->LabelText(i), one->LabelText(i)) << i;
                EXPECT_EQ(whole->ValueColor(i), one->ValueColor(i)) << i;
            }
        }
    }
}

// A count that the payload cannot hold is refused before any point is read or any room
// reserved for it; a payload cut inside a label of a plausible count is the read error.
TEST_F(SeriesData, AHostilePointCountFailsBeforeItAllocates)
{
    auto* s = Series<TLineSeries>({{0, 1}});
    for (int32_t n : {2, 50000000}) {
        std::string d("\0", 1);
        d.append(reinterpret_cast<const char*>(&n), 4);
        d.append(std::string(8, '\x11'));
        try {
            ReadInto(s, d);
            ADD_FAILURE() << n << " points were read from one";
        } catch (const EReadError& e) {
            EXPECT_STREQ(e.what(), "Invalid property value") << n;
        }
        EXPECT_EQ(s->Count(), 0);
    }
    auto* labelled = Series<TLineSeries>({{0, 1}, {1, 2}});
    labelled->SetLabel(1, "second");
    const std::string d = DataOf(labelled);
    try {
        ReadInto(labelled, d.substr(0, d.size() - 2));
        ADD_FAILURE() << "a cut label was read";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
}

} // namespace

namespace {

// A small picture with a pattern that shows whether it is tiled.
std::unique_ptr<TBitmap> Checkers()
{
    auto b = std::make_unique<TBitmap>(24, 16, pf24bit);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            b->Canvas()->SetPixel(x, y, (x / 6 + y / 4) % 2 ? clFuchsia : TColor(0x30A050));
    return b;
}

// A chart of every registered series type and function, with labels, a null point,
// a markup title in non-ASCII, a gradient, paging, a custom axis, a tiled back image and
// bars filled with a picture,
// read back from its binary and its text form: every stored property, every point and
// the picture are the same.
TEST_F(ChartFile, EverySeriesTypeAndTheBackImageReadBackWhole)
{
    auto chart = NewChart();
    chart->SetName("Chart1");
    chart->Title()->Text()->Add("<b>Cp</b> &amp; \xCE\x98\xC2\xB7\xC2\xB0 'q' \"d\"\ttab");
    chart->Title()->SetTextFormat(ttfHtml);
    chart->Gradient()->SetVisible(true);
    chart->Gradient()->SetDirection(gdRadial);
    chart->Gradient()->SetStartColor(clYellow);
    chart->SetMaxPointsPerPage(4);
    chart->SetPage(2);
    chart->BackImage()->Assign(Checkers().get());
    chart->SetBackImageMode(pbmTile);
    auto* axis = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    axis->SetStartPosition(10);
    auto* source = new TLineSeries(chart.get());
    source->SetName("Source");
    chart->AddSeries(source);
    source->FillSampleValues(9);
    source->SetLabel(1, "a,b;\"c\"\t<d>&\xCE\x98");
    source->SetValueColor(2, clNone);
    source->SetVertAxis(aCustomVertAxis);
    source->SetCustomVertAxis(axis);
    TTeeSeriesTypes* types = SeriesTypeList();
    for (int t = 0; t < types->Count(); ++t) {
        TTeeSeriesType* type = types->Get(t);
        TChartSeriesClass cls = type->SeriesClass ? type->SeriesClass : TLineSeries::StaticClassInfo();
        TChartSeries* s = CreateSeriesInChart(chart.get(), chart.get(), cls, type->FunctionClass);
        if (type->FunctionClass) {
            s->SetDataSource(source);
        } else {
            s->FillSampleValues(6);
            s->SetLabel(0, "\xE2\x82\xAC \"x\"");
            if (s->Count() > 2)
                s->SetValueColor(1, clNone);
        }
        s->Marks()->SetVisible(t % 2 == 0);
        // A picture that fills the bars, chosen in the brush dialog.
        if (auto* bar = dynamic_cast<TBarSeries*>(s))
            bar->BarBrush()->Image()->Assign(Checkers().get());
    }
    ASSERT_GT(chart->SeriesCount(), 20);
    const std::vector<std::string> chartDump = propwalk::Dump(chart.get(), true);
    auto before = Picture(chart.get());
    Save(*before, "chart-file-every-type.png");
    for (bool text : {false, true}) {
        SCOPED_TRACE(text ? "text" : "binary");
        TMemoryStream file, binary;
        WriteChartToStream(chart.get(), &file, true, text);
        file.SetPosition(text ? 0 : 4);
        TStream* stream = &file;
        if (text) {
            ObjectTextToBinary(&file, &binary);
            binary.SetPosition(0);
            stream = &binary;
        }
        auto read = NewChart();
        ReadComponent(stream, read.get());
        EXPECT_EQ(propwalk::Differences(propwalk::Dump(read.get(), true), chartDump), "");
        ASSERT_NE(dynamic_cast<TBitmap*>(read->BackImage()->Graphic()), nullptr);
        EXPECT_EQ(read->BackImage()->Width(), 24);
        ASSERT_EQ(read->SeriesCount(), chart->SeriesCount());
        for (int i = 0; i < chart->SeriesCount(); ++i) {
            TChartSeries* a = chart->Series(i);
            TChartSeries* b = read->Series(i);
            SCOPED_TRACE(a->ClassInfo()->ClassName);
            EXPECT_EQ(b->ClassInfo(), a->ClassInfo());
            EXPECT_EQ(propwalk::Differences(propwalk::Dump(b, true), propwalk::Dump(a, true)), "");
            ASSERT_EQ(b->Count(), a->Count());
            ASSERT_EQ(b->ValuesList()->Count(), a->ValuesList()->Count());
            for (int p = 0; p < a->Count(); ++p) {
                for (int l = 0; l < a->ValuesList()->Count(); ++l)
                    EXPECT_EQ((*b->ValuesList())[l]->Value(p), (*a->ValuesList())[l]->Value(p)) << p << " " << l;
                EXPECT_EQ(b->Labels()->Label(p), a->Labels()->Label(p)) << p;
                EXPECT_EQ(b->ValueColor(p), a->ValueColor(p)) << p;
            }
        }
        auto after = Picture(read.get());
        Save(*after, text ? "chart-file-every-type-text.png" : "chart-file-every-type-read.png");
        EXPECT_EQ(DifferentPixels(*before, *after), 0);
    }
}

// A metafile back image reads back as a metafile, a picture with see-through parts keeps
// them; a back image entry that is damaged fails the read with the chart's own image
// kept, or none when it had none.
TEST_F(ChartFile, BackImagesOfEachKindReadBackAndADamagedOneFails)
{
    auto withMetafile = NewChart();
    {
        auto drawn = NewChart();
        drawn->SetBounds(0, 0, 60, 40);
        withMetafile->BackImage()->Assign(drawn->DrawToMetafile(true, TRect(0, 0, 60, 40)).get());
    }
    auto read = ThroughAFile(withMetafile.get());
    ASSERT_NE(dynamic_cast<TMetafile*>(read->BackImage()->Graphic()), nullptr);
    EXPECT_EQ(read->BackImage()->Width(), withMetafile->BackImage()->Width());

    // A 4 x 2 PNG: the left half see-through, the right half opaque red.
    static const char png[] = "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x04\x00\x00"
                              "\x00\x02\x08\x06\x00\x00\x00\x7F\xA8\x7D\x63\x00\x00\x00\x13\x49\x44\x41\x54\x78\xDA\x63"
                              "\x60\x80\x82\xFF\x40\xF4\x1F\x4C\xA1\x09\x00\x00\x67\xBA\x07\xF9\x2A\x5F\x2C\x74\x00\x00"
                              "\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82";
    const std::string pngFile = testsupport::TempDir() + "/see-through.png";
    {
        TFileStream f(pngFile, fmCreate);
        f.WriteBuffer(png, sizeof png - 1);
    }
    auto withAlpha = NewChart();
    withAlpha->BackImage()->LoadFromFile(pngFile);
    withAlpha->SetColor(clAqua);
    read = ThroughAFile(withAlpha.get());
    read->SetBounds(0, 0, W, H);
    EXPECT_EQ(DifferentPixels(*Picture(withAlpha.get()), *Picture(read.get())), 0);

    auto source = NewChart();
    source->BackImage()->Assign(Checkers().get());
    source->Title()->Text()->Add("from the file");
    TMemoryStream full;
    WriteChartToStream(source.get(), &full);
    const std::string bytes(full.Memory() + 4, size_t(full.Size() - 4));
    const size_t name = bytes.find("\x07TBitmap");
    ASSERT_NE(name, std::string::npos);
    struct Damage {
        const char* What;
        size_t At;
        std::string Bytes;
    };
    const std::vector<Damage> damages = {
        {"another class", name + 1, "TBitmaq"},
        {"a length one short", name + 8, std::string("\x01", 1)},
        {"no picture in the bytes", name + 12, "XX"},
        {"an empty name before the bytes", name, std::string("\0", 1)},
        {"a file cut after the picture", bytes.size() - 3, ""},
    };
    for (bool own : {false, true})
        for (const Damage& d : damages) {
            SCOPED_TRACE(std::string(d.What) + (own ? ", a chart with its own image" : ""));
            std::string damaged = bytes;
            if (std::string(d.What) == "a length one short")
                damaged[d.At] = char(damaged[d.At] - 1);
            else if (d.Bytes.empty())
                damaged.resize(d.At);
            else
                damaged.replace(d.At, d.Bytes.size(), d.Bytes);
            TMemoryStream part;
            part.WriteBuffer(damaged.data(), int64_t(damaged.size()));
            part.SetPosition(0);
            auto target = NewChart();
            auto mine = std::make_unique<TBitmap>(5, 3);
            if (own)
                target->BackImage()->Assign(mine.get());
            auto written = [&] {
                TMemoryStream m;
                WriteChartToStream(target.get(), &m);
                return std::string(m.Memory(), size_t(m.Size()));
            };
            const std::string kept = written();
            EXPECT_ANY_THROW(ReadComponent(&part, target.get()));
            EXPECT_EQ(target->Title()->Text()->Count(), 0);
            // The chart writes the same file as before, its image in the same depth.
            EXPECT_TRUE(written() == kept);
            if (own) {
                ASSERT_NE(target->BackImage()->Graphic(), nullptr);
                EXPECT_EQ(target->BackImage()->Width(), 5);
            } else {
                EXPECT_EQ(target->BackImage()->Graphic(), nullptr);
            }
        }

    // A picture of a kind the entry is never written in (one the image library would
    // read), and a Windows bitmap of a few bytes that claims 16777220 x 1 pixels, are
    // refused before any pixel is read.
    auto le32 = [](uint32_t v) {
        std::string out;
        for (int k = 0; k < 4; ++k)
            out += char((v >> (8 * k)) & 0xFF);
        return out;
    };
    const std::string xpm = "/* XPM */\nstatic char *p[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n";
    const std::string wide = "BM" + le32(90) + le32(0) + le32(54) + le32(40) + le32(16777220) + le32(1) +
                             std::string("\x01\x00\x18\x00", 4) + le32(0) + le32(36) + le32(3780) + le32(3780) +
                             le32(0) + le32(0) + std::string(36, '\xFF');
    for (const std::string& picture : {xpm, wide}) {
        const std::string entry = std::string("\x07TBitmap", 8) + le32(uint32_t(picture.size())) + picture;
        std::string hex;
        for (unsigned char c : entry)
            hex += "0123456789ABCDEF"[c >> 4], hex += "0123456789ABCDEF"[c & 15];
        TMemoryStream binary;
        FromText("object TChart\r\n  BackImage.Data = {" + hex + "}\r\nend\r\n", binary);
        auto target = NewChart();
        EXPECT_THROW(ReadComponent(&binary, target.get()), EInvalidGraphic);
        EXPECT_EQ(target->BackImage()->Graphic(), nullptr);
    }
}

} // namespace
