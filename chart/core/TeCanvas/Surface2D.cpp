#include "TeCanvas.h"

#include "TeeHtml.h"

#include <cmath>

// ---- TTeeCanvas base ----------------------------------------------------------------

TTeeCanvas::TTeeCanvas() = default;

TTeeCanvas::~TTeeCanvas()
{
    if (FCurrentFont != nullptr)
        FCurrentFont->FSurface = nullptr;
}

void TTeeCanvas::SetTextMeasurer(std::shared_ptr<const TTextMeasurer> m)
{
    FMeasurer = std::move(m);
    if (FCanvas != nullptr && FMeasurer)
        FCanvas->SetTextMeasurer(FMeasurer);
}

void TTeeCanvas::Attach(TCanvas* canvas)
{
    FCanvas = canvas;
    if (FCanvas != nullptr && FMeasurer)
        FCanvas->SetTextMeasurer(FMeasurer);
    if (FCanvas != nullptr)
        FCanvas->SetShortcuts(FShortcuts);
}

void TTeeCanvas::SetShortcuts(bool v)
{
    FShortcuts = v;
    if (FCanvas != nullptr)
        FCanvas->SetShortcuts(v);
}

void TTeeCanvas::AssignPen(TPen* pen, TColor color)
{
    if (FCanvas == nullptr || pen == nullptr)
        return;
    if (GetMonochrome())
        color = clBlack;
    TPen* target = FCanvas->Pen();
    auto* chartPen = dynamic_cast<TChartPen*>(pen);
    if (chartPen != nullptr && !chartPen->Visible()) {
        target->SetStyle(psClear);
        return;
    }
    // The pen is composed aside and then given to the canvas, which keeps its own (and
    // the drawing objects built from it) when nothing differs.
    TPen wanted;
    wanted.Assign(pen);
    wanted.SetColor(color);
    if (chartPen != nullptr && chartPen->SmallDots()) {
        // A one-pixel dotted line: dots of one pixel, gaps of SmallSpace + 1 pixels, or
        // every other pixel.
        wanted.SetStyle(psSolid);
        wanted.SetWidth(1);
        TExtPenInfo info;
        info.EndCap = pecFlat;
        if (chartPen->SmallSpace() > 0)
            info.UserStyle = {1, chartPen->SmallSpace() + 1};
        else
            info.Alternate = true;
        wanted.SetExtended(info);
        wanted.SetMode(pen->Mode());
    } else if (chartPen != nullptr && pen->Width() >= 2) {
        TExtPenInfo info;
        switch (chartPen->EndStyle()) {
        case esRound: info.EndCap = pecRound; info.Join = pjRound; break;
        case esSquare: info.EndCap = pecSquare; info.Join = pjBevel; break;
        case esFlat: info.EndCap = pecFlat; info.Join = pjMiter; break;
        }
        wanted.SetExtended(info);
    }
    target->Assign(&wanted);
}

std::unique_ptr<TTeeBlend> TTeeCanvas::BeginTransparency(const TRect& r, int percent)
{
    if (percent < 0 || percent > 100)
        throw ERangeError();
    FTransparency = percent & 0x7F;
    return std::make_unique<TTeeBlend>(this, r, FTransparency);
}

void TTeeCanvas::EndTransparency(std::unique_ptr<TTeeBlend> blend)
{
    // Each bracket ends with its own percent: a shadow's bracket inside a box's bracket
    // must not change how the box is blended.
    if (blend)
        blend->DoBlend(blend->Percent());
}

