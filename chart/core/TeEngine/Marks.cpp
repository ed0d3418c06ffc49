#include "TeEngine/Marks.h"
#include "classes/Streaming.h"

#include "TeCanvas/Helpers.h"
#include "TeEngine/AxisPanel.h"
#include "TeeConst.h"
#include "TeeHtml/SurfaceMarkup.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

// The tooltip background the marks are filled with by default.
constexpr TColor kMarksColor = clInfoBk;

// Sub-objects made on first use set their defaults through setters; making one is no
// change a chart has to repaint for.
class TNoRepaint {
public:
    explicit TNoRepaint(TCustomTeePanel* Chart) : FChart(Chart)
    {
        if (FChart != nullptr) {
            FSaved = FChart->AutoRepaint();
            FChart->SetAutoRepaint(false);
        }
    }
    ~TNoRepaint()
    {
        if (FChart != nullptr)
            FChart->SetAutoRepaint(FSaved);
    }
    TNoRepaint(const TNoRepaint&) = delete;
    TNoRepaint& operator=(const TNoRepaint&) = delete;

private:
    TCustomTeePanel* FChart;
    bool FSaved = true;
};

// The shadow every mark box starts with: grey, one pixel each way.
void InitMarksShadow(TTeeShadow* Shadow)
{
    Shadow->DefaultColor = TColor(0x808080);
    Shadow->DefaultSize = 1;
    Shadow->SetColor(TColor(0x808080));
    Shadow->SetSize(1);
}

} // namespace

// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TSeriesMarksGradient, TTeeGradient)
    .Enum("Direction", &TTeeGradient::Direction, &TTeeGradient::SetDirection,
          {"gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft", "gdFromCenter", "gdFromTopLeft",
           "gdFromBottomLeft", "gdRadial", "gdDiagonalUp", "gdDiagonalDown"}).Default(gdRightLeft)
    .Int("EndColor", &TTeeGradient::EndColor, &TTeeGradient::SetEndColor).Idents(ColorIdents()).Default(clWhite)
    .Int("StartColor", &TTeeGradient::StartColor, &TTeeGradient::SetStartColor).Idents(ColorIdents())
        .Default(clSilver)
END_CLASS_INFO

BEGIN_CLASS_INFO(TMarksItem, TTeeCustomShape)
    .Int("Color", &TTeeCustomShape::Color, &TTeeCustomShape::SetColor).Idents(ColorIdents()).Default(kMarksColor)
    .Object("Frame", &TMarksItem::Frame)
    .Object("Text", &TMarksItem::Text)
END_CLASS_INFO

// Pen is another name of Frame, read from older streams and written as Frame.
BEGIN_CLASS_INFO(TSeriesMarksSymbol, TTeeCustomShape)
    .Object("Frame", &TSeriesMarksSymbol::Frame)
    .Object("Pen", &TSeriesMarksSymbol::Frame).Stored(false)
    .Bool("Visible", &TTeeCustomShapeBrushPen::Visible, &TTeeCustomShapeBrushPen::SetVisible).Default(false)
END_CLASS_INFO

// BackColor is another name of Color, and ArrowLength the callout's Length: both are
// written by those.
BEGIN_CLASS_INFO(TSeriesMarks, TTeeCustomShape)
    .Int("Angle", &TSeriesMarks::Angle, &TSeriesMarks::SetAngle).Within(-MaxStoredDegrees, MaxStoredDegrees).Default(0)
    .Object("Arrow", &TSeriesMarks::Arrow)
    .Int("ArrowLength", &TSeriesMarks::ArrowLength, &TSeriesMarks::SetArrowLength)
        .Within(-MaxStoredPixels, MaxStoredPixels).Stored(false)
    .Int("BackColor", &TSeriesMarks::BackColor, &TSeriesMarks::SetBackColor).Idents(ColorIdents()).Stored(false)
    .Object("Callout", &TSeriesMarks::Callout)
    .Bool("Clip", &TSeriesMarks::Clip, &TSeriesMarks::SetClip).Default(false)
    .Int("Color", &TTeeCustomShape::Color, &TTeeCustomShape::SetColor).Idents(ColorIdents()).Default(kMarksColor)
    .Int("DrawEvery", &TSeriesMarks::DrawEvery, &TSeriesMarks::SetDrawEvery).Default(1)
    .Object("Frame", &TSeriesMarks::Frame)
    .Bool("MultiLine", &TSeriesMarks::MultiLine, &TSeriesMarks::SetMultiLine).Default(false)
    .Enum("Style", &TSeriesMarks::Style, &TSeriesMarks::SetStyle,
          {"smsValue", "smsPercent", "smsLabel", "smsLabelPercent", "smsLabelValue", "smsLegend", "smsPercentTotal",
           "smsLabelPercentTotal", "smsXValue", "smsXY"}).Default(smsLabel)
    .Object("Symbol", &TSeriesMarks::Symbol)
    // Series types show or hide their marks and make them transparent as they need, so
    // both are always written.
    .Bool("Transparent", &TTeeCustomShape::Transparent, &TTeeCustomShape::SetTransparent)
    .Bool("Visible", &TTeeCustomShapeBrushPen::Visible, &TTeeCustomShapeBrushPen::SetVisible)
