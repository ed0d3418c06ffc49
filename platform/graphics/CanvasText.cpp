// The canvas's text output and measurement.
#include "graphics/Canvas.h"

#include "graphics/CanvasImpl.h"


namespace {

QString QStr(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

} // namespace

TCanvas::Impl::MeasuredFont& TCanvas::Impl::FM()
{
    if (const std::thread::id self = std::this_thread::get_id(); !Fonts || FontsThread != self) {
        Fonts = TKeptFonts::ForThisThread();
        FontsThread = self;
        Current.reset();
    }
    if (MetricsVer != Font->Version() || !Current) {
        Current = Fonts->Find(*Font);
        MetricsVer = Font->Version();
    }
    return *Current;
}

int TCanvas::Impl::Width(const std::string& text)
{
    if (Measurer)
        return Measurer->TextWidth(*Font, text, CharExtra);
    if (text.empty())
        return 0;
    return FM().Width(text) + CharExtra * Utf8Length(text);
}

void TCanvas::Impl::DirectText(MeasuredFont::Shaped& shape, QPointF at, const QColor& colour)
{
    QPainter& p = P();
    const auto draw = [&] {
        for (const QGlyphRun& run : shape.Runs)
            p.drawGlyphRun(at, run);
    };
    // Underlines and strike-outs run past the glyphs' own boxes.
    if (!shape.Fits || !Writable() || bool(Font->Style() & (fsUnderline | fsStrikeOut)) || shape.Runs.isEmpty()) {
        draw();
        return;
    }
    // A text's pixels are kept the second time it is drawn at a place, and used from the
    // third on: text drawn once, or at ever new places, costs no more than drawing it.
    // The places are kept with the fonts, which canvases share: a picture drawn on a new
    // canvas finds its labels where the last picture left them.
    const QRgb rgba = colour.rgba();
    const QImage::Format format = Image->format();
    const auto place = std::find_if(shape.Places.begin(), shape.Places.end(), [&](const auto& q) {
        return q.At == at && q.Colour == rgba && q.Format == format;
    });
    if (place == shape.Places.end()) {
        draw();
        // A few places per text (the same label on several axes), the oldest given up.
        if (shape.Places.size() < 4) {
            shape.Places.push_back({at, rgba, format, QRect(), {}, {}});
            return;
        }
        auto& oldest = shape.Places[shape.Oldest];
        shape.Oldest = (shape.Oldest + 1) % shape.Places.size();
        Fonts->Release(oldest);
        oldest = {at, rgba, format, QRect(), {}, {}};
        return;
    }
    if (!shape.Ink) {
        QRectF ink;
        for (const QGlyphRun& run : shape.Runs)
            ink |= run.boundingRect();
        shape.Ink = ink;
    }
    // A margin for antialiased edges; a ring around it is watched when the pixels are kept.
    const QRect box = shape.Ink->translated(at).toAlignedRect().adjusted(-2, -2, 2, 2);
    const QRect outer = box.adjusted(-2, -2, 2, 2);
    bool inside = false;
    ForClipRects([&](const QRect& r) { inside = inside || r.contains(outer); });
    if (!inside) {
        draw();
        return;
    }
    uchar* bits = Image->bits();
    const qsizetype stride = Image->bytesPerLine();
    const auto row = [&](int y, const QRect& r) { return reinterpret_cast<QRgb*>(bits + stride * y) + r.left(); };
    const size_t w = size_t(box.width());
    if (!place->Before.empty() && place->Box == box) {
        bool same = true;
        for (int y = box.top(); y <= box.bottom() && same; ++y)
            same = std::memcmp(row(y, box), place->Before.data() + w * size_t(y - box.top()), w * sizeof(QRgb)) == 0;
        if (same) {
            for (int y = box.top(); y <= box.bottom(); ++y)
                std::memcpy(row(y, box), place->After.data() + w * size_t(y - box.top()), w * sizeof(QRgb));
            return;
        }
    }
    if (Fonts->PlacedPixels > TKeptFonts::MaxPlacedPixels) {
        // Every place forgotten (this one too): the text is drawn and will be seen anew.
        Fonts->ForgetPlaces();
        draw();
        return;
    }
    // Drawn by the engine, the ring and box kept before and after.
    const auto copy = [&](const QRect& r) {
        std::vector<QRgb> out(size_t(r.width()) * size_t(r.height()));
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(out.data() + size_t(r.width()) * size_t(y - r.top()), row(y, r), size_t(r.width()) * sizeof(QRgb));
        return out;
    };
    const std::vector<QRgb> before = copy(outer);
    draw();
    bits = Image->bits();
    const std::vector<QRgb> after = copy(outer);
    for (int y = outer.top(); y <= outer.bottom(); ++y)
        for (int x = outer.left(); x <= outer.right(); ++x) {
            const size_t k = size_t(outer.width()) * size_t(y - outer.top()) + size_t(x - outer.left());
            if (before[k] != after[k] && !box.contains(x, y))
                shape.Fits = false;
        }
    if (!shape.Fits) {
        for (const auto& kept : shape.Places)
            Fonts->Release(kept);
        shape.Places.clear();
        shape.Oldest = 0;
        return;
    }
    const auto inner = [&](const std::vector<QRgb>& from) {
        std::vector<QRgb> out(w * size_t(box.height()));
        for (int y = 0; y < box.height(); ++y)
            std::memcpy(out.data() + w * size_t(y), from.data() + size_t(outer.width()) * size_t(y + 2) + 2,
                        w * sizeof(QRgb));
        return out;
    };
    Fonts->Release(*place);
    place->Box = box;
    place->Before = inner(before);
    place->After = inner(after);
    Fonts->PlacedPixels += 2 * w * size_t(box.height());
}

void TCanvas::Impl::Text(int x, int y, const std::string& text, const QRect* clipTo, bool opaqueRect)
{
    SyncTextColor();
    if (TextAlign.Test(TA_UPDATECP)) {
        x = Pos.X;
        y = Pos.Y;
    }
    const TTextMetric m = Metrics();
    // The width places right and centred text, paints the opaque cell and advances
    // the current position; left-aligned transparent text needs none of that.
    const bool needWidth = HorzAlign(TextAlign) != TA_LEFT || TextAlign.Test(TA_UPDATECP) || BkMode == OPAQUE || InPath;
    const int w = needWidth ? Width(text) : 0;
    double dx = 0;
    switch (HorzAlign(TextAlign)) {
    case TA_RIGHT: dx = -w; break;
    case TA_CENTER: dx = -(w / 2); break;
    default: break;
    }
    double top = 0;
    switch (VertAlign(TextAlign)) {
    case TA_BASELINE: top = -m.Ascent; break;
    case TA_BOTTOM: top = -m.Height; break;
    default: break;
    }
    const double angle = Font->Orientation() / 10.0;
    if (InPath) {
        QPainterPath tp;
        tp.addText(QPointF(dx, top + m.Ascent), QF(), QStr(text));
        QTransform t;
        t.translate(x, y);
        t.rotate(-angle);
        Path.addPath(t.map(tp));
    } else if (Active()) {
        QPainter& p = P();
        // Plain text needs no saved painter state; rotated or clipped text does.
        const bool simple = clipTo == nullptr && angle == 0;
        QPointF origin(x + dx, y + top);
        if (!simple) {
            p.save();
            if (clipTo)
                p.setClipRect(*clipTo, Qt::IntersectClip);
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            if (opaqueRect && clipTo && Brush->Style() != bsClear)
                p.fillRect(*clipTo, Col(Brush->Color()));
            p.translate(x, y);
            if (angle != 0)
                p.rotate(-angle);
            origin = QPointF(dx, top);
        }
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (BkMode == OPAQUE && !text.empty())
            p.fillRect(QRectF(origin.x(), origin.y(), w, m.Height), Col(BkColor));
        // Plain text is shaped once and kept with its font: the same glyphs at the same
        // places as drawing the text, which shapes it every time.
        const bool kept = simple && Shortcuts && CharExtra == 0 && !text.empty();
        if (!simple) {
            p.setFont(QF());
        } else if (!kept &&
                   (PainterFontVer != QtFontVer || PainterFontExtra != QtFontExtra || QtFontVer != Font->Version())) {
            p.setFont(QF());
            PainterFontVer = QtFontVer;
            PainterFontExtra = QtFontExtra;
        }
        const QColor tc = Col(TextColor);
        if (p.pen().style() != Qt::SolidLine || p.pen().color() != tc || p.pen().widthF() != 0)
            p.setPen(QPen(tc, 0));
        if (kept) {
            MeasuredFont::Shaped& shaped = FM().Shape(text, *Fonts);
            const QPointF top(origin.x(), origin.y() + m.Ascent - shaped.Ascent);
            DirectText(shaped, top, tc);
        } else {
            p.drawText(QPointF(origin.x(), origin.y() + m.Ascent), QStr(text));
        }
        if (!simple) {
            p.restore();
            PainterFontVer = 0;
        }
    }
    if (TextAlign.Test(TA_UPDATECP)) {
        const double a = angle * kPi / 180.0;
        const int adv = HorzAlign(TextAlign) == TA_RIGHT ? -w : w;
        Pos.X = x + int(std::lround(adv * std::cos(a)));
        Pos.Y = y - int(std::lround(adv * std::sin(a)));
    }
}

// ---- text -----------------------------------------------------------------------

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    RECORD(.Op = TCanvasOp::TextOut, .A = {x, y}, .Text = &text);
    d->Text(x, y, text);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    RECORD(.Op = TCanvasOp::TextRect, .A = {r.Left, r.Top, r.Right, r.Bottom, x, y}, .Text = &text);
    const QRect q(r.Left, r.Top, r.Width(), r.Height());
    d->Text(x, y, text, &q, true);
}

int TCanvas::TextWidth(const std::string& text) const { return d->Width(text); }
int TCanvas::TextHeight(const std::string& text) const { return d->Metrics().Height; }
TSize TCanvas::TextExtent(const std::string& text) const { return TSize(TextWidth(text), TextHeight(text)); }
TTextMetric TCanvas::GetTextMetrics() const { return d->Metrics(); }
void TCanvas::SetTextMeasurer(std::shared_ptr<const TTextMeasurer> m) { d->Measurer = std::move(m); }
