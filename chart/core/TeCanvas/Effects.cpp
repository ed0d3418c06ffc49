#include "TeCanvas.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The colour at step i of N between `first` and first + diff, per channel; balance 50
// spreads the steps evenly, other balances bend the ramp.
struct Ramp {
    int r0, g0, b0, dr, dg, db;
    int balance;
    Ramp(TColor first, TColor second, int bal)
    {
        const TColor a = ColorToRGB(first) & 0xFFFFFF, b = ColorToRGB(second) & 0xFFFFFF;
        r0 = GetRValue(a);
        g0 = GetGValue(a);
        b0 = GetBValue(a);
        dr = GetRValue(b) - r0;
        dg = GetGValue(b) - g0;
        db = GetBValue(b) - b0;
        balance = std::clamp(bal, 0, 100);
    }
    TColor At(int i, int n) const
    {
        if (n <= 0)
            return RGB(r0, g0, b0);
        if (balance == 50)
            return RGB(r0 + dr * i / n, g0 + dg * i / n, b0 + db * i / n);
        const double f = std::pow((1.0 + i) / (1.0 + n), balance * 0.015 + 0.5);
        return RGB(r0 + TeeRound(dr * f), g0 + TeeRound(dg * f), b0 + TeeRound(db * f));
    }
};

TColor Gray(TColor c)
{
    const TColor rgb = ColorToRGB(c) & 0xFFFFFF;
    const int g = (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3;
    return RGB(g, g, g);
}

} // namespace

// ---- gradient fill --------------------------------------------------------------------

void TTeeCanvas3D::FillGradient(const TRect& rect, TColor startColor, TColor endColor, TGradientDirection direction,
                                int balance)
{
    if (FCanvas == nullptr)
        return;
    const TRect r = NormalizeRectCopy(rect);
    if (direction == gdRadial) {
        TCustomTeeGradient g;
        g.SetDirection(gdRadial);
        g.SetStartColor(startColor);
        g.SetEndColor(endColor);
        g.SetBalance(balance);
        g.Draw(this, r);
        return;
    }
    if (direction != gdTopBottom && direction != gdLeftRight && direction != gdDiagonalUp &&
        direction != gdDiagonalDown)
        std::swap(startColor, endColor);
    const Ramp ramp(startColor, endColor, balance);
    const int w = r.Width(), h = r.Height();
    if (w <= 0 || h <= 0)
        return;

    TCanvas* c = FCanvas;
    TBrush savedBrush;
    savedBrush.Assign(c->Brush());
    TBrush* brush = c->Brush();
    brush->SetStyle(bsSolid);
    auto band = [&](TColor col, int l, int t, int rr, int b) {
        if (brush->Color() != col)
            brush->SetColor(col);
        c->FillRect(TRect(l, t, rr, b));
    };

    switch (direction) {
    case gdTopBottom:
    case gdBottomTop: {
        // Step 0 at the bottom edge; the last band has exactly the second colour, so
        // fewer than two bands paint nothing.
        const int n = std::min(h, 256);
        for (int i = 0; n >= 2 && i < n; ++i)
            band(ramp.At(i, n - 1), r.Left, r.Bottom - (i + 1) * h / n, r.Right, r.Bottom - i * h / n);
        break;
    }
    case gdLeftRight:
    case gdRightLeft: {
        const int n = std::min(w, 256);
        for (int i = 0; n >= 2 && i < n; ++i)
            band(ramp.At(i, n - 1), r.Right - (i + 1) * w / n, r.Top, r.Right - i * w / n, r.Bottom);
        break;
    }
    case gdFromCenter: {
        // Nested rectangles from the outside in; inset (i, j) has step i + j.
        const int n = w / 2 + h / 2;
        const int k = std::max(w / 2, h / 2);
        if (k == 0) {
            band(ramp.At(0, 0), r.Left, r.Top, r.Right, r.Bottom);
            break;
        }
        for (int s = 0; s <= k; ++s) {
            const int i = s * (w / 2) / k, j = s * (h / 2) / k;
            if (r.Right - i <= r.Left + i || r.Bottom - j <= r.Top + j)
                break;
            band(ramp.At(i + j, n), r.Left + i, r.Top + j, r.Right - i, r.Bottom - j);
        }
        break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
        // One-pixel stair steps away from the corner.
        const int n = w + h;
        for (int s = 0; s < n; ++s) {
            const int i = s * w / n, j = s - i;
            if (i >= w || j >= h)
                continue;
            if (direction == gdFromTopLeft)
                band(ramp.At(s, n), r.Left + i, r.Top + j, r.Right, r.Bottom);
            else
                band(ramp.At(s, n), r.Left + i, r.Top, r.Right, r.Bottom - j);
        }
        break;
    }
    case gdDiagonalUp:
    case gdDiagonalDown: {
        // Diagonal one-pixel lines, each clipped to the rectangle.
        TPen savedPen;
        savedPen.Assign(c->Pen());
        TPen* pen = c->Pen();
        pen->ClearExtended();
        pen->SetWidth(1);
        pen->SetStyle(psSolid);
        pen->SetMode(pmCopy);
        const int lines = w + h;
        const int n = std::min(255, w + h - 1);
        for (int i = 0; i + 1 < lines; ++i) {
            pen->SetColor(ramp.At(n * i / lines, n));
            const int xa = std::max(0, i - (h - 1)), xb = std::min(w - 1, i);
            if (direction == gdDiagonalDown) {
                c->MoveTo(r.Left + xa, r.Top + i - xa);
                c->LineTo(r.Left + xb + 1, r.Top + i - xb - 1);
            } else {
                c->MoveTo(r.Left + xa, r.Bottom - 1 - (i - xa));
                c->LineTo(r.Left + xb + 1, r.Bottom - 1 - (i - xb) + 1);
            }
        }
        pen->Assign(&savedPen);
        break;
    }
    default:
        break;
    }
    c->Brush()->Assign(&savedBrush);
}