END_CLASS_INFO

void TSeriesMarks::DefineProperties(TFiler* Filer)
{
    TTeeCustomShape::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Items",
        [this](TStream* S) {
            TReader reader(S);
            uint8_t b[4];
            reader.Read(b, 4);
            const auto count = static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                                    uint32_t(b[3]) << 24);
            if (count < 0 || count > S->Size() - S->Position())
                throw EReadError(SInvalidPropertyValue);
            if (count > 0)
                FItems.SetLoaded(true);
            for (int i = 0; i < count; ++i) {
                TMarksItem* item = Item(i);
                reader.ReadListBegin();
                while (!reader.EndOfList())
                    reader.ReadProperty(item);
                reader.ReadListEnd();
            }
        },
        [this](TStream* S) {
            TWriter writer(S);
            const int32_t count = FItems.Count();
            const uint8_t b[4] = {uint8_t(count), uint8_t(count >> 8), uint8_t(count >> 16), uint8_t(count >> 24)};
            writer.Write(b, 4);
            for (int i = 0; i < count; ++i) {
                writer.WriteListBegin();
                writer.WriteProperties(Item(i));
                writer.WriteListEnd();
            }
        },
        FItems.Count() > 0);
}

// ---- positions --------------------------------------------------------------------------

TRect TSeriesMarkPosition::Bounds() const
{
    return TRect(LeftTop.X, LeftTop.Y, ClampPixel(int64_t(LeftTop.X) + Width),
                 ClampPixel(int64_t(LeftTop.Y) + Height));
}

TSeriesMarkPosition* TSeriesMarksPositions::Position(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FItems[size_t(Index)].get();
}

TSeriesMarkPosition* TSeriesMarksPositions::Ensure(int Index)
{
    if (Index < 0)
        throw ERangeError();
    if (Index >= Count())
        FItems.resize(size_t(Index) + 1);
    auto& slot = FItems[size_t(Index)];
    if (!slot)
        slot = std::make_unique<TSeriesMarkPosition>();
    return slot.get();
}

void TSeriesMarksPositions::Append(std::unique_ptr<TSeriesMarkPosition> Position)
{
    FItems.push_back(std::move(Position));
}

void TSeriesMarksPositions::Delete(int Index)
{
    if (Index >= 0 && Index < Count())
        FItems.erase(FItems.begin() + Index);
}

void TSeriesMarksPositions::DeleteRange(int Start, int Quantity)
{
    if (Start < 0 || Quantity <= 0 || Start >= Count())
        return;
    const int end = int(std::min<int64_t>(int64_t(Start) + Quantity, Count()));
    FItems.erase(FItems.begin() + Start, FItems.begin() + end);
}

bool TSeriesMarksPositions::ExistCustom() const
{
    return std::any_of(FItems.begin(), FItems.end(), [](const auto& p) { return p && p->Custom; });
}

// ---- gradient, items, symbol --------------------------------------------------------------

TSeriesMarksGradient::TSeriesMarksGradient(TNotifyEvent onChange) : TTeeGradient(std::move(onChange))
{
    FDirection = gdRightLeft;
    FStartColor = clSilver;
    FEndColor = clWhite;
}

TMarksItem::TMarksItem(TCustomTeePanel* AOwner) : TTeeCustomShape(AOwner)
{
    // The base constructor ran its own shadow set-up; this class's replaces it.
    InitShadow(Shadow());
    SetColor(kMarksColor);
}

