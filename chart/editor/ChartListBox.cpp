#include "ChartListBox.h"

#include "Galleries.h"
#include "TeeConst.h"
#include "TeePenDlg.h"
#include "TeEngine.h"

#include "controls/CommonDialogs.h"
#include "controls/DragDrop.h"
#include "controls/InplaceEdit.h"
#include "controls/InputQuery.h"
#include "controls/StdCtrls.h"
#include "graphics/Bitmap.h"
#include "system/ScopeGuard.h"

#include <algorithm>

TNewSeriesFromGallery NewSeriesFromGalleryHook;
TChangeTypeFromGallery ChangeTypeFromGalleryHook;

BEGIN_CLASS_INFO(TChartListBox, TComponent)
    .ComponentFactory()
    .Reference("Chart", &TChartListBox::Chart, &TChartListBox::SetChart)
    .Enum("CheckStyle", &TChartListBox::CheckStyle, &TChartListBox::SetCheckStyle, {"cbsCheck", "cbsRadio"})
    .Default(cbsCheck)
    .Bool("AllowAddSeries", [](TChartListBox& b) { return b.AllowAddSeries; },
          [](TChartListBox& b, bool v) { b.AllowAddSeries = v; }).Default(true)
    .Bool("AllowDeleteSeries", [](TChartListBox& b) { return b.AllowDeleteSeries; },
          [](TChartListBox& b, bool v) { b.AllowDeleteSeries = v; }).Default(true)
    .Bool("AskDelete", [](TChartListBox& b) { return b.AskDelete; }, [](TChartListBox& b, bool v) { b.AskDelete = v; })
    .Default(true)
    .Bool("EnableChangeColor", [](TChartListBox& b) { return b.EnableChangeColor; },
          [](TChartListBox& b, bool v) { b.EnableChangeColor = v; }).Default(true)
    .Bool("EnableChangeType", [](TChartListBox& b) { return b.EnableChangeType; },
          [](TChartListBox& b, bool v) { b.EnableChangeType = v; }).Default(true)
    .Bool("ShowActiveCheck", &TChartListBox::ShowActiveCheck, &TChartListBox::SetShowActiveCheck).Default(true)
    .Bool("ShowSeriesColor", &TChartListBox::ShowSeriesColor, &TChartListBox::SetShowSeriesColor).Default(true)
    .Bool("ShowSeriesIcon", &TChartListBox::ShowSeriesIcon, &TChartListBox::SetShowSeriesIcon).Default(true)
    .Bool("ShowSeriesTitle", &TChartListBox::ShowSeriesTitle, &TChartListBox::SetShowSeriesTitle).Default(true)
    .Event("OnChangeActive")
    .Event("OnChangeColor")
    .Event("OnChangeOrder")
    .Event("OnDblClickSeries")
    .Event("OnOtherItemsChange")
    .Event("OnRefresh")
    .Event("OnRemovedSeries")
END_CLASS_INFO

TChartListBox::TChartListBox(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(std::make_unique<TStringList>())
{
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
    FScrollBar = new TScrollBar(this);
    FScrollBar->SetKind(sbVertical);
    // The list keeps the focus and takes the keys; its bar only follows and moves the rows.
    FScrollBar->SetTabStop(false);
    FScrollBar->SetVisible(false);
    FScrollBar->SetParent(this);
    FScrollBar->OnChange = [this](TObject*) {
        if (!FSyncingBar)
            SetTopIndex(FScrollBar->Position());
    };
    // When the list is also a drag source (the chart editor drags series onto groups),
    // the toolkit's drag takes the mouse: a line dropped on another line of this list
    // exchanges the two as the list's own drag does.
    SetDropTarget(
        this,
        [this](TObject*, TObject* Source, int X, int Y, bool& Accept) {
            Accept = EnableDragSeries && Source == this && ItemAtPos(X, Y) >= 0;
        },
        [this](TObject*, TObject*, int X, int Y) {
            const int from = FDragLine >= 0 ? FDragLine : FItemIndex;
            const int to = ItemAtPos(X, Y);
            FDragLine = -1;
            FDragging = false;
            if (from >= 0 && to >= 0 && to != from)
                ExchangeLines(from, to);
        });
}

TChartListBox::~TChartListBox()
{
    SetChart(nullptr);
}

// ---- chart and filling ---------------------------------------------------------------

void TChartListBox::SetChart(TCustomChart* Value)
{
    if (!SwitchListenedPanel(this, this, FChart, Value))
        return;
    if (FChart != nullptr) {
        FillSeriesList();
    } else {
        FItems->Clear();
        FSelected.clear();
        FItemIndex = -1;
        if (FOtherItems != nullptr)
            FOtherItems->Clear();
        Invalidate();
    }
}

void TChartListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FChart && FChart != nullptr) {
        FChart = nullptr;
        FItems->Clear();
        FSelected.clear();
        FItemIndex = -1;
        if (FOtherItems != nullptr)
            FOtherItems->Clear();
    }
}

