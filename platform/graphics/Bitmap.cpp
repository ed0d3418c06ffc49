#include "graphics/Bitmap.h"

#include "graphics/CanvasRecorder.h"
#include "graphics/Metafile.h"
#include "graphics/QtBridge.h"
#include "classes/Streams.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// ---- TGraphic -------------------------------------------------------------------

void TGraphic::SetTransparent(bool v)
{
    SetAndNotify(FTransparent, v, [this] { Changed(); });
}

void TGraphic::Changed()
{
    if (OnChange)
        OnChange(this);
}

// ---- TBitmap --------------------------------------------------------------------

namespace {

// Points the bitmap's canvas at its image.
void AttachCanvas(TBitmap::Impl& d)
{
    if (d.Shape().isNull())
        qtbridge::Detach(*d.Canvas);
    else
        qtbridge::AttachImage(*d.Canvas, &d.Pixels, d.Format == pf1bit, &d.Owed);
}

// Takes the image (of the bitmap's ratio) and its logical size, and points the canvas at
// it; `owed`: its pixels are not written yet and owe their white (see TImageRef).
void SetImage(TBitmap::Impl& d, QImage image, int width, int height, bool owed = false)
{
    d.Pixels = std::move(image);
    d.Owed = owed && !d.Pixels.isNull();
    d.Width = d.Pixels.isNull() ? 0 : width;
    d.Height = d.Pixels.isNull() ? 0 : height;
    if (d.Canvas)
        AttachCanvas(d);
}

// A new image for the bitmap at its ratio: one that owes its white when the old one is
// white throughout (it has none, or it owes its white too), so that nothing is written
// yet; else a white one.
QImage NextImage(TBitmap::Impl& d, int width, int height, double ratio, bool& owed)
{
    owed = d.Shape().isNull() || d.Owed;
    return owed ? qtbridge::NewUnwrittenImage(width, height, ratio) : qtbridge::NewImage(width, height, ratio);
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

bool TBitmap::Empty() const { return d->Shape().isNull(); }
int TBitmap::Width() const { return d->Width; }
int TBitmap::Height() const { return d->Height; }
int TBitmap::PixelWidth() const { return d->Shape().width(); }
int TBitmap::PixelHeight() const { return d->Shape().height(); }
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
    bool owed = false;
    QImage img = NextImage(*d, width, height, d->Ratio, owed);
    if (!img.isNull() && !owed) {
        const QImage& old = d->Image();
        const int w = std::min(img.width(), PixelWidth()), h = std::min(img.height(), PixelHeight());
        for (int y = 0; y < h; ++y)
            std::memcpy(img.scanLine(y), old.constScanLine(y), size_t(w) * 4);
    }
    SetImage(*d, std::move(img), width, height, owed);
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
    bool owed = false;
    QImage img = NextImage(*d, Width(), Height(), v, owed);
    if (!img.isNull() && !owed) {
        QPainter p(&img);
        p.drawImage(QRectF(0, 0, Width(), Height()), d->Image());
    }
    SetImage(*d, std::move(img), Width(), Height(), owed);
    Changed();
}


TPixelFormat TBitmap::PixelFormat() const { return d->Format; }

void TBitmap::SetPixelFormat(TPixelFormat v)
{
    SetAndNotify(d->Format, v, [this, v] {
        if (d->Canvas)
            d->Canvas->Flush();
        // Pixels that owe their white stay white under the threshold.
        if (v == pf1bit && !d->Shape().isNull() && !d->Owed)
            qtbridge::ThresholdToMono(d->Image(), d->Shape().rect());
        if (d->Canvas && !d->Shape().isNull())
            AttachCanvas(*d);
        Changed();
    });
}

TCanvas* TBitmap::Canvas()
{
    if (!d->Canvas) {
        d->Canvas = std::make_unique<TCanvas>();
        if (!d->Shape().isNull())
            AttachCanvas(*d);
    }
    return d->Canvas.get();
}

TRGBQuad* TBitmap::ScanLine(int row)
{
    if (row < 0 || row >= PixelHeight())
        throw ERangeError();
    return reinterpret_cast<TRGBQuad*>(d->Image().scanLine(row));
}

const TRGBQuad* TBitmap::ScanLine(int row) const
{
    if (row < 0 || row >= PixelHeight())
        throw ERangeError();
    return reinterpret_cast<const TRGBQuad*>(d->Image().constScanLine(row));
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed)
        return FTransparentColor;
    if (Empty())
        return clDefault;
    const QRgb v = d->Image().pixel(0, PixelHeight() - 1);
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
    SetAndNotify(FTransparentMode, m, [this, m] {
        if (m == tmAuto)
            FTransparentColor = clDefault;
        else
            FTransparentColor = TransparentColor();
        Changed();
    });
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect)
{
    if (Empty() || IsRectEmpty(rect))
        return;
    if (TCanvasRecorder* rec = CanvasRecorder(canvas))
        rec->Record(canvas, TCanvasOp{.Op = TCanvasOp::DrawBitmap, .A = {rect.Left, rect.Top, rect.Right, rect.Bottom},
                                      .Bitmap = this});
    QImage src = d->Image();   // the painter below only reads it
    if (Transparent()) {
        const QRgb key = qtbridge::ToQColor(TransparentColor()).rgb() & 0xFFFFFF;
        src = src.convertToFormat(QImage::Format_ARGB32);
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
    TFileStream file(fileName, fmOpenRead);
    LoadFromStream(&file);
}

void TBitmap::LoadFromStream(TStream* stream)
{
    const int64_t size = stream->Size() - stream->Position();
    if (size <= 0 || size > (int64_t(1) << 31))
        throw EInvalidGraphic("Bitmap image is not valid");
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    stream->ReadBuffer(bytes.data(), size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QImage img = reader.read();
    if (img.isNull())
        throw EInvalidGraphic("Bitmap image is not valid");
    const bool mono = img.depth() == 1;
    if (d->Canvas)
        d->Canvas->Flush();
    // A picture with see-through parts (a PNG's alpha) keeps them, so that it is drawn
    // over what lies beneath instead of over black.
    QImage loaded = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    loaded.setDotsPerMeterX(3780);
    loaded.setDotsPerMeterY(3780);
    loaded.setDevicePixelRatio(1);
    d->Format = mono ? pf1bit : (img.depth() == 32 ? pf32bit : img.depth() == 24 ? pf24bit : pfDevice);
    // A Windows bitmap file keeps the depth it was written in (the image library widens
    // every depth), so that saving it again writes the same file.
    if (bytes.size() >= 32 && bytes[0] == 'B' && bytes[1] == 'M') {
        const auto at = [&](int i) { return unsigned(uint8_t(bytes[i])) | unsigned(uint8_t(bytes[i + 1])) << 8; };
        switch (at(28)) {
        case 1: d->Format = pf1bit; break;
        case 4: d->Format = pf4bit; break;
        case 8: d->Format = pf8bit; break;
        case 16: d->Format = at(30) == 3 ? pf16bit : pf15bit; break;
        case 24: d->Format = pf24bit; break;
        case 32: d->Format = pf32bit; break;
        default: break;
        }
    }
    d->Ratio = 1;
    SetImage(*d, std::move(loaded), img.width(), img.height());
    Changed();
}

namespace {

void PutU16(std::vector<uint8_t>& Out, unsigned v)
{
    Out.push_back(uint8_t(v));
    Out.push_back(uint8_t(v >> 8));
}

void PutU32(std::vector<uint8_t>& Out, uint32_t v)
{
    PutU16(Out, v & 0xFFFF);
    PutU16(Out, v >> 16);
}

// The colour table of an indexed picture: the picture's own colours in the order they
// first appear when they fit, else a fixed table (the 16 standard colours, or a 6 x 6 x 6
// cube for 8 bits) that each pixel takes the nearest entry of.
std::vector<QRgb> ColourTable(const QImage& Image, int Bits)
{
    const size_t room = size_t(1) << Bits;
    std::vector<QRgb> table;
    std::unordered_set<QRgb> seen;
    for (int y = 0; y < Image.height() && table.size() <= room; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(Image.constScanLine(y));
        for (int x = 0; x < Image.width() && table.size() <= room; ++x)
            if (seen.insert(row[x] & 0xFFFFFF).second)
                table.push_back(row[x] & 0xFFFFFF);
    }
    if (table.size() <= room)
        return table;
    table.clear();
    if (Bits == 4) {
        static const QRgb standard[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                          0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                          0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        table.assign(standard, standard + 16);
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    table.push_back(QRgb((r * 51) << 16 | (g * 51) << 8 | b * 51));
    }
    return table;
}

// The Windows bitmap file of the image at the pixel format's depth: 1 bit (black and
// white), 4 and 8 bits with a colour table, 15 bits (5-5-5), 16 bits (5-6-5 with its
// bit masks), 32 bits, and 24 bits for the device-dependent and other formats. Rows run
// bottom-up, each padded with zero bytes to a multiple of 4.
std::vector<uint8_t> BitmapFileBytes(const QImage& Source, TPixelFormat Format)
{
    const QImage image = Source.convertToFormat(QImage::Format_RGB32);
    int bits = 24;
    switch (Format) {
    case pf1bit: bits = 1; break;
    case pf4bit: bits = 4; break;
    case pf8bit: bits = 8; break;
    case pf15bit:
    case pf16bit: bits = 16; break;
    case pf32bit: bits = 32; break;
    default: break;
    }
    const bool masks = Format == pf16bit;
    std::vector<QRgb> table;
    if (bits == 1)
        table = {0x000000, 0xFFFFFF};
    else if (bits <= 8)
        table = ColourTable(image, bits);
    std::unordered_map<QRgb, uint8_t> index;
    const auto indexOf = [&](QRgb c) -> unsigned {
        c &= 0xFFFFFF;
        if (bits == 1)   // the threshold that drawing on a one-bit bitmap uses
            return qtbridge::ToMono(c) == 0xFFFFFFFFu ? 1 : 0;
        if (auto it = index.find(c); it != index.end())
            return it->second;
        size_t best = 0;
        long bestDistance = -1;
        for (size_t k = 0; k < table.size(); ++k) {
            const long dr = qRed(c) - qRed(table[k]), dg = qGreen(c) - qGreen(table[k]), db = qBlue(c) - qBlue(table[k]);
            const long d = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || d < bestDistance) {
                best = k;
                bestDistance = d;
            }
        }
        index.emplace(c, uint8_t(best));
        return unsigned(best);
    };

    const int w = image.width(), h = image.height();
    const size_t stride = (size_t(w) * size_t(bits) + 31) / 32 * 4;
    const uint32_t headers = 14 + 40 + (masks ? 12 : 0) + uint32_t(table.size()) * 4;
    const uint32_t pixels = uint32_t(stride * size_t(h));
    std::vector<uint8_t> out;
    out.reserve(headers + pixels);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, headers + pixels);
    PutU32(out, 0);
    PutU32(out, headers);
    PutU32(out, 40);
    PutU32(out, uint32_t(w));
    PutU32(out, uint32_t(h));
    PutU16(out, 1);
    PutU16(out, unsigned(bits));
    PutU32(out, masks ? 3 : 0);   // bit fields, else plain values
    PutU32(out, pixels);
    PutU32(out, uint32_t(image.dotsPerMeterX()));
    PutU32(out, uint32_t(image.dotsPerMeterY()));
    PutU32(out, uint32_t(table.size()));
    PutU32(out, 0);
    if (masks) {
        PutU32(out, 0xF800);
        PutU32(out, 0x07E0);
        PutU32(out, 0x001F);
    }
    for (QRgb c : table) {
        out.push_back(uint8_t(qBlue(c)));
        out.push_back(uint8_t(qGreen(c)));
        out.push_back(uint8_t(qRed(c)));
        out.push_back(0);
    }
    std::vector<uint8_t> row(stride);
    for (int y = h - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), 0);
        const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = src[x];
            switch (bits) {
            case 1: row[size_t(x) / 8] |= uint8_t(indexOf(c) << (7 - x % 8)); break;
            case 4: row[size_t(x) / 2] |= uint8_t(indexOf(c) << (x % 2 ? 0 : 4)); break;
            case 8: row[size_t(x)] = uint8_t(indexOf(c)); break;
            case 16: {
                const unsigned v = masks ? (qRed(c) >> 3) << 11 | (qGreen(c) >> 2) << 5 | qBlue(c) >> 3
                                         : (qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | qBlue(c) >> 3;
                row[size_t(x) * 2] = uint8_t(v);
                row[size_t(x) * 2 + 1] = uint8_t(v >> 8);
                break;
            }
            default: {
                const size_t at = size_t(x) * size_t(bits / 8);
                row[at] = uint8_t(qBlue(c));
                row[at + 1] = uint8_t(qGreen(c));
                row[at + 2] = uint8_t(qRed(c));
            }
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

void TBitmap::SaveToFile(const std::string& fileName) const
{
    const QString name = QString::fromStdString(fileName);
    if (d->Shape().isNull())
        throw EFCreateError(Format("Cannot create file \"%s\"", {fileName}));
    if (!name.endsWith(".bmp", Qt::CaseInsensitive)) {
        // Other kinds by the name's extension, encoded first: a kind the toolkit cannot
        // write leaves no file.
        const QString kind = QFileInfo(name).suffix().toLower();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (kind.isEmpty() || !d->Image().save(&buffer, kind.toLatin1().constData()))
            throw EFCreateError(Format("Cannot create file \"%s\"", {fileName}));
        WriteFileReplacing(fileName, [&bytes](TStream* Stream) { Stream->WriteBuffer(bytes.constData(), bytes.size()); });
        return;
    }
    WriteFileReplacing(fileName, [this](TStream* Stream) { SaveToStream(Stream); });
}

void TBitmap::SaveToStream(TStream* stream) const
{
    if (d->Shape().isNull())
        throw EInvalidGraphic("Bitmap image is not valid");
    const std::vector<uint8_t> bytes = BitmapFileBytes(d->Image(), d->Format);
    stream->WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

std::unique_ptr<TGraphic> TBitmap::Clone() const
{
    auto b = std::make_unique<TBitmap>();
    b->Assign(const_cast<TBitmap*>(this));
    return b;
}

bool TBitmap::HasAlpha() const
{
    return d->Shape().hasAlphaChannel();
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
        SetImage(*d, b->d->Image().copy(), b->Width(), b->Height());
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

BEGIN_CLASS_INFO(TPicture, TPersistent)
END_CLASS_INFO

namespace {

// The picture's stream entry: the graphic's class name as a short string (empty for none),
// then its file bytes behind their 32-bit little-endian length (a bitmap with see-through
// pixels as a PNG file, any other as a Windows bitmap file).
std::vector<uint8_t> PictureData(const TGraphic* Graphic)
{
    std::vector<uint8_t> out;
    TMemoryStream file;
    std::string name;
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(Graphic)) {
        name = "TBitmap";
        if (bitmap->HasAlpha()) {
            // A Windows bitmap file has no see-through pixels: such a picture goes as PNG,
            // which the reader recognises by its bytes.
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            bitmap->impl().Image().save(&buffer, "PNG");
            file.WriteBuffer(png.constData(), int64_t(png.size()));
        } else {
            bitmap->SaveToStream(&file);
        }
    } else if (const auto* metafile = dynamic_cast<const TMetafile*>(Graphic)) {
        name = "TMetafile";
        metafile->SaveToStream(&file);
    }
    out.push_back(uint8_t(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    if (name.empty())
        return out;
    const auto size = uint32_t(file.Size());
    for (int k = 0; k < 4; ++k)
        out.push_back(uint8_t(size >> (8 * k)));
    const auto* bytes = reinterpret_cast<const uint8_t*>(file.Memory());
    out.insert(out.end(), bytes, bytes + file.Size());
    return out;
}

// The size a picture's header claims, checked against its bytes before any room is taken
// for its pixels: no Windows bitmap or PNG file holds more than about 1032 bytes of
// pixels per byte (the most that deflate packs), so a small entry that claims a huge
// picture is refused instead of costing memory and time.
void CheckPictureSize(TStream* Stream)
{
    const int64_t at = Stream->Position();
    const int64_t size = Stream->Size() - at;
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    Stream->ReadBuffer(bytes.data(), size);
    Stream->SetPosition(at);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize claimed = reader.size();
    const QImage::Format format = reader.imageFormat();
    const int bits = format == QImage::Format_Invalid ? 1 : QImage::toPixelFormat(format).bitsPerPixel();
    if (claimed.isValid() && double(claimed.width()) * claimed.height() * bits / 8 > 1100.0 * double(size) + 65536)
        throw EInvalidGraphic("Bitmap image is not valid");
}

// The graphic of a picture entry; nullptr for an empty class name. A class other than the
// two, or a length other than the bytes that follow (none after an empty name), is EReadError; bytes that hold no
// picture of the class are EInvalidGraphic.
std::unique_ptr<TGraphic> ReadPictureData(TStream* Stream)
{
    uint8_t n = 0;
    Stream->ReadBuffer(&n, 1);
    std::string name(n, '\0');
    Stream->ReadBuffer(name.data(), n);
    if (name.empty()) {
        if (Stream->Position() != Stream->Size())
            throw EReadError(SInvalidPropertyValue);
        return nullptr;
    }
    std::unique_ptr<TGraphic> graphic;
    if (name == "TBitmap")
        graphic = std::make_unique<TBitmap>();
    else if (name == "TMetafile")
        graphic = std::make_unique<TMetafile>();
    else
        throw EReadError(SInvalidPropertyValue);
    uint8_t b[4];
    Stream->ReadBuffer(b, 4);
    const int64_t size = int64_t(b[0]) | int64_t(b[1]) << 8 | int64_t(b[2]) << 16 | int64_t(b[3]) << 24;
    if (size != Stream->Size() - Stream->Position())
        throw EReadError(SInvalidPropertyValue);
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic.get())) {
        // Only the two kinds the entry is written in go to the image library.
        static const char bmp[] = "BM", png[] = "\x89PNG\r\n\x1A\n";
        char head[8] = {};
        const int64_t at = Stream->Position();
        const int64_t got = Stream->Read(head, 8);
        Stream->SetPosition(at);
        if (!(got >= 2 && std::memcmp(head, bmp, 2) == 0) && !(got == 8 && std::memcmp(head, png, 8) == 0))
            throw EInvalidGraphic("Bitmap image is not valid");
        CheckPictureSize(Stream);
        bitmap->LoadFromStream(Stream);
    }
    else
        static_cast<TMetafile*>(graphic.get())->LoadFromStream(Stream);
    return graphic;
}

} // namespace

void TPicture::DefineProperties(TFiler* Filer)
{
    TPersistent::DefineProperties(Filer);
    // Against an ancestor the entry is written when the graphics differ, also to empty it.
    bool hasData = FGraphic != nullptr;
    if (auto* ancestor = dynamic_cast<TPicture*>(Filer->Ancestor()))
        hasData = PictureData(FGraphic.get()) != PictureData(ancestor->FGraphic.get());
    Filer->DefineBinaryProperty(
        "Data", [this](TStream* Stream) { Own(ReadPictureData(Stream)); },
        [this](TStream* Stream) {
            const std::vector<uint8_t> data = PictureData(FGraphic.get());
            Stream->WriteBuffer(data.data(), int64_t(data.size()));
        },
        hasData);
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