TMarksItem::~TMarksItem() = default;

void TMarksItem::InitShadow(TTeeShadow* Shadow)
{
    InitMarksShadow(Shadow);
}

std::unique_ptr<TTeeGradient> TMarksItem::CreateGradient()
{
    return std::make_unique<TSeriesMarksGradient>(RepaintHandler());
}

TStrings* TMarksItem::Text()
{
    if (!FText)
        FText = std::make_unique<TStringList>();
    return FText.get();
}

void TMarksItem::SetText(TStrings* Value)
{
    if (Value == nullptr) {
        if (FText) {
            FText.reset();
            Repaint();
        }
        return;
    }
    Text()->Assign(Value);
    Repaint();
}

// By hand: the text is made on first use (see TTeeCustomShape::Assign).
void TMarksItem::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TMarksItem*>(Source))
        SetText(s->FText.get());
    TTeeCustomShape::Assign(Source);
}

TMarksItem* TMarksItems::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FItems[size_t(Index)].get();
}

void TMarksItems::Delete(int Index)
{
    if (Index >= 0 && Index < Count())
        FItems.erase(FItems.begin() + Index);
}

TSeriesMarksSymbol::TSeriesMarksSymbol(TCustomTeePanel* AOwner) : TTeeCustomShape(AOwner)
{
    InitShadow(Shadow());
    SetVisible(false);
    SetTransparent(false);
}

void TSeriesMarksSymbol::InitShadow(TTeeShadow* Shadow)
{
    Shadow->DefaultSize = 1;
    Shadow->SetSize(1);
}

// ---- TSeriesMarks ---------------------------------------------------------------------------

TSeriesMarks::TSeriesMarks(TChartSeries* ASeries)
    : TTeeCustomShape(ASeries != nullptr ? ASeries->ParentChart() : nullptr), FSeries(ASeries)
{
    InitShadow(Shadow());
    SetColor(kMarksColor);
    SetVisible(false);
}

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::InitShadow(TTeeShadow* Shadow)
{
    InitMarksShadow(Shadow);
}

std::unique_ptr<TTeeGradient> TSeriesMarks::CreateGradient()
{
    return std::make_unique<TSeriesMarksGradient>(RepaintHandler());
}

void TSeriesMarks::SetAngle(int v)
{
    SetAndNotify(FAngle, v, [this] { Repaint(); });
}

TChartPen* TSeriesMarks::Arrow()
{
    return Callout()->Arrow();
}

void TSeriesMarks::SetArrow(TChartPen* v)
{
    Callout()->SetArrow(v);
}

int TSeriesMarks::ArrowLength()
{
    return Callout()->Length();
}

void TSeriesMarks::SetArrowLength(int v)
{
    Callout()->SetLength(v);
}

TMarksCallout* TSeriesMarks::Callout()
{
    if (!FCallout) {
        TNoRepaint quiet(ParentChart());
        FCallout = std::make_unique<TMarksCallout>(FSeries);
        FCallout->SetParentChart(ParentChart());
    }
    return FCallout.get();
}

void TSeriesMarks::SetCallout(TMarksCallout* v)
{
    if (v == nullptr) {
        if (FCallout) {
            FCallout.reset();
            Repaint();
        }
        return;
    }
    Callout()->Assign(v);
    Repaint();
}

void TSeriesMarks::SetClip(bool v)
{
    SetAndNotify(FClip, v, [this] { Repaint(); });
}

void TSeriesMarks::SetDrawEvery(int v)
{
    // Drawing and hit tests take the index modulo this: never 0 or negative.
    v = std::max(v, 1);
    SetAndNotify(FDrawEvery, v, [this] { Repaint(); });
}

void TSeriesMarks::SetMultiLine(bool v)
{
    SetAndNotify(FMultiLine, v, [this] { Repaint(); });
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle v)
{
    if (int(v) < int(smsValue) || int(v) > int(smsXY))
        throw ERangeError();
    SetAndNotify(FStyle, v, [this] { Repaint(); });
}

TSeriesMarksSymbol* TSeriesMarks::Symbol()
{
    if (!FSymbol) {
        TNoRepaint quiet(ParentChart());
        FSymbol = std::make_unique<TSeriesMarksSymbol>(ParentChart());
    }
    return FSymbol.get();
}

