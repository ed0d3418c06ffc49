// Grids unit of the platform layer: the string grid.
#pragma once

#include "Controls.h"
#include "system/Flags.h"

#include <string>
#include <vector>

enum TGridOption : unsigned { goEditing = 1u };
using TGridOptions = TFlags<TGridOption>;
DECLARE_FLAG_OPERATORS(TGridOption)

// A grid of texts (QTableWidget) with fixed (header) rows and columns. The texts live in
// the grid, not in the visible rows: a smaller RowCount or ColCount hides cells and a
// larger one shows their texts again, and cells outside the visible counts can be read
// and written. A cell index outside 0..MaxCellIndex raises ERangeError.
class TStringGrid : public TWinControl {
public:
    DECLARE_CLASS_NAME(TStringGrid)
    static constexpr int MaxCellIndex = 65535;

    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);

    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    // Width of a visible column; an index outside 0..ColCount-1 raises ERangeError.
    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int Value);

    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);

    std::string Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const std::string& Value);

private:
    void Refresh();
    void ShowCell(int ACol, int ARow);
    void CellEdited(int ACol, int ARow, const std::string& Value);
    bool CellEditable(int ACol, int ARow) const;
    // Ctrl+C and Ctrl+V while no cell is being edited: the selected cells to the
    // clipboard as tab-separated lines, and such lines into the editable cells.
    void CopyCells();
    void PasteCells();
    // Writes the store only; false when an empty text beyond the store needs no room.
    bool StoreCell(int ACol, int ARow, const std::string& Value);
    static void CheckCell(int ACol, int ARow);

    int FColCount = 5, FRowCount = 5, FFixedCols = 1, FFixedRows = 1;
    int FDefaultColWidth = 64, FDefaultRowHeight = 24;
    std::vector<int> FColWidths;
    TGridOptions FOptions;
    std::vector<std::vector<std::string>> FCells;   // [row][col], grown on writing
    bool FUpdating = false;
};
