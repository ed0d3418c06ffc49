// The chart data grid: the points of one series, or of every series of a chart side by
// side, one row per point index and one column per value list, with optional colour and
// label columns; typing into a cell writes the value into the series at once. The grid
// keeps no copy of the points: every cell is read from the series when it is shown, so
// a series of a million points opens and scrolls at once.
#pragma once

#include "Chart.h"
#include "Navigator.h"

#include "controls/VirtualGrid.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TChartGridNavigator;

enum TChartGridShow { cgsAuto, cgsNo, cgsYes };

class TCustomChartGrid : public TVirtualGrid, public IPanelEventListener {
public:
    DECLARE_CLASS_NAME(TCustomChartGrid)
    explicit TCustomChartGrid(TComponent* AOwner);
    ~TCustomChartGrid() override;

    // Every series of this chart; clears Series.
    TCustomChart* Chart() const { return FChart; }
    void SetChart(TCustomChart* Value);
    // Only this series; clears Chart.
    TChartSeries* Series() const { return FSeries; }
    void SetSeries(TChartSeries* Value);
    bool ShowColors() const { return FShowColors; }
    void SetShowColors(bool Value);
    bool ShowLabels() const { return FShowLabels; }
    void SetShowLabels(bool Value);
    TChartGridShow ShowXValues() const { return FShowXValues; }
    void SetShowXValues(TChartGridShow Value);

    // The matrix layout for 3D data: the first shown series with a third value list,
    // one column per distinct value of that list and one row per distinct X value, each
    // cell the Y value of the point with that X and third value.
    bool MatrixLayout() const { return FMatrix; }
    void SetMatrixLayout(bool Value);
    // The series the matrix shows (nullptr outside the matrix layout).
    TChartSeries* MatrixSeries() const { return FMatrixSeries; }

    // ---- layout ----
    // Columns and rows again from the shown series.
    void RecalcDimensions();
    int FirstDataRow() const { return FixedRows(); }
    // The series shown, in the chart's order.
    const std::vector<TChartSeries*>& ShownSeries() const { return FShown; }
    bool AllowEditing() const { return Options().Test(goEditing); }
    // Whether a column of X values is shown (for any shown series).
    bool ShowsXColumn() const;

    // ---- operations of the editor and the navigator ----
    // Each shown series gets a null point at X = its count; the grid goes to the row where
    // the first series' point landed (the last row, unless the series is kept in X order).
    void InsertPoint();
    // Each shown series loses its point at the current row; series whose X column is not
    // shown are renumbered 0, 1, 2, ... so that their X values stay indexes.
    void DeletePoint();
    // Whether those two have anything to act on: an editable grid in the row layout that
    // shows a series (and, to delete, a point in the current row). The matrix layout ties
    // cells to points by their values and has no row to append.
    bool CanInsertPoint() const;
    bool CanDeletePoint() const;
    // The series and point of the current colour cell; false when the current cell is not
    // the colour cell of an existing point.
    bool CurrentColorCell(TChartSeries*& ASeries, int& AIndex) const;
    // Sets the colour of the current colour cell's point (clDefault: back to the series
    // colour; clNone: the point becomes null).
    void SetPointColor(TColor Color);
    // Picks the current colour cell's colour with the colour dialog.
    void PickPointColor();

    TChartGridNavigator* Navigator() const { return FNavigator; }
    void SetNavigator(TChartGridNavigator* Value) { FNavigator = Value; }

    void HandleEvent(TTeeEvent* Event) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    enum class TColumnKind { Index, Color, Label, Value };
    struct TColumn {
        TColumnKind Kind = TColumnKind::Index;
        TChartSeries* Series = nullptr;
        TChartValueList* List = nullptr;
        bool FirstOfSeries = false;
    };

    void BuildMatrix();
    int MatrixPoint(int ACol, int ARow) const;
    std::string MatrixText(int ACol, int ARow) const;
    void WriteMatrixCell(int ACol, int ARow, const std::string& Text);
    void Listen(TCustomAxisPanel* Panel);
    void Unlisten();
    void Rebuild(TChartSeries* Leaving);
    void TellNavigator(int ARow);
    bool HasData() const;
    const TColumn* ColumnAt(int ACol) const;
    std::string CellText(int ACol, int ARow) const;
    std::string EditText(int ACol, int ARow) const;
    TColor CellFill(int ACol, int ARow) const;
    void HeadingPicture(int ACol, TBitmap* Picture);
    void WriteCell(int ACol, int ARow, const std::string& Text);
    void WriteLabel(int Index, const std::string& Text);
    int PlaceEditedX(TChartSeries* S, TChartValueList* List, int Index);
    void AfterWrite(TChartSeries* S);
    void WithoutListening(const std::function<void()>& Change);
    void CellKeyDown(uint16_t& Key, TShiftState Shift);

    TCustomChart* FChart = nullptr;
    TChartSeries* FSeries = nullptr;
    TCustomAxisPanel* FListened = nullptr;
    TChartGridNavigator* FNavigator = nullptr;
    bool FShowColors = false;
    bool FShowLabels = true;
    TChartGridShow FShowXValues = cgsAuto;
    bool FShowColumnTitles = true;   // the second fixed row, with the column titles
    std::vector<TChartSeries*> FShown;
    std::vector<TColumn> FColumns;   // by grid column
    std::map<const TChartSeries*, std::unique_ptr<TBitmap>> FSymbols;
    bool FMatrix = false;
    TChartSeries* FMatrixSeries = nullptr;
    std::vector<double> FMatrixX;       // by data row
    std::vector<double> FMatrixZ;       // by data column
    std::map<std::pair<double, double>, int> FMatrixPoints;   // (X, third value) -> point
};

// Published as the grid the editor shows.
class TChartGrid : public TCustomChartGrid {
public:
    DECLARE_CLASS_INFO(TChartGrid)
    using TCustomChartGrid::TCustomChartGrid;
};

// The navigator of a chart grid: steps through its rows, inserts and deletes points and
// opens, keeps or discards the cell editor.
class TChartGridNavigator : public TCustomRizIvoigator {
public:
    DECLARE_CLASS_INFO(TChartGridNavigator)
    explicit TChartGridNavigator(TComponent* AOwner);
    ~TChartGridNavigator() override;

    TCustomChartGrid* Grid() const { return FGrid; }
    void SetGrid(TCustomChartGrid* Value);
    // The buttons' states for the grid's row ARow.
    void EnableButtons(int ARow);

    void UpdateButtonStates() override;
    void ButtonClicked(TRizIvoigateBtn Index) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TCustomChartGrid* FGrid = nullptr;
};
