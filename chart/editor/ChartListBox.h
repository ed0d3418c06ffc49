// The series list box: the series of a chart, one line each, in four sections (the
// series type's icon, an active check box or radio button, the legend symbol and the
// title). A click on the check switches a series on or off, a double click on the icon
// changes its type through the gallery, one on the symbol picks its colour, and dragging
// a line reorders the series. The chart editor's series tab adds, deletes, clones,
// renames and moves series through it.
#pragma once

#include "Chart.h"

#include "controls/CustomControls.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TInplaceEdit;
class TScrollBar;
class TSeriesGroup;

// Set by the gallery unit at its start-up. The first shows the gallery and answers a new
// series of the chosen type in Chart (owned like the chart's series), or nullptr. The
// second shows the gallery in change mode and, on OK, replaces Series by one of the
// chosen class (Series then refers to the new one) and answers that class; nullptr
// when the user cancels.
using TNewSeriesFromGallery = std::function<TChartSeries*(TComponent* Owner, TCustomAxisPanel* Chart)>;
using TChangeTypeFromGallery = std::function<TChartSeriesClass(TComponent* Owner, TChartSeries*& Series)>;
extern TNewSeriesFromGallery NewSeriesFromGalleryHook;
extern TChangeTypeFromGallery ChangeTypeFromGalleryHook;

using TSeriesNotifyEvent = std::function<void(TObject* Sender, TChartSeries* Series)>;
using TChangeOrderEvent = std::function<void(TObject* Sender, TChartSeries* Series1, TChartSeries* Series2)>;
using TDblClickSeriesEvent = std::function<void(TObject* Sender, int Index)>;

class TChartListBox : public TCustomControl, public IPanelEventListener {
public:
    DECLARE_CLASS_INFO(TChartListBox)
    explicit TChartListBox(TComponent* AOwner);
    ~TChartListBox() override;

    // The four sections of a line, left to right.
    enum TSection { lsIcon, lsCheck, lsColor, lsTitle };
    static constexpr int ItemHeight = 24;

    // ---- properties ----
    TCustomChart* Chart() const { return FChart; }
    void SetChart(TCustomChart* Value);
    TCheckBoxesStyle CheckStyle() const { return FCheckStyle; }
    // cbsRadio leaves only the first active series active.
    void SetCheckStyle(TCheckBoxesStyle Value);
    bool AllowAddSeries = true;
    bool AllowDeleteSeries = true;
    bool AskDelete = true;
    bool EnableChangeColor = true;
    bool EnableChangeType = true;
    bool EnableDragSeries = true;
    bool ShowSection(TSection Section) const { return FSectionVisible[Section]; }
    void SetShowSection(TSection Section, bool Value);
    bool ShowSeriesIcon() const { return ShowSection(lsIcon); }
    void SetShowSeriesIcon(bool Value) { SetShowSection(lsIcon, Value); }
    bool ShowActiveCheck() const { return ShowSection(lsCheck); }
    void SetShowActiveCheck(bool Value) { SetShowSection(lsCheck, Value); }
    bool ShowSeriesColor() const { return ShowSection(lsColor); }
    void SetShowSeriesColor(bool Value) { SetShowSection(lsColor, Value); }
    bool ShowSeriesTitle() const { return ShowSection(lsTitle); }
    void SetShowSeriesTitle(bool Value) { SetShowSection(lsTitle, Value); }
    // Component names instead of titles.
    bool ShowSeriesNames() const { return FShowNames; }
    void SetShowSeriesNames(bool Value);
    // Only the series of this group are listed (nullptr: every series of the chart).
    TSeriesGroup* SeriesGroup() const { return FGroup; }
    void SetSeriesGroup(TSeriesGroup* Value);
    // A second list kept in step with the lines (not owned).
    TStrings* OtherItems() const { return FOtherItems; }
    void SetOtherItems(TStrings* Value) { FOtherItems = Value; }

