#include "graphics/Bitmap.h"

#include "graphics/CanvasRecorder.h"
#include "graphics/Metafile.h"
#include "graphics/QtBridge.h"
#include "classes/Streams.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <fstream>

// ---- TGraphic -------------------------------------------------------------------

void TGraphic::SetTransparent(bool v)
{
    if (v == FTransparent)
        return;
    FTransparent = v;
    Changed();
}

void TGraphic::Changed()
{
    if (OnChange)
        OnChange(this);
}

// ---- TBitmap --------------------------------------------------------------------

namespace {

// Takes the image (of the bitmap's ratio) and its logical size, and points the canvas at it.
void SetImage(TBitmap::Impl& d, QImage image, int width, int height)
{
    d.Image = std::move(image);
    d.Width = d.Image.isNull() ? 0 : width;
    d.Height = d.Image.isNull() ? 0 : height;
    if (d.Canvas) {
        if (d.Image.isNull())
            qtbridge::Detach(*d.Canvas);
        else
            qtbridge::AttachImage(*d.Canvas, &d.Image, d.Format == pf1bit);
    }
}

} // namespace

TBitmap::TBitmap() : d(std::make_unique<Impl>()) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap()
{
    d->Format = format;
    SetSize(width, height);
}

TBitmap::~TBitmap()
{
    if (d->Canvas)
        qtbridge::Detach(*d->Canvas);
}

bool TBitmap::Empty() const { return d->Image.isNull(); }
int TBitmap::Width() const { return d->Width; }
int TBitmap::Height() const { return d->Height; }
int TBitmap::PixelWidth() const { return d->Image.width(); }
int TBitmap::PixelHeight() const { return d->Image.height(); }
double TBitmap::PixelRatio() const { return d->Ratio; }
void TBitmap::SetWidth(int v) { SetSize(v, Height()); }
void TBitmap::SetHeight(int v) { SetSize(Width(), v); }

void TBitmap::SetSize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height())
        return;
    if (d->Canvas)
        d->Canvas->Flush();
    QImage img = qtbridge::NewImage(width, height, d->Ratio);
    if (!img.isNull() && !d->Image.isNull()) {
        const int w = std::min(img.width(), PixelWidth()), h = std::min(img.height(), PixelHeight());
        for (int y = 0; y < h; ++y)
            std::memcpy(img.scanLine(y), d->Image.constScanLine(y), size_t(w) * 4);
    }
    SetImage(*d, std::move(img), width, height);
    Changed();
}

void TBitmap::SetPixelRatio(double v)
{
    v = std::clamp(v, 1.0, 8.0);
    if (v == d->Ratio)
        return;
    if (d->Canvas)
        d->Canvas->Flush();
    d->Ratio = v;
    QImage img = qtbridge::NewImage(Width(), Height(), v);
    if (!img.isNull() && !d->Image.isNull()) {
        QPainter p(&img);
        p.drawImage(QRectF(0, 0, Width(), Height()), d->Image);
    }
    SetImage(*d, std::move(img), Width(), Height());
    Changed();
}


TPixelFormat TBitmap::PixelFormat() const { return d->Format; }

void TBitmap::SetPixelFormat(TPixelFormat v)
{
    if (v == d->Format)
        return;
    d->Format = v;
    if (d->Canvas)
        d->Canvas->Flush();
    if (v == pf1bit && !d->Image.isNull())
        qtbridge::ThresholdToMono(d->Image, d->Image.rect());
    if (d->Canvas && !d->Image.isNull())
        qtbridge::AttachImage(*d->Canvas, &d->Image, v == pf1bit);
    Changed();
}

TCanvas* TBitmap::Canvas()
{
    if (!d->Canvas) {
        d->Canvas = std::make_unique<TCanvas>();
        if (!d->Image.isNull())
            qtbridge::AttachImage(*d->Canvas, &d->Image, Monochrome());
    }
    return d->Canvas.get();
}

TRGBQuad* TBitmap::ScanLine(int row)
{
    if (row < 0 || row >= PixelHeight())
        throw ERangeError();
    return reinterpret_cast<TRGBQuad*>(d->Image.scanLine(row));
}

