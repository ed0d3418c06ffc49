// A grid that stores no cells: its texts, fills and edits come from the owner through
// callbacks, asked only for the cells on screen (a toolkit table view over an item
// model), so that a grid of millions of rows opens and scrolls at once.
//
// Coordinates are a platform grid's: rows 0..FixedRows-1 are fixed at the top and their
// texts make the column headings; column 0 is fixed at the left and its texts make the
// row headings; the cells from (1, FixedRows) on are data cells.
#pragma once

#include "Controls.h"
#include "CustomControls.h"
#include "Grids.h"

#include <functional>
#include <memory>
#include <string>

class TBitmap;

class TVirtualGrid : public TWinControl {
public:
    DECLARE_CLASS_NAME(TVirtualGrid)
    explicit TVirtualGrid(TComponent* AOwner);
    ~TVirtualGrid() override;

    // ---- size ----
    int ColCount() const { return FColCount; }
    int RowCount() const { return FRowCount; }
    int FixedRows() const { return FFixedRows; }
    // Sets the three at once (ColCount >= 1, RowCount > FixedRows >= 1); the current
    // cell stays where it was when it still exists, else moves to the nearest one.
    void SetCounts(int AColCount, int ARowCount, int AFixedRows);
    void SetColCount(int Value) { SetCounts(Value, FRowCount, FFixedRows); }
    void SetRowCount(int Value) { SetCounts(FColCount, Value, FFixedRows); }

    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    // Width of column ACol (0: the row headings); ERangeError outside 0..ColCount-1.
    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int Value);
    // The width column ACol's heading (its texts and picture) needs, in the grid's font.
    int HeadingWidth(int ACol) const;

    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);

    // ---- current cell and scrolling ----
    int Col() const;
    int Row() const;
    // Moves the current cell (within the data cells) and fires OnSelectCell.
    void SetCol(int Value) { FocusCell(Value, Row()); }
    void SetRow(int Value) { FocusCell(Col(), Value); }
    void FocusCell(int ACol, int ARow);
    // The first data row shown at the top, and how many rows fit on screen.
    int TopRow() const;
    void SetTopRow(int Value);
    int VisibleRowCount() const;

    // ---- the cell editor ----
    bool EditorMode() const;
    // Opens the editor on the current cell when it may be edited (OnCanEdit); answers
    // whether an editor is open.
    bool ShowEditor();
    // Closes the editor: with Keep its text goes to OnSetText first.
    void HideEditor(bool Keep);
    std::string EditorText() const;
    void SetEditorText(const std::string& Value);

    // The text a cell shows (OnGetText's answer).
    std::string Cells(int ACol, int ARow) const { return OnGetText ? OnGetText(ACol, ARow) : std::string(); }

    // ---- repainting ----
    // The cells and headings are asked again.
    void InvalidateGrid();
    // Makes Bitmap the grid's size and paints the grid into it as it shows now.
    void PaintTo(TBitmap* Bitmap);

    // ---- what the owner answers ----
    std::function<std::string(int ACol, int ARow)> OnGetText;
    // The text the editor opens with; OnGetText's without a handler.
    std::function<std::string(int ACol, int ARow)> OnGetEditText;
    // The fill of a data cell; clNone (or no handler) for the grid's own colour.
    std::function<TColor(int ACol, int ARow)> OnGetFill;
    // True for a cell whose text sits at the left (else at the right).
    std::function<bool(int ACol, int ARow)> OnLeftAligned;
    // A small picture before a column heading; none while the bitmap stays empty.
    std::function<void(int ACol, TBitmap* Picture)> OnGetHeadingPicture;
    // Whether a data cell may be edited (with goEditing); all may without a handler.
    std::function<bool(int ACol, int ARow)> OnCanEdit;
    // The text of an edited cell when the editor closes keeping it. An exception it raises
    // is shown as any handler's, and the cell stays as it was.
    std::function<void(int ACol, int ARow, const std::string& Text)> OnSetText;
    std::function<void(int ACol, int ARow)> OnSelectCell;
    std::function<void(int ACol, int ARow)> OnDblClickCell;
    // Keys pressed in the grid (not in its editor); setting Key to 0 consumes it.
    TKeyEvent OnKeyDown;
    // Fired when the editor opens or closes.
    TNotifyEvent OnEditorChange;

    struct Impl;

private:
    std::unique_ptr<Impl> d;
    int FColCount = 1;
    int FRowCount = 2;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 16;
    TGridOptions FOptions = goEditing;
};