void TTeeCanvas::BevelFrame(TRect& r, TColor topColor, int width, TColor bottomColor)
{
    if (FCanvas == nullptr)
        return;
    TPen* pen = FCanvas->Pen();
    pen->SetWidth(1);
    pen->SetStyle(psSolid);
    r.Right -= 1;
    r.Bottom -= 1;
    // The frame stays inside the rectangle: once its rings meet in the middle, a wider
    // frame has nothing more to draw (the lines of a crossed rectangle would run outside).
    for (int i = 0; i < width && r.Left <= r.Right && r.Top <= r.Bottom; ++i) {
        pen->SetColor(topColor);
        const TPoint a[] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
        FCanvas->Polyline(a, 3);
        pen->SetColor(bottomColor);
        const TPoint b[] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
        FCanvas->Polyline(b, 3);
        InflateRect(r, -1, -1);
    }
    r.Right += 1;
    r.Bottom += 1;
}

int TTeeCanvas::TextWidth(const std::string& text)
{
    if (FCanvas == nullptr)
        return 0;
    int w = FCanvas->TextWidth(text);
    if (FCurrentFont != nullptr && FCurrentFont->HasShadow())
        w += std::abs(FCurrentFont->ShadowIfAny()->HorizSize());
    return w;
}

int TTeeCanvas::TextHeight(const std::string& text)
{
    if (FCanvas == nullptr)
        return 0;
    int h = FCanvas->TextHeight(text);
    if (FCurrentFont != nullptr && FCurrentFont->HasShadow())
        h += std::abs(FCurrentFont->ShadowIfAny()->VertSize());
    return h;
}

void TTeeCanvas::ClipToRoundRect(const TRect& r, int cornerSize)
{
    if (FCanvas == nullptr)
        return;
    TPoint p[2] = {r.TopLeft(), r.BottomRight()};
    FCanvas->LPtoDP(p, 2);
    const TRegion region = TRegion::CreateRoundRect(p[0].X, p[0].Y, p[1].X, p[1].Y, cornerSize, cornerSize);
    FCanvas->PushClip();
    FCanvas->ExtSelectClipRgn(&region, RGN_AND);
}

void TTeeCanvas::ClipToEllipse(const TRect& r, bool exclude)
{
    if (FCanvas == nullptr)
        return;
    if (exclude) {
        const TRegion region = TRegion::CreateEllipse(r.Left, r.Top, r.Right, r.Bottom);
        FCanvas->ExtSelectClipRgn(&region, RGN_XOR);
        return;
    }
    TPoint p[2] = {r.TopLeft(), r.BottomRight()};
    FCanvas->LPtoDP(p, 2);
    const TRegion region = TRegion::CreateEllipse(p[0].X, p[0].Y, p[1].X, p[1].Y);
    FCanvas->PushClip();
    FCanvas->ExtSelectClipRgn(&region, RGN_AND);
}

void TTeeCanvas::ClipToPolygon(const TPoint* points, int count)
{
    if (FCanvas == nullptr || points == nullptr || count <= 0)
        return;
    std::vector<TPoint> device(points, points + count);   // the caller's points stay as they are
    FCanvas->LPtoDP(device.data(), count);
    const TRegion region = TRegion::CreatePolygon(device.data(), count, ALTERNATE);
    FCanvas->PushClip();
    FCanvas->ExtSelectClipRgn(&region, RGN_AND);
}

void TTeeCanvas::ApplyFont(TTeeFont* font)
{
    if (FCanvas == nullptr || font == nullptr)
        return;
    TFont* target = FCanvas->Font();
    font->SetPixelsPerInch(target->PixelsPerInch());
    target->Assign(font);
    if (FFontZoom != 100) {
        const int size = target->Size();
        int zoomed = TeeRound(size * FFontZoom * 0.01);
        if (zoomed == 0)
            zoomed = size < 0 ? -1 : 1;   // never a size of 0
        target->SetSize(zoomed);
    }
    if (GetMonochrome())
        target->SetColor(clBlack);
    if (FCanvas->TextCharacterExtra() != font->InterCharSize())
        FCanvas->SetTextCharacterExtra(font->InterCharSize());
    // The link is one to one: the surface forgets its old font, and a surface that had
    // this font forgets it.
    if (FCurrentFont != font) {
        if (FCurrentFont != nullptr)
            FCurrentFont->FSurface = nullptr;
        FCurrentFont = font;
    }
    if (font->FSurface != nullptr && font->FSurface != this)
        font->FSurface->FCurrentFont = nullptr;
    font->FSurface = this;
}