const TRGBQuad* TBitmap::ScanLine(int row) const
{
    if (row < 0 || row >= PixelHeight())
        throw ERangeError();
    return reinterpret_cast<const TRGBQuad*>(d->Image.constScanLine(row));
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed)
        return FTransparentColor;
    if (Empty())
        return clDefault;
    const QRgb v = d->Image.pixel(0, PixelHeight() - 1);
    return RGB(qRed(v), qGreen(v), qBlue(v));
}

void TBitmap::SetTransparentColor(TColor c)
{
    FTransparentColor = c;
    FTransparentMode = c == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode m)
{
    if (m == FTransparentMode)
        return;
    FTransparentMode = m;
    if (m == tmAuto)
        FTransparentColor = clDefault;
    else
        FTransparentColor = TransparentColor();
    Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect)
{
    if (Empty() || IsRectEmpty(rect))
        return;
    if (TCanvasRecorder* rec = CanvasRecorder(canvas))
        rec->Record(canvas, TCanvasOp{.Op = TCanvasOp::DrawBitmap, .A = {rect.Left, rect.Top, rect.Right, rect.Bottom},
                                      .Bitmap = this});
    QImage src = d->Image;   // the painter below only reads it
    if (Transparent()) {
        const QRgb key = qtbridge::ToQColor(TransparentColor()).rgb() & 0xFFFFFF;
        src = d->Image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < src.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(src.scanLine(y));
            for (int x = 0; x < src.width(); ++x)
                if ((row[x] & 0xFFFFFF) == key)
                    row[x] = 0;
        }
    }
    if (!canvas.HandleAllocated())
        return;
    if (&canvas == d->Canvas.get())
        src = src.copy();   // drawing a bitmap onto itself reads a copy
    QPainter& p = qtbridge::ActivePainter(canvas);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QRect target(rect.Left, rect.Top, rect.Width(), rect.Height());
    p.drawImage(target.normalized(), src.mirrored(rect.Width() < 0, rect.Height() < 0));
    if (QImage* img = qtbridge::RasterImage(canvas); img && canvas.IsMonochrome()) {
        TPoint pts[2] = {TPoint(rect.Left, rect.Top), TPoint(rect.Right, rect.Bottom)};
        canvas.LPtoDP(pts, 2);
        const QRect device = QRect(QPoint(pts[0].X, pts[0].Y), QPoint(pts[1].X - 1, pts[1].Y - 1)).normalized();
        qtbridge::ThresholdToMono(*img, qtbridge::ImagePixels(canvas, device));
    }
}

void TBitmap::LoadFromFile(const std::string& fileName)
{
    {
        std::ifstream probe(fileName, std::ios::binary);
        if (!probe)
            throw EFOpenError(Format("Cannot open file \"%s\"", {fileName}));
    }
    QImageReader reader(QString::fromStdString(fileName));
    QImage img = reader.read();
    if (img.isNull())
        throw EInvalidGraphic("Bitmap image is not valid");
    const bool mono = img.depth() == 1;
    if (d->Canvas)
        d->Canvas->Flush();
    QImage loaded = img.convertToFormat(QImage::Format_RGB32);
    loaded.setDotsPerMeterX(3780);
    loaded.setDotsPerMeterY(3780);
    loaded.setDevicePixelRatio(1);
    d->Format = mono ? pf1bit : (img.depth() == 32 ? pf32bit : img.depth() == 24 ? pf24bit : pfDevice);
    d->Ratio = 1;
    SetImage(*d, std::move(loaded), img.width(), img.height());
    Changed();
}

namespace {

// The picture as its file keeps it: the pixel format's depth where a bitmap file has it.
QImage FileImage(const TBitmap::Impl& d)
{
    switch (d.Format) {
    case pf1bit: return d.Image.convertToFormat(QImage::Format_Mono);
    case pf4bit:
    case pf8bit: return d.Image.convertToFormat(QImage::Format_Indexed8);
    case pf15bit:
    case pf16bit:
    case pf24bit: return d.Image.convertToFormat(QImage::Format_RGB888);
    default: return d.Image;
    }
}

} // namespace

