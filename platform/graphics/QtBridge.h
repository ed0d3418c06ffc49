// Inside the platform only: the Qt objects behind regions, bitmaps and canvases, and the
// conversions between the platform's types and Qt's.
#pragma once

#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "graphics/ImageRef.h"
#include "graphics/Region.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

struct TRegion::Impl {
    QRegion Region;
};

struct TBitmap::Impl {
    // The image (Format_RGB32, 96 dots per inch, Ratio pixels per unit), whose pixels may
    // still owe their white (see TImageRef): Image() writes it first, Shape() gives the
    // image for its size, format and ratio alone.
    QImage& Image() { return *Ref(); }
    const QImage& Shape() const { return Pixels; }
    TImageRef Ref() { return TImageRef(&Pixels, &Owed); }
    // Only through the three above.
    QImage Pixels;
    bool Owed = false;
    TPixelFormat Format = pfDevice;
    double Ratio = 1;                    // image pixels per logical pixel
    int Width = 0, Height = 0;           // logical size
    std::unique_ptr<TCanvas> Canvas;     // created on first use, attached to Image
};

namespace qtbridge {

// The 24-bit colour a colour draws as, as an opaque QColor (system colours resolved).
QColor ToQColor(TColor c);
// Nearer of black and white (the colour a 1-bit surface keeps).
QRgb ToMono(QRgb rgb);
// The Qt font for a platform font; `charExtra` pixels are added after each character.
QFont ToQFont(const TFont& font, int charExtra = 0);
// The pixels covered by filling the path (aliased, pixel centres sampled).
QRegion PathToRegion(const QPainterPath& path, Qt::FillRule rule);

// Points the canvas at an image (raster target; `mono` keeps every pixel black or white)
// or at another paint device (a printer, a PDF writer) of the given resolution; Detach
// ends the painter and leaves the canvas without a target. `owed`, when given, is the
// image's flag that its pixels still owe their white (see TImageRef).
void AttachImage(TCanvas& canvas, QImage* image, bool mono, bool* owed = nullptr);
void AttachDevice(TCanvas& canvas, QPaintDevice* device, int pixelsPerInch);
void Detach(TCanvas& canvas);
// The canvas's painter, begun on its target (the canvas must have one).
QPainter& ActivePainter(TCanvas& canvas);
// The raster image behind a canvas, its pixels defined, or nullptr.
QImage* RasterImage(const TCanvas& canvas);
// The image pixels under a rectangle of the canvas's device units (the same rectangle at
// a pixel ratio of 1).
QRect ImagePixels(const TCanvas& canvas, const QRect& deviceRect);
// An image of `width` x `height` logical pixels at `ratio` image pixels per logical pixel,
// filled with `fill`.
QImage NewImage(int width, int height, double ratio, QImage::Format format = QImage::Format_RGB32,
                QRgb fill = kNewImagePixel);
// The same image with its pixels not written (kUnwrittenPixel in a Debug build), for an
// image that owes its pixels their white (see TImageRef).
QImage NewUnwrittenImage(int width, int height, double ratio, QImage::Format format = QImage::Format_RGB32);
// The logical size of an image made by NewImage.
QSize DeviceSize(const QImage& image);

// Makes every pixel of the rectangle of the image black or white.
void ThresholdToMono(QImage& image, const QRect& r);

} // namespace qtbridge