    // ---- lines and selection ----
    TStrings* Items() const { return FItems.get(); }
    int ItemIndex() const { return FItemIndex; }
    // Makes the line current and the only selected one (-1: none).
    void SetItemIndex(int Value);
    bool Selected(int Index) const;
    void SetSelected(int Index, bool Value);
    int SelCount() const;
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    // The vertical scroll bar, shown while the lines do not all fit.
    TScrollBar* ScrollBar() const { return FScrollBar; }
    // The line at (X, Y), or -1.
    int ItemAtPos(int X, int Y) const;
    // The section at X, or -1.
    int SectionAt(int X) const;
    // The left pixel of a section (the widths of the visible sections before it).
    int SectionLeft(TSection Section) const;
    int SectionWidth(TSection Section) const { return FSectionWidth[Section]; }

    // ---- operations of the chart editor ----
    // Refills the lines, keeping Keep selected when it is listed (else the first line).
    void FillSeriesList(TChartSeries* Keep = nullptr);
    TChartSeries* SelectedSeries() const;
    TChartSeries* SeriesAt(int Index) const;
    void SelectSeries(int Index);
    void MoveSeriesUp();
    void MoveSeriesDown();
    // Swaps lines A and B, their series in the chart, and selects B.
    void ExchangeLines(int A, int B);
    void DeleteSelectedSeries();
    void CloneSelectedSeries();
    // Asks for a new title (or name); true when the shown text changed.
    bool RenameSelectedSeries();
    void AddSeriesFromGallery();
    void ChangeSelectedSeriesType();
    // The in-place title editor over the current line.
    void StartTitleEdit();
    bool TitleEditing() const;
    TInplaceEdit* TitleEditor() const { return FTitleEditor; }
    void EndTitleEdit(bool Keep);

    // ---- events ----
    TSeriesNotifyEvent OnChangeActive;
    TSeriesNotifyEvent OnChangeColor;
    TSeriesNotifyEvent OnRemovedSeries;
    TChangeOrderEvent OnChangeOrder;
    TDblClickSeriesEvent OnDblClickSeries;
    TNotifyEvent OnOtherItemsChange;
    TNotifyEvent OnRefresh;

    void HandleEvent(TTeeEvent* Event) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Resize() override;

private:
    // Shows the scroll bar at the right edge with the range of top lines while the lines
    // do not all fit, else hides it.
    void SyncScrollBar();
    // The width the lines take: the client width less a shown scroll bar.
    int LinesWidth() const;
    void DrawItem(int Index, const TRect& R);
    void ToggleActive(int Line);
    void ChangeLineColor(int Line);
    void ChangeLineType(int Line);
    void RemoveLine(int Line);
    std::vector<TChartSeries*> SelectedList() const;
    void Refresh();
    void TitleKeyDown(uint16_t& Key, TShiftState Shift);

    TCustomChart* FChart = nullptr;
    TCheckBoxesStyle FCheckStyle = cbsCheck;
    bool FSectionVisible[4] = {true, true, true, true};
    int FSectionWidth[4] = {26, 16, 26, 216};
    bool FShowNames = false;
    TSeriesGroup* FGroup = nullptr;
    TStrings* FOtherItems = nullptr;
    std::unique_ptr<TStringList> FItems;
    std::vector<bool> FSelected;
    int FItemIndex = -1;
    int FAnchor = -1;
    int FTopIndex = 0;
    TInplaceEdit* FTitleEditor = nullptr;
    TScrollBar* FScrollBar = nullptr;
    bool FSyncingBar = false;
    bool FInDoubleClick = false;
    TPoint FMouse;
    int FDragLine = -1;     // the line a drag started on
    bool FDragging = false;
    // The pictures of the series types shown, drawn once each at the screen's density
    // (drawn again when the window moves to a screen of another density).
    std::map<std::pair<const void*, const void*>, std::unique_ptr<TBitmap>> FIcons;
    double FIconsRatio = 1;
    TBitmap* IconOf(const TChartSeries* Series);
};
