#include "Series/AreaSeries.h"

#include "TeCanvas/Helpers.h"

#include "graphics/Bitmap.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <unordered_map>
#include <typeinfo>
#include <utility>
#include <vector>


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TAreaSeries, TCustomSeries)
    .ComponentFactory()
    .Enum("AreaBrush", &TAreaSeries::AreaBrush, &TAreaSeries::SetAreaBrush, {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"}).Default(bsSolid)
    .Object("AreaChartBrush", &TCustomSeries::AreaChartBrush)
    .Int("AreaColor", &TCustomSeries::AreaColor, &TCustomSeries::SetAreaColor).Idents(ColorIdents()).Default(clDefault)
    .Object("AreaLinesPen", &TCustomSeries::AreaLinesPen)
    .Bool("DrawArea", &TCustomSeries::DrawArea, &TCustomSeries::SetDrawArea).Default(true)
    .Object("Gradient", &TCustomSeries::Gradient)
    .Enum("MultiArea", &TAreaSeries::MultiArea, &TAreaSeries::SetMultiArea, {"maNone", "maStacked", "maStacked100"})
        .Default(maNone)
    .Int("Transparency", &TCustomSeries::GetTransparency, &TCustomSeries::SetTransparency).Default(0)
    .Bool("UseYOrigin", &TAreaSeries::UseYOrigin, &TAreaSeries::SetUseYOrigin).Default(false)
    .Float("YOrigin", &TAreaSeries::YOrigin, &TAreaSeries::SetYOrigin).Default(0)
END_CLASS_INFO

BEGIN_CLASS_INFO(THorizAreaSeries, TAreaSeries)
    .ComponentFactory()
END_CLASS_INFO

// ---- construction and properties --------------------------------------------------------

TAreaSeries::TAreaSeries(TComponent* AOwner) : TCustomSeries(AOwner)
{
    FDrawArea = true;
    FDrawLine = true;
    FFunctionOnePoint = false;   // a whole-source function result shows as a level
    Pointer()->Hide();
    FDrawBetweenPoints = false;
}

TMultiArea TAreaSeries::MultiArea() const
{
    switch (Stacked()) {
    case cssStack: return maStacked;
    case cssStack100: return maStacked100;
    default: return maNone;
    }
}

void TAreaSeries::SetMultiArea(TMultiArea V)
{
    SetStacked(V == maStacked ? cssStack : V == maStacked100 ? cssStack100 : cssNone);
}

void TAreaSeries::SetYOrigin(double V)
{
    SetAndRepaint(FYOrigin, V);
}

// By hand: a series of another type becomes an area (area and line drawn, pointer
// hidden), and the origin comes only from a series of this very class.
void TAreaSeries::Assign(TPersistent* Source)
{
    TCustomSeries::Assign(Source);
    if (dynamic_cast<TAreaSeries*>(Source) == nullptr) {
        FDrawArea = true;
        FDrawLine = true;
    }
    auto* s = dynamic_cast<TChartSeries*>(Source);
    if (s != nullptr && SameClass(s)) {
        if (auto* a = dynamic_cast<TAreaSeries*>(Source)) {
            FUseYOrigin = a->FUseYOrigin;
            FYOrigin = a->FYOrigin;
        }
    } else
        Pointer()->Hide();
}

void TAreaSeries::SetUpGalleryPreview(bool Enabled)
{
    TCustomSeries::SetUpGalleryPreview(Enabled);
    Gradient()->SetVisible(true);
    Gradient()->SetEndColor(SeriesColor());
}

// ---- origin, extremes and order -----------------------------------------------------------

int TAreaSeries::PointOriginValue(int ValueIndex) const
{
    if (FUseYOrigin)
        return ValueToScreenPos(FYOrigin);
    return TCustomSeries::PointOriginValue(ValueIndex);
}

void TAreaSeries::OriginExtreme(bool Mandatory, bool IsMax, double& Value) const
{
    // The fixed origin lies inside the range of the mandatory direction.
    if (FUseYOrigin && Mandatory)
        Value = IsMax ? std::max(Value, FYOrigin) : std::min(Value, FYOrigin);
}

double TAreaSeries::GreatestY() const
{
    double v = TCustomSeries::GreatestY();
    OriginExtreme(YMandatory(), true, v);
    return v;
}

double TAreaSeries::LeastY() const
{
    double v = TCustomSeries::LeastY();
    OriginExtreme(YMandatory(), false, v);
    return v;
}

double TAreaSeries::GreatestX() const
{
    double v = TCustomSeries::GreatestX();
    OriginExtreme(!YMandatory(), true, v);
    return v;
}

double TAreaSeries::LeastX() const
{
    double v = TCustomSeries::LeastX();
    OriginExtreme(!YMandatory(), false, v);
    return v;
}

bool TAreaSeries::PointOrderForward() const
{
    if (MultiArea() == maNone)
        return TCustomSeries::PointOrderForward();
    const TChartAxis* axis = MandatoryAxis();
    return axis == nullptr || !axis->Inverted();
}

// ---- the fill of one segment ------------------------------------------------------------

bool TAreaSeries::AreaSegmentsArePlain() const
{
    const TChartPen* pen = AreaLinesPen();
    const bool plainPen = !pen->Visible() || (pen->Style() == psSolid && pen->Width() <= 1 && pen->Mode() == pmCopy &&
                                              !pen->SmallDots() && !pen->IsExtended());
    return typeid(*this) == typeid(TAreaSeries) && plainPen && AreaChartBrush()->Style() == bsSolid &&
           !AreaChartBrush()->HasImage() && !GetGradient()->Visible() && GetTransparency() == 0 && !Stairs() &&
           ParentChart() != nullptr && !ParentChart()->View3D();
}

TColor TAreaSeries::AreaColorOf(TColor Color) const
{
    return AreaColor() == clDefault || ColorEachPoint() ? Color : AreaColor();
}

// Each short polygon is drawn once over black and once over white, at a hot spot two pixels
// inside its bitmaps, and kept by its corners (relative to their least corner) and colours:
// the raster engine draws a polygon of whole-pixel corners alike wherever it lies.
struct TAreaSeries::TShapeStamps {
    // The drawn pixels of one column, rows relative to the corners' least row (none when
    // Top > Bottom).
    struct Column {
        int Top, Bottom;
        TColor Colour;
    };
    struct Picture {
        TBitmap OnBlack, OnWhite;
        // Its drawn pixels, as the canvas stamps them.
        TCanvas::TStampRuns Runs;
        // Whether the drawn pixels make one run of one colour in each column between the
        // corners and none beside them (0: not yet looked at), and those runs.
        int Simple = 0;
        std::vector<Column> Columns;
        // The picture's rows that hold drawn pixels left of the corners (none when
        // LeftTop > LeftBottom).
        int LeftTop = 1, LeftBottom = 0;
    };
    // A picture's key packed into three words: the pen's and the brush's colours, the pen's
    // style with the line's colour, and the corners relative to the least one (6 bits
    // across, 10 down: a picture is at most 64 by 1024 pixels).
    using Packed = std::array<uint64_t, 3>;
    struct PackedHash {
        size_t operator()(const Packed& k) const
        {
            uint64_t h = 0x9E3779B97F4A7C15ull;
            for (uint64_t v : k)
                h = (h ^ v) * 0x100000001B3ull;
            return size_t(h ^ (h >> 29));
        }
    };
    std::unordered_map<Packed, std::unique_ptr<Picture>, PackedHash> Shapes;
    // The pictures found last: a segment's two ends, and the ends of the segments beside
    // it, are mostly alike.
    static constexpr int recent = 4;
    std::array<Packed, recent> RecentKeys{};
    std::array<Picture*, recent> RecentPictures{};
    int NextRecent = 0;
    static constexpr int room = 2;
    // What one segment's pictures share, taken once by Begin: whether the canvas stamps,
    // and the key's pen and brush words.
    bool CanStamp = false;
    uint64_t Colours = 0, PenStyle = 0;

    void Begin(TTeeCanvas3D* canvas, const TPen* pen, const TBrush* brush)
    {
        CanStamp = canvas->ReferenceCanvas()->CanStamp();
        Colours = uint64_t(uint32_t(pen->Color())) << 32 | uint32_t(brush->Color());
        PenStyle = uint64_t(uint32_t(pen->Style())) << 33;
    }

    // The picture of the polygon in the pen and the canvas's brush (those Begin took), then
    // (with `line`) the line from its first corner to its second in that pen, drawn when
    // first met, and the least corner; null when they are to be drawn as they are.
    Picture* Find(TTeeCanvas3D* canvas, const TPoint* corners, TPen* pen, TPoint& least, const TPen* line = nullptr)
    {
        int left = corners[0].X, top = corners[0].Y, right = left, bottom = top;
        for (int k = 1; k < 4; ++k) {
            left = std::min(left, corners[k].X), right = std::max(right, corners[k].X);
            top = std::min(top, corners[k].Y), bottom = std::max(bottom, corners[k].Y);
        }
        least = TPoint(left, top);
        const int w = right - left + 1 + 2 * room, h = bottom - top + 1 + 2 * room;
        if (!CanStamp || w > 64 || h > 1024)
            return nullptr;
        uint64_t shape = 0;
        for (int k = 0; k < 4; ++k)
            shape = shape << 16 | uint64_t(corners[k].X - left) << 10 | uint64_t(corners[k].Y - top);
        const Packed packed{Colours, PenStyle | (line != nullptr ? uint64_t(1) << 32 | uint32_t(line->Color()) : 0),
                            shape};
        for (int k = 0; k < recent; ++k) {
            const Packed& r = RecentKeys[size_t(k)];
            if (((r[0] ^ packed[0]) | (r[1] ^ packed[1]) | (r[2] ^ packed[2])) == 0 &&
                RecentPictures[size_t(k)] != nullptr)
                return RecentPictures[size_t(k)];
        }
        TBrush* brush = canvas->Brush();
        const auto remember = [&](Picture* picture) {
            RecentKeys[size_t(NextRecent)] = packed;
            RecentPictures[size_t(NextRecent)] = picture;
            NextRecent = (NextRecent + 1) % recent;
            return picture;
        };
        if (auto found = Shapes.find(packed); found != Shapes.end())
            return remember(found->second.get());
        if (Shapes.size() > 1024) {   // a bound for series of ever new shapes
            Shapes.clear();
            RecentPictures.fill(nullptr);
        }
        auto picture = std::make_unique<Picture>();
        TPoint placed[4];
        for (int k = 0; k < 4; ++k)
            placed[k] = TPoint(corners[k].X - left + room, corners[k].Y - top + room);
        for (TBitmap* b : {&picture->OnBlack, &picture->OnWhite}) {
            b->SetSize(w, h);
            TCanvas* c = b->Canvas();
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(b == &picture->OnBlack ? clBlack : clWhite);
            c->FillRect(TRect(0, 0, w, h));
            c->Pen()->Assign(pen);
            c->Brush()->Assign(brush);
            c->Polygon(placed, 4);
            if (line != nullptr) {
                c->Pen()->Assign(const_cast<TPen*>(line));
                c->MoveTo(placed[0].X, placed[0].Y);
                c->LineTo(placed[1].X, placed[1].Y);
            }
            c->Flush();
        }
        const TBitmap& black = picture->OnBlack;
        const TBitmap& white = picture->OnWhite;
        picture->Runs = TCanvas::StampRunsOf(*picture->OnBlack.Canvas(), *picture->OnWhite.Canvas(), room, room);
        for (int y = 0; y < h; ++y) {
            const TRGBQuad* b = black.ScanLine(y);
            const TRGBQuad* o = white.ScanLine(y);
            for (int x = 0; x < room; ++x)
                if (b[x].rgbRed == o[x].rgbRed && b[x].rgbGreen == o[x].rgbGreen && b[x].rgbBlue == o[x].rgbBlue) {
                    if (picture->LeftTop > picture->LeftBottom)
                        picture->LeftTop = y;
                    picture->LeftBottom = y;
                }
        }
        return remember(Shapes.emplace(packed, std::move(picture)).first->second.get());
    }

    // Draws the polygon, and with `line` the line from its first corner to its second
    // unless it returns false; `beside(top, bottom)` first hears of the rows of whatever it
    // draws left of its corners.
    template <typename Beside>
    bool Draw(TTeeCanvas3D* canvas, const TPoint* corners, TPen* pen, Beside&& beside, const TPen* line = nullptr)
    {
        TPoint at;
        Picture* picture = Find(canvas, corners, pen, at, line);
        if (picture == nullptr) {
            beside(INT_MIN, INT_MAX);
            canvas->Pen()->Assign(pen);
            canvas->Polygon(corners, 3);
            return false;
        }
        if (picture->LeftTop <= picture->LeftBottom)
            beside(at.Y - room + picture->LeftTop, at.Y - room + picture->LeftBottom);
        canvas->ReferenceCanvas()->Stamp(picture->Runs, at.X, at.Y);
        return true;
    }

    // The polygon's pixels column by column from its least corner on, when each column
    // holds one run of one colour and nothing lies beside the corners; else null.
    const std::vector<Column>* Columns(TTeeCanvas3D* canvas, const TPoint* corners, TPen* pen)
    {
        TPoint at;
        Picture* picture = Find(canvas, corners, pen, at);
        if (picture == nullptr)
            return nullptr;
        if (picture->Simple == 0) {
            const TBitmap& black = picture->OnBlack;
            const TBitmap& white = picture->OnWhite;
            const int w = black.Width(), h = black.Height();
            picture->Columns.assign(size_t(w - 2 * room), Column{1, 0, clNone});
            bool simple = true;
            for (int y = 0; y < h && simple; ++y) {
                const TRGBQuad* b = black.ScanLine(y);
                const TRGBQuad* o = white.ScanLine(y);
                for (int x = 0; x < w && simple; ++x) {
                    if (b[x].rgbRed != o[x].rgbRed || b[x].rgbGreen != o[x].rgbGreen || b[x].rgbBlue != o[x].rgbBlue)
                        continue;
                    const TColor colour = RGB(b[x].rgbRed, b[x].rgbGreen, b[x].rgbBlue);
                    if (x < room || x >= w - room) {
                        simple = false;
                        break;
                    }
                    Column& c = picture->Columns[size_t(x - room)];
                    if (c.Top > c.Bottom)
                        c = Column{y - room, y - room, colour};
                    else if (c.Bottom == y - room - 1 && c.Colour == colour)
                        c.Bottom = y - room;
                    else
                        simple = false;
                }
            }
            picture->Simple = simple ? 1 : -1;
        }
        return picture->Simple > 0 ? &picture->Columns : nullptr;
    }
};

// The bands of the tall segments of a vertical area (with their far ends where those join
// them), from left to right, as the rows each column of them fills and its colour, written
// together by Flush. A segment that starts where the last one ended draws its near end and
// top edge in its own columns, nearer the values than the bands; in the column it shares
// with the last one, its band (the outline's side) and its near end's side cover every row
// of the last one's band there, so it takes the column over. Whatever it draws in the
// column before its first (a steep rise starts there) is drawn after the band held in that
// column is written (Release). A segment without an outline shares no column of band with
// the last one.
struct TAreaSeries::TBandBatch {
    bool Holding = false;
    int Left = 0;   // the first column held
    int Next = 0;   // the column the next segment must start at to join
    std::vector<int> Tops, Bottoms;
    std::vector<TColor> Colours;
    // The canvas's pens for the area lines and the top line, as AssignPen made them for
    // values of the colour they are kept for (clNone: not yet made this hold).
    TPen AreaPen, LinePen;
    TColor AreaPenFor = clNone, LinePenFor = clNone;
    // The values' colour the canvas's brush was last made for while holding (clNone: not
    // yet made this hold).
    TColor BrushFor = clNone;

    bool Empty() const { return Tops.empty(); }
    // Rows top..bottom of the columns from..to - 1, from the last column held on.
    void Put(int from, int to, int top, int bottom, TColor colour)
    {
        if (Empty())
            Left = from;
        for (int x = from; x < to; ++x) {
            const size_t k = size_t(x - Left);
            if (k >= Tops.size()) {
                Tops.push_back(top), Bottoms.push_back(bottom), Colours.push_back(colour);
            } else {
                Tops[k] = top, Bottoms[k] = bottom, Colours[k] = colour;
            }
        }
    }
    // Writes the band held in `column` now where it meets rows top..bottom, which something
    // is about to draw over: the rows to the end it meets them from, keeping the rest, or
    // all of it when they lie inside.
    void Release(int column, int top, int bottom, TCanvas* target)
    {
        const int k = column - Left;
        if (k < 0 || k >= int(Tops.size()))
            return;
        int& from = Tops[size_t(k)];
        int& to = Bottoms[size_t(k)];
        if (from > to || to < top || from > bottom)
            return;
        int now = from, until = to;   // the rows written now
        if (top <= from && bottom < to)
            until = bottom, from = bottom + 1;
        else if (bottom >= to && top > from)
            now = top, to = top - 1;
        else
            from = 1, to = 0;
        target->FillColumns(column, 1, &now, &until, &Colours[size_t(k)]);
    }
    // A run of one column that a same-column run of segments draws over the bands, held
    // aside to be drawn before whatever comes next (the rows that the band held next in
    // that column covers left out).
    struct {
        bool On = false;
        int X = 0, Top = 0, Bottom = 0;
        TColor Colour = clNone;
    } Aside;
    // Draws the run held aside, less rows from..to.
    void DrawAside(TCanvas* target, int from = 1, int to = 0)
    {
        if (!std::exchange(Aside.On, false))
            return;
        const auto part = [&](int top, int bottom) {
            if (top <= bottom)
                target->FillColumns(Aside.X, 1, &top, &bottom, &Aside.Colour);
        };
        if (from > to || to < Aside.Top || from > Aside.Bottom) {
            part(Aside.Top, Aside.Bottom);
        } else {
            part(Aside.Top, from - 1);
            part(to + 1, Aside.Bottom);
        }
    }
    void Flush(TCanvas* target)
    {
        DrawAside(target);
        if (Empty())
            return;
        target->FillColumns(Left, int(Tops.size()), Tops.data(), Bottoms.data(), Colours.data());
        Tops.clear(), Bottoms.clear(), Colours.clear();
    }
};

namespace {

// The polygon of one segment, from the points' value pixels (prevValue at prevAlong, value
// at along) to the origin, filled and outlined. When the origin lies far from both values
// and the canvas may take shortcuts, the polygon is drawn as two short ones, the end at the
// values and the end at the origin, and the band between them, whose lines across the
// value axis all look alike, as fills: the outline's colour on the two sides, the fill's
// between them (or the fill's alone, without an outline). The short polygons draw the same
// pixels as the tall one outside the band, which the fills then cover. With `bands`, a
// vertical segment drawn left to right from where the last held one ended holds its band
// back; any other is drawn after the bands held so far. The outline is drawn in `pen`,
// which the canvas takes only for what is drawn as it is. A held segment draws its top
// edge (given `line`, its pen) with its end at the values, as one picture, and says so.
template <typename Stamps, typename Bands>
bool FillTallSegment(TTeeCanvas3D* canvas, bool vertical, int prevAlong, int prevValue, int along, int value,
                     int origin, Stamps& stamps, Bands* bands, TPen* pen, TBrush* brush, const TPen* line)
{
    const auto at = [vertical](int a, int v) { return vertical ? TPoint(a, v) : TPoint(v, a); };
    const TPoint whole[4] = {at(prevAlong, prevValue), at(along, value), at(along, origin), at(prevAlong, origin)};
    TCanvas* target = canvas->ReferenceCanvas();
    // Past the points' own pixels, the ends of the outline's sides and its corners.
    constexpr int margin = 3;
    const int nearest = origin > prevValue ? std::max(prevValue, value) : std::min(prevValue, value);
    const int toward = origin > prevValue ? 1 : -1;
    const bool plainPen =
        pen->Style() == psClear || (pen->Style() == psSolid && pen->Width() <= 1 && !pen->IsExtended());
    if (!canvas->Shortcuts() || target == nullptr || canvas->GetMonochrome() || !plainPen || pen->Mode() != pmCopy ||
        brush->Style() != bsSolid || !brush->PatternPixels().Pixels.empty() ||
        (origin - nearest) * toward <= 2 * margin + 2 || (origin > prevValue) != (origin > value)) {
        if (bands != nullptr)
            bands->Flush(target);
        canvas->Pen()->Assign(pen);
        canvas->Polygon(whole, 3);
        return false;
    }
    stamps.Begin(canvas, pen, brush);
    const bool held = bands != nullptr && vertical && along > prevAlong && (bands->Empty() || bands->Next == prevAlong);
    if (bands != nullptr && !held)
        bands->Flush(target);
    const int nearCut = nearest + toward * margin;
    const int farCut = origin - toward * margin;
    // Made from the values, not copied from `whole`: a point read whole from two halves
    // just written waits for every pixel written before to reach the cache.
    const TPoint nearEnd[4] = {at(prevAlong, prevValue), at(along, value), at(along, nearCut), at(prevAlong, nearCut)};
    const TPoint farEnd[4] = {at(prevAlong, farCut), at(along, farCut), at(along, origin), at(prevAlong, origin)};
    // The band, cuts included.
    const int bandLo = std::min(nearCut, farCut), bandHi = std::max(nearCut, farCut) + 1;
    const auto band = [&](int from, int to) {   // along pixels from..to - 1
        if (to > from)
            target->FillRect(vertical ? TRect(from, bandLo, to, bandHi) : TRect(bandLo, from, bandHi, to));
    };
    const int lo = std::min(prevAlong, along), hi = std::max(prevAlong, along);
    const TColor fill = brush->Color();
    if (held) {
        // Each column's band: the outline's colour on the sides and the fill's between them,
        // or the fill's alone, up to the right side.
        const bool outline = pen->Style() != psClear;
        const auto bandColour = [&](int x) { return outline && (x == lo || x == hi) ? pen->Color() : fill; };
        const int bandEnd = outline ? hi : hi - 1;
        // The far end joins its band in every column when its pixels there are one run of
        // that colour that meets the band; else it is stamped, under the band.
        const auto* far = stamps.Columns(canvas, farEnd, pen);
        const int farTop = std::min(farCut, origin);
        for (int x = lo; far != nullptr && x <= hi; ++x) {
            const auto& f = (*far)[size_t(x - lo)];
            if (f.Top <= f.Bottom && (x > bandEnd || f.Colour != bandColour(x) || farTop + f.Top > bandHi ||
                                      farTop + f.Bottom < bandLo - 1))
                far = nullptr;
        }
        const auto rows = [&](int x, int& top, int& bottom) {   // what column x holds
            top = bandLo, bottom = bandHi - 1;
            if (far != nullptr)
                if (const auto& f = (*far)[size_t(x - lo)]; f.Top <= f.Bottom)
                    top = std::min(top, farTop + f.Top), bottom = std::max(bottom, farTop + f.Bottom);
        };
        int top, bottom;
        rows(lo, top, bottom);
        if (bands->Aside.On && bands->Aside.X == lo)
            bands->DrawAside(target, top, bottom);
        else
            bands->DrawAside(target);
        // What a polygon (with the top edge, a steep one) draws left of its corners lies over
        // the band held there: the only drawing of a held segment outside its columns.
        const auto beside = [&](int top, int bottom) { bands->Release(lo - 1, top, bottom, target); };
        const bool lined = stamps.Draw(canvas, nearEnd, pen, beside, line) && line != nullptr;
        if (far == nullptr)
            stamps.Draw(canvas, farEnd, pen, beside);
        for (int x = lo; x <= bandEnd; ++x) {
            rows(x, top, bottom);
            bands->Put(x, x + 1, top, bottom, bandColour(x));
        }
        bands->Next = along;
        return lined;
    }
    const auto nothing = [](int, int) {};
    stamps.Draw(canvas, nearEnd, pen, nothing);
    stamps.Draw(canvas, farEnd, pen, nothing);
    if (pen->Style() == psClear) {
        band(lo, hi);
        return false;
    }
    band(lo + 1, hi);
    brush->SetColor(pen->Color());
    if (hi == lo + 1) {   // the two sides side by side (a segment one pixel wide): one fill
        band(lo, hi + 1);
    } else {
        band(lo, lo + 1);
        band(hi, hi + 1);
    }
    brush->SetColor(fill);
    return false;
}

} // namespace

void TAreaSeries::DrawAreaSegment(int PrevX, int PrevY, int PrevOrigin, int X, int Y, int Origin, TColor Color,
                                  bool IsLast)
{
    TCustomAxisPanel* chart = ParentChart();
    TTeeCanvas3D* canvas = chart->Canvas();
    const bool vertical = YMandatory();
    const bool view3D = chart->View3D();
    const int z0 = StartZ();
    const int z1 = EndZ();

    // Brush in the area colour, pen the area lines in theirs (the value's by default).
    const TColor areaColor = AreaColorOf(Color);
    TBandBatch* bands = FBands && FBands->Holding ? FBands.get() : nullptr;
    TBrush* brush = canvas->Brush();
    // The brush (and the background under it) as the last held segment left it, unless
    // drawn over since in another colour.
    const bool brushSet = bands != nullptr && bands->BrushFor == Color && brush->Color() == areaColor &&
                          brush->Style() == bsSolid;
    if (!brushSet)
        brush->SetColor(areaColor);
    TChartPen* areaPen = AreaLinesPen();
    // While bands are held the values share one colour and the pens do not change: each
    // is composed once and then copied, and a tall segment leaves the canvas in the line
    // pen, drawing its ends in the area lines pen aside.
    if (bands != nullptr && LinePen()->Visible() && bands->LinePenFor != Color) {
        canvas->AssignPen(LinePen(), LinePen()->Color());
        bands->LinePen.Assign(canvas->Pen()), bands->LinePenFor = Color;
    }
    if (bands == nullptr || bands->AreaPenFor != Color) {
        canvas->AssignPen(areaPen, areaPen->Color() == clDefault || !areaPen->Visible() ? Color : areaPen->Color());
        if (bands != nullptr)
            bands->AreaPen.Assign(canvas->Pen()), bands->AreaPenFor = Color;
    }
    TPen* segmentPen = bands != nullptr ? &bands->AreaPen : canvas->Pen();
    if (!brushSet) {
        TColor back = brush->Color();
        if (back == clDefault)
            back = SeriesColor();
        if (AreaChartBrush()->HasImage() && back == areaColor)
            back = clWhite;
        AssignBrushToCanvas(canvas, AreaChartBrush(), areaColor, back);
        if (bands != nullptr)
            bands->BrushFor = Color;
    }

    // A point across the value axis at `along` and value pixel `value`.
    const auto at = [vertical](int along, int value) { return vertical ? TPoint(along, value) : TPoint(value, along); };
    const int prevAlong = vertical ? PrevX : PrevY;
    const int prevValue = vertical ? PrevY : PrevX;
    const int along = vertical ? X : Y;
    const int value = vertical ? Y : X;
    // The bands held back lie under anything but another tall segment.
    const bool tall = !view3D && !GetGradient()->Visible() && GetTransparency() == 0 && !Stairs() &&
                      PrevOrigin == Origin && along != prevAlong;
    if (bands != nullptr && !tall) {
        bands->Flush(canvas->ReferenceCanvas());
        canvas->Pen()->Assign(segmentPen);
    }

    if (view3D && IsLast) {
        // The closing side in the depth plane at the last value.
        if (vertical)
            canvas->RectangleAtConstantX(X, Y, Origin, z0, z1);
        else
            canvas->RectangleAtConstantY(Origin, Y, X, z0, z1);
    }

    std::array<TPoint, 4> corners;
    if (!Stairs())
        corners = {TPoint(PrevX, PrevY), TPoint(X, Y), at(along, Origin), at(prevAlong, PrevOrigin)};
    else {
        const int height = InvertedStairs() ? value : prevValue;
        const int origin = InvertedStairs() ? Origin : PrevOrigin;
        const int end = along + (along >= prevAlong ? 1 : -1);
        corners = {at(prevAlong, height), at(end, height), at(end, origin), at(prevAlong, origin)};
    }

    std::unique_ptr<TTeeBlend> blend;
    bool lined = false;   // whether the top edge is drawn already
    if (GetTransparency() > 0) {
        std::array<TPoint, 4> bounds = corners;
        if (view3D)
            for (TPoint& p : bounds)
                p = canvas->Calc3DPoint(p.X, p.Y, z0);
        blend = canvas->BeginTransparency(PolygonBounds(bounds.data(), 4), GetTransparency());
    }

    TTeeGradient* gradient = GetGradient();
    if (!view3D) {
        if (gradient->Visible()) {
            // The gradient spans the series' own values (stacked, without a fixed origin),
            // from its greatest to its least, clipped to this segment's polygon; beyond
            // them, down to an origin further out, the area keeps its own colour.
            const TRect box = PolygonBounds(corners.data(), 4);
            const int pMax = ValueToScreenPos(vertical ? TCustomSeries::GreatestY() : TCustomSeries::GreatestX());
            const int pMin = ValueToScreenPos(vertical ? TCustomSeries::LeastY() : TCustomSeries::LeastX());
            const int lo = std::min(pMax, pMin);
            const int hi = std::max(pMax, pMin) + 1;
            const TRect r = vertical ? TRect(box.Left, lo, box.Right, hi) : TRect(lo, box.Top, hi, box.Bottom);
            if (vertical ? (box.Top < r.Top || box.Bottom > r.Bottom) : (box.Left < r.Left || box.Right > r.Right)) {
                const TPenStyle penStyle = canvas->Pen()->Style();
                canvas->Pen()->SetStyle(psClear);
                canvas->Polygon(corners.data(), 3);
                canvas->Pen()->SetStyle(penStyle);
            }
            canvas->ClipToPolygon(corners.data(), 4);
            gradient->Draw(canvas, r);
            canvas->RemoveClipping();
            if (canvas->Pen()->Style() != psClear)
                canvas->Line(corners[0].X, corners[0].Y, corners[1].X, corners[1].Y);
        } else if (!blend && !Stairs() && PrevOrigin == Origin && along != prevAlong) {
            if (!FStamps)
                FStamps = std::make_shared<TShapeStamps>();
            const TPen* line = bands != nullptr && LinePen()->Visible() ? &bands->LinePen : nullptr;
            lined = FillTallSegment(canvas, vertical, prevAlong, prevValue, along, value, Origin, *FStamps, bands,
                                    segmentPen, brush, line);
        } else {
            canvas->Polygon(corners.data(), 3);
        }
    } else {
        const int rotation = chart->View3DOptions()->Rotation();
        const int z = rotation >= 91 && rotation <= 269 ? z1 : z0;
        if (gradient->Visible()) {
            std::array<TPoint, 4> projected = corners;
            for (TPoint& p : projected)
                p = canvas->Calc3DPoint(p.X, p.Y, z);
            gradient->DrawPolygon(canvas, projected.data(), 4);
        } else
            canvas->PlaneOfFourPoints(corners.data(), z);
    }

    if (blend)
        canvas->EndTransparency(std::move(blend));

    // The top edge in the line pen.
    if (LinePen()->Visible() && !lined) {
        if (bands != nullptr && bands->LinePenFor == Color) {
            canvas->Pen()->Assign(&bands->LinePen);
        } else {
            canvas->AssignPen(LinePen(), LinePen()->Color());
            if (bands != nullptr)
                bands->LinePen.Assign(canvas->Pen()), bands->LinePenFor = Color;
        }
        if (!Stairs())
            canvas->LineAtDepth(PrevX, PrevY, X, Y, z0);
        else if (!areaPen->Visible()) {
            const TPoint corner = InvertedStairs() ? at(prevAlong, value) : at(along, prevValue);
            canvas->MoveToAtDepth(PrevX, PrevY, z0);
            canvas->LineToAtDepth(corner.X, corner.Y, z0);
            canvas->LineToAtDepth(X, Y, z0);
        }
    }
}

void TAreaSeries::HoldAreaBands(bool Hold)
{
    if (!FBands)
        FBands = std::make_shared<TBandBatch>();
    if (!Hold && ParentChart() != nullptr)
        FBands->Flush(ParentChart()->Canvas()->ReferenceCanvas());
    FBands->Holding = Hold;
    FBands->AreaPenFor = FBands->LinePenFor = FBands->BrushFor = clNone;
}

bool TAreaSeries::HoldAreaColumn(int X, int Top, int Bottom, TColor Colour)
{
    TBandBatch* bands = FBands && FBands->Holding ? FBands.get() : nullptr;
    if (bands == nullptr)
        return false;
    bands->DrawAside(ParentChart()->Canvas()->ReferenceCanvas());
    bands->Aside.On = true;
    bands->Aside.X = X, bands->Aside.Top = Top, bands->Aside.Bottom = Bottom, bands->Aside.Colour = Colour;
    return true;
}

void TAreaSeries::AreaBandsOverdrawn(int X, int Top, int Bottom)
{
    TBandBatch* bands = FBands && FBands->Holding ? FBands.get() : nullptr;
    if (bands == nullptr || bands->Empty() || X >= bands->Left + int(bands->Tops.size()))
        return;
    const auto flush = [&] { bands->Flush(ParentChart()->Canvas()->ReferenceCanvas()); };
    if (X + 1 != bands->Left + int(bands->Tops.size())) {   // a column held before the last
        flush();
        return;
    }
    int& top = bands->Tops.back();
    int& bottom = bands->Bottoms.back();
    if (Top > top && Bottom < bottom) {   // cut in two
        flush();
        return;
    }
    if (Bottom < top || Top > bottom)
        return;
    if (Top <= top)
        top = Bottom + 1;
    else
        bottom = Top - 1;
}

// ---- legend ------------------------------------------------------------------------------

void TAreaSeries::DrawSymbolShape(int ValueIndex, const TRect& R)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return;
    TTeeCanvas3D* canvas = chart->Canvas();
    if (GetGradient()->Visible()) {
        GetGradient()->Draw(canvas, R);
        return;
    }
    // The area's own colour, lines and brush style, over the legend item's colour.
    const TColor itemColor = ValueIndex == -1 ? SeriesColor() : ColorOfLegendItem(ValueIndex);
    canvas->Brush()->SetColor(AreaColorOf(itemColor));
    canvas->AssignPen(AreaLinesPen(), AreaLinesPen()->Color() == clDefault ? itemColor : AreaLinesPen()->Color());
    canvas->Brush()->SetStyle(AreaBrush());
    if (AreaChartBrush()->HasImage()) {
        TColor color = AreaChartBrush()->Color();
        if (color == clDefault)
            color = itemColor;
        TColor back = AreaColor() == clDefault ? SeriesColor() : AreaColor();
        if (back == color)
            back = clWhite;
        AssignBrushToCanvas(canvas, AreaChartBrush(), color, back);
    }
    TCustomSeries::DrawSymbolShape(ValueIndex, R);
}

// ---- horizontal area --------------------------------------------------------------------

THorizAreaSeries::THorizAreaSeries(TComponent* AOwner) : TAreaSeries(AOwner)
{
    SetHorizontal();
    XValues()->SetOrder(loNone);
    YValues()->SetOrder(loAscending);
    Gradient()->SetDirection(gdRightLeft);
}

void THorizAreaSeries::DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position)
{
    PlaceMarkBeside(ValueIndex, Position, false);
    TAreaSeries::DrawMark(ValueIndex, Text, Position);
}
