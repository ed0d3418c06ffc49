#include "Chart/Legend.h"

#include "Chart/CustomChart.h"
#include "TeeConst.h"
#include "graphics/GdiConsts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>


// ---- published properties ----------------------------------------------------------

namespace {
const std::vector<std::string> GradientDirections = {
    "gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft", "gdFromCenter", "gdFromTopLeft",
    "gdFromBottomLeft", "gdRadial", "gdDiagonalUp", "gdDiagonalDown"};
} // namespace

BEGIN_CLASS_INFO(TChartLegendGradient, TTeeGradient)
    .Enum("Direction", &TTeeGradient::Direction, &TTeeGradient::SetDirection, GradientDirections).Default(gdRightLeft)
    .Int("EndColor", &TTeeGradient::EndColor, &TTeeGradient::SetEndColor).Idents(ColorIdents()).Default(clWhite)
    .Int("StartColor", &TTeeGradient::StartColor, &TTeeGradient::SetStartColor).Idents(ColorIdents())
        .Default(clSilver)
END_CLASS_INFO

BEGIN_CLASS_INFO(TLegendSymbol, TPersistent)
    .Bool("Continuous", &TLegendSymbol::Continuous, &TLegendSymbol::SetContinuous).Default(false)
    .Bool("DefaultPen", &TLegendSymbol::DefaultPen, &TLegendSymbol::SetDefaultPen).Default(true)
    .Object("Gradient", &TLegendSymbol::Gradient)
    .Object("Pen", &TLegendSymbol::Pen)
    .Enum("Position", &TLegendSymbol::Position, &TLegendSymbol::SetPosition, {"spLeft", "spRight"}).Default(spLeft)
    .Bool("Squared", &TLegendSymbol::Squared, &TLegendSymbol::SetSquared).Default(false)
    .Bool("Visible", &TLegendSymbol::Visible, &TLegendSymbol::SetVisible).Default(true)
    .Int("Width", &TLegendSymbol::Width, &TLegendSymbol::SetWidth).Within(-MaxStoredPixels, MaxStoredPixels).Default(20)
    .Enum("WidthUnits", &TLegendSymbol::WidthUnits, &TLegendSymbol::SetWidthUnits, {"lcsPercent", "lcsPixels"})
        .Default(lcsPercent)
    .Event("OnDraw")
END_CLASS_INFO

BEGIN_CLASS_INFO(TLegendTitle, TTeeShape)
    .Object("Text", &TLegendTitle::Text)
    .Enum("TextAlignment", &TLegendTitle::TextAlignment, &TLegendTitle::SetTextAlignment,
          {"taLeftJustify", "taRightJustify", "taCenter"}).Default(taLeftJustify)
END_CLASS_INFO

