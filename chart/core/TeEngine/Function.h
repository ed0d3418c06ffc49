// Calculated functions: a function fills its parent series from the series' data
// sources, over the whole source at once, period by period along the source's X values,
// or (moving functions) through a window that slides one point at a time. Descendants
// supply only the arithmetic: CalculateRange over a range of one source and
// CalculateAtIndex across several sources at one index.
#pragma once

#include "classes/Classes.h"
#include "classes/TypInfo.h"

#include <string>
#include <vector>

class TChartSeries;
class TChartValueList;
class TCustomAxisPanel;

// How a period is measured: a number of points, or a range of X values.
enum TFunctionPeriodStyle { psNumPoints, psRange };
// Where in its period a result point is placed.
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };

class TTeeFunction : public TComponent {
public:
    DECLARE_CLASS_INFO(TTeeFunction)
    explicit TTeeFunction(TComponent* AOwner);
    ~TTeeFunction() override;

    // ---- virtual slots ----
    // Adds the point of the range First..Last of Source at Position.
    virtual void CalculatePeriod(TChartSeries* Source, double Position, int First, int Last);
    // One value over the whole source: one point at the centre of List's range, or (for
    // parents that draw a level line) two points at its minimum and maximum.
    virtual void CalculateWholeSource(TChartSeries* Source, TChartValueList* List);
    // One point per period along List (the source's X values).
    virtual void CalculateByPeriod(TChartSeries* Source, TChartValueList* List);
    // By period when Period is set, else over the whole source.
    virtual void ComputeFromSource(TChartSeries* Source, TChartValueList* List);
    virtual std::string EditorClassName() const { return "TTeeFunctionEditor"; }
    // Every series of a gallery chart sets itself up as an enabled preview.
    virtual void SetUpGalleryPreview(TCustomAxisPanel* Chart);
    // The value over the points First..Last of Source (-1, -1: the whole source).
    virtual double CalculateRange(TChartSeries* Source, int First, int Last) { return 0; }
    // The value across Sources at point Index.
    virtual double CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index) { return 0; }

    // ---- overridable operations outside the slot order ----
    // A series given by the stream reader becomes the parent series.
    void SetParentComponent(TComponent* Value) override;
    virtual TComponent* GetParentComponent() const;
    bool HasParent() const override { return true; }
    // The parent series was cleared.
    virtual void DataCleared() {}
    // Whether Source may feed the parent series.
    virtual bool AcceptsSource(TComponent* Source) const { return true; }
    // Refills the parent series from Source (one of its data sources), unless updating.
    virtual void AddPoints(TChartSeries* Source);

    // ---- properties ----
    double Period() const { return FPeriod; }
    // ChartException "Function Period should be >= 0" for a negative (or not finite)
    // value, which is not stored; a change recalculates.
    void SetPeriod(double Value);
    TFunctionPeriodStyle PeriodStyle() const { return FPeriodStyle; }
    void SetPeriodStyle(TFunctionPeriodStyle Value);
    TFunctionPeriodAlign PeriodAlign() const { return FPeriodAlign; }
    void SetPeriodAlign(TFunctionPeriodAlign Value);
    TChartSeries* ParentSeries() const { return FParentSeries; }
    // Moves the function to Value: the old series forgets it, the new one takes it.
    void SetParentSeries(TChartSeries* Value);

    // Flags the function editor reads.
    bool CanUsePeriod() const { return FCanUsePeriod; }
    bool NoSourceRequired() const { return FNoSourceRequired; }
    bool SingleSource() const { return FSingleSource; }
    bool HideSourceList() const { return FHideSourceList; }

    // ---- updates ----
    // The parent series refills from its sources, unless updating.
    void Recalculate();
    void BeginUpdate() { FUpdating = true; }
    // Ends updating and recalculates once.
    void EndUpdate();
    bool Updating() const { return FUpdating; }

    // Copies Period, PeriodStyle and PeriodAlign.
    void Assign(TPersistent* Source) override;

    // The list of Source the function reads: the one named by the parent's mandatory
    // list's ValueSource, else Source's mandatory list.
    TChartValueList* ValueListText(TChartSeries* Source) const;
    // Adds (Position, Value) to the parent series for a Y-mandatory source, else
    // (Value, Position); default colour, no label.
    void AddFunctionPoint(bool YMandatorySource, double Value, double Position);

protected:
    double FPeriod = 0;
    TFunctionPeriodStyle FPeriodStyle = psNumPoints;
    TFunctionPeriodAlign FPeriodAlign = paCenter;
    bool FCanUsePeriod = true;
    bool FNoSourceRequired = false;
    bool FSingleSource = false;
    bool FHideSourceList = false;

private:
    friend class TChartSeries;
    TChartSeries* FParentSeries = nullptr;
    bool FUpdating = false;
};

// A function over a window of Period points that slides one point at a time.
class TTeeMovingFunction : public TTeeFunction {
public:
    DECLARE_CLASS_INFO(TTeeMovingFunction)
    explicit TTeeMovingFunction(TComponent* AOwner);
    // One point per window of Period points (at least 1), at the X of its last point.
    void ComputeFromSource(TChartSeries* Source, TChartValueList* List) override;
};
