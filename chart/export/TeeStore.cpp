#include "TeeStore.h"

#include "TeEngine.h"
#include "TeeConst.h"
#include "classes/Streaming.h"
#include "system/ScopeGuard.h"

#include <cstdint>
#include <vector>

BEGIN_CLASS_INFO(TChartChart, TChart)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TODBCChart, TChartChart)
    .ComponentFactory()
END_CLASS_INFO

namespace {

constexpr uint8_t ChartHeader[4] = {0x60, 0x30, 0x50, 0x01};

// The first bytes of the stream (fewer near its end), the position kept.
int PeekBytes(TStream* Stream, uint8_t* Buffer, int Count)
{
    const int64_t pos = Stream->Position();
    const auto n = static_cast<int>(Stream->Read(Buffer, Count));
    Stream->SetPosition(pos);
    return n;
}

} // namespace

bool HasChartHeader(TStream* Stream)
{
    uint8_t b[4] = {};
    return PeekBytes(Stream, b, 4) >= 2 && b[0] == ChartHeader[0] && b[1] == ChartHeader[1];
}

bool IsChartStream(TStream* Stream)
{
    uint8_t b[4] = {};
    const int n = PeekBytes(Stream, b, 4);
    if (n >= 2 && b[0] == ChartHeader[0] && b[1] == ChartHeader[1])
        return true;
    return n >= 1 && (b[0] == 'O' || b[0] == 'o');
}

void ConvertChartToText(TStream* Source, TStream* Dest)
{
    if (!IsChartStream(Source))
        throw ChartException(TeeMsg_WrongTeeFileFormat);
    if (HasChartHeader(Source)) {
        Source->Seek(4, TSeekOrigin::soCurrent);
        ObjectBinaryToText(Source, Dest);
    } else {
        Dest->CopyFrom(Source, Source->Size() - Source->Position());
    }
}

void WriteChartToStream(TCustomChart* Chart, TStream* Stream, bool IncludeData, bool TextFormat)
{
    TMemoryStream text;
    TStream* target = TextFormat ? &text : Stream;
    target->WriteBuffer(ChartHeader, 4);
    {
        const bool designing = Chart->IsDesigning();
        const std::string name = Chart->Name();
        std::vector<TChartSeries*> series;
        for (int t = 0; t < Chart->SeriesCount(); ++t)
            series.push_back(Chart->Series(t));
        TScopeGuard restore([&] {
            for (TChartSeries* s : series) {
                s->ForceSaveData = false;
                s->DontSaveData = false;
            }
            if (!designing)
                Chart->SetName(name);
        });
        if (!designing)
            Chart->SetName("");
        for (TChartSeries* s : series) {
            s->ForceSaveData = IncludeData;
            s->DontSaveData = !IncludeData;
        }
        TWriter writer(target);
        writer.SetRoot(Chart->Owner() != nullptr ? Chart->Owner() : Chart);
        writer.WriteSignature();
        writer.WriteComponent(Chart);
    }
    if (TextFormat) {
        text.SetPosition(0);
        ConvertChartToText(&text, Stream);
    }
}

void WriteChartToFile(TCustomChart* Chart, const std::string& FileName, bool IncludeData, bool TextFormat)
{
    std::string name = FileName;
    if (ExtractFileExt(name).empty())
        name += std::string(".") + ChartFileExtension;
    WriteFileReplacing(name, [&](TStream* file) { WriteChartToStream(Chart, file, IncludeData, TextFormat); });
}

void TeeStoreInitialization()
{
    RegisterClasses({TChartChart::StaticClassInfo(), TODBCChart::StaticClassInfo()});
}

void TeeStoreFinalization()
{
    UnregisterClass(TODBCChart::StaticClassInfo());
    UnregisterClass(TChartChart::StaticClassInfo());
}