// ---- gradient objects -----------------------------------------------------------------

void TCustomTeeGradient::Draw(TTeeCanvas* surface, const TRect& rect, int cornerSize)
{
    if (surface == nullptr || surface->ReferenceCanvas() == nullptr)
        return;
    TColor start = FStartColor, mid = FMidColor, end = FEndColor;
    if (surface->GetMonochrome()) {
        start = Gray(start);
        mid = Gray(mid);
        end = Gray(end);
    }
    const TRect r = NormalizeRectCopy(rect);
    if (cornerSize > 0)
        surface->ClipToRoundRect(r, cornerSize);
    TCanvas* c = surface->ReferenceCanvas();
    if (FDirection == gdRadial) {
        const TPenStyle savedPen = c->Pen()->Style();
        const TColor savedBrush = c->Brush()->Color();
        const TBrushStyle savedBrushStyle = c->Brush()->Style();
        c->Brush()->SetColor(end);
        c->Brush()->SetStyle(bsSolid);
        surface->FillRect(r);
        const int w = r.Width(), h = r.Height();
        int n = std::min(255, std::max(w, h));
        if (w % 2 != 0 || h % 2 != 0)
            --n;
        const Ramp ramp(start, end, FBalance);
        if (n <= 0) {
            // Too small for rings: the centre colour.
            c->Brush()->SetColor(ramp.At(0, 0));
            surface->FillRect(r);
        } else {
            c->Pen()->SetStyle(psClear);
            const double cx = (r.Left + r.Right) * 0.5 + FRadialX + 1;
            const double cy = (r.Top + r.Bottom) * 0.5 + FRadialY + 1;
            for (int i = n; i >= 0; --i) {
                const double hx = i * w * 0.5 / n, hy = i * h * 0.5 / n;
                c->Brush()->SetColor(ramp.At(i, n));
                surface->Ellipse(TeeRound(cx - hx), TeeRound(cy - hy), TeeRound(cx + hx), TeeRound(cy + hy));
            }
        }
        c->Pen()->SetStyle(savedPen);
        c->Brush()->SetColor(savedBrush);
        c->Brush()->SetStyle(savedBrushStyle);
    } else if (!FUseMiddle || FDirection == gdDiagonalUp || FDirection == gdDiagonalDown) {
        surface->FillGradient(r, start, end, FDirection, FBalance);
    } else {
        const int my = (r.Top + r.Bottom) / 2, mx = (r.Left + r.Right) / 2;
        const TRect upper(r.Left, r.Top, r.Right, my), lower(r.Left, my, r.Right, r.Bottom);
        const TRect left(r.Left, r.Top, mx, r.Bottom), right(mx, r.Top, r.Right, r.Bottom);
        switch (FDirection) {
        case gdTopBottom:
            surface->FillGradient(upper, mid, end, gdTopBottom, 50);
            surface->FillGradient(lower, start, mid, gdTopBottom, 50);
            break;
        case gdBottomTop:
            surface->FillGradient(upper, start, mid, gdBottomTop, 50);
            surface->FillGradient(lower, mid, end, gdBottomTop, 50);
            break;
        case gdLeftRight:
            surface->FillGradient(left, mid, end, gdLeftRight, 50);
            surface->FillGradient(right, start, mid, gdLeftRight, 50);
            break;
        case gdRightLeft:
            surface->FillGradient(left, start, mid, gdRightLeft, 50);
            surface->FillGradient(right, mid, end, gdRightLeft, 50);
            break;
        default:
            surface->FillGradient(r, start, end, FDirection, 50);
            break;
        }
    }
    if (cornerSize > 0)
        surface->RemoveClipping();
}