void TChartListBox::SetShowSeriesNames(bool Value)
{
    SetAndNotify(FShowNames, Value, [this] { FillSeriesList(SelectedSeries()); });
}

void TChartListBox::SetSeriesGroup(TSeriesGroup* Value)
{
    SetAndNotify(FGroup, Value, [this] { FillSeriesList(SelectedSeries()); });
}

void TChartListBox::SetShowSection(TSection Section, bool Value)
{
    SetAndNotify(FSectionVisible[Section], Value, [this] { Invalidate(); });
}

void TChartListBox::SetCheckStyle(TCheckBoxesStyle Value)
{
    SetAndNotify(FCheckStyle, Value, [this] {
        if (FCheckStyle == cbsRadio) {
            bool found = false;
            for (int i = 0; i < FItems->Count(); ++i)
                if (TChartSeries* s = SeriesAt(i); s->Active()) {
                    if (found)
                        s->SetActive(false);
                    found = true;
                }
        }
        Invalidate();
    });
}

void TChartListBox::FillSeriesList(TChartSeries* Keep)
{
    FItems->Clear();
    if (FChart != nullptr) {
        const TCustomSeriesList* list = FGroup != nullptr ? FGroup->Series() : FChart->SeriesList();
        FillSeriesItems(FItems.get(), list, !FShowNames);
    }
    FSelected.assign(static_cast<size_t>(FItems->Count()), false);
    if (FOtherItems != nullptr)
        FOtherItems->Assign(FItems.get());
    int keep = Keep != nullptr ? FItems->IndexOfObject(Keep) : -1;
    if (keep < 0 && FItems->Count() > 0)
        keep = 0;
    SetItemIndex(keep);
    FTopIndex = std::clamp(FTopIndex, 0, std::max(0, FItems->Count() - 1));
    SyncScrollBar();
    if (OnOtherItemsChange)
        OnOtherItemsChange(this);
    Refresh();
}

void TChartListBox::Refresh()
{
    Invalidate();
    if (OnRefresh)
        OnRefresh(this);
}

// ---- lines and selection -----------------------------------------------------------

TChartSeries* TChartListBox::SeriesAt(int Index) const
{
    return Index >= 0 && Index < FItems->Count() ? static_cast<TChartSeries*>(FItems->GetObject(Index)) : nullptr;
}

void TChartListBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems->Count())
        Value = -1;
    std::fill(FSelected.begin(), FSelected.end(), false);
    FItemIndex = Value;
    FAnchor = Value;
    if (Value >= 0) {
        FSelected[static_cast<size_t>(Value)] = true;
        const int visible = std::max(1, Height() / ItemHeight);
        if (Value < FTopIndex)
            FTopIndex = Value;
        else if (Value >= FTopIndex + visible)
            FTopIndex = Value - visible + 1;
    }
    SyncScrollBar();
    Invalidate();
}

bool TChartListBox::Selected(int Index) const
{
    if (Index < 0 || Index >= FItems->Count())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FSelected[static_cast<size_t>(Index)];
}

void TChartListBox::SetSelected(int Index, bool Value)
{
    if (Index < 0 || Index >= FItems->Count())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    FSelected[static_cast<size_t>(Index)] = Value;
    Invalidate();
}

int TChartListBox::SelCount() const
{
    return static_cast<int>(std::count(FSelected.begin(), FSelected.end(), true));
}

void TChartListBox::SetTopIndex(int Value)
{
    FTopIndex = std::clamp(Value, 0, std::max(0, FItems->Count() - 1));
    SyncScrollBar();
    Invalidate();
}

