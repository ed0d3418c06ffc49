// Series marks: the framed text boxes a series draws next to its points (value, percent,
// label or combinations), with an optional arrow or callout line from the point to the
// box and a small colour symbol inside. The marks keep the positions the boxes were drawn
// at (and the custom ones a user dragged them to) and per-point format overrides.
#pragma once

#include "RizUridu/Shapes.h"
#include "TeEngine/Pointer.h"
#include "TeEngine/Series.h"

#include "classes/Classes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TSeriesMarksStyle {
    smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend, smsPercentTotal,
    smsLabelPercentTotal, smsXValue, smsXY
};

// Where one mark sits: its box (left-top, width, height) and its arrow from the point
// (start) to the box (end). Custom positions are kept when the marks draw.
class TSeriesMarkPosition {
public:
    TPoint ArrowFrom;
    bool ArrowFix = false;
    TPoint ArrowTo;
    bool Custom = false;
    int Height = 0;
    TPoint LeftTop;
    int Width = 0;

    void Assign(const TSeriesMarkPosition& Source) { *this = Source; }
    // (Left, Top, Left + Width, Top + Height).
    TRect Bounds() const;
};

// One entry per point, nullptr where the point has none.
class TSeriesMarksPositions {
public:
    int Count() const { return int(FItems.size()); }
    // nullptr for an index without a stored position (or outside the list).
    TSeriesMarkPosition* Position(int Index) const;
    // The stored position of Index, created (not custom) when missing; the list grows with
    // empty entries to reach it. A negative index raises ERangeError.
    TSeriesMarkPosition* Ensure(int Index);
    void Append(std::unique_ptr<TSeriesMarkPosition> Position);
    // Removes the entry of a point (later entries move down); nothing beyond the list.
    void Delete(int Index);
    // Removes up to Quantity entries from Start.
    void DeleteRange(int Start, int Quantity);
    void Clear() { FItems.clear(); }
    // Whether any stored position is custom.
    bool ExistCustom() const;

private:
    std::vector<std::unique_ptr<TSeriesMarkPosition>> FItems;
};

// The gradient of marks: right to left, silver to white.
class TSeriesMarksGradient : public TTeeGradient {
public:
    DECLARE_CLASS_INFO(TSeriesMarksGradient)
    explicit TSeriesMarksGradient(TNotifyEvent onChange = nullptr);
};

class TSeriesMarks;

// A per-point override of the look of a mark, and optionally its own text.
class TMarksItem : public TTeeCustomShape {
public:
    DECLARE_CLASS_INFO(TMarksItem)
    explicit TMarksItem(TCustomTeePanel* AOwner = nullptr);
    ~TMarksItem() override;

    TChartPen* Frame() const { return Pen(); }
    // Created on first read and owned by the item.
    TStrings* Text();
    bool HasText() const { return FText != nullptr; }
    // nullptr frees the text; anything else is copied in.
    void SetText(TStrings* Value);

    void Assign(TPersistent* Source) override;

protected:
    void InitShadow(TTeeShadow* Shadow) override;
    std::unique_ptr<TTeeGradient> CreateGradient() override;

private:
    std::unique_ptr<TStringList> FText;
};

// The per-point items, nullptr where a point has none.
class TMarksItems {
public:
    int Count() const { return int(FItems.size()); }
    TMarksItem* Item(int Index) const;
    // Set when the items came from a stream: they then survive clearing the points.
    bool Loaded() const { return FLoaded; }
    void SetLoaded(bool v) { FLoaded = v; }
    void Delete(int Index);
    void Clear() { FItems.clear(); }

private:
    friend class TSeriesMarks;
    std::vector<std::unique_ptr<TMarksItem>> FItems;
    bool FLoaded = false;
};

// A small box in the point's colour at the left inside a mark. Hidden until shown.
class TSeriesMarksSymbol : public TTeeCustomShape {
public:
    DECLARE_CLASS_INFO(TSeriesMarksSymbol)
    explicit TSeriesMarksSymbol(TCustomTeePanel* AOwner = nullptr);

    TChartPen* Frame() const { return Pen(); }
    // Visible and not Transparent.
    bool ShouldDraw() const { return Visible() && !Transparent(); }

protected:
    void InitShadow(TTeeShadow* Shadow) override;
};

class TSeriesMarks : public TTeeCustomShape {
public:
    DECLARE_CLASS_INFO(TSeriesMarks)
    // The series that owns the marks; the marks draw on its chart.
    explicit TSeriesMarks(TChartSeries* ASeries);
    ~TSeriesMarks() override;

    TChartSeries* Series() const { return FSeries; }

