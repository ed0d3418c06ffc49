// The chart recorded as a metafile.
#include "RizUridu/PanelBase.h"

#include "graphics/Metafile.h"
#include "system/ScopeGuard.h"

#include <algorithm>

std::unique_ptr<TMetafile> TCustomTeePanel::DrawToMetafile(bool Enhanced, const TRect& Rect)
{
    const TRect r = NormalizeRectCopy(Rect);
    const int w = std::max(1, r.Width()), h = std::max(1, r.Height());
    auto metafile = std::make_unique<TMetafile>();
    metafile->SetEnhanced(Enhanced);
    metafile->SetWidth(w);
    metafile->SetHeight(h);
    // No blending into a recording: the surface knows it draws into a metafile.
    TTeeCanvas3D* s = Canvas();
    const bool wasMetafiling = s->MetafileOrPrinting();
    s->SetMetafileOrPrinting(true);
    {
        auto metafiling = TScopeGuard([s, wasMetafiling] { s->SetMetafileOrPrinting(wasMetafiling); });
        // The recording reaches the metafile when its canvas goes.
        TMetafileCanvas canvas(metafile.get());
        DrawOffScreen(&canvas, TRect(0, 0, w, h));
    }
    return metafile;
}