void TChartListBox::Resize()
{
    TCustomControl::Resize();
    SyncScrollBar();
}

void TChartListBox::SyncScrollBar()
{
    if (FScrollBar == nullptr)
        return;
    const int visible = std::max(1, Height() / ItemHeight);
    const int hidden = FItems->Count() - visible;
    auto syncing = RestoreOnExit(FSyncingBar);
    FSyncingBar = true;
    if (hidden <= 0) {
        FScrollBar->SetVisible(false);
        return;
    }
    const int width = GetSystemMetrics(SM_CXVSCROLL);
    FScrollBar->SetBounds(Width() - width, 0, width, Height());
    FScrollBar->SetMin(0);
    FScrollBar->SetMax(hidden);
    FScrollBar->SetPosition(std::min(FTopIndex, hidden));
    FScrollBar->SetVisible(true);
}

int TChartListBox::LinesWidth() const
{
    return FScrollBar != nullptr && FScrollBar->Visible() ? Width() - FScrollBar->Width() : Width();
}

int TChartListBox::ItemAtPos(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= LinesWidth())
        return -1;
    const int line = FTopIndex + Y / ItemHeight;
    return line < FItems->Count() ? line : -1;
}

int TChartListBox::SectionLeft(TSection Section) const
{
    int left = 0;
    for (int k = 0; k < Section; ++k)
        if (FSectionVisible[k])
            left += FSectionWidth[k];
    return left;
}

int TChartListBox::SectionAt(int X) const
{
    for (int k = lsIcon; k <= lsTitle; ++k) {
        const int left = SectionLeft(static_cast<TSection>(k));
        if (FSectionVisible[k] && X > left && X < left + FSectionWidth[k])
            return k;
    }
    return -1;
}

std::vector<TChartSeries*> TChartListBox::SelectedList() const
{
    std::vector<TChartSeries*> list;
    for (int i = 0; i < FItems->Count(); ++i)
        if (FSelected[static_cast<size_t>(i)])
            list.push_back(SeriesAt(i));
    if (list.empty() && SeriesAt(FItemIndex) != nullptr)
        list.push_back(SeriesAt(FItemIndex));
    return list;
}

TChartSeries* TChartListBox::SelectedSeries() const
{
    return SeriesAt(FItemIndex);
}

void TChartListBox::SelectSeries(int Index)
{
    SetItemIndex(Index);
    Refresh();
}

// ---- painting ----------------------------------------------------------------------

void TChartListBox::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    for (int i = FTopIndex; i < FItems->Count(); ++i) {
        const int top = (i - FTopIndex) * ItemHeight;
        if (top >= Height())
            break;
        DrawItem(i, TRect(0, top, LinesWidth(), top + ItemHeight));
    }
}

TBitmap* TChartListBox::IconOf(const TChartSeries* Series)
{
    if (const double ratio = Canvas()->PixelRatio(); ratio != FIconsRatio) {
        FIcons.clear();
        FIconsRatio = ratio;
    }
    const TTeeFunction* function = Series->FunctionType();
    std::unique_ptr<TBitmap>& icon =
        FIcons[{Series->ClassInfo(), function != nullptr ? function->ClassInfo() : nullptr}];
    if (icon == nullptr) {
        icon = std::make_unique<TBitmap>();
        icon->SetPixelRatio(FIconsRatio);
        DrawClassPicture(Series, icon.get(), 20);
    }
    return icon.get();
}

void TChartListBox::DrawItem(int Index, const TRect& R)
{
    TCanvas* c = Canvas();
    TChartSeries* s = SeriesAt(Index);
    const bool selected = FSelected[static_cast<size_t>(Index)];
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(selected ? clHighlight : Color());
    c->FillRect(R);
    if (s == nullptr)
        return;
    if (FSectionVisible[lsIcon]) {
        TBitmap* icon = IconOf(s);
        c->Draw(SectionLeft(lsIcon), R.Top + (R.Bottom - R.Top - icon->Height()) / 2, icon);
    }
    if (FSectionVisible[lsCheck])
        DrawCheckBox(c, SectionLeft(lsCheck), R.Top + (ItemHeight - 13) / 2, s->Active(), FCheckStyle == cbsRadio);
    if (FSectionVisible[lsColor]) {
        const int left = SectionLeft(lsColor);
        DrawSeriesSymbolInRect(s, c, TRect(left + 4, R.Top + 4, left + FSectionWidth[lsColor] - 4, R.Bottom - 4), FChart);
    }
    if (FSectionVisible[lsTitle]) {
        // The title goes over the row's own background, whatever the symbol left set.
        c->Brush()->SetStyle(bsClear);
        c->SetBkMode(TRANSPARENT);
        c->Font()->SetColor(selected ? clHighlightText : clWindowText);
        const std::string text = FItems->Get(Index);
        c->TextOut(SectionLeft(lsTitle), R.Top + (ItemHeight - c->TextHeight(text)) / 2, text);
        c->Brush()->SetStyle(bsSolid);
    }
}

