// A whole chart file, with its header or in text form, read into a chart with the
// program's start-up registrations, drawn, written back with its data and read again.
#include "FuzzSupport.h"

#include "Chart.h"
#include "TeeStore.h"
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
        std::unique_ptr<TChart> chart = ReadChart(source);
        chart->DrawToBitmap(clWhite, TRect(0, 0, Width, Height));
        TMemoryStream again;
        WriteChartToStream(chart.get(), &again);
        again.SetPosition(4);
        ReadChart(&again);
    } catch (const Exception&) {
    }
    return 0;
}