BEGIN_CLASS_INFO(TCustomChartLegend, TTeeCustomShapePosition)
    .Enum("Alignment", &TCustomChartLegend::Alignment, &TCustomChartLegend::SetAlignment,
          {"laLeft", "laRight", "laTop", "laBottom"}).Default(laRight)
    .Bool("CheckBoxes", &TCustomChartLegend::CheckBoxes, &TCustomChartLegend::SetCheckBoxes).Default(false)
    .Enum("CheckBoxesStyle", &TCustomChartLegend::CheckBoxesStyle, &TCustomChartLegend::SetCheckBoxesStyle,
          {"cbsCheck", "cbsRadio"}).Default(cbsCheck)
    .Int("ColorWidth", &TCustomChartLegend::ColorWidth, &TCustomChartLegend::SetColorWidth)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(20)
    .Bool("CurrentPage", &TCustomChartLegend::CurrentPage, &TCustomChartLegend::SetCurrentPage).Default(true)
    .Object("DividingLines", &TCustomChartLegend::DividingLines)
    .Int("FirstValue", &TCustomChartLegend::FirstValue, &TCustomChartLegend::SetFirstValue).Default(0)
    .Bool("FontSeriesColor", &TCustomChartLegend::FontSeriesColor, &TCustomChartLegend::SetFontSeriesColor)
        .Default(false)
    .Object("Frame", &TTeeCustomShapeBrushPen::Pen)
    .Int("HorizMargin", &TCustomChartLegend::HorizMargin, &TCustomChartLegend::SetHorizMargin)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Bool("Inverted", &TCustomChartLegend::Inverted, &TCustomChartLegend::SetInverted).Default(false)
    .Enum("LegendStyle", &TCustomChartLegend::LegendStyle, &TCustomChartLegend::SetLegendStyle,
          {"lsAuto", "lsSeries", "lsValues", "lsLastValues"}).Default(lsAuto)
    .Int("MaxNumRows", &TCustomChartLegend::MaxNumRows, &TCustomChartLegend::SetMaxNumRows).Default(10)
    .Bool("ResizeChart", &TCustomChartLegend::ResizeChart, &TCustomChartLegend::SetResizeChart).Default(true)
    .Object("Symbol", &TCustomChartLegend::Symbol)
    .Enum("TextStyle", &TCustomChartLegend::TextStyle, &TCustomChartLegend::SetTextStyle,
          {"ltsPlain", "ltsLeftValue", "ltsRightValue", "ltsLeftPercent", "ltsRightPercent", "ltsXValue", "ltsValue",
           "ltsPercent", "ltsXAndValue", "ltsXAndPercent"}).Default(ltsLeftValue)
    .Object("Title", &TCustomChartLegend::Title)
    .Int("TopPos", &TCustomChartLegend::TopPos, &TCustomChartLegend::SetTopPos)
        .Within(-MaxStoredPercent, MaxStoredPercent).Default(10)
    .Int("VertMargin", &TCustomChartLegend::VertMargin, &TCustomChartLegend::SetVertMargin)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Int("VertSpacing", &TCustomChartLegend::VertSpacing, &TCustomChartLegend::SetVertSpacing)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
END_CLASS_INFO

namespace {
// Pixels between the two text columns, and between the symbol and the text.
constexpr int ColumnGap = 2;
constexpr int SymbolGap = 4;
// Room of a check box before the symbol: the 13-pixel box and a gap.
constexpr int CheckBoxRoom = 15;
// Pixels between the columns of a top or bottom legend.
constexpr int ItemSpacing = 6;
} // namespace

// ---- gradient, symbol, title --------------------------------------------------------------

TChartLegendGradient::TChartLegendGradient(TNotifyEvent onChange) : TTeeGradient(std::move(onChange))
{
    SetDirection(gdRightLeft);
    SetStartColor(clSilver);
    SetEndColor(clWhite);
}

TLegendSymbol::TLegendSymbol(TCustomChartLegend* Legend)
    : FLegend(Legend), FGradient(std::make_unique<TTeeGradient>([this](TObject*) { Changed(); })),
      FPen(std::make_unique<TChartPen>([this](TObject*) { Changed(); }))
{
}

TLegendSymbol::~TLegendSymbol()
{
    FGradient->OnChange = nullptr;
    FPen->OnChange = nullptr;
}

void TLegendSymbol::Changed()
{
    if (FLegend != nullptr)
        FLegend->Repaint();
}

void TLegendSymbol::SetContinuous(bool v)
{
    SetAndNotify(FContinuous, v, [this] { Changed(); });
}

void TLegendSymbol::SetDefaultPen(bool v)
{
    SetAndNotify(FDefaultPen, v, [this] { Changed(); });
}

void TLegendSymbol::SetPosition(TLegendSymbolPosition v)
{
    SetAndNotify(FPosition, v, [this] { Changed(); });
}

void TLegendSymbol::SetSquared(bool v)
{
    SetAndNotify(FSquared, v, [this] { Changed(); });
}

void TLegendSymbol::SetVisible(bool v)
{
    SetAndNotify(FVisible, v, [this] { Changed(); });
}

void TLegendSymbol::SetWidth(int v)
{
    SetAndNotify(FWidth, v, [this] { Changed(); });
}

void TLegendSymbol::SetWidthUnits(TLegendSymbolSize v)
{
    SetAndNotify(FWidthUnits, v, [this] { Changed(); });
}

int TLegendSymbol::CalcWidth(int LegendWidth) const
{
    if (!FVisible)
        return 0;
    if (FSquared)
        return std::max(0, FLegend->ItemHeight() - 5);
    if (FWidthUnits == lcsPixels)
        return FWidth;
    return static_cast<int>(std::lround(FWidth * LegendWidth * 0.01));
}