void TCustomTeeGradient::DrawPolygon(TTeeCanvas* surface, const TPoint* points, int count)
{
    if (surface == nullptr || points == nullptr || count < 3)
        return;
    surface->ClipToPolygon(points, count);
    Draw(surface, PolygonBounds(points, count));
    surface->RemoveClipping();
}

void TCustomTeeGradient::DrawRect3D(TCanvas3D* surface, const TRect& rect, int z)
{
    if (surface == nullptr)
        return;
    const auto pts = ProjectRectCorners3D(surface, rect, z);
    DrawPolygon(surface, pts.data(), 4);
}

// ---- shadows --------------------------------------------------------------------------

void TTeeShadow::DrawShadow(TCanvas3D* surface, const TRect& rect, int z)
{
    if (surface == nullptr || surface->ReferenceCanvas() == nullptr)
        return;
    if (FColor == clNone || (FHorizSize == 0 && FVertSize == 0))
        return;
    TCanvas* c = surface->ReferenceCanvas();
    c->Brush()->SetColor(FColor);
    c->Brush()->SetStyle(bsSolid);
    c->Pen()->SetStyle(psClear);
    const int hs = FHorizSize, vs = FVertSize;
    TRect shifted = rect;
    OffsetRect(shifted, hs, vs);
    if (FTransparency != 0)
        FBlend = surface->BeginTransparency(ProjectedRectBounds(surface, shifted, z), FTransparency);
    const bool flat = surface->NestingLevel() > 0 || !surface->Is3D();
    auto fill = [&](int l, int t, int r, int b) {
        if (l >= r || t >= b)
            return;
        if (flat) {
            surface->FillRect(TRect(l, t, r, b));
        } else {
            const auto p = ProjectRectCorners3D(surface, TRect(l, t, r, b), z);
            c->Polygon(p.data(), 4);
        }
    };
    auto line = [&](int x0, int y0, int x1, int y1) {
        if (flat)
            surface->Line(x0, y0, x1, y1);
        else
            surface->LineAtDepth(x0, y0, x1, y1, z);
    };
    const TRect& r = rect;
    if (!FSmooth || Size() < 2) {
        // A strip along the bottom (top) edge and one along the right (left) edge.
        if (vs > 0)
            fill(r.Left + hs, r.Bottom, r.Right + hs, r.Bottom + vs);
        else if (vs < 0)
            fill(r.Left + hs, r.Top + vs, r.Right + hs, r.Top);
        if (hs > 0)
            fill(r.Right, r.Top + vs, r.Right + hs, r.Bottom + vs);
        else if (hs < 0)
            fill(r.Left + hs, r.Top + vs, r.Left, r.Bottom + vs);
    } else {
        // Lines lightened step by step toward white at the outer edge; a side of size 0
        // has no lines (and no step to divide by). Flat, each line is its row (column)
        // filled: the same pixels, and on a screen scaled by a fraction the steps meet
        // one another and the object as fills do, where lines one pixel wide would leave
        // a gap beside every device pixel that takes two.
        const TColor rgb = ColorToRGB(FColor) & 0xFFFFFF;
        const double avg = (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3.0;
        TPen* pen = c->Pen();
        pen->SetStyle(psSolid);
        pen->SetWidth(1);
        auto stepLine = [&](TColor colour, int x0, int y0, int x1, int y1) {
            if (flat) {
                c->Brush()->SetColor(colour);
                fill(x0, y0, std::max(x1, x0 + 1), std::max(y1, y0 + 1));
            } else {
                pen->SetColor(colour);
                line(x0, y0, x1, y1);
            }
        };
        if (vs != 0) {
            const int step = TeeRound((255 - avg) / std::abs(vs));
            for (int i = 0; i < std::abs(vs); ++i) {
                const int y = vs > 0 ? r.Bottom + i : r.Top - 1 - i;
                stepLine(LightenColor(rgb, i * step), r.Left + hs, y, r.Right + hs, y);
            }
        }
        if (hs != 0) {
            const int step = TeeRound((255 - avg) / std::abs(hs));
            for (int i = 0; i < std::abs(hs); ++i) {
                const int x = hs > 0 ? r.Right + i : r.Left - 1 - i;
                stepLine(LightenColor(rgb, i * step), x, r.Top + vs, x, r.Bottom + vs);
            }
        }
        pen->SetStyle(psClear);
        c->Brush()->SetColor(FColor);
    }
    if (FBlend)
        surface->EndTransparency(std::move(FBlend));
}

void TTeeShadow::DrawEllipse(TCanvas3D* surface, const TRect& rect, int z)
{
    if (surface == nullptr || surface->ReferenceCanvas() == nullptr)
        return;
    if (FColor == clNone || (FHorizSize == 0 && FVertSize == 0))
        return;
    TRect shifted = rect;
    OffsetRect(shifted, FHorizSize, FVertSize);
    if (FTransparency != 0)
        FBlend = surface->BeginTransparency(ProjectedRectBounds(surface, shifted, z), FTransparency);
    TCanvas* c = surface->ReferenceCanvas();
    if (FSmooth) {
        const TRect p = NormalizeRectCopy(ProjectRect3D(surface, shifted, z));
        surface->ClipToEllipse(p);
        TCustomTeeGradient g;
        g.SetDirection(gdRadial);
        g.SetStartColor(DarkenColor(FColor, 128));
        g.SetEndColor(LightenColor(FColor, 32));
        g.Draw(surface, p);
        surface->RemoveClipping();
    } else {
        c->Brush()->SetColor(FColor);
        c->Brush()->SetStyle(bsSolid);
        c->Pen()->SetStyle(psClear);
        surface->EllipseAtDepth(shifted.Left, shifted.Top, shifted.Right, shifted.Bottom, z);
    }
    if (FBlend)
        surface->EndTransparency(std::move(FBlend));
}

// ---- blending -------------------------------------------------------------------------

TTeeBlend::TTeeBlend(TTeeCanvas* surface, const TRect& r, int percent) : FSurface(surface), FPercent(percent)
{
    TCanvas* c = surface ? surface->ReferenceCanvas() : nullptr;
    if (c == nullptr || !c->IsRaster())
        return;
    FRect = NormalizeRectCopy(r);
    FRect.Left = std::max(0, FRect.Left);
    FRect.Top = std::max(0, FRect.Top);
    FRect.Right = std::max(FRect.Right, FRect.Left + 1);
    FRect.Bottom = std::max(FRect.Bottom, FRect.Top + 1);
    const TSize size = c->DeviceSize();
    FRect.Right = std::min(FRect.Right, size.cx);
    FRect.Bottom = std::min(FRect.Bottom, size.cy);
    FValid = FRect.Width() >= 1 && FRect.Height() >= 1;
    if (!FValid)
        return;
    FBackground = std::make_unique<TBitmap>(FRect.Width(), FRect.Height(), pf24bit);
    FBackground->SetPixelRatio(c->PixelRatio());
    FBackground->Canvas()->BitBlt(0, 0, FRect.Width(), FRect.Height(), *c, FRect.Left, FRect.Top, SRCCOPY);
}

TTeeBlend::~TTeeBlend() = default;

void TTeeBlend::DoBlend(int percent)
{
    if (!FValid || FSurface == nullptr || FSurface->MetafileOrPrinting())
        return;
    TCanvas* c = FSurface->ReferenceCanvas();
    if (c == nullptr || !c->IsRaster())
        return;
    percent = std::clamp(percent, 0, 100);
    if (percent == 0)
        return;   // fully opaque: what was drawn stays exactly as it is
    const int w = FRect.Width(), h = FRect.Height();
    TBitmap drawn(w, h, pf24bit);
    drawn.SetPixelRatio(c->PixelRatio());
    drawn.Canvas()->BitBlt(0, 0, w, h, *c, FRect.Left, FRect.Top, SRCCOPY);
    for (int y = 0; y < drawn.PixelHeight(); ++y) {
        TRGBQuad* d = drawn.ScanLine(y);
        const TRGBQuad* b = FBackground->ScanLine(y);
        for (int x = 0; x < drawn.PixelWidth(); ++x) {
            d[x].rgbRed = uint8_t(d[x].rgbRed + (b[x].rgbRed - d[x].rgbRed) * percent / 100);
            d[x].rgbGreen = uint8_t(d[x].rgbGreen + (b[x].rgbGreen - d[x].rgbGreen) * percent / 100);
            d[x].rgbBlue = uint8_t(d[x].rgbBlue + (b[x].rgbBlue - d[x].rgbBlue) * percent / 100);
        }
    }
    c->BitBlt(FRect.Left, FRect.Top, w, h, *drawn.Canvas(), 0, 0, SRCCOPY);
}

// ---- smooth stretch -------------------------------------------------------------------

double TriangleFilter(double x)
{
    x = std::fabs(x);
    return x < 1 ? 1 - x : 0;
}

double Lanczos3Filter(double x)
{
    auto sinc = [](double t) { return t == 0 ? 1.0 : std::sin(t) / t; };
    if (std::fabs(x) >= 3)
        return 0;
    return sinc(kPi * x) * sinc(kPi * x / 3);
}

namespace {

struct Contribution {
    int Index;
    int Weight;   // in 1/1024
};

// Folds an index back into 0..n-1: below 0 mirrors to -j, at or past n to 2n-1-j, again
// until inside (small images need more than one fold).
int Reflect(int j, int n)
{
    while (j < 0 || j >= n)
        j = j < 0 ? -j : 2 * n - 1 - j;
    return j;
}

std::vector<std::vector<Contribution>> Contributions(int dstSize, int srcSize, const TFilterFunction& filter,
                                                     double support)
{
    const double scale = double(dstSize - 1) / double(srcSize - 1);
    std::vector<std::vector<Contribution>> out(static_cast<size_t>(dstSize));
    std::vector<std::pair<int, double>> taps;
    for (int i = 0; i < dstSize; ++i) {
        const double centre = i / scale;
        const bool reducing = scale < 1;
        const double width = reducing ? support / scale : support;
        taps.clear();
        double sum = 0;
        for (int j = int(std::floor(centre - width)); j <= int(std::ceil(centre + width)); ++j) {
            const double w = reducing ? filter((centre - j) * scale) : filter(centre - j);
            taps.emplace_back(j, w);
            sum += w;
        }
        // The sampled filter's weights sum to one only at some factors: scaled to one, so
        // that a flat colour stays flat; the rounding's remainder goes to the largest.
        std::vector<Contribution>& row = out[size_t(i)];
        int total = 0;
        size_t largest = 0;
        for (const auto& [j, w] : taps)
            if (const int v = sum != 0 ? TeeRound(1024 * w / sum) : 0; v != 0) {
                if (row.empty() || v > row[largest].Weight)
                    largest = row.size();
                row.push_back({Reflect(j, srcSize), v});
                total += v;
            }
        if (!row.empty())
            row[largest].Weight += 1024 - total;
    }
    return out;
}

uint8_t Clamp255(long v) { return uint8_t(std::clamp<long>(v, 0, 255)); }

} // namespace

void SmoothStretch(TBitmap* source, TBitmap* destination, const TFilterFunction& filter, double support)
{
    if (source == nullptr || destination == nullptr)
        return;
    if (source->Width() < 2 || source->Height() < 2)
        throw Exception("SmoothStretch: Source bitmap too small");
    if (destination->Width() < 2 || destination->Height() < 2)
        throw Exception("SmoothStretch: Destination bitmap too small");
    // Pixel for pixel: a bitmap for a denser screen is filled at its full resolution.
    const int sw = source->PixelWidth(), sh = source->PixelHeight();
    const int dw = destination->PixelWidth(), dh = destination->PixelHeight();
    if (destination->PixelFormat() != pf24bit)
        destination->SetPixelFormat(pf24bit);
    if (destination->Canvas() != nullptr)
        destination->Canvas()->Flush();

    // Horizontal pass into a work image of destination width and source height.
    const auto cols = Contributions(dw, sw, filter, support);
    std::vector<TRGBQuad> work(size_t(dw) * sh);
    for (int y = 0; y < sh; ++y) {
        const TRGBQuad* src = source->ScanLine(y);
        for (int x = 0; x < dw; ++x) {
            long r = 0, g = 0, b = 0;
            for (const Contribution& c : cols[size_t(x)]) {
                r += long(src[c.Index].rgbRed) * c.Weight;
                g += long(src[c.Index].rgbGreen) * c.Weight;
                b += long(src[c.Index].rgbBlue) * c.Weight;
            }
            work[size_t(y) * dw + x] = TRGBQuad{Clamp255(b / 1024), Clamp255(g / 1024), Clamp255(r / 1024), 0xFF};
        }
    }
    // Vertical pass into the destination.
    const auto rows = Contributions(dh, sh, filter, support);
    for (int y = 0; y < dh; ++y) {
        TRGBQuad* dst = destination->ScanLine(y);
        for (int x = 0; x < dw; ++x) {
            long r = 0, g = 0, b = 0;
            for (const Contribution& c : rows[size_t(y)]) {
                const TRGBQuad& p = work[size_t(c.Index) * dw + x];
                r += long(p.rgbRed) * c.Weight;
                g += long(p.rgbGreen) * c.Weight;
                b += long(p.rgbBlue) * c.Weight;
            }
            dst[x] = TRGBQuad{Clamp255(b / 1024), Clamp255(g / 1024), Clamp255(r / 1024), 0xFF};
        }
    }
}

void SmoothStretchBitmap(TBitmap* source, TBitmap* destination, bool fast)
{
    if (fast)
        SmoothStretch(source, destination, TriangleFilter, 1.0);
    else
        SmoothStretch(source, destination, Lanczos3Filter, 3.0);
}