// ---- mouse and keys ------------------------------------------------------------------

void TChartListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (TitleEditing())
        EndTitleEdit(true);
    FMouse = TPoint(X, Y);
    const int line = ItemAtPos(X, Y);
    // The list's own selection handling: plain, Ctrl (toggle) and Shift (range) clicks.
    if (line >= 0 && Button == mbLeft && !FInDoubleClick) {
        if (Shift.Test(ssCtrl)) {
            FSelected[static_cast<size_t>(line)] = !FSelected[static_cast<size_t>(line)];
            FItemIndex = line;
            FAnchor = line;
        } else if (Shift.Test(ssShift) && FAnchor >= 0) {
            std::fill(FSelected.begin(), FSelected.end(), false);
            for (int i = std::min(FAnchor, line); i <= std::max(FAnchor, line); ++i)
                FSelected[static_cast<size_t>(i)] = true;
            FItemIndex = line;
        } else if (!FSelected[static_cast<size_t>(line)] || SelCount() <= 1) {
            SetItemIndex(line);
        } else {
            FItemIndex = line;
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (line >= 0 && SectionAt(X) == lsCheck) {
        ToggleActive(line);
    } else if (line >= 0 && EnableDragSeries && Button == mbLeft && SectionAt(X) == lsTitle &&
               !(Shift & (ssShift | ssCtrl | ssDouble)) && !FInDoubleClick) {
        FDragLine = line;   // a drag starts once the mouse moves
    }
    if (OnOtherItemsChange)
        OnOtherItemsChange(this);
    Refresh();
}

void TChartListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (FDragLine >= 0 && Shift.Test(ssLeft) && ItemAtPos(X, Y) != FDragLine)
        FDragging = true;
}

void TChartListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    const int from = FDragLine;
    const bool dragged = FDragging;
    FDragLine = -1;
    FDragging = false;
    FInDoubleClick = false;
    const int to = ItemAtPos(X, Y);
    if (dragged && from >= 0 && to >= 0 && to != from)
        ExchangeLines(from, to);
}

void TChartListBox::DblClick()
{
    FInDoubleClick = true;
    TCustomControl::DblClick();
    const int line = ItemAtPos(FMouse.X, FMouse.Y);
    if (line < 0 || !FSelected[static_cast<size_t>(line)])
        return;
    switch (SectionAt(FMouse.X)) {
    case lsIcon:
        if (EnableChangeType)
            ChangeLineType(line);
        break;
    case lsColor:
        if (EnableChangeColor)
            ChangeLineColor(line);
        break;
    case lsTitle:
        if (OnDblClickSeries)
            OnDblClickSeries(this, line);
        break;
    default:
        break;
    }
}

void TChartListBox::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_INSERT:
        if (AllowAddSeries)
            AddSeriesFromGallery();
        break;
    case VK_DELETE:
        if (AllowDeleteSeries)
            DeleteSelectedSeries();
        break;
    case VK_F1 + 1:   // F2
        if (SelectedSeries() != nullptr)
            StartTitleEdit();
        break;
    case VK_UP:
        if (FItemIndex > 0)
            SelectSeries(FItemIndex - 1);
        break;
    case VK_DOWN:
        if (FItemIndex + 1 < FItems->Count())
            SelectSeries(FItemIndex + 1);
        break;
    // As in any list box: the first and last line, and a page of whole lines up or down.
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT: {
        const int count = FItems->Count();
        if (count == 0)
            break;
        const int page = std::max(1, Height() / ItemHeight - 1);
        const int current = std::max(FItemIndex, 0);
        int line = Key == VK_HOME ? 0 : Key == VK_END ? count - 1 : Key == VK_PRIOR ? current - page : current + page;
        line = std::clamp(line, 0, count - 1);
        if (line != FItemIndex)
            SelectSeries(line);
        break;
    }
    default:
        break;
    }
}

