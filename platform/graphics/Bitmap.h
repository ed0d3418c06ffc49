// Graphics that a canvas can draw: the abstract TGraphic, TBitmap (an image at 96 dots
// per inch with its own canvas) and TPicture (a holder of one graphic; metafiles are in
// Metafile.h).
#pragma once

#include "classes/Classes.h"
#include "graphics/Canvas.h"
#include "graphics/Colors.h"
#include "graphics/Types.h"

#include <cstdint>
#include <memory>
#include <string>

class EInvalidGraphic : public Exception { using Exception::Exception; };

class TGraphic : public TPersistent {
public:
    DECLARE_CLASS_NAME(TGraphic)
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int v) = 0;
    virtual void SetHeight(int v) = 0;
    // Draws the graphic stretched into the rectangle of the canvas.
    virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
    virtual void LoadFromFile(const std::string& fileName) = 0;
    virtual void SaveToFile(const std::string& fileName) const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool v);
    TNotifyEvent OnChange;
protected:
    virtual void Changed();
    bool FTransparent = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

// One pixel of a scan line, in memory order.
struct TRGBQuad {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
};

class TStream;

class TBitmap : public TGraphic {
public:
    DECLARE_CLASS_NAME(TBitmap)
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pfDevice);
    ~TBitmap() override;

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    // Resizing keeps the pixels that still fit; new pixels are white.
    void SetWidth(int v) override;
    void SetHeight(int v) override;
    void SetSize(int width, int height);
    TPixelFormat PixelFormat() const;
    // pf1bit makes every pixel black or white (whichever is nearer) and keeps drawing so;
    // other formats keep full colour.
    void SetPixelFormat(TPixelFormat v);
    bool Monochrome() const { return PixelFormat() == pf1bit; }
    void SetMonochrome(bool v) { SetPixelFormat(v ? pf1bit : pfDevice); }

    // Image pixels per logical pixel, 1 by default. A bitmap for a denser screen keeps its
    // logical size (Width, Height, the canvas's coordinates) and holds Width * ratio by
    // Height * ratio pixels, so that what its canvas draws is drawn at the screen's
    // resolution. Changing the ratio resamples the picture.
    double PixelRatio() const;
    void SetPixelRatio(double v);
    // The image's own pixels: the columns and rows of ScanLine.
    int PixelWidth() const;
    int PixelHeight() const;

    // True for a picture loaded with see-through parts: ScanLine's rgbReserved is then
    // each pixel's opacity (0 see-through .. 255 opaque) and its colour is premultiplied
    // by it. Other bitmaps are opaque throughout.
    bool HasAlpha() const;

    TCanvas* Canvas();
    // A row of image pixels (0 .. PixelHeight - 1); the row is checked (ERangeError).
    TRGBQuad* ScanLine(int row);
    const TRGBQuad* ScanLine(int row) const;

    // The colour drawn see-through when Transparent: the bottom-left pixel (tmAuto) or
    // the fixed colour (tmFixed).
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode m);

    void Draw(TCanvas& canvas, const TRect& rect) override;
    // Windows bitmap files; other image files are read too when the image library knows them.
    void LoadFromFile(const std::string& fileName) override;
    void SaveToFile(const std::string& fileName) const override;
    // The Windows bitmap file's bytes at the pixel format's depth (1, 4, 8, 15, 16, 24 or
    // 32 bits; 24 for the device-dependent format), the same bytes for the same picture.
    void SaveToStream(TStream* stream) const;
    // The rest of the stream as an image file (as LoadFromFile reads one); EInvalidGraphic
    // when it holds none.
    void LoadFromStream(TStream* stream);
    std::unique_ptr<TGraphic> Clone() const override;
    void Assign(TPersistent* Source) override;

    struct Impl;
    Impl& impl() const { return *d; }

private:
    std::unique_ptr<Impl> d;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

// Holds one graphic (owned); Bitmap() makes it a bitmap when it is not one.
// In a component stream the picture is one binary entry "Data": the graphic's class name
// as a short string (empty for no graphic), then the graphic's file bytes behind their
// 32-bit length (a bitmap with see-through pixels as a PNG file).
class TPicture : public TPersistent {
public:
    DECLARE_CLASS_INFO(TPicture)
    TPicture();
    ~TPicture() override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Takes a copy of the graphic (nullptr empties the picture).
    void SetGraphic(TGraphic* v);
    TBitmap* Bitmap();
    int Width() const;
    int Height() const;
    bool Empty() const { return FGraphic == nullptr || FGraphic->Empty(); }
    // ".bmp" files (and other raster images the image library reads) load as bitmaps,
    // ".emf" and ".wmf" files as metafiles; an unknown extension raises EInvalidGraphic.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    void Assign(TPersistent* Source) override;
    TNotifyEvent OnChange;

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    void Changed();
    void Own(std::unique_ptr<TGraphic> g);
    std::unique_ptr<TGraphic> FGraphic;
};
