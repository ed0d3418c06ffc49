#include "TeEngine/Startup.h"

#include "TeEngine/Axis.h"
#include "TeEngine/Marks.h"
#include "TeEngine/SeriesSource.h"
#include "TeEngine/Tools.h"
#include "classes/TypInfo.h"

std::vector<const TClassInfo*> TeEngineStreamedClasses()
{
    // The tool classes too, so that a chart file holding a tool reads back.
    return {TChartAxisTitle::StaticClassInfo(),      TChartAxis::StaticClassInfo(),
            TChartDepthAxis::StaticClassInfo(),      TSeriesMarks::StaticClassInfo(),
            TTeeCustomTool::StaticClassInfo(),       TTeeCustomToolSeries::StaticClassInfo(),
            TTeeCustomToolAxis::StaticClassInfo()};
}

void TeEngineInitialization()
{
    // Every platform this program runs on takes the large coordinate range.
    MaxPixelPos = 67108863;
    // The platform searches one class group for forms and their components, so chart
    // elements and series sources need no group of their own to be streamed.
    for (const TClassInfo* info : TeEngineStreamedClasses())
        RegisterClass(info);
}

void TeEngineFinalization()
{
    for (const TClassInfo* info : TeEngineStreamedClasses())
        UnregisterClass(info);
    FreeSeriesSourceClassList();
}
