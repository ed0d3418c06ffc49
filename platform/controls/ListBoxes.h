// The platform's list box: a list of strings with objects, single or multiple selection.
#pragma once

#include "Controls.h"
#include "OwnerDraw.h"

#include <memory>

class QImage;
class TBitmap;
class TCanvas;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };

// A list box (QListWidget). Items is a string list whose objects ride along with the
// strings (not owned). With MultiSelect any number of items can be selected; without it
// selecting an item deselects the others. OnClick fires when the user clicks an item or
// moves the current item with a key; setting ItemIndex from the program fires nothing.
class TListBox : public TWinControl {
public:
    DECLARE_CLASS_NAME(TListBox)
    explicit TListBox(TComponent* AOwner);
    ~TListBox() override;

    TStrings* Items() const { return FItems.get(); }
    void Clear() { FItems->Clear(); }

    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);

    // -1 when there is no current item; an index outside the items makes none current.
    int ItemIndex() const;
    void SetItemIndex(int Value);

    // Selection of one item; the index is checked (EListError).
    bool Selected(int Index) const;
    void SetSelected(int Index, bool Value);
    int SelCount() const;

    TNotifyEvent OnDblClick;

    // Owner-drawn items (lbOwnerDrawFixed) are ItemHeight pixels high and drawn by
    // OnDrawItem on Canvas, which comes preset with the item's colours.
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    // The canvas of the item being drawn (nullptr outside OnDrawItem).
    TCanvas* Canvas() const { return FDrawCanvas; }
    TDrawItemEvent OnDrawItem;
    // Makes Bitmap one item's size (Width x ItemHeight) and draws the item into it as the
    // list does.
    void PaintItemTo(TBitmap* Bitmap, int Index, TOwnerDrawState State);

private:
    friend class ListItemsDelegate;
    void DrawItem(QImage& Image, int Index, const TRect& Rect, TOwnerDrawState State);

    std::unique_ptr<TStrings> FItems;
    bool FMultiSelect = false;
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 16;
    TCanvas* FDrawCanvas = nullptr;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A list box whose items carry a check box (unchecked, checked or greyed). The user's
// change of a check fires OnClickCheck with the item current; setting State from the
// program fires nothing.
class TCheckListBox : public TListBox {
public:
    DECLARE_CLASS_NAME(TCheckListBox)
    explicit TCheckListBox(TComponent* AOwner);

    // Checked index (EListError).
    TCheckBoxState State(int Index) const;
    void SetState(int Index, TCheckBoxState Value);
    bool Checked(int Index) const { return State(Index) == cbChecked; }

    TNotifyEvent OnClickCheck;
};
