// The canvas's text output and measurement.
#include "graphics/Canvas.h"

#include "graphics/CanvasImpl.h"

#include <QTextLayout>

namespace {

QString QStr(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

} // namespace

TCanvas::Impl::MeasuredFont& TCanvas::Impl::FM()
{
    if (MetricsVer != Font->Version() || Current == nullptr) {
        const std::string key = Font->Name() + '\n' + std::to_string(Font->Height()) + ' ' +
                                std::to_string(int(Font->Style())) + ' ' + std::to_string(int(Font->Pitch())) +
                                ' ' + std::to_string(int(Font->Quality()));
        std::unique_ptr<MeasuredFont>& slot = Measured[key];
        if (!slot) {
            if (Measured.size() > 64) {   // a bound for programs that make up fonts
                Measured.clear();
                return FM();
            }
            slot = std::make_unique<MeasuredFont>(QFontMetrics(qtbridge::ToQFont(*Font, 0)),
                                                  SystemTextMeasurer().Metrics(*Font),
                                                  std::unordered_map<std::string, int>());
        }
        Current = slot.get();
        MetricsVer = Font->Version();
    }
    return *Current;
}

int TCanvas::Impl::Width(const std::string& text, const QString& qs)
{
    if (Measurer)
        return Measurer->TextWidth(*Font, text, CharExtra);
    if (text.empty())
        return 0;
    MeasuredFont& f = FM();
    auto at = f.Widths.find(text);
    if (at == f.Widths.end()) {
        if (f.Widths.size() > 4096)
            f.Widths.clear();
        at = f.Widths.emplace(text, f.Metrics.horizontalAdvance(qs)).first;
    }
    return at->second + CharExtra * Utf8Length(text);
}

void TCanvas::Impl::Text(int x, int y, const std::string& text, const QRect* clipTo, bool opaqueRect)
{
    SyncTextColor();
    if (TextAlign & TA_UPDATECP) {
        x = Pos.X;
        y = Pos.Y;
    }
    const QString qs = QStr(text);
    const TTextMetric m = Metrics();
    // The width places right and centred text, paints the opaque cell and advances
    // the current position; left-aligned transparent text needs none of that.
    const bool needWidth = (TextAlign & (TA_HORZMASK | TA_UPDATECP)) != 0 || BkMode == OPAQUE || InPath;
    const int w = needWidth ? Width(text, qs) : 0;
    double dx = 0;
    switch (TextAlign & TA_HORZMASK) {
    case TA_RIGHT: dx = -w; break;
    case TA_CENTER: dx = -(w / 2); break;
    default: break;
    }
    double top = 0;
    switch (TextAlign & TA_VERTMASK) {
    case TA_BASELINE: top = -m.Ascent; break;
    case TA_BOTTOM: top = -m.Height; break;
    default: break;
    }
    const double angle = Font->Orientation() / 10.0;
    if (InPath) {
        QPainterPath tp;
        tp.addText(QPointF(dx, top + m.Ascent), QF(), qs);
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
            MeasuredFont& f = FM();
            auto at = f.Shapes.find(text);
            if (at == f.Shapes.end()) {
                if (f.Shapes.size() > 4096)
                    f.Shapes.clear();
                QTextLayout layout(qs, qtbridge::ToQFont(*Font, 0));
                layout.beginLayout();
                const QTextLine line = layout.createLine();
                layout.endLayout();
                at = f.Shapes.emplace(text, MeasuredFont::Shaped{layout.glyphRuns(), line.ascent()}).first;
            }
            const QPointF top(origin.x(), origin.y() + m.Ascent - at->second.Ascent);
            for (const QGlyphRun& run : at->second.Runs)
                p.drawGlyphRun(top, run);
        } else {
            p.drawText(QPointF(origin.x(), origin.y() + m.Ascent), qs);
        }
        if (!simple) {
            p.restore();
            PainterFontVer = 0;
        }
    }
    if (TextAlign & TA_UPDATECP) {
        const double a = angle * kPi / 180.0;
        const int adv = (TextAlign & TA_HORZMASK) == TA_RIGHT ? -w : w;
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

int TCanvas::TextWidth(const std::string& text) const { return d->Width(text, QStr(text)); }
int TCanvas::TextHeight(const std::string& text) const { return d->Metrics().Height; }
TSize TCanvas::TextExtent(const std::string& text) const { return TSize(TextWidth(text), TextHeight(text)); }
TTextMetric TCanvas::GetTextMetrics() const { return d->Metrics(); }
void TCanvas::SetTextMeasurer(std::shared_ptr<const TTextMeasurer> m) { d->Measurer = std::move(m); }
std::shared_ptr<const TTextMeasurer> TCanvas::TextMeasurer() const { return d->Measurer; }
