#include "TeEngine/Startup.h"

#include "TeEngine/Axis.h"
#include "TeEngine/SeriesSource.h"
#include "classes/TypInfo.h"

namespace {
// The class's own streaming information, or nullptr while the class only inherits its
// ancestor's (it then cannot be streamed by its own name).
template <class T>
const TClassInfo* OwnClassInfo(const char* Name)
{
    const TClassInfo* info = T::StaticClassInfo();
    return info != nullptr && SameText(info->ClassName, Name) ? info : nullptr;
}
} // namespace

std::vector<const TClassInfo*> TeEngineStreamedClasses()
{
    std::vector<const TClassInfo*> result;
    for (const TClassInfo* info : {OwnClassInfo<TChartAxisTitle>("TChartAxisTitle"),
                                   OwnClassInfo<TChartAxis>("TChartAxis"),
                                   OwnClassInfo<TChartDepthAxis>("TChartDepthAxis")})
        if (info != nullptr)
            result.push_back(info);
    return result;
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
