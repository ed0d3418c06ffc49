#include "graphics/GraphicsObjects.h"
#include "classes/Streaming.h"

#include "graphics/Bitmap.h"

#include <cstdlib>

const TIdentMap& ColorIdents()
{
    static const TIdentMap Map = {
        {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
        {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
        {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
        {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
        {clLtGray, "clLtGray"}, {clDkGray, "clDkGray"},
        {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"}, {clMedGray, "clMedGray"},
        {clNone, "clNone"}, {clDefault, "clDefault"},
        {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
        {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
        {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
        {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
        {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"},
        {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"},
        {clBtnText, "clBtnText"}, {clInactiveCaptionText, "clInactiveCaptionText"},
        {clBtnHighlight, "clBtnHighlight"}, {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
        {clInfoText, "clInfoText"}, {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
        {clGradientActiveCaption, "clGradientActiveCaption"}, {clGradientInactiveCaption, "clGradientInactiveCaption"},
    };
    return Map;
}

TColor ReadStreamedColor(TReader* Reader)
{
    int64_t v = 0;
    if (Reader->NextValue() == TValueType::vaIdent) {
        if (!IdentToInt(Reader->ReadIdent(), v, ColorIdents()))
            throw EReadError(SInvalidPropertyValue);
    } else {
        v = Reader->ReadInteger();
    }
    return static_cast<TColor>(v);
}

BEGIN_CLASS_INFO(TPen, TPersistent)
    .Int("Color", &TPen::Color, &TPen::SetColor).Idents(ColorIdents()).Default(clBlack)
    .Enum("Mode", &TPen::Mode, &TPen::SetMode,
          {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot",
           "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"})
        .Default(pmCopy)
    .Enum("Style", &TPen::Style, &TPen::SetStyle,
          {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}).Default(psSolid)
    .Int("Width", &TPen::Width, &TPen::SetWidth).Within(-MaxStoredPixels, MaxStoredPixels).Default(1)
END_CLASS_INFO

BEGIN_CLASS_INFO(TBrush, TPersistent)
    .Int("Color", &TBrush::Color, &TBrush::SetColor).Idents(ColorIdents()).Default(clWhite)
    .Enum("Style", &TBrush::Style, &TBrush::SetStyle,
          {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"})
        .Default(bsSolid)
END_CLASS_INFO

// Size is listed for the editors; the stream carries Height.
BEGIN_CLASS_INFO(TFont, TPersistent)
    .Int("Charset", &TFont::Charset, &TFont::SetCharset).Default(DEFAULT_CHARSET)
    .Int("Color", &TFont::Color, &TFont::SetColor).Idents(ColorIdents()).Default(clWindowText)
    .Int("Height", &TFont::Height, &TFont::SetHeight).Within(-MaxStoredPixels, MaxStoredPixels)
    .Str("Name", &TFont::Name, &TFont::SetName)
    .Int("Orientation", &TFont::Orientation, &TFont::SetOrientation)
        .Within(-MaxStoredDegrees, MaxStoredDegrees).Default(0)
    .Enum("Pitch", &TFont::Pitch, &TFont::SetPitch, {"fpDefault", "fpVariable", "fpFixed"}).Default(fpDefault)
    .Enum("Quality", &TFont::Quality, &TFont::SetQuality, {"fqDefault", "fqNonAntialiased", "fqAntialiased"})
        .Default(fqDefault)
    .Int("Size", &TFont::Size, &TFont::SetSize).Stored(false)
    .SetOf("Style", &TFont::Style, &TFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}).Default(0)
END_CLASS_INFO

void TGraphicsObject::Changed()
{
    ++FVersion;
    if (OnChange)
        OnChange(this);
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long num = static_cast<long long>(a) * b;
    const long long q = (std::llabs(num) + std::llabs(static_cast<long long>(c)) / 2) / std::llabs(static_cast<long long>(c));
    const bool negative = (num < 0) != (c < 0);
    return static_cast<int>(negative ? -q : q);
}

// ---- TPen ---------------------------------------------------------------------

int PenModeToRop2(TPenMode mode)
{
    static constexpr int kRop2[] = {
        1,  // pmBlack      R2_BLACK
        16, // pmWhite      R2_WHITE
        11, // pmNop        R2_NOP
        6,  // pmNot        R2_NOT
        13, // pmCopy       R2_COPYPEN
        4,  // pmNotCopy    R2_NOTCOPYPEN
        14, // pmMergePenNot R2_MERGEPENNOT
        5,  // pmMaskPenNot R2_MASKPENNOT
        12, // pmMergeNotPen R2_MERGENOTPEN
        3,  // pmMaskNotPen R2_MASKNOTPEN
        15, // pmMerge      R2_MERGEPEN
        2,  // pmNotMerge   R2_NOTMERGEPEN
        9,  // pmMask       R2_MASKPEN
        8,  // pmNotMask    R2_NOTMASKPEN
        7,  // pmXor        R2_XORPEN
        10, // pmNotXor     R2_NOTXORPEN
    };
    const int i = static_cast<int>(mode);
    return (i >= 0 && i < 16) ? kRop2[i] : 13;
}

void TPen::SetColor(TColor v)
{
    if (v == FColor && !FExtended)
        return;
    FColor = v;
    FExtended = false;
    Changed();
}

void TPen::SetWidth(int v)
{
    if (v < 0)
        v = 0;
    if (v == FWidth && !FExtended)
        return;
    FWidth = v;
    FExtended = false;
    Changed();
}

void TPen::SetStyle(TPenStyle v)
{
    if (v == FStyle && !FExtended)
        return;
    FStyle = v;
    FExtended = false;
    Changed();
}

void TPen::SetMode(TPenMode v)
{
    SetAndNotify(FMode, v, [this] { Changed(); });
}

void TPen::SetExtended(const TExtPenInfo& info)
{
    if (FExtended && FExt == info)
        return;
    FExtended = true;
    FExt = info;
    Changed();
}

void TPen::ClearExtended()
{
    if (!FExtended)
        return;
    FExtended = false;
    Changed();
}

void TPen::Assign(TPersistent* Source)
{
    if (auto* p = dynamic_cast<TPen*>(Source)) {
        if (p == this)
            return;
        const bool same = FColor == p->FColor && FWidth == p->FWidth && FStyle == p->FStyle &&
                          FMode == p->FMode && FExtended == p->FExtended && (!FExtended || FExt == p->FExt);
        FColor = p->FColor;
        FWidth = p->FWidth;
        FStyle = p->FStyle;
        FMode = p->FMode;
        FExtended = p->FExtended;
        FExt = p->FExt;
        if (!same)
            Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

// ---- TBrush -------------------------------------------------------------------

void TBrush::SetColor(TColor v)
{
    if (v == FColor && FStyle != bsClear)
        return;
    FColor = v;
    // Giving a clear brush a colour makes it solid again, as the platform does.
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle v)
{
    if (v == FStyle && FBitmap == nullptr)
        return;
    FStyle = v;
    FBitmap = nullptr;
    FPattern = Pattern();
    Changed();
}

void TBrush::SetBitmap(TBitmap* v)
{
    FBitmap = v;
    FPattern = Pattern();
    if (v != nullptr && !v->Empty()) {
        FPattern.Width = v->Width();
        FPattern.Height = v->Height();
        FPattern.Mono = v->PixelFormat() == pf1bit;
        FPattern.Pixels.resize(static_cast<size_t>(FPattern.Width) * FPattern.Height);
        // One pattern pixel per device unit: a denser bitmap gives the pixel under each
        // unit's centre.
        const double k = v->PixelRatio();
        for (int y = 0; y < FPattern.Height; ++y) {
            const TRGBQuad* row = v->ScanLine(k == 1 ? y : int((y + 0.5) * k));
            for (int x = 0; x < FPattern.Width; ++x) {
                const TRGBQuad& q = row[k == 1 ? x : int((x + 0.5) * k)];
                FPattern.Pixels[static_cast<size_t>(y) * FPattern.Width + x] =
                    (uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
            }
        }
    }
    Changed();
}

void TBrush::Assign(TPersistent* Source)
{
    if (auto* b = dynamic_cast<TBrush*>(Source)) {
        if (b == this)
            return;
        const bool same = FColor == b->FColor && FStyle == b->FStyle && FBitmap == nullptr && b->FBitmap == nullptr;
        FColor = b->FColor;
        FStyle = b->FStyle;
        FBitmap = b->FBitmap;
        FPattern = b->FPattern;
        if (!same)
            Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

// ---- TFont --------------------------------------------------------------------

void TFont::SetName(const std::string& v)
{
    if (v.empty())
        return;
    SetAndNotify(FName, v, [this] { Changed(); });
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int v)
{
    SetHeight(-MulDiv(v, FPixelsPerInch, 72));
}

void TFont::SetHeight(int v)
{
    SetAndNotify(FHeight, v, [this] { Changed(); });
}

void TFont::SetPixelsPerInch(int v)
{
    if (v <= 0)
        return;
    SetAndNotify(FPixelsPerInch, v, [this] { Changed(); });
}

void TFont::SetColor(TColor v)
{
    SetAndNotify(FColor, v, [this] { Changed(); });
}

void TFont::SetStyle(TFontStyles v)
{
    v &= (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    SetAndNotify(FStyle, v, [this] { Changed(); });
}

void TFont::SetCharset(TFontCharset v)
{
    SetAndNotify(FCharset, v, [this] { Changed(); });
}

void TFont::SetPitch(TFontPitch v)
{
    SetAndNotify(FPitch, v, [this] { Changed(); });
}

void TFont::SetOrientation(int v)
{
    SetAndNotify(FOrientation, v, [this] { Changed(); });
}

void TFont::SetQuality(TFontQuality v)
{
    SetAndNotify(FQuality, v, [this] { Changed(); });
}

void TFont::Assign(TPersistent* Source)
{
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        if (f == this)
            return;
        // The size travels as points, so that a font of another resolution keeps its size.
        const int height = (f->FPixelsPerInch == FPixelsPerInch || f->FHeight > 0)
                               ? f->FHeight
                               : -MulDiv(f->Size(), FPixelsPerInch, 72);
        const bool same = FName == f->FName && FHeight == height && FColor == f->FColor &&
                          FStyle == f->FStyle && FCharset == f->FCharset && FPitch == f->FPitch &&
                          FOrientation == f->FOrientation && FQuality == f->FQuality;
        FName = f->FName;
        FHeight = height;
        FColor = f->FColor;
        FStyle = f->FStyle;
        FCharset = f->FCharset;
        FPitch = f->FPitch;
        FOrientation = f->FOrientation;
        FQuality = f->FQuality;
        if (!same)
            Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}