    // ---- properties ----
    int Angle() const { return FAngle; }
    void SetAngle(int v);
    // The callout's arrow pen (creates the callout).
    TChartPen* Arrow();
    void SetArrow(TChartPen* v);
    // The callout's length (creates the callout); stored by the callout.
    int ArrowLength();
    void SetArrowLength(int v);
    // Created on first use.
    TMarksCallout* Callout();
    bool HasCallout() const { return FCallout != nullptr; }
    // Copied in; nullptr frees the callout.
    void SetCallout(TMarksCallout* v);
    TColor BackColor() const { return Color(); }
    void SetBackColor(TColor v) { SetColor(v); }
    bool Clip() const { return FClip; }
    void SetClip(bool v);
    // At least 1: a smaller value is taken as 1 (every point).
    int DrawEvery() const { return FDrawEvery; }
    void SetDrawEvery(int v);
    TChartPen* Frame() const { return Pen(); }
    void SetFrame(TChartPen* v) { SetPen(v); }
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v);
    TSeriesMarksStyle Style() const { return FStyle; }
    // A value outside the style list raises ERangeError.
    void SetStyle(TSeriesMarksStyle v);
    // Created on first use.
    TSeriesMarksSymbol* Symbol();
    bool HasSymbol() const { return FSymbol != nullptr; }
    // Copied in; nullptr frees the symbol.
    void SetSymbol(TSeriesMarksSymbol* v);
    // The depth the marks draw at (the series' middle depth).
    int ZPosition() const { return FZPosition; }
    void SetZPosition(int v) { FZPosition = v; }

    // ---- positions and items ----
    TSeriesMarksPositions* Positions() { return &FPositions; }
    TMarksItems* Items() { return &FItems; }
    // The item of a point, created (the list extended with empty entries) when missing.
    // A negative index raises ERangeError.
    TMarksItem* Item(int Index);
    // The point's item when it has one, else the marks: the look of the point's mark.
    TTeeCustomShape* ItemOrSelf(int Index);
    // Frees the positions, and the items unless they came from a stream.
    void Clear();
    // A point of the series was deleted: its position and item go, later ones move down.
    void DeletePoint(int Index);

    // ---- texts ----
    // The mark text of a point: the item's own text, or the text of Style, then
    // OnGetMarkText of the series. LegendStyle is the chart legend's text style.
    std::string MarkText(int Index, TLegendTextStyle LegendStyle = ltsLeftValue) const;
    // The widest line of the point's mark text with the surface's current font.
    int MarkTextPixelWidth(int Index) const;

    // ---- geometry ----
    // The first index (of those DrawEvery draws) whose stored box contains (X, Y), or -1.
    int Clicked(int X, int Y);
    // The box of Position grown by the frame and the shadow and moved as in a 3D chart.
    TRect MarkRect(int Index, const TSeriesMarkPosition& Position);
    // Moves Position up or down off the stored marks First..Index-1 it overlaps.
    void ResolveOverlap(int First, int Index, TSeriesMarkPosition& Position);
    // Moves the mark away from its point by the callout's length and distance.
    void ShiftMarkPosition(TSeriesMarkPosition& Position);

    // ---- drawing ----
    // Whether the mark of Index is drawn at all (DrawEvery, null point, format visible).
    bool ShouldDrawMark(int Index);
    // Selects the point's font and computes the box around Point for Text (size and place).
    void PrepareMarkPosition(int Index, const std::string& Text, const TPoint& Point,
                             TSeriesMarkPosition& Position);
    // The widest and the tallest of the boxes (MarkRect) that the marks of points
    // First..Last take where they draw; 0 and 0 when none draws.
    TSize LargestMarkSize(int First, int Last);
    // Draws one mark: stores or applies the custom position, the callout, the box, the
    // symbol and the text.
    void DrawItem(int Index, TColor Color, const std::string& Text, TSeriesMarkPosition& Position);
    // Every mark from First to Last: PointOf gives the point's pixel; DrawMark draws one
    // (by default DrawItem in the point's colour). With Clip the marks stay inside the
    // chart rectangle.
    using TPointOf = std::function<TPoint(int Index)>;
    using TDrawMark = std::function<void(int Index, const std::string& Text, TSeriesMarkPosition& Position)>;
    void DrawMarks(int First, int Last, const TPointOf& PointOf, const TDrawMark& DrawMark = nullptr,
                   TLegendTextStyle LegendStyle = ltsLeftValue);

    void Assign(TPersistent* Source) override;
    void SetParentChart(TCustomTeePanel* Value) override;
    // "Items": the per-point items, each as a list of its published properties.
    void DefineProperties(TFiler* Filer) override;

protected:
    void InitShadow(TTeeShadow* Shadow) override;
    std::unique_ptr<TTeeGradient> CreateGradient() override;

private:
    // Font of the format, zoomed as the 3D options say.
    void ApplyMarkFont(TTeeCustomShape* Format);
    // The move a 3D projection gives the arrow end at the marks' depth.
    TPoint Offset3D(const TPoint& ArrowTo) const;
    void DrawText(TTeeCustomShape* Format, const TRect& R, const std::string& Text, bool SymbolDrawn);
    bool SymbolDraws() const { return FSymbol != nullptr && FSymbol->ShouldDraw(); }

    int FAngle = 0;
    std::unique_ptr<TMarksCallout> FCallout;
    bool FClip = false;
    int FDrawEvery = 1;
    TMarksItems FItems;
    TSeriesMarksStyle FStyle = smsLabel;
    bool FMultiLine = false;
    TChartSeries* FSeries = nullptr;
    TSeriesMarksPositions FPositions;
    std::unique_ptr<TSeriesMarksSymbol> FSymbol;
    int FZPosition = 0;
};