void TSeriesMarks::SetSymbol(TSeriesMarksSymbol* v)
{
    if (v == nullptr) {
        if (FSymbol) {
            FSymbol.reset();
            Repaint();
        }
        return;
    }
    Symbol()->Assign(v);
    Repaint();
}

TMarksItem* TSeriesMarks::Item(int Index)
{
    if (Index < 0)
        throw ERangeError();
    if (Index >= FItems.Count())
        FItems.FItems.resize(size_t(Index) + 1);
    auto& slot = FItems.FItems[size_t(Index)];
    if (!slot) {
        TNoRepaint quiet(ParentChart());
        slot = std::make_unique<TMarksItem>(ParentChart());
    }
    return slot.get();
}

TTeeCustomShape* TSeriesMarks::ItemOrSelf(int Index)
{
    if (TMarksItem* item = FItems.Item(Index))
        return item;
    return this;
}

void TSeriesMarks::Clear()
{
    FPositions.Clear();
    if (!FItems.Loaded())
        FItems.Clear();
}

void TSeriesMarks::DeletePoint(int Index)
{
    FPositions.Delete(Index);
    FItems.Delete(Index);
}

// ---- texts ----------------------------------------------------------------------------------

std::string TSeriesMarks::MarkText(int Index, TLegendTextStyle LegendStyle) const
{
    std::string text;
    TChartSeries* s = FSeries;
    if (s == nullptr || Index < 0 || Index >= s->Count())
        return text;
    TMarksItem* item = FItems.Item(Index);
    if (item != nullptr && item->HasText()) {
        text = item->Text()->Text();
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
            text.resize(text.size() - 2);
    } else {
        const std::string sep = FMultiLine ? std::string(1, TeeLineSeparator) : std::string(" ");
        const std::string& valueFormat = s->ValueFormat();
        const double total = s->MandatoryValueList()->TotalAbsolute();
        auto value = [&] { return FormatFloat(valueFormat, s->ValueForMark(Index)); };
        auto labelOrValue = [&] {
            const std::string label = s->LabelText(Index);
            return label.empty() ? FormatFloat(valueFormat, s->MandatoryValueAt(Index)) : label;
        };
        auto percent = [&] {
            // Divided first, so that no huge value overflows on the way.
            const double p = total == 0 ? 100.0 : std::fabs(s->MandatoryValueAt(Index)) / total * 100.0;
            return FormatFloat(s->PercentFormat(), p);
        };
        auto percentOfTotal = [&] {
            return Format(FMultiLine ? TeeMsg_PercentOfTotalTwoLines : TeeMsg_PercentOfTotal,
                          {percent(), FormatFloat(valueFormat, total)});
        };
        switch (FStyle) {
        case smsValue: text = value(); break;
        case smsPercent: text = percent(); break;
        case smsLabel: text = labelOrValue(); break;
        case smsLabelPercent: text = labelOrValue() + sep + percent(); break;
        case smsLabelValue: text = labelOrValue() + sep + value(); break;
        case smsLegend:
            text = s->LegendString(Index, LegendStyle);
            if (!FMultiLine)
                std::replace(text.begin(), text.end(), TeeColumnSeparator, ' ');
            break;
        case smsPercentTotal: text = percentOfTotal(); break;
        case smsLabelPercentTotal: text = labelOrValue() + sep + percentOfTotal(); break;
        case smsXValue: text = s->XValueText(Index); break;
        case smsXY: text = s->XValueText(Index) + sep + value(); break;
        }
    }
    if (s->OnGetMarkText)
        s->OnGetMarkText(s, Index, text);
    return text;
}

int TSeriesMarks::MarkTextPixelWidth(int Index) const
{
    TCustomTeePanel* chart = ParentChart();
    if (chart == nullptr || chart->Canvas()->ReferenceCanvas() == nullptr)
        return 0;
    int widest = 0;
    for (const std::string& line : SplitTextLines(MarkText(Index)))
        widest = std::max(widest, chart->Canvas()->TextWidth(line));
    return widest;
}

// ---- geometry -------------------------------------------------------------------------------

TPoint TSeriesMarks::Offset3D(const TPoint& ArrowTo) const
{
    TCustomTeePanel* chart = ParentChart();
    if (chart == nullptr || !chart->View3D() || chart->Canvas()->ReservedQuery())
        return TPoint(0, 0);
    const TPoint p = chart->Canvas()->Calc3DPoint(ArrowTo.X, ArrowTo.Y, FZPosition);
    return TPoint(p.X - ArrowTo.X, p.Y - ArrowTo.Y);
}

