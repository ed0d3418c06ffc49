// The sub-gallery styles of the joined-point series: the names each type lists after the
// plain style, and what choosing the n-th of them sets.
#include "Series.h"

#include "TeeConst.h"

namespace {

void AddNames(std::vector<std::string>& Styles, std::initializer_list<const std::string*> Names)
{
    for (const std::string* name : Names)
        Styles.push_back(*name);
}

} // namespace

void TLineSeries::AddSubGalleryStyles(std::vector<std::string>& Styles)
{
    TCustomSeries::AddSubGalleryStyles(Styles);
    AddNames(Styles, {&TeeMsg_StyleStairs, &TeeMsg_StylePoints, &TeeMsg_StyleHeight, &TeeMsg_StyleHollow,
                      &TeeMsg_StyleColors, &TeeMsg_StyleMarks, &TeeMsg_StyleNoBorder, &TeeMsg_StyleOutline});
}

void TLineSeries::ApplySubGalleryStyle(int Index)
{
    switch (Index) {
    case 1: SetStairs(true); break;
    case 2: Pointer()->Show(); break;
    case 3: SetLineHeight(5); break;
    case 4: SetLineBrush(bsClear); break;
    case 5: SetColorEachPoint(true); break;
    case 6: Marks()->Show(); break;
    case 7: LinePen()->Hide(); break;
    case 8: OutLine()->Show(); break;
    default: break;
    }
}

void TPointSeries::AddSubGalleryStyles(std::vector<std::string>& Styles)
{
    TCustomSeries::AddSubGalleryStyles(Styles);
    AddNames(Styles, {&TeeMsg_StyleColors, &TeeMsg_StyleMarks, &TeeMsg_StyleHollow, &TeeMsg_StyleNoBorder,
                      &TeeMsg_StyleGradient});
    if (HasPointerStyleGallery())
        AddNames(Styles, {&TeeMsg_StylePoint2D, &TeeMsg_StyleTriangle, &TeeMsg_StyleStar, &TeeMsg_StyleCircle,
                          &TeeMsg_StyleDownTriangle, &TeeMsg_StyleCross, &TeeMsg_StyleDiamond});
}

void TPointSeries::ApplySubGalleryStyle(int Index)
{
    TSeriesPointer* p = Pointer();
    switch (Index) {
    case 1: SetColorEachPoint(true); return;
    case 2: Marks()->Show(); return;
    case 3: p->Brush()->SetStyle(bsClear); return;
    case 4: p->Pen()->Hide(); return;
    case 5: p->Gradient()->SetVisible(true); return;
    default: break;
    }
    if (!HasPointerStyleGallery())
        return;
    switch (Index) {
    case 6: p->SetDraw3D(false); break;
    case 7: p->SetStyle(psTriangle); break;
    case 8: p->SetStyle(psStar); break;
    case 9:
        p->SetStyle(psCircle);
        p->SetHorizSize(8);
        p->SetVertSize(8);
        break;
    case 10: p->SetStyle(psDownTriangle); break;
    case 11: p->SetStyle(psCross); break;
    case 12: p->SetStyle(psDiamond); break;
    default: break;
    }
}

void TAreaSeries::AddSubGalleryStyles(std::vector<std::string>& Styles)
{
    TCustomSeries::AddSubGalleryStyles(Styles);
    AddNames(Styles, {&TeeMsg_StyleStairs, &TeeMsg_StyleMarks, &TeeMsg_StyleColors, &TeeMsg_StyleHollow,
                      &TeeMsg_StyleNoLines, &TeeMsg_GalleryStack, &TeeMsg_StyleStack100, &TeeMsg_StylePoints,
                      &TeeMsg_StyleGradient});
}

void TAreaSeries::ApplySubGalleryStyle(int Index)
{
    switch (Index) {
    case 1: SetStairs(true); break;
    case 2: Marks()->Show(); break;
    case 3: SetColorEachPoint(true); break;
    case 4: SetAreaBrush(bsClear); break;
    case 5: AreaLinesPen()->Hide(); break;
    case 6: SetMultiArea(maStacked); break;
    case 7: SetMultiArea(maStacked100); break;
    case 8: Pointer()->Show(); break;
    case 9: Gradient()->SetVisible(true); break;
    default: break;
    }
}

void TFastLineSeries::AddSubGalleryStyles(std::vector<std::string>& Styles)
{
    TCustomLineSeries::AddSubGalleryStyles(Styles);
    AddNames(Styles, {&TeeMsg_StyleMarks, &TeeMsg_StyleDotted, &TeeMsg_StyleStairs});
}

void TFastLineSeries::ApplySubGalleryStyle(int Index)
{
    switch (Index) {
    case 1: Marks()->Show(); break;
    case 2: LinePen()->SetSmallDots(true); break;
    case 3: SetStairs(true); break;
    default: break;
    }
}
