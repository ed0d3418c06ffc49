// Chart files: a whole chart written as a component stream behind a four-byte header, or
// as the text form of that stream. Reading goes through the component streaming, for
// which the two chart classes below are registered.
#pragma once

#include "Chart.h"
#include "classes/Streams.h"

#include <string>

// The chart control under the names other chart files give it.
class TChartChart : public TChart {
public:
    DECLARE_CLASS_INFO(TChartChart)
    using TChart::TChart;
};

class TODBCChart : public TChartChart {
public:
    DECLARE_CLASS_INFO(TODBCChart)
    using TChartChart::TChartChart;
};

// Writes the chart at Stream's position: the header bytes 60 30 50 01 and the component
// stream (its owner, or the chart itself, as root), or the text form of both without the
// header. With IncludeData every series writes its points, without it none does. The
// chart's name and the series' store flags are back as they were afterwards, also when
// writing fails.
void WriteChartToStream(TCustomChart* Chart, TStream* Stream, bool IncludeData = true, bool TextFormat = false);
// The same into a file; a name without extension gets ".tee". The file is written under
// a temporary name and renamed at the end, so a failed save leaves any earlier file whole.
void WriteChartToFile(TCustomChart* Chart, const std::string& FileName, bool IncludeData = true,
                      bool TextFormat = false);
// A chart stream (with header, or already text) into its text form; anything else raises
// ChartException "Wrong *.tee file format".
void ConvertChartToText(TStream* Source, TStream* Dest);
// Whether the next bytes are a chart stream: the header, or "O"/"o" of a text form. The
// position is left where it was.
bool IsChartStream(TStream* Stream);
// Whether the next bytes are the binary header.
bool HasChartHeader(TStream* Stream);

// Registers TChartChart and TODBCChart for streaming; the finalisation unregisters them.
void TeeStoreInitialization();
void TeeStoreFinalization();
