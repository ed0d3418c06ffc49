// The points of a series as a store of their own: value lists (X at index 0, Y at index
// 1, extra lists after), one optional label and colour per point, which list is the
// mandatory one, and the edits of the points themselves (add, delete, exchange, sort,
// clear, copy). The store raises no events of its own: the series that holds it adds
// them around its edits, and hears through TSeriesPointsOwner the changes that the lists
// and labels make by themselves. A store without an owner works on its own.
#pragma once

#include "TeEngine/Lists.h"
#include "TeEngine/ValueList.h"

#include "graphics/Colors.h"

#include <memory>
#include <string>
#include <vector>

// What a store tells the one that holds it.
class TSeriesPointsOwner {
public:
    // A list changed its values in place (exchanged or renumbered them) from ValueIndex.
    virtual void SeriesPointsModified(int ValueIndex) = 0;
    // A list's value source changed: the points are to be fetched again.
    virtual void SeriesPointsSourceChanged() = 0;
    // A label, a point colour or a list's date-time flag changed: the points look different.
    virtual void SeriesPointsChanged() = 0;
    // Sorting swaps two points through the owner, which may keep per-point state of its own
    // (it calls TSeriesPoints::ExchangePoints for the points).
    virtual void SeriesPointsExchange(int A, int B) = 0;

protected:
    ~TSeriesPointsOwner() = default;
};

class TSeriesPoints : public TObject {
public:
    DECLARE_CLASS_NAME(TSeriesPoints)
    // The X list (ascending) and the Y list (mandatory); Owner may be null.
    explicit TSeriesPoints(TSeriesPointsOwner* Owner = nullptr);
    ~TSeriesPoints() override;
    TSeriesPoints(const TSeriesPoints&) = delete;
    TSeriesPoints& operator=(const TSeriesPoints&) = delete;

    // ---- lists ----
    int Count() const { return FXValues->Count(); }
    TChartValueLists* ValuesList() { return &FValuesList; }
    const TChartValueLists* ValuesList() const { return &FValuesList; }
    TChartValueList* XValues() const { return FXValues; }
    TChartValueList* YValues() const { return FYValues; }
    TChartValueList* MandatoryValueList() const { return FMandatory; }
    TChartValueList* NotMandatoryValueList() const { return FNotMandatory; }
    bool YMandatory() const { return FYMandatory; }
    // Horizontal points: X becomes the mandatory list.
    void SetHorizontal();
    // The extra list (past X and Y) called Name, in any case; else the Y list.
    TChartValueList* ValueListByName(const std::string& Name) const;

    // ---- labels and colours ----
    std::string LabelText(int Index) const { return FLabels.Label(Index); }
    void SetLabel(int Index, const std::string& Text) { FLabels.SetLabel(Index, Text); }
    TLabelsList* Labels() { return &FLabels; }
    const TLabelsList* Labels() const { return &FLabels; }
    // The colour list, or nullptr while no point has its own colour.
    const std::vector<TColor>* Colors() const { return FColors.get(); }
    // The colour stored for a point, clDefault when it has none (inline: drawing asks it
    // for every point).
    TColor StoredColor(int Index) const
    {
        if (FColors && Index >= 0 && Index < static_cast<int>(FColors->size()))
            return (*FColors)[static_cast<size_t>(Index)];
        return clDefault;
    }
    // ERangeError outside the points once colours are stored; clDefault stores nothing
    // while no point has its own colour.
    void SetValueColor(int Index, TColor Color);

    // ---- adding ----
    // A new point from the lists' pending values (TempValue): X placed by its order, the
    // other lists at the same index, with Label and Color. Answers the point's index.
    int InsertPending(const std::string& Label, TColor Color);
    int AddXY(double X, double Y, const std::string& Label = {}, TColor Color = clDefault);
    // The mandatory value; the other one is the point's position.
    int Add(double Value, const std::string& Label = {}, TColor Color = clDefault);
    // The values of Source's point Index (X and Y crossed when one store is horizontal and
    // the other not; extra lists that Source lacks give 0), X placed by its order; answers
    // the new index. No colour or label: CopyPointExtras adds them.
    int CopyPointValues(const TSeriesPoints& Source, int Index);
    // The colour and label of Source's point SourceIndex, inserted at Index.
    void CopyPointExtras(const TSeriesPoints& Source, int SourceIndex, int Index);

    // ---- removing and moving ----
    // ChartException "Series Delete: ValueIndex %d out of bounds (0 to %d)." outside
    // 0..Count-1.
    void Delete(int Index);
    // EAssertionFailed for a Quantity below 1 or a range past the end, ERangeError for a
    // negative Start; a Start at or past the end deletes nothing (answers false).
    bool DeleteRange(int Start, int Quantity);
    // Swaps two points in every list, the colours and the labels.
    void ExchangePoints(int A, int B);
    // Every list emptied, the colours freed, the labels cleared.
    void Clear();

    // ---- copying ----
    // Order, date-time flag and value source of Source's lists (X and Y crossed as in
    // CopyPointValues; extra lists by position, as far as both have them).
    void AssignListSettings(const TSeriesPoints& Source);
    // The points become Source's: every list (extra lists Source lacks get 0), the
    // colours and the labels.
    void AssignPoints(const TSeriesPoints& Source);

    // ---- what a stream needs to know ----
    // The not-mandatory values are not 0, 1, 2, ... (every point is looked at).
    bool HasCustomXValues() const;
    // Some point has a colour other than the default and SeriesColor.
    bool HasPointColors(TColor SeriesColor) const;
    bool HasLabels() const;
    // Some label is longer than a length byte holds.
    bool HasLongLabels() const;
    // The lists become Columns whole (one per list, all of Count values, X in the list's
    // order), the colours Colors when any is set, the labels Labels (may be empty).
    void TakePoints(std::vector<std::vector<double>>&& Columns, std::vector<TColor>&& Colors,
                    const std::vector<std::string>& Labels);

private:
    friend class TChartValueList;
    friend class TLabelsList;
    // The lists' and labels' own changes, passed to the owner.
    void NotifyModified(int ValueIndex);
    void NotifySourceChanged();
    void NotifyChanged();
    // Sorting's swap: through the owner when there is one.
    void SortExchange(int A, int B);
    // Inserts Color at Index, making the colour list when Color is not the default.
    void InsertColor(int Index, TColor Color);

    TSeriesPointsOwner* FOwner;
    TChartValueLists FValuesList;
    TChartValueList* FXValues = nullptr;
    TChartValueList* FYValues = nullptr;
    TChartValueList* FMandatory = nullptr;
    TChartValueList* FNotMandatory = nullptr;
    bool FYMandatory = true;
    TLabelsList FLabels{this};
    std::unique_ptr<std::vector<TColor>> FColors;
};