void TTeeCanvas::ClearCurrentFont()
{
    if (FCurrentFont != nullptr)
        FCurrentFont->FSurface = nullptr;
    FCurrentFont = nullptr;
}

// ---- style selection helpers ----------------------------------------------------------

void AssignPenToCanvas(TTeeCanvas* surface, TPen* pen)
{
    if (surface != nullptr && pen != nullptr)
        surface->AssignPen(pen, pen->Color());
}

void AssignBrushColorToCanvas(TTeeCanvas* surface, TChartBrush* brush, TColor color)
{
    if (brush != nullptr)
        AssignBrushToCanvas(surface, brush, color, brush->Color());
}

void AssignBrushToCanvas(TTeeCanvas* surface, TChartBrush* brush, TColor color, TColor backColor)
{
    if (surface == nullptr || surface->ReferenceCanvas() == nullptr || brush == nullptr)
        return;
    TCanvas* c = surface->ReferenceCanvas();
    const TColor fill = surface->GetMonochrome() ? clWhite : color;
    TBrush* target = c->Brush();
    TPicture* image = brush->HasImage() ? brush->Image() : nullptr;
    if (image != nullptr && image->Graphic() != nullptr && !image->Graphic()->Empty()) {
        // The pattern is copied from the picture; a picture that is not a bitmap is
        // converted into a temporary one, so the stored picture never changes.
        if (auto* bmp = dynamic_cast<TBitmap*>(image->Graphic())) {
            target->SetBitmap(bmp);
        } else {
            TBitmap tmp;
            tmp.Assign(image->Graphic());
            target->SetBitmap(&tmp);
        }
        c->SetTextColor(fill);
        c->SetBkMode(OPAQUE);
        c->SetBkColor(backColor);
        return;
    }
    if (target->Bitmap() != nullptr || !target->PatternPixels().Pixels.empty())
        target->SetBitmap(nullptr);
    if (target->Color() != fill)
        target->SetColor(fill);
    if (target->Style() != brush->Style())
        target->SetStyle(brush->Style());
    if (backColor == clNone) {
        c->SetBkMode(TRANSPARENT);
    } else {
        c->SetBkMode(OPAQUE);
        c->SetBkColor(backColor);
    }
}

void AttachCanvasToSurface(TTeeCanvas* surface, TCanvas* canvas)
{
    if (surface != nullptr)
        surface->Attach(canvas);
}

void AssignStylesToCanvas(TTeeCanvas* surface)
{
    if (surface == nullptr || surface->ReferenceCanvas() == nullptr)
        return;
    TCanvas* c = surface->ReferenceCanvas();
    TPen* pen = c->Pen();
    pen->ClearExtended();
    pen->SetColor(clBlack);
    pen->SetWidth(1);
    pen->SetStyle(psSolid);
    pen->SetMode(pmCopy);
    TBrush* brush = c->Brush();
    brush->SetColor(clWhite);
    brush->SetStyle(bsSolid);
    TFont* font = c->Font();
    font->SetColor(clBlack);
    font->SetStyle(0);
    font->SetCharset(DEFAULT_CHARSET);
    font->SetName(TeeDefaultFontName());
    font->SetSize(TeeDefaultFontSize());
    font->SetOrientation(0);
    c->SetTextCharacterExtra(0);
    surface->FTransparency = 0;
    surface->ClearCurrentFont();
    c->SetBkColor(clWhite);
    c->SetBkMode(TRANSPARENT);
    c->SetTextAlign(TA_LEFT | TA_TOP);
}