bool TChartListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    SetTopIndex(FTopIndex - WheelDelta / 120);
    return true;
}

// ---- line actions --------------------------------------------------------------------

void TChartListBox::ToggleActive(int Line)
{
    TChartSeries* s = SeriesAt(Line);
    if (FCheckStyle == cbsRadio) {
        for (int i = 0; i < FItems->Count(); ++i)
            SeriesAt(i)->SetActive(SeriesAt(i) == s);
    } else {
        s->SetActive(!s->Active());
    }
    if (s->ParentChart() == nullptr)
        Invalidate();
    if (OnChangeActive)
        OnChangeActive(this, s);
}

void TChartListBox::ChangeLineColor(int Line)
{
    TChartSeries* s = SeriesAt(Line);
    TColorDialog dialog(nullptr);
    dialog.SetColor(s->SeriesColor());
    if (!dialog.Execute())
        return;
    s->SetSeriesColor(dialog.Color());
    s->SetColorEachPoint(false);
    Invalidate();
    if (OnChangeColor)
        OnChangeColor(this, s);
}

void TChartListBox::ChangeLineType(int Line)
{
    SetItemIndex(Line);
    ChangeSelectedSeriesType();
}

void TChartListBox::RemoveLine(int Line)
{
    TChartSeries* s = SeriesAt(Line);
    FItems->Delete(Line);
    FSelected.erase(FSelected.begin() + Line);
    if (FOtherItems != nullptr && Line < FOtherItems->Count())
        FOtherItems->Delete(Line);
    if (FItemIndex >= FItems->Count())
        FItemIndex = FItems->Count() - 1;
    Invalidate();
    if (OnRemovedSeries)
        OnRemovedSeries(this, s);
}

void TChartListBox::ExchangeLines(int A, int B)
{
    if (A < 0 || B < 0 || A >= FItems->Count() || B >= FItems->Count() || A == B)
        return;
    TChartSeries* sa = SeriesAt(A);
    TChartSeries* sb = SeriesAt(B);
    FItems->Exchange(A, B);
    if (FOtherItems != nullptr && A < FOtherItems->Count() && B < FOtherItems->Count())
        FOtherItems->Exchange(A, B);
    if (FChart != nullptr) {
        FChart->RemoveListener(this);   // the lines are exchanged already
        FChart->ExchangeSeries(sa, sb);
        FChart->AddListenerOnce(this);
        if (OnChangeOrder)
            OnChangeOrder(this, sa, sb);
    }
    SetItemIndex(B);
    Refresh();
}

void TChartListBox::MoveSeriesUp()
{
    if (FItemIndex > 0)
        ExchangeLines(FItemIndex, FItemIndex - 1);
}

void TChartListBox::MoveSeriesDown()
{
    if (FItemIndex >= 0 && FItemIndex + 1 < FItems->Count())
        ExchangeLines(FItemIndex, FItemIndex + 1);
}

void TChartListBox::DeleteSelectedSeries()
{
    if (!AllowDeleteSeries)
        return;
    const std::vector<TChartSeries*> selected = SelectedList();
    if (selected.empty())
        return;
    if (AskDelete) {
        const std::string name = selected.size() == 1 ? selected.front()->Title() : TeeMsg_SelectedSeries;
        if (!ConfirmDelete(name, this))
            return;
    }
    for (TChartSeries* s : selected)
        delete s;
    if (FItems->Count() > 0)
        SetItemIndex(0);
    Refresh();
}

void TChartListBox::CloneSelectedSeries()
{
    TChartSeries* s = SelectedSeries();
    if (s == nullptr)
        return;
    TChartSeries* copy = CreateSeriesOfSameClass(s);
    FillSeriesList(copy);
}

