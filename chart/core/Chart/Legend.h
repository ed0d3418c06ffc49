// The chart's legend: a framed box beside the plot that lists the chart's series or the
// values of one series, each item with a colour symbol (or a check box and a symbol) and
// up to two text columns. It takes its room from the chart rectangle on its side and
// answers which item lies under a point.
#pragma once

#include "Chart/Titles.h"
#include "RizUridu/Shapes.h"
#include "TeEngine/Exceptions.h"
#include "TeEngine/Series.h"

#include <functional>
#include <memory>
#include <string>

class TCustomChart;

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum TCheckBoxesStyle { cbsCheck, cbsRadio };
enum TLegendSymbolSize { lcsPercent, lcsPixels };
enum TLegendSymbolPosition { spLeft, spRight };


// The two text columns of one legend item.
struct TLegendItemText {
    std::string Text[2];
};

class LegendException : public ChartException {
public:
    using ChartException::ChartException;
};

// The legend box's gradient: right to left, from silver to white.
class TChartLegendGradient : public TTeeGradient {
public:
    DECLARE_CLASS_INFO(TChartLegendGradient)
    explicit TChartLegendGradient(TNotifyEvent onChange = nullptr);
};

class TCustomChartLegend;

using TSymbolDrawEvent = std::function<void(TObject* Sender, TChartSeries* Series, int ValueIndex, const TRect& R)>;

// The colour symbol of each item.
class TLegendSymbol : public TPersistent {
public:
    DECLARE_CLASS_INFO(TLegendSymbol)
    explicit TLegendSymbol(TCustomChartLegend* Legend);
    ~TLegendSymbol() override;

    bool Continuous() const { return FContinuous; }
    void SetContinuous(bool v);
    // False: Pen outlines every symbol instead of the series' own pens.
    bool DefaultPen() const { return FDefaultPen; }
    void SetDefaultPen(bool v);
    TTeeGradient* Gradient() const { return FGradient.get(); }
    void SetGradient(TTeeGradient* v) { FGradient->Assign(v); }
    TChartPen* Pen() const { return FPen.get(); }
    void SetPen(TChartPen* v) { FPen->Assign(v); }
    TLegendSymbolPosition Position() const { return FPosition; }
    void SetPosition(TLegendSymbolPosition v);
    bool Squared() const { return FSquared; }
    void SetSquared(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    int Width() const { return FWidth; }
    void SetWidth(int v);
    TLegendSymbolSize WidthUnits() const { return FWidthUnits; }
    void SetWidthUnits(TLegendSymbolSize v);
    TSymbolDrawEvent OnDraw;

    // The symbol's width in pixels for a legend LegendWidth pixels wide.
    int CalcWidth(int LegendWidth) const;
    void Assign(TPersistent* Source) override;

private:
    void Changed();
    TCustomChartLegend* FLegend;
    bool FContinuous = false;
    bool FDefaultPen = true;
    std::unique_ptr<TTeeGradient> FGradient;
    std::unique_ptr<TChartPen> FPen;
    TLegendSymbolPosition FPosition = spLeft;
    bool FSquared = false;
    bool FVisible = true;
    int FWidth = 20;
    TLegendSymbolSize FWidthUnits = lcsPercent;
};

// The legend's optional title, drawn inside its box at the top.
class TLegendTitle : public TTeeShape {
public:
    DECLARE_CLASS_INFO(TLegendTitle)
    explicit TLegendTitle(TCustomTeePanel* AOwner);
    ~TLegendTitle() override;

    TStringList* Text() const { return FText.get(); }
    void SetText(TStrings* v) { FText->Assign(v); }
    TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(TAlignment v);

    void Assign(TPersistent* Source) override;

protected:
    void InitShadow(TTeeShadow* Shadow) override;

private:
    std::unique_ptr<TStringList> FText;
    TAlignment FTextAlignment = taLeftJustify;
};

using TOnGetLegendPos = std::function<void(TObject* Sender, int Index, int& X, int& Y, int& XColor)>;
using TOnGetLegendRect = std::function<void(TObject* Sender, TRect& Rect)>;
// Whether a left/right legend (width) or a bottom legend (bottom offset) changes its size.
using TLegendSizeHook = std::function<void(TCustomChartLegend* Sender, int& Size)>;

class TCustomChartLegend : public TTeeCustomShapePosition {
public:
    DECLARE_CLASS_INFO(TCustomChartLegend)
    explicit TCustomChartLegend(TCustomChart* Chart);
    ~TCustomChartLegend() override;

    TLegendAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TLegendAlignment v);
    bool CheckBoxes() const { return FCheckBoxes; }
    void SetCheckBoxes(bool v);
    TCheckBoxesStyle CheckBoxesStyle() const { return FCheckBoxesStyle; }
    // Radio style leaves only the first active series shown in the legend active.
    void SetCheckBoxesStyle(TCheckBoxesStyle v);
    // The symbol's width; LegendException "Legend Color Width must be > 0%" below 1.
    int ColorWidth() const { return FSymbol->Width(); }
    void SetColorWidth(int v);
    bool CurrentPage() const { return FCurrentPage; }
    void SetCurrentPage(bool v);
    TChartHiddenPen* DividingLines() const { return FDividingLines.get(); }
    void SetDividingLines(TChartPen* v) { FDividingLines->Assign(v); }
    // LegendException "First Legend Value must be > 0" below 0; the value stays.
    int FirstValue() const { return FFirstValue; }
    void SetFirstValue(int v);
    bool FontSeriesColor() const { return FFontSeriesColor; }
    void SetFontSeriesColor(bool v);
    int HorizMargin() const { return FHorizMargin; }
    void SetHorizMargin(int v);
    bool Inverted() const { return FInverted; }
    void SetInverted(bool v);
    TLegendStyle LegendStyle() const { return FLegendStyle; }
    void SetLegendStyle(TLegendStyle v);
    int MaxNumRows() const { return FMaxNumRows; }
    void SetMaxNumRows(int v);
    bool ResizeChart() const { return FResizeChart; }
    void SetResizeChart(bool v);
    TLegendSymbol* Symbol() const { return FSymbol.get(); }
    void SetSymbol(TLegendSymbol* v) { FSymbol->Assign(v); }
    TLegendTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TLegendTextStyle v);
    TLegendTitle* Title() const { return FTitle.get(); }
    void SetTitle(TLegendTitle* v) { FTitle->Assign(v); }
    int TopPos() const { return FTopPos; }
    void SetTopPos(int v);
    int VertMargin() const { return FVertMargin; }
    void SetVertMargin(int v);
    int VertSpacing() const { return FVertSpacing; }
    void SetVertSpacing(int v);
    TChartLegendGradient* LegendGradient() { return static_cast<TChartLegendGradient*>(Gradient()); }

    // ---- queries ----
    TCustomChart* Chart() const { return FChart; }
    // The style in force: lsAuto resolved.
    TLegendStyle CalcLegendStyle() const;
    bool ShouldDraw() const;
    bool HasCheckBoxes() const;
    bool IsVertical() const { return FAlignment == laLeft || FAlignment == laRight; }
    // The height of one item for the current surface font.
    int ItemHeight() const;
    // The top of the first item.
    int TitleHeight() const;
    // The text of item Index (counted from the first item), before the chart's event.
    std::string ItemText(int Index) const;
    // The text of a value item for the legend's text style, line breaks made blanks.
    std::string FormatValueText(TChartSeries* Series, int ValueIndex) const;
    // How many items the legend lists.
    int TotalItems() const;
    // The series whose values are listed (nullptr: the chart's first active series).
    void SetOwnSeries(TChartSeries* Series) { FOwnSeries = Series; }
    TChartSeries* ListedSeries() const;
    // Toggles (or, radio style, selects) the series of item Index; True when done.
    bool ClickCheckBox(int Index);
    // The item under (X, Y) or -1.
    int Clicked(int X, int Y) const;

    // ---- drawing ----
    // Lays out and draws the legend; takes its room from the chart rectangle.
    void Draw();
    // Set by Draw.
    int Columns() const { return FColumns; }
    int Rows() const { return FRows; }
    int LastValue() const { return FLastValue; }
    int ItemHeightUsed() const { return FItemHeight; }
    // Where each drawn item's text and symbol went (for look-ups after drawing).
    struct TItemPlace {
        int Index = -1;
        TRect Symbol;
        int TextX = 0, TextY = 0;
    };
    const std::vector<TItemPlace>& ItemPlaces() const { return FPlaces; }

    TLegendSizeHook SizeHook;

    void Assign(TPersistent* Source) override;

protected:
    std::unique_ptr<TTeeGradient> CreateGradient() override;

private:
    TChartSeries* ItemSeries(int Index) const;
    TColor ItemColor(int Index) const;
    TLegendItemText SplitItem(int Index) const;
    void MeasureColumns();
    void DrawTitle(TTeeCanvas3D* C);
    void DrawItem(TTeeCanvas3D* C, int I, int Pos);
    void TakeRoom();
    int SeriesShownCount() const;

    TCustomChart* FChart;
    TLegendAlignment FAlignment = laRight;
    bool FCheckBoxes = false;
    TCheckBoxesStyle FCheckBoxesStyle = cbsCheck;
    bool FCurrentPage = true;
    std::unique_ptr<TChartHiddenPen> FDividingLines;
    int FFirstValue = 0;
    bool FFontSeriesColor = false;
    int FHorizMargin = 0;
    bool FInverted = false;
    TLegendStyle FLegendStyle = lsAuto;
    int FMaxNumRows = 10;
    bool FResizeChart = true;
    std::unique_ptr<TLegendSymbol> FSymbol;
    TLegendTextStyle FTextStyle = ltsLeftValue;
    std::unique_ptr<TLegendTitle> FTitle;
    int FTopPos = 10;
    int FVertMargin = 0;
    int FVertSpacing = 0;
    TChartSeries* FOwnSeries = nullptr;

    // Working fields of the last drawing.
    TLegendStyle FResolved = lsSeries;
    int FItems = 0;
    int FFirst = 0;   // first item drawn (FirstValue or the page's first value)
    int FLastValue = -1;
    int FColumns = 1;
    int FRows = 0;
    int FItemHeight = 0;
    int FSymbolWidth = 0;
    int FColumnWidth[2] = {0, 0};
    int FTextWidth = 0;
    bool FTitleShown = false;
    int FTitleWidth = 0;
    int FTitleHeight = 0;
    int FFrame = 0;
    int FItemStartX = 0;
    std::vector<TItemPlace> FPlaces;
};

class TChartLegend : public TCustomChartLegend {
public:
    DECLARE_CLASS_NAME(TChartLegend)
    using TCustomChartLegend::TCustomChartLegend;
};