void ShadeBrushColor(TTeeCanvas* surface, TColor color, int amount)
{
    if (surface == nullptr || surface->ReferenceCanvas() == nullptr)
        return;
    const TColor c = DarkenColor(color, amount);
    TBrush* brush = surface->Brush();
    if (brush->Style() == bsSolid) {
        if (brush->Color() != c)
            brush->SetColor(c);
    } else {
        surface->SetBackColor(c);
    }
}

int CanvasLineHeight(TTeeCanvas* surface) { return surface ? surface->TextHeight("W") : 0; }

void CanvasRectangleOfRect(TTeeCanvas* surface, const TRect& r) { surface->Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
void CanvasEllipseOfRect(TTeeCanvas* surface, const TRect& r) { surface->Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
void CanvasRoundRectOfRect(TTeeCanvas* surface, const TRect& r, int cornerSize)
{
    surface->RoundRect(r.Left, r.Top, r.Right, r.Bottom, cornerSize, cornerSize);
}
void CanvasLineOfPoints(TTeeCanvas* surface, const TPoint& a, const TPoint& b) { surface->Line(a.X, a.Y, b.X, b.Y); }

void CanvasTextOutFormatted(TTeeCanvas* surface, int x, int y, bool markup, const std::string& text)
{
    if (surface == nullptr)
        return;
    // Centred markup runs are centred across the surface's chart rectangle (the canvas's
    // clip before any projection was set up).
    if (markup && surface->ReferenceCanvas() != nullptr) {
        TCanvas* c = surface->ReferenceCanvas();
        DrawMarkupText(c, x, y, text, IsRectEmpty(surface->Bounds()) ? c->ClipRect() : surface->Bounds());
        return;
    }
    if (!markup)
        surface->TextOut(x, y, text);
}

void InitTeCanvasUnit(const std::string& defaultSizeText, const std::string& defaultNameText)
{
    int size = 0;
    if (!TryStrToInt(defaultSizeText, size))
        size = 8;
    SetTeeDefaultFont(defaultNameText.empty() ? std::string("Arial") : defaultNameText, size);
}

// ---- TTeeCanvas3D: 2D operations ------------------------------------------------------

TTeeCanvas3D::TTeeCanvas3D() = default;

TTeeCanvas3D::~TTeeCanvas3D()
{
    if (FBuffer && FCanvas == FBuffer->Canvas())
        FCanvas = nullptr;
}

TColor TTeeCanvas3D::GetBackColor() const { return FCanvas ? FCanvas->BkColor() : clWhite; }
int TTeeCanvas3D::GetBackMode() const { return FCanvas ? FCanvas->BkMode() : TRANSPARENT; }
TColor TTeeCanvas3D::GetPixel(int x, int y) const { return FCanvas ? FCanvas->Pixel(x, y) : CLR_INVALID; }
TTextAlign TTeeCanvas3D::GetTextAlign() const { return FCanvas ? FCanvas->TextAlign() : TTextAlign(); }

void TTeeCanvas3D::SetBackColor(TColor c)
{
    if (FCanvas)
        FCanvas->SetBkColor(ColorToRGB(c));
}

void TTeeCanvas3D::SetBackMode(int mode)
{
    if (FCanvas)
        FCanvas->SetBkMode(mode);
}

void TTeeCanvas3D::SetMonochrome(bool v)
{
    SetAndNotify(FMonochrome, v, [this] {
        FDirty = true;
        if (FView3DOptions != nullptr)
            FView3DOptions->Repaint();
    });
}

void TTeeCanvas3D::SetPixel(int x, int y, TColor c)
{
    if (FCanvas)
        FCanvas->SetPixel(x, y, FMonochrome ? clBlack : ColorToRGB(c));
}

void TTeeCanvas3D::SetTextAlign(TTextAlign flags)
{
    if (static_cast<int>(flags.Bits()) < 0)
        throw ERangeError();
    if (FCanvas)
        FCanvas->SetTextAlign(flags);
}

void TTeeCanvas3D::SetBuffered(bool v)
{
    SetAndNotify(FBuffered, v, [this, v] {
        if (!v && FBuffer) {
            FreeBuffer();
            FDirty = true;
        } else if (v && FBuffer) {
            Attach(FBuffer->Canvas());
        }
    });
}

void TTeeCanvas3D::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (FCanvas)
        FCanvas->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TTeeCanvas3D::RingSector(int cx, int cy, int outerX, int outerY, int innerX, int innerY, double startAngle,
                              double endAngle)
{
    if (FCanvas == nullptr)
        return;
    auto at = [cx, cy](double a, int rx, int ry) {
        return TPoint(cx + TeeRound(std::cos(a) * rx), cy - TeeRound(std::sin(a) * ry));
    };
    const TPoint o0 = at(startAngle, outerX, outerY), o1 = at(endAngle, outerX, outerY);
    const TPoint i0 = at(startAngle, innerX, innerY), i1 = at(endAngle, innerX, innerY);
    TCanvas* c = FCanvas;
    c->BeginPath();
    c->MoveTo(o0.X, o0.Y);
    c->SetArcDirection(AD_COUNTERCLOCKWISE);
    c->ArcTo(cx - outerX, cy - outerY, cx + outerX, cy + outerY, o0.X, o0.Y, o1.X, o1.Y);
    c->LineTo(i1.X, i1.Y);
    if (i1 != o1) {
        c->SetArcDirection(AD_CLOCKWISE);
        c->ArcTo(cx - innerX, cy - innerY, cx + innerX, cy + innerY, i1.X, i1.Y, i0.X, i0.Y);
        c->SetArcDirection(AD_COUNTERCLOCKWISE);
    }
    c->LineTo(o0.X, o0.Y);
    c->EndPath();
    c->StrokeAndFillPath();
}

void TTeeCanvas3D::DrawGraphic(int x, int y, TGraphic* graphic)
{
    if (FCanvas && graphic != nullptr && !graphic->Empty())
        FCanvas->Draw(x, y, graphic);
}

void TTeeCanvas3D::Ellipse(int x1, int y1, int x2, int y2)
{
    if (FCanvas)
        FCanvas->Ellipse(x1, y1, x2, y2);
}

void TTeeCanvas3D::FillRect(const TRect& r)
{
    if (FCanvas)
        FCanvas->FillRect(r);
}

void TTeeCanvas3D::LineTo(int x, int y)
{
    if (FCanvas)
        FCanvas->LineTo(x, y);
}

void TTeeCanvas3D::MoveTo(int x, int y)
{
    if (FCanvas)
        FCanvas->MoveTo(x, y);
}

void TTeeCanvas3D::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (FCanvas)
        FCanvas->Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TTeeCanvas3D::Rectangle(int x0, int y0, int x1, int y1)
{
    if (FCanvas)
        FCanvas->Rectangle(x0, y0, x1, y1);
}

void TTeeCanvas3D::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight)
{
    if (FCanvas)
        FCanvas->RoundRect(x1, y1, x2, y2, cornerWidth, cornerHeight);
}

void TTeeCanvas3D::StretchGraphic(const TRect& r, TGraphic* graphic)
{
    if (FCanvas && graphic != nullptr)
        FCanvas->StretchDraw(r, graphic);
}

void TTeeCanvas3D::HorizontalLine(int left, int right, int y)
{
    if (FCanvas) {
        FCanvas->MoveTo(left, y);
        FCanvas->LineTo(right, y);
    }
}

void TTeeCanvas3D::VerticalLine(int x, int top, int bottom)
{
    if (FCanvas) {
        FCanvas->MoveTo(x, top);
        FCanvas->LineTo(x, bottom);
    }
}

void TTeeCanvas3D::Line(int x0, int y0, int x1, int y1)
{
    if (FCanvas) {
        FCanvas->MoveTo(x0, y0);
        FCanvas->LineTo(x1, y1);
    }
}

void TTeeCanvas3D::Polyline(const TPoint* points, int last)
{
    if (FCanvas && points != nullptr && last >= 0)
        FCanvas->Polyline(points, last + 1);
}

void TTeeCanvas3D::Polygon(const TPoint* points, int last)
{
    if (FCanvas && points != nullptr && last >= 0)
        FCanvas->Polygon(points, last + 1);
}

void TTeeCanvas3D::ClipToRect(const TRect& r)
{
    if (FCanvas == nullptr)
        return;
    FCanvas->PushClip();
    FCanvas->IntersectClipRect(r.Left, r.Top, r.Right, r.Bottom);
}

void TTeeCanvas3D::RemoveClipping()
{
    if (FCanvas)
        FCanvas->PopClip();
}

// ---- text ---------------------------------------------------------------------------

void TTeeCanvas3D::TextOut(int x, int y, const std::string& text)
{
    if (FCanvas == nullptr)
        return;
    TCanvas* c = FCanvas;
    TTeeFont* font = FCurrentFont;
    int tx = x, ty = y;

    // The rectangle the text covers at a point: across by the horizontal alignment, down
    // by the vertical one (bottom- and baseline-aligned text lies above the point), and
    // the bounds of that rectangle turned about the point when the font is rotated, so
    // that a gradient fill or a see-through shadow covers the glyphs wherever they are.
    auto textRect = [&](int px, int py) {
        const int w = TextWidth(text), h = TextHeight(text);
        const TTextAlignFlag horz = HorzAlign(GetTextAlign());
        const TTextAlignFlag vert = VertAlign(GetTextAlign());
        int left = 0;
        if (horz == TA_CENTER)
            left = -(w / 2);
        else if (horz == TA_RIGHT)
            left = -w;
        const int right = horz == TA_CENTER ? w / 2 : left + w;
        int top = 0;
        if (vert == TA_BASELINE)
            top = -c->GetTextMetrics().Ascent;
        else if (vert == TA_BOTTOM)
            top = -h;
        const int orientation = c->Font()->Orientation() % 3600;
        if (orientation == 0)
            return TRect(px + left, py + top, px + right, py + top + h);
        const double a = orientation * 0.1 * 0.017453292519943295;
        const double ca = std::cos(a), sa = std::sin(a);
        TPoint corners[4];
        const int xs[4] = {left, right, right, left}, ys[4] = {top, top, top + h, top + h};
        for (int i = 0; i < 4; ++i)   // counter-clockwise on the screen, y down
            corners[i] = TPoint(px + TeeRound(xs[i] * ca + ys[i] * sa), py + TeeRound(ys[i] * ca - xs[i] * sa));
        return PolygonBounds(corners, 4);
    };

    TTeeShadow* shadow = font ? font->ShadowIfAny() : nullptr;
    if (shadow != nullptr && (shadow->HorizSize() != 0 || shadow->VertSize() != 0)) {
        int sx = x, sy = y;
        if (shadow->HorizSize() < 0)
            tx = x - shadow->HorizSize();
        else
            sx = x + shadow->HorizSize();
        if (shadow->VertSize() < 0)
            ty = y - shadow->VertSize();
        else
            sy = y + shadow->VertSize();
        std::unique_ptr<TTeeBlend> blend;
        if (shadow->Transparency() != 0)
            blend = BeginTransparency(textRect(sx, sy), shadow->Transparency());
        c->SetTextColor(FMonochrome ? clBlack : shadow->Color());
        c->TextOut(sx, sy, text);
        if (blend)
            EndTransparency(std::move(blend));
    }

    c->SetTextColor(c->Font()->Color());
    TChartHiddenPen* outline = font ? font->OutLineIfAny() : nullptr;
    TTeeFontGradient* gradient = font ? font->GradientIfAny() : nullptr;
    const bool outlineOn = outline != nullptr && outline->Visible();
    const bool gradientOn = gradient != nullptr && gradient->Visible();
    if (!outlineOn && !gradientOn) {
        c->TextOut(tx, ty, text);
        return;
    }

    // Glyph effects go through a path of the text.
    TPen savedPen;
    savedPen.Assign(c->Pen());
    TBrush savedBrush;
    savedBrush.Assign(c->Brush());
    const int savedMode = c->BkMode();
    auto buildPath = [&] {
        c->BeginPath();
        c->TextOut(tx, ty, text);
        c->EndPath();
    };
    if (outlineOn)
        AssignPen(outline, outline->Color());
    else
        c->Pen()->SetStyle(psClear);
    c->Brush()->SetColor(c->Font()->Color());
    c->Brush()->SetStyle(bsSolid);
    c->SetBkMode(TRANSPARENT);
    buildPath();
    bool done = false;
    if (gradientOn) {
        if (gradient->Outline())
            c->WidenPath();
        c->PushClip();
        c->SelectClipPath(RGN_AND);
        gradient->Draw(this, textRect(tx, ty));
        c->PopClip();
        if (gradient->Outline())
            done = true;
        else if (outlineOn) {
            buildPath();
            c->Brush()->SetStyle(bsClear);
        }
    }
    if (!done && outlineOn) {
        if (font->Color() == clNone)
            c->StrokePath();
        else
            c->StrokeAndFillPath();
    }
    c->AbortPath();
    c->Pen()->Assign(&savedPen);
    c->Brush()->Assign(&savedBrush);
    c->SetBkMode(savedMode);
}

void TTeeCanvas3D::RotatedText(int x, int y, double angle, const std::string& text)
{
    if (FCanvas == nullptr)
        return;
    angle = std::fmod(angle, 360.0);   // one step however large the angle
    FCanvas->Brush()->SetStyle(bsClear);
    TFont* font = FCanvas->Font();
    // The copy keeps the font's resolution, so that its height comes back unchanged.
    TFont saved;
    saved.SetPixelsPerInch(font->PixelsPerInch());
    saved.Assign(font);
    font->SetOrientation(TeeRound(angle * 10));
    font->SetQuality(fqAntialiased);
    if (FZoomText && FZoom != 1) {
        const int size = std::max(1, TeeRound(saved.Size() * FZoom));
        font->SetHeight(-MulDiv(size, font->PixelsPerInch(), 72));
    }
    TextOut(x, y, text);
    font->Assign(&saved);
}

// ---- buffering ----------------------------------------------------------------------

void TTeeCanvas3D::CopySettingsFrom(TTeeCanvas* other)
{
    if (other != nullptr)
        SetMonochrome(other->GetMonochrome());
}

void TTeeCanvas3D::FinishBufferedDraw(TCanvas* destination, TCanvas* attach, const TRect& r)
{
    if (FBuffered && FBuffer) {
        BlitBufferTo(r.Left, r.Top, destination);
        FDirty = false;
    }
    Attach(attach);
}

bool TTeeCanvas3D::BlitBufferIfValid()
{
    if (FDirty || !FBuffer || FCanvas == nullptr)
        return false;
    BlitBufferTo(0, 0, FCanvas);
    return true;
}

void TTeeCanvas3D::FreeBuffer()
{
    if (FBuffer && FCanvas == FBuffer->Canvas())
        FCanvas = nullptr;
    FBuffer.reset();
}

void TTeeCanvas3D::BlitBufferTo(int x, int y, TCanvas* canvas)
{
    if (!FBuffer || canvas == nullptr || canvas == FBuffer->Canvas())
        return;
    canvas->BitBlt(x, y, FBuffer->Width(), FBuffer->Height(), *FBuffer->Canvas(), 0, 0, SRCCOPY);
}