int TSeriesMarks::Clicked(int X, int Y)
{
    TCustomTeePanel* chart = ParentChart();
    if (chart != nullptr && chart->View3D())
        chart->Canvas()->UnprojectPoint(X, Y, FZPosition);
    for (int i = 0; i < FPositions.Count(); ++i) {
        if (i % FDrawEvery != 0)
            continue;
        const TSeriesMarkPosition* p = FPositions.Position(i);
        if (p != nullptr && PtInRect(p->Bounds(), TPoint(X, Y)))
            return i;
    }
    return -1;
}

TRect TSeriesMarks::MarkRect(int Index, const TSeriesMarkPosition& Position)
{
    TTeeCustomShape* format = ItemOrSelf(Index);
    TRect r = Position.Bounds();
    if (format->Pen()->Visible()) {
        r.Right += format->Pen()->Width();
        r.Bottom += format->Pen()->Width();
    }
    const int sx = format->Shadow()->HorizSize(), sy = format->Shadow()->VertSize();
    if (sx > 0)
        r.Right += sx;
    else
        r.Left += sx;
    if (sy > 0)
        r.Bottom += sy;
    else
        r.Top += sy;
    const TPoint d = Offset3D(Position.ArrowTo);
    OffsetRect(r, d.X, d.Y);
    return r;
}

void TSeriesMarks::ResolveOverlap(int First, int Index, TSeriesMarkPosition& Position)
{
    const TRect r = MarkRect(Index, Position);
    for (int k = std::max(First, 0); k < Index; ++k) {
        const TSeriesMarkPosition* other = FPositions.Position(k);
        if (other == nullptr)
            continue;
        const TRect r2 = MarkRect(k, *other);
        TRect common;
        if (!IntersectRect(common, r, r2))
            continue;
        const int amount = r.Top < r2.Top ? r.Bottom - r2.Top : r.Top - r2.Bottom;
        Position.LeftTop.Y = ClampPixel(int64_t(Position.LeftTop.Y) - amount);
        Position.ArrowTo.Y = ClampPixel(int64_t(Position.ArrowTo.Y) - amount);
    }
}

void TSeriesMarks::ShiftMarkPosition(TSeriesMarkPosition& Position)
{
    if (FCallout)
        FCallout->ShiftMarkPosition(Position);
}

// ---- drawing --------------------------------------------------------------------------------

bool TSeriesMarks::ShouldDrawMark(int Index)
{
    if (FSeries == nullptr || Index < 0 || Index >= FSeries->Count())
        return false;
    if (Index % FDrawEvery != 0 || FSeries->IsNull(Index))
        return false;
    return ItemOrSelf(Index)->Visible();
}

void TSeriesMarks::ApplyMarkFont(TTeeCustomShape* Format)
{
    TCustomTeePanel* chart = ParentChart();
    TTeeCanvas3D* s = chart->Canvas();
    s->ApplyFont(Format->Font());
    const TView3DOptions* o = chart->View3DOptions();
    if (chart->View3D() && o != nullptr && o->ZoomText() && o->Zoom() != 100 && !s->ReservedQuery()) {
        TFont* f = s->Font();
        const int size = f->Size();
        int zoomed = TeeRound(size * o->Zoom() * 0.01);
        if (zoomed == 0)
            zoomed = size < 0 ? -1 : 1;   // a font never gets size 0
        f->SetSize(zoomed);
    }
}

