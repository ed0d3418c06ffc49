// Pens, brushes and fonts: small persistent objects that a canvas draws with. Each
// setter compares, stores and calls Changed, which bumps a version counter (canvases
// compare it to know when to rebuild their drawing objects) and fires OnChange.
#pragma once

#include "classes/Classes.h"
#include "classes/TypInfo.h"
#include "graphics/Colors.h"
#include "system/Flags.h"

#include <cstdint>
#include <string>
#include <vector>

class TBitmap;
class TReader;

// The colour names that streams write instead of numbers ("clRed", "clBtnFace").
const TIdentMap& ColorIdents();
// A colour as a stream holds it: a colour name or a number. EReadError for an unknown name.
TColor ReadStreamedColor(TReader* Reader);

class TGraphicsObject : public TPersistent {
public:
    DECLARE_CLASS_NAME(TGraphicsObject)
    TNotifyEvent OnChange;
    // Grows by one at every change; never repeats for one object.
    uint64_t Version() const { return FVersion; }
protected:
    virtual void Changed();
private:
    uint64_t FVersion = 1;
};

// ---- pens ---------------------------------------------------------------------

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// Pen modes, in the platform's order; each is one binary raster operation (R2_*).
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
// The R2_* code of a pen mode.
int PenModeToRop2(TPenMode mode);

enum TPenEndCap { pecRound, pecSquare, pecFlat };
enum TPenJoin { pjRound, pjBevel, pjMiter };

// What an extended (geometric) pen adds to the plain pen: caps, joins, and either a
// user dash pattern (lengths in pixels, dash first) or the alternate-pixel style.
struct TExtPenInfo {
    TPenEndCap EndCap = pecRound;
    TPenJoin Join = pjRound;
    std::vector<int> UserStyle;
    bool Alternate = false;
    bool operator==(const TExtPenInfo&) const = default;
};

class TPen : public TGraphicsObject {
public:
    DECLARE_CLASS_INFO(TPen)
    TPen() = default;

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int Width() const { return FWidth; }
    void SetWidth(int v);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle v);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode v);

    // Makes this a geometric pen of the current colour, width and style with the given
    // caps, joins and dash pattern. Setting Color, Width or Style afterwards makes it a
    // plain pen again, as recreating the platform pen would.
    void SetExtended(const TExtPenInfo& info);
    void ClearExtended();
    bool IsExtended() const { return FExtended; }
    const TExtPenInfo& ExtInfo() const { return FExt; }

    void Assign(TPersistent* Source) override;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    bool FExtended = false;
    TExtPenInfo FExt;
};

// ---- brushes ------------------------------------------------------------------

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    DECLARE_CLASS_INFO(TBrush)
    TBrush() = default;

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle v);
    // A pattern bitmap (not owned; the brush keeps a copy of its pixels taken when it is
    // set). A 1-bit bitmap paints its black pixels in the text colour and its white ones
    // in the background colour; other bitmaps paint their own colours. nullptr clears it.
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* v);
    // The pixels of the pattern as set (empty when none); canvases build their brush from it.
    struct Pattern {
        int Width = 0;
        int Height = 0;
        bool Mono = false;
        std::vector<uint32_t> Pixels;   // 0x00RRGGBB per pixel, rows top to bottom
    };
    const Pattern& PatternPixels() const { return FPattern; }

    void Assign(TPersistent* Source) override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TBitmap* FBitmap = nullptr;
    Pattern FPattern;
};

// ---- fonts --------------------------------------------------------------------

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = TFlags<TFontStyle>;
DECLARE_FLAG_OPERATORS(TFontStyle)
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqNonAntialiased, fqAntialiased };
using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;

class TFont : public TGraphicsObject {
public:
    DECLARE_CLASS_INFO(TFont)
    TFont() = default;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& v);
    // Size in points at PixelsPerInch; Height in pixels: negative is the character
    // height (em size), positive the cell height (ascent + descent).
    int Size() const;
    void SetSize(int v);
    int Height() const { return FHeight; }
    void SetHeight(int v);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles v);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset v);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch v);
    // Escapement (and orientation) in tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int v);
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality v);

    void Assign(TPersistent* Source) override;

private:
    std::string FName = "Arial";
    int FHeight = -11;
    int FPixelsPerInch = 96;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int FOrientation = 0;
    TFontQuality FQuality = fqDefault;
};

// MulDiv of the platform: a * b / c rounded half away from zero, in 64-bit arithmetic;
// -1 when c is 0.
int MulDiv(int a, int b, int c);
