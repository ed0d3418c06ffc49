// A whole chart file, with its header or in text form, read into a chart with the
// program's start-up registrations, drawn, written back with its data and read again;
// then read into a chart that has its own series, title and back image, which a failed
// read must leave as it was.
#include "FuzzSupport.h"

#include "Chart.h"
#include "Series.h"
#include "TeeStore.h"
#include "graphics/Bitmap.h"
#include "classes/Streaming.h"
#include "classes/Streams.h"

#include <memory>

namespace {

constexpr int Width = 320, Height = 240;

std::unique_ptr<TChart> ReadChart(TStream* Stream)
{
    auto chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, Width, Height);
    ReadComponent(Stream, chart.get());
    return chart;
}

// A chart with something of its own in each part a file can change.
std::unique_ptr<TChart> OwnChart()
{
    auto chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, Width, Height);
    chart->SetName("Own");
    chart->Title()->Text()->Add("own");
    TBitmap image(3, 2);
    chart->BackImage()->Assign(&image);
    auto* series = new TLineSeries(chart.get());
    series->SetName("OwnSeries");
    chart->AddSeries(series);
    series->AddPointXY(1, 2, "one");
    return chart;
}

std::string Written(TChart* Chart)
{
    TMemoryStream stream;
    WriteChartToStream(Chart, &stream);
    return std::string(stream.Memory(), size_t(stream.Size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    try {
        TMemoryStream input;
        input.WriteBuffer(Data, int64_t(Size));
        input.SetPosition(0);
        if (!IsChartStream(&input))
            return 0;
        TMemoryStream binary;
        TStream* source = &input;
        if (HasChartHeader(&input)) {
            input.Seek(4, TSeekOrigin::soCurrent);
        } else {
            ObjectTextToBinary(&input, &binary);
            binary.SetPosition(0);
            source = &binary;
        }
        const int64_t start = source->Position();
        try {
            std::unique_ptr<TChart> chart = ReadChart(source);
            chart->DrawToBitmap(clWhite, TRect(0, 0, Width, Height));
            TMemoryStream again;
            WriteChartToStream(chart.get(), &again);
            again.SetPosition(4);
            ReadChart(&again);
        } catch (const Exception&) {
        }
        std::unique_ptr<TChart> own = OwnChart();
        const std::string before = Written(own.get());
        source->SetPosition(start);
        try {
            ReadComponent(source, own.get());
        } catch (const Exception&) {
            if (Written(own.get()) != before)
                __builtin_trap();
        }
    } catch (const Exception&) {
    }
    return 0;
}