void TLegendSymbol::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TLegendSymbol*>(Source); s != nullptr && s != this) {
        AssignOwnProperties(this, s, TLegendSymbol::StaticClassInfo());
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

TLegendTitle::TLegendTitle(TCustomTeePanel* AOwner) : TTeeShape(AOwner), FText(std::make_unique<TStringList>())
{
    SetDefaultTransparent(true);
    Font()->SetStyle(fsBold);
    Font()->DefaultStyle = fsBold;
    InitShadow(Shadow());
    FText->OnChange = [this](TObject*) { Repaint(); };
}

TLegendTitle::~TLegendTitle()
{
    FText->OnChange = nullptr;
}

void TLegendTitle::InitShadow(TTeeShadow* S)
{
    S->SetSize(2);
    S->SetColor(clSilver);
    S->DefaultSize = 2;
    S->DefaultColor = clSilver;
}

void TLegendTitle::SetTextAlignment(TAlignment v)
{
    SetAndNotify(FTextAlignment, v, [this] { Repaint(); });
}

void TLegendTitle::Assign(TPersistent* Source)
{
    if (auto* t = dynamic_cast<TLegendTitle*>(Source); t != nullptr && t != this)
        AssignOwnProperties(this, t, TLegendTitle::StaticClassInfo());
    TTeeShape::Assign(Source);
}

// ---- the legend ---------------------------------------------------------------------------

TCustomChartLegend::TCustomChartLegend(TCustomChart* Chart)
    : TTeeCustomShapePosition(Chart), FChart(Chart),
      FDividingLines(std::make_unique<TChartHiddenPen>([this](TObject*) { Repaint(); })),
      FSymbol(std::make_unique<TLegendSymbol>(this)), FTitle(std::make_unique<TLegendTitle>(Chart))
{
}

TCustomChartLegend::~TCustomChartLegend()
{
    FDividingLines->OnChange = nullptr;
}

std::unique_ptr<TTeeGradient> TCustomChartLegend::CreateGradient()
{
    return std::make_unique<TChartLegendGradient>([this](TObject*) { Repaint(); });
}

void TCustomChartLegend::SetAlignment(TLegendAlignment v)
{
    SetAndNotify(FAlignment, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetCheckBoxes(bool v)
{
    SetAndNotify(FCheckBoxes, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetCheckBoxesStyle(TCheckBoxesStyle v)
{
    SetAndNotify(FCheckBoxesStyle, v, [this, v] {
        if (v == cbsRadio && FChart != nullptr) {
            bool first = true;
            for (int t = 0; t < FChart->SeriesCount(); ++t) {
                TChartSeries* s = FChart->Series(t);
                if (s->Active() && s->ShowInLegend()) {
                    if (!first)
                        s->SetActive(false);
                    first = false;
                }
            }
        }
        Repaint();
    });
}

void TCustomChartLegend::SetColorWidth(int v)
{
    if (v <= 0)
        throw LegendException(TeeMsg_LegendColorWidth);
    FSymbol->SetWidth(v);
}

void TCustomChartLegend::SetCurrentPage(bool v)
{
    SetAndNotify(FCurrentPage, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetFirstValue(int v)
{
    if (v < 0)
        throw LegendException(TeeMsg_LegendFirstValue);
    SetAndNotify(FFirstValue, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetFontSeriesColor(bool v)
{
    SetAndNotify(FFontSeriesColor, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetHorizMargin(int v)
{
    SetAndNotify(FHorizMargin, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetInverted(bool v)
{
    SetAndNotify(FInverted, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetLegendStyle(TLegendStyle v)
{
    FLegendStyle = v;
    FResolved = CalcLegendStyle();
    Repaint();
}

void TCustomChartLegend::SetMaxNumRows(int v)
{
    SetAndNotify(FMaxNumRows, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetResizeChart(bool v)
{
    SetAndNotify(FResizeChart, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetTextStyle(TLegendTextStyle v)
{
    SetAndNotify(FTextStyle, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetTopPos(int v)
{
    SetAndNotify(FTopPos, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetVertMargin(int v)
{
    SetAndNotify(FVertMargin, v, [this] { Repaint(); });
}

void TCustomChartLegend::SetVertSpacing(int v)
{
    SetAndNotify(FVertSpacing, v, [this] { Repaint(); });
}

// ---- queries ------------------------------------------------------------------------------

TLegendStyle TCustomChartLegend::CalcLegendStyle() const
{
    if (FLegendStyle != lsAuto)
        return FLegendStyle;
    const int active = FChart != nullptr ? FChart->ActiveSeriesCount() : 0;
    return !FCheckBoxes && active < 2 ? lsValues : lsSeries;
}

bool TCustomChartLegend::ShouldDraw() const
{
    return Visible() && FChart != nullptr && (HasCheckBoxes() || FChart->ActiveSeriesCount() > 0);
}

bool TCustomChartLegend::HasCheckBoxes() const
{
    return FCheckBoxes && CalcLegendStyle() != lsValues;
}

int TCustomChartLegend::ItemHeight() const
{
    TTeeCanvas3D* c = FChart->Canvas();
    int h = c->TextHeight("W");
    if (HasCheckBoxes())
        h = std::max(h, 17);
    h += FVertSpacing;
    if (IsVertical() && FDividingLines->Visible())
        h += FDividingLines->Width();
    return h;
}

int TCustomChartLegend::TitleHeight() const
{
    int top = ShapeBounds.Top;
    if (FTitleShown) {
        top += FTitleHeight + 2;
        if (!FTitle->Transparent())
            top += std::abs(FTitle->Shadow()->VertSize());
    }
    return top;
}

TChartSeries* TCustomChartLegend::ListedSeries() const
{
    if (FOwnSeries != nullptr)
        return FOwnSeries;
    return FChart != nullptr ? FChart->FirstActiveSeries() : nullptr;
}

int TCustomChartLegend::SeriesShownCount() const
{
    const bool onlyActive = !HasCheckBoxes();
    int n = 0;
    for (int t = 0; t < FChart->SeriesCount(); ++t) {
        TChartSeries* s = FChart->Series(t);
        if (s->ShowInLegend() && (!onlyActive || s->Active()))
            ++n;
    }
    return n;
}

int TCustomChartLegend::TotalItems() const
{
    if (FChart == nullptr)
        return 0;
    int n = 0;
    if (CalcLegendStyle() == lsValues) {
        TChartSeries* s = ListedSeries();
        if (s != nullptr && s->ShowInLegend())
            n = s->LegendItemCount();
    } else {
        n = SeriesShownCount();
    }
    return std::max(0, n - FFirstValue);
}

std::string TCustomChartLegend::FormatValueText(TChartSeries* Series, int ValueIndex) const
{
    if (Series == nullptr || ValueIndex == -1)
        return {};
    std::string text = Series->LegendString(ValueIndex, FTextStyle);
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

TChartSeries* TCustomChartLegend::ItemSeries(int Index) const
{
    if (CalcLegendStyle() == lsValues)
        return ListedSeries();
    return FChart->SeriesLegend(Index, !HasCheckBoxes());
}

std::string TCustomChartLegend::ItemText(int Index) const
{
    switch (CalcLegendStyle()) {
    case lsValues: {
        TChartSeries* s = ListedSeries();
        if (s == nullptr || Index < 0 || Index >= s->LegendItemCount())
            return {};
        return FChart->FormatLegendString(s, Index);
    }
    case lsLastValues: {
        TChartSeries* s = FChart->SeriesLegend(Index, !HasCheckBoxes());
        return s != nullptr ? FChart->FormatLegendString(s, s->Count() - 1) : std::string();
    }
    default:
        return FChart->LegendSeriesTitle(Index, !HasCheckBoxes());
    }
}

TColor TCustomChartLegend::ItemColor(int Index) const
{
    TChartSeries* s = ItemSeries(Index);
    if (s == nullptr)
        return clWhite;
    if (CalcLegendStyle() == lsValues)
        return s->ColorOfLegendItem(Index);
    return s->SeriesColor();
}

TLegendItemText TCustomChartLegend::SplitItem(int Index) const
{
    std::string text = ItemText(Index);
    if (FChart->OnGetLegendText)
        FChart->OnGetLegendText(FChart, CalcLegendStyle(), Index, text);
    TLegendItemText item;
    const auto sep = text.find(TeeColumnSeparator);
    if (sep == std::string::npos) {
        item.Text[0] = text;
    } else {
        item.Text[0] = text.substr(0, sep);
        item.Text[1] = text.substr(sep + 1);
    }
    return item;
}

bool TCustomChartLegend::ClickCheckBox(int Index)
{
    if (!HasCheckBoxes() || Index == -1)
        return false;
    TChartSeries* target = FChart->SeriesLegend(Index, false);
    if (target == nullptr)
        return false;
    if (FCheckBoxesStyle == cbsRadio) {
        for (int t = 0; t < FChart->SeriesCount(); ++t) {
            TChartSeries* s = FChart->Series(t);
            s->SetActive(s == target);
        }
    } else {
        target->SetActive(!target->Active());
    }
    return true;
}

int TCustomChartLegend::Clicked(int X, int Y) const
{
    const TRect& r = ShapeBounds;
    if (FItemHeight <= 0 || X < r.Left || X > r.Right || Y < r.Top || Y > r.Bottom)
        return -1;
    const int shown = FLastValue - FFirst + 1;
    if (shown <= 0)
        return -1;
    const int firstTop = TitleHeight() + 1;
    int row = -1;
    for (int t = 0; t < FRows; ++t) {
        const int top = firstTop + t * FItemHeight;
        if (Y >= top && Y <= top + FItemHeight) {
            row = t;
            break;
        }
    }
    if (row < 0)
        return -1;
    int column = 0;
    if (!IsVertical()) {
        const int width = (r.Right - r.Left) / std::max(1, FColumns);
        column = -1;
        for (int c = 0; c < FColumns; ++c) {
            const int left = r.Left + 1 + c * width;
            if (X >= left && X <= left + width) {
                column = c;
                break;
            }
        }
        if (column < 0)
            return -1;
    }
    // The grid position as drawn; inverted legends fill it from the last item.
    const int pos = row * (IsVertical() ? 1 : FColumns) + column;
    if (pos >= shown)
        return -1;
    return FFirst + (FInverted ? shown - 1 - pos : pos);
}

// ---- drawing ------------------------------------------------------------------------------

void TCustomChartLegend::MeasureColumns()
{
    TTeeCanvas3D* c = FChart->Canvas();
    FColumnWidth[0] = FColumnWidth[1] = 0;
    for (int t = FFirst; t <= FLastValue; ++t) {
        const TLegendItemText item = SplitItem(t);
        for (int k = 0; k < 2; ++k) {
            const int w = TextFormat() == ttfHtml ? MeasureMarkupText(c, item.Text[k], FChart->ChartRect).Width
                                                  : c->TextWidth(item.Text[k]);
            FColumnWidth[k] = std::max(FColumnWidth[k], w);
        }
    }
    FTextWidth = FColumnWidth[0] + FColumnWidth[1] + 2 * ColumnGap - 1;
}

void TCustomChartLegend::Draw()
{
    FPlaces.clear();
    FLastValue = -1;
    FRows = 0;
    FColumns = 1;
    if (FChart == nullptr)
        return;
    TTeeCanvas3D* c = FChart->Canvas();
    FResolved = CalcLegendStyle();
    FFrame = Pen()->Visible() ? Pen()->Width() : 0;
    if (Bevel() != bvNone)
        FFrame = BevelWidth();

    // Paging: value items follow the chart's page; series items always start at the first.
    // The page only moves the working first item, never the FirstValue property.
    FFirst = FFirstValue;
    int items = TotalItems();
    const int perPage = FChart->MaxPointsPerPage();
    if (perPage > 0) {
        if (FResolved == lsValues && FCurrentPage) {
            FFirst = (FChart->Page() - 1) * perPage;
            TChartSeries* s = ListedSeries();
            const int all = s != nullptr && s->ShowInLegend() ? s->LegendItemCount() : 0;
            items = std::clamp(all - FFirst, 0, perPage);
        } else if (FResolved != lsValues) {
            FFirst = 0;
            items = SeriesShownCount();
        }
    }

    c->ApplyFont(Font());
    FItemHeight = ItemHeight();
    const bool checks = HasCheckBoxes();

    FTitleShown = FTitle->Visible() && FTitle->Text()->Count() > 0;
    FTitleWidth = FTitleHeight = 0;
    if (FTitleShown) {
        c->ApplyFont(FTitle->Font());
        const int lines = FTitle->Text()->Count();
        const int pen = FTitle->Pen()->Visible() ? FTitle->Pen()->Width() : 0;
        FTitleHeight = lines * c->TextHeight("W") + (FTitle->Transparent() ? 0 : 2) + 2 * pen;
        int widest = 0;
        for (int t = 0; t < lines; ++t)
            widest = std::max(widest, c->TextWidth(FTitle->Text()->Strings(t)));
        FTitleWidth = widest + c->TextWidth("W") + 2 * pen + (FTitle->Transparent() ? 0 : FTitle->Shadow()->HorizSize());
        c->ApplyFont(Font());
    }
    const int titlePart = TitleHeight() - ShapeBounds.Top;
    const bool custom = CustomPosition();
    int itemWidth = 0;

    if (!IsVertical()) {
        FLastValue = FFirst + items - 1;
        MeasureColumns();
        FSymbolWidth = FSymbol->CalcWidth(FTextWidth);
        itemWidth = FSymbolWidth + SymbolGap + FTextWidth + (checks ? CheckBoxRoom : 0);
        // As many columns as fit the chart's width, but no more than there are items.
        FColumns = std::clamp((FChart->ChartWidth - 8 + ItemSpacing) / (itemWidth + ItemSpacing), 1, std::max(1, items));
        FRows = std::min((items + FColumns - 1) / FColumns, std::max(1, FMaxNumRows));
        FLastValue = FFirst + std::min(items, FColumns * FRows) - 1;
    } else {
        if (!custom)
            ShapeBounds.Top = FChart->ChartBounds.Top +
                              static_cast<int>(std::lround(FTopPos * (FChart->ChartBounds.Bottom - FChart->ChartBounds.Top) * 0.01));
        const int room = FChart->ChartRect.Bottom - (ShapeBounds.Top + titlePart) - 2;
        FRows = std::max(0, room / std::max(1, FItemHeight));
        FRows = std::min(FRows, items);
        FLastValue = FFirst + FRows - 1;
        MeasureColumns();
        FSymbolWidth = FSymbol->CalcWidth(FTextWidth);
    }
    if (FFirst > FLastValue)
        return;

    TRect r = ShapeBounds;
    const int height = titlePart + FRows * FItemHeight + 2 + FFrame;
    if (IsVertical()) {
        int w = FTextWidth + 10 + FSymbolWidth;
        if (SizeHook)
            SizeHook(this, w);
        if (FTitleShown)
            w = std::max(w, FTitleWidth);
        if (checks)
            w += CheckBoxRoom;
        if (!custom && FAlignment == laRight) {
            r.Right = FChart->ChartRect.Right - (Shadow()->HorizSize() + FFrame + 1);
            r.Left = r.Right - w;
        } else {
            if (!custom)
                r.Left = FChart->ChartRect.Left + FFrame + 1;
            r.Right = r.Left + w;
        }
        r.Bottom = r.Top + height;
    } else {
        int w = itemWidth * FColumns + (FColumns - 1) * ItemSpacing + 8;
        w = std::min(w, FChart->ChartWidth);
        w -= w % 2;
        if (!custom) {
            r.Left = FChart->ChartXCenter - w / 2 +
                     static_cast<int>(std::lround(FTopPos * (FChart->ChartBounds.Right - FChart->ChartBounds.Left - w) * 0.01));
            if (FAlignment == laBottom) {
                int offset = FChart->Shadow()->VertSize() + FFrame + 1;
                if (SizeHook)
                    SizeHook(this, offset);
                r.Bottom = FChart->ChartRect.Bottom - offset;
                r.Top = r.Bottom - height;
            } else {
                r.Top = FChart->ChartRect.Top + FFrame + 1;
                r.Bottom = r.Top + height;
            }
        } else {
            r.Bottom = r.Top + height;
        }
        r.Right = r.Left + w;
    }
    if (FChart->OnGetLegendRect)
        FChart->OnGetLegendRect(FChart, r);
    ShapeBounds = r;
    FItemStartX = r.Left + 4 + (checks ? CheckBoxRoom : 0);

    DrawAtOwnRect();
    if (FTitleShown)
        DrawTitle(c);
    const int shown = FLastValue - FFirst + 1;
    for (int t = 0; t < shown; ++t)
        DrawItem(c, FFirst + t, FInverted ? shown - 1 - t : t);
    TakeRoom();
}

void TCustomChartLegend::DrawTitle(TTeeCanvas3D* C)
{
    FTitle->ShapeBounds = TRect(ShapeBounds.Left + 2, ShapeBounds.Top + 2, ShapeBounds.Right - 2, ShapeBounds.Top + 2 + FTitleHeight);
    FTitle->DrawAtOwnRect();
    C->ApplyFont(FTitle->Font());
    C->SetBackMode(TRANSPARENT);
    C->SetTextAlign(TA_LEFT | TA_TOP);
    const TRect& tr = FTitle->ShapeBounds;
    const int wWidth = C->TextWidth("W");
    if (FTitle->TextFormat() == ttfHtml) {
        DrawMarkupText(C, tr.Left + wWidth / 2, tr.Top, FTitle->Text()->Text(), FChart->ChartRect);
    } else {
        const int lineHeight = C->TextHeight("W");
        for (int t = 0; t < FTitle->Text()->Count(); ++t) {
            const std::string line = FTitle->Text()->Strings(t);
            const int w = C->TextWidth(line);
            int x = (tr.Left + tr.Right) / 2 - w / 2;
            if (FTitle->TextAlignment() == taLeftJustify)
                x = tr.Left + wWidth / 2;
            else if (FTitle->TextAlignment() == taRightJustify)
                x = tr.Right - w - wWidth / 2;
            C->TextOut(x, tr.Top + t * lineHeight, line);
        }
    }
    C->ApplyFont(Font());
}

void TCustomChartLegend::DrawItem(TTeeCanvas3D* C, int Index, int Pos)
{
    const int checks = HasCheckBoxes() ? CheckBoxRoom : 0;
    const int itemWidth = FSymbolWidth + SymbolGap + FTextWidth + checks;
    const int firstTop = TitleHeight() + 1;
    int x = FItemStartX;
    int y;
    if (IsVertical()) {
        y = firstTop + Pos * FItemHeight + FVertSpacing / 2;
    } else {
        x += (Pos % FColumns) * (itemWidth + ItemSpacing);
        y = firstTop + (Pos / FColumns) * FItemHeight + FVertSpacing / 2;
    }
    int xColor = x;
    if (FChart->OnGetLegendPos)
        FChart->OnGetLegendPos(FChart, Index, x, y, xColor);

    C->ApplyFont(Font());
    const TColor color = ItemColor(Index);
    if (FFontSeriesColor)
        C->Font()->SetColor(color);
    C->SetBackMode(TRANSPARENT);

    // Symbol on the left: symbol, gap, text; on the right: text, gap, symbol.
    const bool symbolLeft = FSymbol->Position() == spLeft;
    const int symbolX = symbolLeft ? xColor : x + FTextWidth + SymbolGap;
    const int textX = symbolLeft ? x + FSymbolWidth + SymbolGap : x;
    const TLegendItemText item = SplitItem(Index);
    const bool values = FResolved == lsValues;
    const bool rightFirst = values && (FTextStyle == ltsLeftValue || FTextStyle == ltsLeftPercent || FTextStyle == ltsXValue ||
                                       FTextStyle == ltsValue || FTextStyle == ltsPercent || FTextStyle == ltsXAndValue ||
                                       FTextStyle == ltsXAndPercent);
    const bool rightSecond = values && (FTextStyle == ltsRightValue || FTextStyle == ltsRightPercent ||
                                        FTextStyle == ltsXAndValue || FTextStyle == ltsXAndPercent);
    int columnX = textX;
    for (int k = 0; k < 2; ++k) {
        if (!item.Text[k].empty()) {
            const bool right = k == 0 ? rightFirst : rightSecond;
            if (TextFormat() == ttfHtml) {
                const int w = right ? MeasureMarkupText(C, item.Text[k], FChart->ChartRect).Width : 0;
                C->SetTextAlign(TA_LEFT | TA_TOP);
                DrawMarkupText(C, right ? columnX + FColumnWidth[k] - w : columnX, y, item.Text[k], FChart->ChartRect);
            } else if (right) {
                C->SetTextAlign(TA_RIGHT | TA_TOP);
                C->TextOut(columnX + FColumnWidth[k], y, item.Text[k]);
            } else {
                C->SetTextAlign(TA_LEFT | TA_TOP);
                C->TextOut(columnX, y, item.Text[k]);
            }
        }
        columnX += FColumnWidth[k] + ColumnGap;
    }
    C->SetTextAlign(TA_LEFT | TA_TOP);

    TItemPlace place;
    place.Index = Index;
    place.TextX = textX;
    place.TextY = y;
    TChartSeries* s = ItemSeries(Index);
    const int itemTop = y - FVertSpacing / 2;
    if (checks > 0 && s != nullptr)
        DrawCheckBox(C->ReferenceCanvas(), x - checks, itemTop + (FItemHeight - 13) / 2, s->Active(),
                     FCheckBoxesStyle == cbsRadio);
    if (FSymbolWidth > 0) {
        const int textHeight = C->TextHeight("W");
        TRect sr(symbolX, y + 1, symbolX + FSymbolWidth, y + textHeight - 1);
        if (FSymbol->Continuous()) {
            sr.Top = itemTop;
            sr.Bottom = itemTop + FItemHeight;
            if (Index == FLastValue)
                sr.Bottom -= FVertSpacing + 3;
        }
        place.Symbol = sr;
        if (s != nullptr) {
            const int valueIndex = values ? s->ValueIndexOfLegendItem(Index) : -1;
            s->PaintLegendSymbol(valueIndex, sr);
        } else {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(clWhite);
            CanvasRectangleOfRect(C, sr);
        }
        if (FSymbol->OnDraw)
            FSymbol->OnDraw(FSymbol.get(), s, Index, sr);
    }
    FPlaces.push_back(place);

    if (FDividingLines->Visible() && Pos > 0) {
        AssignPenToCanvas(C, FDividingLines.get());
        if (IsVertical()) {
            const int ly = itemTop - 1;
            C->Line(ShapeBounds.Left, ly, ShapeBounds.Right, ly);
        } else if (Pos % FColumns > 0) {
            const int lx = x - ItemSpacing / 2 - (checks > 0 ? checks : 0);
            C->Line(lx, itemTop, lx, itemTop + FItemHeight);
        }
    }
}

void TCustomChartLegend::TakeRoom()
{
    if (!FResizeChart || CustomPosition())
        return;
    TRect& cr = FChart->ChartRect;
    // The automatic gaps are shares of the whole chart's width and height, not of the plot
    // that titles and legend left.
    const int width = FChart->ChartBounds.Right - FChart->ChartBounds.Left;
    const int height = FChart->ChartBounds.Bottom - FChart->ChartBounds.Top;
    const int hMargin = FHorizMargin != 0 ? FHorizMargin : static_cast<int>(std::lround(width * 0.03));
    const int vMargin = FVertMargin != 0 ? FVertMargin : static_cast<int>(std::lround(height * 0.04));
    switch (FAlignment) {
    case laLeft:
        cr.Left = ShapeBounds.Right + hMargin;
        break;
    case laRight:
        cr.Right = ShapeBounds.Left - hMargin;
        break;
    case laTop:
        cr.Top = ShapeBounds.Bottom + FChart->Shadow()->VertSize() + vMargin;
        break;
    case laBottom:
        cr.Bottom = ShapeBounds.Top - vMargin;
        break;
    }
    FChart->RecalcWidthHeight();
}

void TCustomChartLegend::Assign(TPersistent* Source)
{
    if (auto* l = dynamic_cast<TCustomChartLegend*>(Source); l != nullptr && l != this)
        AssignOwnProperties(this, l, TCustomChartLegend::StaticClassInfo());
    TTeeCustomShapePosition::Assign(Source);
}
