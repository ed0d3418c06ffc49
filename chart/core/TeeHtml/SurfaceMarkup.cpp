#include "TeeHtml/SurfaceMarkup.h"

#include "TeCanvas.h"

TMarkupSize DrawMarkupText(TTeeCanvas* Surface, int X, int Y, const std::string& Text, const TRect& ChartRect)
{
    if (Surface == nullptr || Surface->ReferenceCanvas() == nullptr)
        return {};
    return ProcessMarkupText(Surface->ReferenceCanvas(), X, Y, true, Text, ChartRect);
}

TMarkupSize MeasureMarkupText(TTeeCanvas* Surface, const std::string& Text, const TRect& ChartRect)
{
    if (Surface == nullptr || Surface->ReferenceCanvas() == nullptr)
        return {};
    return ProcessMarkupText(Surface->ReferenceCanvas(), 0, 0, false, Text, ChartRect);
}