void TSeriesMarks::PrepareMarkPosition(int Index, const std::string& Text, const TPoint& Point,
                                       TSeriesMarkPosition& Position)
{
    TCustomTeePanel* chart = ParentChart();
    if (chart == nullptr || chart->Canvas()->ReferenceCanvas() == nullptr)
        return;
    TTeeCanvas3D* s = chart->Canvas();
    TTeeCustomShape* format = ItemOrSelf(Index);
    ApplyMarkFont(format);
    const int fh = CanvasLineHeight(s);
    int width = 0, height = 0;
    if (format->TextFormat() == ttfHtml) {
        const TMarkupSize m = MeasureMarkupText(s, Text, chart->ChartRect);
        width = m.Width;
        height = m.Height;
    } else {
        const std::vector<std::string> lines = SplitTextLines(Text);
        for (const std::string& line : lines)
            width = std::max(width, s->TextWidth(line));
        height = int(lines.size()) * fh;
    }
    width += s->TextWidth("W");
    if (SymbolDraws())
        width += fh - 4;
    const int grow = format->Pen()->Visible() ? 2 * format->Pen()->Width() : 1;
    width += grow;
    height += grow;

    Position.ArrowFrom = Point;
    Position.ArrowTo = Point;
    Position.LeftTop = TPoint(ClampPixel(int64_t(Point.X) - width / 2), ClampPixel(int64_t(Point.Y) - height + 1));
    Position.Width = width;
    Position.Height = height;
    if (FSymbol)
        FSymbol->ShapeBounds = TRect(Position.LeftTop.X + 2, Position.LeftTop.Y + 2, Position.LeftTop.X + 2 + fh,
                                     Position.LeftTop.Y + 2 + fh);
}

TSize TSeriesMarks::LargestMarkSize(int First, int Last)
{
    TSize largest;
    TCustomTeePanel* chart = ParentChart();
    if (chart == nullptr || FSeries == nullptr || chart->Canvas()->ReferenceCanvas() == nullptr)
        return largest;
    const int last = std::min(Last, FSeries->Count() - 1);
    for (int i = std::max(First, 0); i <= last; ++i) {
        if (!ShouldDrawMark(i))
            continue;
        const std::string text = MarkText(i);
        if (text.empty())
            continue;
        TSeriesMarkPosition position;
        PrepareMarkPosition(i, text, TPoint(0, 0), position);
        const TRect r = MarkRect(i, position);
        largest.cx = std::max(largest.cx, r.Right - r.Left);
        largest.cy = std::max(largest.cy, r.Bottom - r.Top);
    }
    return largest;
}

void TSeriesMarks::DrawItem(int Index, TColor Color, const std::string& Text, TSeriesMarkPosition& Position)
{
    TCustomTeePanel* chart = ParentChart();
    if (chart == nullptr || Index < 0)
        return;
    TTeeCanvas3D* s = chart->Canvas();
    if (s->ReferenceCanvas() == nullptr)
        return;

    // 1. A custom position wins over the computed one; otherwise the computed one is kept.
    TSeriesMarkPosition* stored = FPositions.Ensure(Index);
    if (stored->Custom) {
        const TPoint from = Position.ArrowFrom;
        const bool fixed = Position.ArrowFix;
        Position.Assign(*stored);
        if (fixed)
            Position.ArrowFrom = from;
    } else {
        stored->Assign(Position);
    }

    // 2. The arrow from the point to the box.
    if (FCallout && (FCallout->Visible() || FCallout->Arrow()->Visible()))
        FCallout->Draw(Color, Position.ArrowFrom, FZPosition, Position.ArrowTo);

    // 3. The look of this point's mark.
    TTeeCustomShape* format = ItemOrSelf(Index);
    ApplyMarkFont(format);
    if (format->Transparent()) {
        s->Brush()->SetStyle(bsClear);
        s->SetBackMode(TRANSPARENT);
    } else {
        AssignBrushColorToCanvas(s, format->Brush(), format->Color());
    }
    s->AssignPen(format->Pen(), format->Pen()->Color());

    // 4. In 3D the box follows the projection of its arrow end.
    TRect r = Position.Bounds();
    const TPoint d = Offset3D(Position.ArrowTo);
    OffsetRect(r, d.X, d.Y);

    // 5. The box (a transparent format draws none).
    const int angle = FAngle % 360;
    format->ShapeBounds = r;
    format->DrawRectRotated(r, angle, FZPosition + 1);

    // 6. The symbol in the point's colour.
    const bool symbol = SymbolDraws();
    if (symbol) {
        const int fh = CanvasLineHeight(s);
        FSymbol->SetColor(Color);
        FSymbol->SetTransparent(false);
        FSymbol->ShapeBounds = TRect(r.Left + 4, r.Top + 3, r.Left + fh - 1, r.Top + fh - 2);
        FSymbol->DrawRectRotated(FSymbol->ShapeBounds, angle, FZPosition + 1);
    }

    // 7. The text.
    DrawText(format, r, Text, symbol);
}