bool TChartListBox::RenameSelectedSeries()
{
    TChartSeries* s = SelectedSeries();
    if (s == nullptr)
        return false;
    const int line = FItemIndex;
    const std::string before = FItems->Get(line);
    std::string text = FShowNames ? s->Name() : s->Title();
    if (!InputQuery(TeeMsg_ChangeSeriesTitle, TeeMsg_NewSeriesTitle, text) || text.empty())
        return false;
    if (FShowNames) {
        // A text that is no valid component name raises the component's message and
        // keeps the old name.
        s->SetName(text);
        FItems->Put(line, text);
        s->Repaint();
    } else {
        s->SetTitle(text == s->Name() ? std::string() : text);
        FItems->Put(line, s->Title());
    }
    SetItemIndex(line);
    return FItems->Get(line) != before;
}

void TChartListBox::AddSeriesFromGallery()
{
    if (FChart == nullptr || !NewSeriesFromGalleryHook)
        return;
    TChartSeries* s = NewSeriesFromGalleryHook(Owner(), FChart);
    if (s == nullptr)
        return;
    if (s->ParentChart() != FChart)
        FChart->AddSeries(s);
    FillSeriesList(s);
}

void TChartListBox::ChangeSelectedSeriesType()
{
    if (!ChangeTypeFromGalleryHook)
        return;
    std::vector<TChartSeries*> selected = SelectedList();
    if (selected.empty())
        return;
    TChartSeries* first = selected.front();
    const TChartSeriesClass newClass = ChangeTypeFromGalleryHook(Owner(), first);
    if (newClass == nullptr)
        return;
    selected.front() = first;
    for (size_t i = 1; i < selected.size(); ++i)
        ReplaceSeriesClass(selected[i], newClass);
    FillSeriesList(selected.front());
    for (TChartSeries* s : selected)
        if (const int line = FItems->IndexOfObject(s); line >= 0)
            FSelected[static_cast<size_t>(line)] = true;
    Refresh();
}

// ---- in-place title edit ---------------------------------------------------------------

void TChartListBox::StartTitleEdit()
{
    TChartSeries* s = SelectedSeries();
    if (!FSectionVisible[lsTitle] || s == nullptr)
        return;
    if (FTitleEditor == nullptr) {
        FTitleEditor = new TInplaceEdit(this);
        FTitleEditor->SetName("TitleEditor");
        FTitleEditor->SetParent(this);
        FTitleEditor->OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState Shift) { TitleKeyDown(Key, Shift); };
    }
    const int top = (FItemIndex - FTopIndex) * ItemHeight;
    FTitleEditor->SetBounds(SectionLeft(lsTitle) - 2, top, FSectionWidth[lsTitle], ItemHeight);
    FTitleEditor->SetText(s->Title());
    FTitleEditor->SetVisible(true);
    // The typing goes to the title from now on.
    FTitleEditor->SetFocus();
    FTitleEditor->SelectAll();
}

bool TChartListBox::TitleEditing() const
{
    return FTitleEditor != nullptr && FTitleEditor->Visible();
}

void TChartListBox::EndTitleEdit(bool Keep)
{
    if (!TitleEditing())
        return;
    if (Keep)
        if (TChartSeries* s = SelectedSeries())
            s->SetTitle(FTitleEditor->Text());
    FTitleEditor->SetVisible(false);
    SetFocus();
    Invalidate();
}

void TChartListBox::TitleKeyDown(uint16_t& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_UP:
    case VK_DOWN:
    case VK_F1 + 1:
        EndTitleEdit(Key != VK_ESCAPE);
        Key = 0;
        break;
    default:
        break;
    }
}

// ---- chart events -----------------------------------------------------------------------

void TChartListBox::HandleEvent(TTeeEvent* Event)
{
    if (IsDestroying())
        return;
    if (dynamic_cast<TTeeView3DEvent*>(Event) != nullptr) {
        Invalidate();
        return;
    }
    auto* e = dynamic_cast<TTeeSeriesEvent*>(Event);
    if (e == nullptr)
        return;
    switch (e->Event) {
    case seAdd:
    case seSwap:
        FillSeriesList(SelectedSeries());
        break;
    case seRemove:
        // A series that is not listed removes no line.
        if (const int line = FItems->IndexOfObject(e->Series); line >= 0)
            RemoveLine(line);
        break;
    case seChangeTitle:
        if (const int line = FItems->IndexOfObject(e->Series); line >= 0) {
            FItems->Put(line, FShowNames ? e->Series->Name() : e->Series->Title());
            Invalidate();
        }
        break;
    case seChangeColor:
    case seChangeActive:
        Invalidate();
        break;
    default:
        break;
    }
}
