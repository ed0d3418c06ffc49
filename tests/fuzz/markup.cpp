// Markup text parsed, measured and drawn onto a small bitmap, in a font size from the
// first byte.
#include "FuzzSupport.h"

#include "TeeHtml.h"
#include "graphics/Bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    fuzz::InputReader in(Data, Size);
    const int fontSize = 1 + in.Byte() % 72;
    const std::string text = in.Rest();
    TMarkupFont font;
    font.Size = fontSize;
    try {
        (void)ParseMarkupText(text, font, true);
    } catch (const Exception&) {
    }
    // A FONT tag with a bad value raises the platform's conversion error while drawing too.
    TBitmap bitmap(120, 80);
    TCanvas* c = bitmap.Canvas();
    c->Font()->SetSize(fontSize);
    try {
        const TMarkupSize size = MeasureMarkupText(c, text);
        if (size.Width < 0 || size.Height < 0 || size.Height > MarkupMaxExtent)
            __builtin_trap();
        DrawMarkupText(c, 5, 5, text, TRect(0, 0, 120, 80));
    } catch (const Exception&) {
    }
    return 0;
}