void TSeriesMarks::DrawText(TTeeCustomShape* Format, const TRect& R, const std::string& Text, bool SymbolDrawn)
{
    TTeeCanvas3D* s = ParentChart()->Canvas();
    ApplyMarkFont(Format);
    s->Brush()->SetStyle(bsClear);
    s->SetBackMode(TRANSPARENT);
    s->SetTextAlign(TA_CENTER);

    TRect box = R;
    box.Left += 2;
    if (SymbolDrawn)
        box.Left += (FSymbol->ShapeBounds.Right - FSymbol->ShapeBounds.Left) + 4;
    const int cx = int((int64_t(box.Left) + box.Right) / 2);
    const int cy = int((int64_t(box.Top) + box.Bottom) / 2);
    const int frame = Format->Pen()->Visible() ? Format->Pen()->Width() : 0;

    if (Format->TextFormat() == ttfHtml) {
        const TMarkupSize m = MeasureMarkupText(s, Text, ParentChart()->ChartRect);
        s->SetTextAlign(TA_LEFT);
        DrawMarkupText(s, cx - m.Width / 2, box.Top + frame, Text, ParentChart()->ChartRect);
        return;
    }

    const int h = CanvasLineHeight(s);
    const std::vector<std::string> lines = SplitTextLines(Text);
    const int angle = FAngle % 360;
    const double a = angle * std::numbers::pi / 180.0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (angle == 0) {
            s->TextOut(cx, box.Top + int(i) * h + frame, lines[i]);
        } else {
            const double dd = double(i) * h - (double(box.Bottom) - cy);
            int x = TeeRound(cx + dd * std::sin(a));
            const int y = TeeRound(cy + dd * std::cos(a));
            if (angle == 90)
                ++x;
            s->RotatedText(x, y, angle, lines[i]);
        }
    }
}

void TSeriesMarks::DrawMarks(int First, int Last, const TPointOf& PointOf, const TDrawMark& DrawMark,
                             TLegendTextStyle LegendStyle)
{
    TCustomTeePanel* chart = ParentChart();
    if (chart == nullptr || FSeries == nullptr || !PointOf || First < 0)
        return;
    TTeeCanvas3D* s = chart->Canvas();
    if (s->ReferenceCanvas() == nullptr)
        return;
    const bool clip = FClip;
    if (clip)
        s->ClipToRect(chart->ChartRect);
    const int last = std::min(Last, FSeries->Count() - 1);
    for (int i = First; i <= last; ++i) {
        if (!ShouldDrawMark(i))
            continue;
        const std::string text = MarkText(i, LegendStyle);
        if (text.empty())
            continue;
        TSeriesMarkPosition position;
        PrepareMarkPosition(i, text, PointOf(i), position);
        if (DrawMark)
            DrawMark(i, text, position);
        else
            DrawItem(i, FSeries->ValueColor(i), text, position);
    }
    if (clip)
        s->RemoveClipping();
}

// ---- copy and chart -------------------------------------------------------------------------

// By hand: the callout and symbol are made on first use, and the items are not
// published.
void TSeriesMarks::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TSeriesMarks*>(Source)) {
        if (s == this)
            return;
        FAngle = s->FAngle;
        if (s->FCallout)
            Callout()->Assign(s->FCallout.get());
        else
            FCallout.reset();
        FClip = s->FClip;
        FDrawEvery = s->FDrawEvery;
        FStyle = s->FStyle;
        FMultiLine = s->FMultiLine;
        if (s->FSymbol)
            Symbol()->Assign(s->FSymbol.get());
        else
            FSymbol.reset();
        FItems.Clear();
        for (int i = 0; i < s->FItems.Count(); ++i)
            if (TMarksItem* item = s->FItems.Item(i))
                Item(i)->Assign(item);
        FItems.SetLoaded(s->FItems.Loaded());
    }
    TTeeCustomShape::Assign(Source);
}

void TSeriesMarks::SetParentChart(TCustomTeePanel* Value)
{
    TTeeCustomShape::SetParentChart(Value);
    if (FCallout)
        FCallout->SetParentChart(Value);
    if (FSymbol)
        FSymbol->SetParentChart(Value);
    for (int i = 0; i < FItems.Count(); ++i)
        if (TMarksItem* item = FItems.Item(i))
            item->SetParentChart(Value);
}
