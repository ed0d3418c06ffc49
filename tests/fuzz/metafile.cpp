// A metafile read, played onto a bitmap and onto a recording metafile canvas, and written
// back in both kinds, the Windows form read again.
#include "FuzzSupport.h"

#include "graphics/Metafile.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    TMetafile m;
    try {
        m.LoadFromBytes(std::vector<uint8_t>(Data, Data + Size));
    } catch (const Exception&) {
        return 0;
    }
    TBitmap bitmap(64, 48);
    bitmap.Canvas()->StretchDraw(TRect(0, 0, 64, 48), &m);
    bitmap.Canvas()->Draw(-7, 3, &m);

    TMetafile copy;
    copy.SetWidth(64);
    copy.SetHeight(48);
    {
        auto canvas = std::make_unique<TMetafileCanvas>(&copy);
        canvas->StretchDraw(TRect(0, 0, 64, 48), &m);
    }
    for (TMetafile* each : {&m, &copy}) {
        each->SetEnhanced(false);
        const std::vector<uint8_t> wmf = each->SaveToBytes();
        each->SetEnhanced(true);
        (void)each->SaveToBytes();
        TMetafile again;
        try {
            again.LoadFromBytes(wmf);
        } catch (const Exception&) {
            continue;
        }
        bitmap.Canvas()->StretchDraw(TRect(0, 0, 64, 48), &again);
    }
    return 0;
}