void TBitmap::SaveToFile(const std::string& fileName) const
{
    const QImage out = FileImage(*d);
    const QString name = QString::fromStdString(fileName);
    const bool bmp = name.endsWith(".bmp", Qt::CaseInsensitive);
    if (out.isNull() || !out.save(name, bmp ? "BMP" : nullptr))
        throw EFCreateError(Format("Cannot create file \"%s\"", {fileName}));
}

void TBitmap::SaveToStream(TStream* stream) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!FileImage(*d).save(&buffer, "BMP"))
        throw EInvalidGraphic("Bitmap image is not valid");
    stream->WriteBuffer(bytes.constData(), bytes.size());
}

std::unique_ptr<TGraphic> TBitmap::Clone() const
{
    auto b = std::make_unique<TBitmap>();
    b->Assign(const_cast<TBitmap*>(this));
    return b;
}

void TBitmap::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    if (Source == nullptr) {
        SetSize(0, 0);
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        if (d->Canvas)
            d->Canvas->Flush();
        d->Format = b->d->Format;
        d->Ratio = b->d->Ratio;
        FTransparent = b->FTransparent;
        FTransparentColor = b->FTransparentColor;
        FTransparentMode = b->FTransparentMode;
        // A deep copy: a canvas may be drawing on either.
        SetImage(*d, b->d->Image.copy(), b->Width(), b->Height());
        Changed();
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetSize(g->Width(), g->Height());
        if (!Empty()) {
            Canvas()->Brush()->SetColor(clWhite);
            Canvas()->Brush()->SetStyle(bsSolid);
            Canvas()->FillRect(TRect(0, 0, Width(), Height()));
            g->Draw(*Canvas(), TRect(0, 0, Width(), Height()));
        }
        Changed();
        return;
    }
    if (auto* p = dynamic_cast<TPicture*>(Source)) {
        Assign(p->Graphic());
        return;
    }
    TGraphic::Assign(Source);
}

// ---- TPicture -------------------------------------------------------------------

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::Own(std::unique_ptr<TGraphic> g)
{
    FGraphic = std::move(g);
    if (FGraphic)
        FGraphic->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::SetGraphic(TGraphic* v)
{
    if (v == FGraphic.get())
        return;
    Own(v ? v->Clone() : nullptr);
}

TBitmap* TPicture::Bitmap()
{
    if (auto* b = dynamic_cast<TBitmap*>(FGraphic.get()))
        return b;
    auto b = std::make_unique<TBitmap>();
    if (FGraphic)
        b->Assign(FGraphic.get());
    TBitmap* raw = b.get();
    Own(std::move(b));
    return raw;
}

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }
int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::LoadFromFile(const std::string& fileName)
{
    const std::string ext = LowerCase(ExtractFileExt(fileName));
    if (ext == ".emf" || ext == ".wmf") {
        auto m = std::make_unique<TMetafile>();
        m->LoadFromFile(fileName);
        Own(std::move(m));
        return;
    }
    static const char* const kRaster[] = {".bmp", ".png", ".jpg", ".jpeg", ".gif"};
    bool known = false;
    for (const char* e : kRaster)
        known = known || ext == e;
    if (!known)
        throw EInvalidGraphic(Format("Unknown picture file extension (%s)", {ext}));
    auto b = std::make_unique<TBitmap>();
    b->LoadFromFile(fileName);
    Own(std::move(b));
}

void TPicture::SaveToFile(const std::string& fileName) const
{
    if (FGraphic)
        FGraphic->SaveToFile(fileName);
}

void TPicture::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    if (Source == nullptr) {
        Own(nullptr);
        return;
    }
    if (auto* p = dynamic_cast<TPicture*>(Source)) {
        Own(p->FGraphic ? p->FGraphic->Clone() : nullptr);
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        Own(g->Clone());
        return;
    }
    TPersistent::Assign(Source);
}
