#include "ChartGrid.h"

#include "TeeConst.h"

#include "controls/CommonDialogs.h"
#include "graphics/Bitmap.h"
#include "system/DateTimeParse.h"
#include "system/ScopeGuard.h"

#include <algorithm>

namespace {

constexpr TColor NullPointColor = clNone;

// Whether the series' X values are its own: they read other than 0, 1, 2, ... (checked
// on the points up to index 10000 and on the last one).
bool HasOwnXValues(const TChartSeries* S)
{
    const int n = S->Count();
    if (n == 0)
        return false;
    const TChartValueList* x = S->XValues();
    if (x->Value(0) != 0 || x->Value(n - 1) != n - 1)
        return true;
    const int last = std::min(10000, n - 1);
    for (int i = 0; i <= last; ++i)
        if (x->Value(i) != i)
            return true;
    return false;
}

std::string ValueCellText(const TChartSeries* S, const TChartValueList* List, int Index)
{
    const double v = List->Value(Index);
    if (List->DateTime())
        return v < 1.0 ? TimeToStr(v) : DateTimeToStr(v);
    return FormatFloat(S->ValueFormat(), v);
}

} // namespace

// ---- published properties ---------------------------------------------------------------

BEGIN_CLASS_INFO(TChartGrid, TComponent)
    .ComponentFactory()
    .Reference("Chart", &TCustomChartGrid::Chart, &TCustomChartGrid::SetChart)
    .Reference("Series", &TCustomChartGrid::Series, &TCustomChartGrid::SetSeries)
    .Bool("ShowColors", &TCustomChartGrid::ShowColors, &TCustomChartGrid::SetShowColors).Default(false)
    .Bool("ShowLabels", &TCustomChartGrid::ShowLabels, &TCustomChartGrid::SetShowLabels).Default(true)
    .Enum("ShowXValues", &TCustomChartGrid::ShowXValues, &TCustomChartGrid::SetShowXValues,
          {"cgsAuto", "cgsNo", "cgsYes"}).Default(cgsAuto)
END_CLASS_INFO

BEGIN_CLASS_INFO(TChartGridNavigator, TComponent)
    .ComponentFactory()
    .Bool("Locked", &TCustomRizIvoigator::Locked, &TCustomRizIvoigator::SetLocked).Default(false)
    .Reference("Grid", &TChartGridNavigator::Grid, &TChartGridNavigator::SetGrid)
    .Event("OnButtonClicked")
END_CLASS_INFO

// ---- TCustomChartGrid ------------------------------------------------------------------

TCustomChartGrid::TCustomChartGrid(TComponent* AOwner) : TVirtualGrid(AOwner)
{
    SetDefaultRowHeight(16);
    SetDefaultColWidth(64);
    SetOptions(goEditing);
    OnGetText = [this](int c, int r) { return CellText(c, r); };
    OnGetEditText = [this](int c, int r) { return EditText(c, r); };
    OnGetFill = [this](int c, int r) { return CellFill(c, r); };
    OnLeftAligned = [this](int c, int) {
        const TColumn* col = ColumnAt(c);
        return col != nullptr && col->Kind == TColumnKind::Label;
    };
    OnGetHeadingPicture = [this](int c, TBitmap* Picture) { HeadingPicture(c, Picture); };
    OnCanEdit = [this](int c, int r) {
        if (FMatrixSeries != nullptr)
            return c >= 1 && r >= 1;
        const TColumn* col = ColumnAt(c);
        return col != nullptr && col->Kind != TColumnKind::Color && col->Kind != TColumnKind::Index &&
               r >= FirstDataRow();
    };
    OnSetText = [this](int c, int r, const std::string& t) { WriteCell(c, r, t); };
    OnSelectCell = [this](int, int r) { TellNavigator(r); };
    OnEditorChange = [this](TObject*) { TellNavigator(Row()); };
    OnDblClickCell = [this](int c, int r) {
        const TColumn* col = ColumnAt(c);
        if (col != nullptr && col->Kind == TColumnKind::Color && AllowEditing())
            PickPointColor();
    };
    OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState Shift) { CellKeyDown(Key, Shift); };
    RecalcDimensions();
}

TCustomChartGrid::~TCustomChartGrid()
{
    SetChart(nullptr);
    SetSeries(nullptr);
    Unlisten();
}

void TCustomChartGrid::Listen(TCustomAxisPanel* Panel)
{
    Unlisten();
    FListened = Panel;
    if (FListened != nullptr) {
        FListened->FreeNotification(this);
        FListened->AddListenerOnce(this);
    }
}

void TCustomChartGrid::Unlisten()
{
    if (FListened != nullptr) {
        FListened->RemoveListener(this);
        FListened->RemoveFreeNotification(this);
    }
    FListened = nullptr;
}

void TCustomChartGrid::SetChart(TCustomChart* Value)
{
    if (Value == FChart && FSeries == nullptr)
        return;
    if (FSeries != nullptr) {
        FSeries->RemoveFreeNotification(this);
        FSeries = nullptr;
    }
    Unlisten();
    if (FChart != nullptr)
        FChart->RemoveFreeNotification(this);
    FChart = Value;
    if (FChart != nullptr)
        Listen(FChart);
    RecalcDimensions();
}

void TCustomChartGrid::SetSeries(TChartSeries* Value)
{
    if (Value == FSeries && FChart == nullptr)
        return;
    Unlisten();
    if (FChart != nullptr) {
        FChart->RemoveFreeNotification(this);
        FChart = nullptr;
    }
    if (FSeries != nullptr)
        FSeries->RemoveFreeNotification(this);
    FSeries = Value;
    if (FSeries != nullptr) {
        FSeries->FreeNotification(this);
        Listen(FSeries->ParentChart());
    }
    RecalcDimensions();
}

void TCustomChartGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    TVirtualGrid::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || AComponent == nullptr)
        return;
    if (AComponent == FListened) {
        FListened = nullptr;   // going: nothing to leave
        if (FSeries != nullptr && !FSeries->IsDestroying())
            Rebuild(nullptr);
    }
    if (AComponent == FSeries) {
        FSeries = nullptr;
        Unlisten();
        Rebuild(nullptr);
    } else if (AComponent == FChart) {
        FChart = nullptr;
        Rebuild(nullptr);
    }
}

void TCustomChartGrid::SetShowColors(bool Value)
{
    SetAndNotify(FShowColors, Value, [this] { RecalcDimensions(); });
}

void TCustomChartGrid::SetShowLabels(bool Value)
{
    SetAndNotify(FShowLabels, Value, [this] { RecalcDimensions(); });
}

void TCustomChartGrid::SetShowXValues(TChartGridShow Value)
{
    SetAndNotify(FShowXValues, Value, [this] { RecalcDimensions(); });
}

void TCustomChartGrid::HandleEvent(TTeeEvent* Event)
{
    if (IsDestroying())
        return;
    auto* e = dynamic_cast<TTeeSeriesEvent*>(Event);
    if (e == nullptr)
        return;
    switch (e->Event) {
    case seChangeTitle:
    case seChangeColor:
    case seChangeActive:
        FSymbols.clear();
        InvalidateGrid();
        break;
    case seRemove:
        // The series is still in the chart's list: it leaves the grid now.
        Rebuild(e->Series);
        break;
    default:
        Rebuild(nullptr);
        break;
    }
}

bool TCustomChartGrid::ShowsXColumn() const
{
    return std::any_of(FColumns.begin(), FColumns.end(), [](const TColumn& c) {
        return c.Kind == TColumnKind::Value && c.List == c.Series->XValues();
    });
}

void TCustomChartGrid::RecalcDimensions()
{
    Rebuild(nullptr);
}

void TCustomChartGrid::SetMatrixLayout(bool Value)
{
    SetAndNotify(FMatrix, Value, [this] { RecalcDimensions(); });
}

void TCustomChartGrid::Rebuild(TChartSeries* Leaving)
{
    // The current cell stays on its column when columns come or go around it.
    const TColumn* current = ColumnAt(Col());
    const TColumn kept = current != nullptr ? *current : TColumn{};
    FShown.clear();
    FMatrixSeries = nullptr;
    if (FSeries != nullptr && FSeries != Leaving)
        FShown.push_back(FSeries);
    else if (FChart != nullptr)
        for (int i = 0; i < FChart->SeriesCount(); ++i) {
            TChartSeries* s = FChart->Series(i);
            if (s != Leaving && !s->IsDestroying())
                FShown.push_back(s);
        }

    FSymbols.clear();
    FColumns.assign(1, TColumn{});
    if (FMatrix)
        for (TChartSeries* s : FShown)
            if (s->ValuesList()->Count() > 2) {
                FMatrixSeries = s;
                BuildMatrix();
                return;
            }
    int points = 0;
    if (!FShown.empty()) {
        if (FShowColors)
            FColumns.push_back({TColumnKind::Color, FSeries, nullptr, false});
        if (FShowLabels)
            FColumns.push_back({TColumnKind::Label, FSeries, nullptr, false});
        for (TChartSeries* s : FShown) {
            const bool showX = FShowXValues == cgsYes || (FShowXValues == cgsAuto && HasOwnXValues(s));
            bool first = true;
            for (int l = 0; l < s->ValuesList()->Count(); ++l) {
                TChartValueList* list = s->ValuesList()->ValueList(l);
                if (list == s->XValues() && !showX)
                    continue;
                FColumns.push_back({TColumnKind::Value, s, list, first});
                first = false;
            }
            points = std::max(points, s->Count());
        }
    }
    const int fixed = FShowColumnTitles ? 2 : 1;
    SetCounts(static_cast<int>(FColumns.size()), fixed + std::max(points, 1), fixed);
    SetColWidths(0, 30);
    // A column is at least as wide as its heading, so that series titles show whole.
    for (int c = 1; c < ColCount(); ++c)
        SetColWidths(c, std::max(FColumns[static_cast<size_t>(c)].Kind == TColumnKind::Color ? 40 : DefaultColWidth(),
                                 HeadingWidth(c)));
    if (kept.Kind != TColumnKind::Index && kept.Series != Leaving)
        for (int c = 1; c < ColCount(); ++c) {
            const TColumn& col = FColumns[static_cast<size_t>(c)];
            if (col.Kind == kept.Kind && col.Series == kept.Series && col.List == kept.List) {
                if (c != Col())
                    SetCol(c);
                break;
            }
        }
    TellNavigator(Row());
}

// The series' legend symbol above its first column, drawn once and kept until the
// series or the layout change.
void TCustomChartGrid::HeadingPicture(int ACol, TBitmap* Picture)
{
    const TColumn* col = ColumnAt(ACol);
    if (col == nullptr || !col->FirstOfSeries)
        return;
    std::unique_ptr<TBitmap>& symbol = FSymbols[col->Series];
    if (symbol == nullptr) {
        symbol = std::make_unique<TBitmap>(16, 16);
        TCanvas* c = symbol->Canvas();
        c->Brush()->SetColor(clWhite);
        c->FillRect(TRect(0, 0, 16, 16));
        DrawSeriesSymbolInRect(col->Series, c, TRect(0, 0, 16, 16), FChart);
    }
    Picture->Assign(symbol.get());
}

bool TCustomChartGrid::HasData() const
{
    return FSeries != nullptr || (FChart != nullptr && FChart->SeriesCount() > 0);
}

const TCustomChartGrid::TColumn* TCustomChartGrid::ColumnAt(int ACol) const
{
    return ACol > 0 && ACol < static_cast<int>(FColumns.size()) ? &FColumns[static_cast<size_t>(ACol)] : nullptr;
}

std::string TCustomChartGrid::CellText(int ACol, int ARow) const
{
    if (FMatrixSeries != nullptr)
        return MatrixText(ACol, ARow);
    if (FShown.empty())
        return {};
    const int index = ARow - FirstDataRow();
    if (ACol == 0)
        return index >= 0 ? IntToStr(index) : std::string();
    const TColumn* col = ColumnAt(ACol);
    if (col == nullptr)
        return {};
    if (ARow == 0)
        return col->FirstOfSeries ? col->Series->Title() : std::string();
    if (index < 0) {
        switch (col->Kind) {
        case TColumnKind::Label: return TeeMsg_ValuesText;
        case TColumnKind::Color: return TeeMsg_StyleColors;
        case TColumnKind::Value: return col->List->Name();
        default: return {};
        }
    }
    switch (col->Kind) {
    case TColumnKind::Label:
        for (const TChartSeries* s : FShown)
            if (index < s->Count())
                return s->LabelText(index);
        return {};
    case TColumnKind::Value:
        return index < col->Series->Count() ? ValueCellText(col->Series, col->List, index) : std::string();
    default:
        return {};
    }
}

// ---- the matrix layout ----

// Rows and columns take the distinct X and third values in the order they first appear.
void TCustomChartGrid::BuildMatrix()
{
    const TChartSeries* s = FMatrixSeries;
    const TChartValueList* x = s->XValues();
    const TChartValueList* z = s->ValuesList()->ValueList(2);
    FMatrixX.clear();
    FMatrixZ.clear();
    FMatrixPoints.clear();
    std::map<double, int> xs, zs;
    for (int i = 0; i < s->Count(); ++i) {
        if (xs.emplace(x->Value(i), static_cast<int>(FMatrixX.size())).second)
            FMatrixX.push_back(x->Value(i));
        if (zs.emplace(z->Value(i), static_cast<int>(FMatrixZ.size())).second)
            FMatrixZ.push_back(z->Value(i));
        FMatrixPoints.emplace(std::make_pair(x->Value(i), z->Value(i)), i);
    }
    SetCounts(1 + std::max<int>(1, static_cast<int>(FMatrixZ.size())),
              1 + std::max<int>(1, static_cast<int>(FMatrixX.size())), 1);
    SetColWidths(0, 30);
    TellNavigator(Row());
}

int TCustomChartGrid::MatrixPoint(int ACol, int ARow) const
{
    const size_t c = static_cast<size_t>(ACol - 1), r = static_cast<size_t>(ARow - 1);
    if (ACol < 1 || ARow < 1 || c >= FMatrixZ.size() || r >= FMatrixX.size())
        return -1;
    const auto it = FMatrixPoints.find(std::make_pair(FMatrixX[r], FMatrixZ[c]));
    return it == FMatrixPoints.end() ? -1 : it->second;
}

std::string TCustomChartGrid::MatrixText(int ACol, int ARow) const
{
    const TChartSeries* s = FMatrixSeries;
    if (ARow == 0)
        return ACol >= 1 && static_cast<size_t>(ACol - 1) < FMatrixZ.size()
                   ? FormatFloat(s->ValueFormat(), FMatrixZ[static_cast<size_t>(ACol - 1)])
                   : std::string();
    if (ACol == 0)
        return static_cast<size_t>(ARow - 1) < FMatrixX.size()
                   ? FormatFloat(s->ValueFormat(), FMatrixX[static_cast<size_t>(ARow - 1)])
                   : std::string();
    const int point = MatrixPoint(ACol, ARow);
    return point >= 0 ? ValueCellText(s, s->YValues(), point) : std::string();
}

// A cell of a point sets its Y value; an empty cell of a known X and third value gets a
// new point there.
void TCustomChartGrid::WriteMatrixCell(int ACol, int ARow, const std::string& Text)
{
    TChartSeries* s = FMatrixSeries;
    const size_t c = static_cast<size_t>(ACol - 1), r = static_cast<size_t>(ARow - 1);
    if (ACol < 1 || ARow < 1 || c >= FMatrixZ.size() || r >= FMatrixX.size())
        return;
    const std::string text = Trim(Text);
    const int point = MatrixPoint(ACol, ARow);
    if (text.empty() || (point >= 0 && text == Trim(EditText(ACol, ARow))))
        return;
    const double y = s->YValues()->DateTime() ? StrToDateTime(text) : StrToFloat(text);
    WithoutListening([&] {
        if (point >= 0) {
            s->YValues()->SetValue(point, y);
            s->YValues()->SetModified();
        } else {
            s->ValuesList()->ValueList(2)->TempValue = FMatrixZ[c];
            s->AddPointXY(FMatrixX[r], y);
        }
        AfterWrite(s);
    });
    if (point < 0)
        BuildMatrix();
    InvalidateGrid();
}

// The editor opens with every digit of the value (the cell may show fewer), so that
// keeping an unchanged text never rounds the value.
std::string TCustomChartGrid::EditText(int ACol, int ARow) const
{
    if (FMatrixSeries != nullptr) {
        const int point = MatrixPoint(ACol, ARow);
        return point >= 0 && !FMatrixSeries->YValues()->DateTime() ? FloatToStr(FMatrixSeries->YValues()->Value(point))
                                                                   : CellText(ACol, ARow);
    }
    const TColumn* col = ColumnAt(ACol);
    const int index = ARow - FirstDataRow();
    if (col == nullptr || col->Kind != TColumnKind::Value || index < 0 || index >= col->Series->Count() ||
        col->List->DateTime())
        return CellText(ACol, ARow);
    return FloatToStr(col->List->Value(index));
}

TColor TCustomChartGrid::CellFill(int ACol, int ARow) const
{
    const TColumn* col = ColumnAt(ACol);
    const int index = ARow - FirstDataRow();
    if (col == nullptr || col->Kind != TColumnKind::Color || index < 0 || FShown.empty())
        return clNone;
    const TChartSeries* s = FShown.front();
    return index < s->Count() ? s->ValueColor(index) : clNone;
}

void TCustomChartGrid::WriteCell(int ACol, int ARow, const std::string& Text)
{
    if (FMatrixSeries != nullptr) {
        WriteMatrixCell(ACol, ARow, Text);
        return;
    }
    if (!HasData() || FShown.empty())
        return;
    const TColumn* col = ColumnAt(ACol);
    const int index = ARow - FirstDataRow();
    if (col == nullptr || index < 0)
        return;
    if (col->Kind == TColumnKind::Label) {
        WriteLabel(index, Text);
        return;
    }
    if (col->Kind != TColumnKind::Value)
        return;
    TChartSeries* s = col->Series;
    TChartValueList* list = col->List;
    const std::string text = Trim(Text);
    // An unchanged text leaves the value as it is (the shown text may be rounded).
    if (index < s->Count() && text == Trim(EditText(ACol, ARow)))
        return;
    if (text.empty() && index >= s->Count())
        return;
    // Converted first: a text that is not a value stores nothing, not even null points.
    double value = 0;
    if (!text.empty())
        value = list->DateTime() ? StrToDateTime(text) : StrToFloat(text);

    const int countBefore = s->Count();
    int edited = index;
    WithoutListening([&] {
        while (s->Count() < index + 1)
            s->AddNull();
        if (text.empty()) {
            s->SetValueColor(index, NullPointColor);
        } else {
            const bool wasNull = s->IsNull(index);
            list->SetValue(index, value);
            list->SetModified();
            if (wasNull)
                s->SetValueColor(index, clDefault);
            if (list->Order() != loNone)
                edited = PlaceEditedX(s, list, index);
        }
        AfterWrite(s);
    });
    if (s->Count() != countBefore)
        RecalcDimensions();
    else
        InvalidateGrid();
    if (edited != index)
        FocusCell(ACol, edited + FirstDataRow());
}

// The grid's own changes must not rebuild it meanwhile; it listens again however Change
// ends.
void TCustomChartGrid::WithoutListening(const std::function<void()>& Change)
{
    TCustomAxisPanel* listened = FListened;
    if (listened != nullptr)
        listened->RemoveListener(this);
    TScopeGuard rejoin([this, listened] {
        if (listened != nullptr && FListened == listened)
            listened->AddListenerOnce(this);
    });
    Change();
}

void TCustomChartGrid::WriteLabel(int Index, const std::string& Text)
{
    TChartSeries* target = nullptr;
    if (FSeries != nullptr) {
        target = FSeries;
        if (Index >= target->Count())
            return;   // no point there: a label alone makes none
    } else {
        for (TChartSeries* s : FShown)
            if (Index < s->Count()) {
                target = s;
                break;
            }
    }
    if (target == nullptr)
        return;
    target->SetLabel(Index, Text);
    AfterWrite(target);
    InvalidateGrid();
}

// Moves the point whose value in List changed to its place in List's order, keeping the
// order of equal values; answers its new index.
int TCustomChartGrid::PlaceEditedX(TChartSeries* S, TChartValueList* List, int Index)
{
    int i = Index;
    while (i > 0 && List->CompareValues(i - 1, i) > 0) {
        S->ExchangePoints(i - 1, i);
        --i;
    }
    while (i + 1 < S->Count() && List->CompareValues(i, i + 1) > 0) {
        S->ExchangePoints(i, i + 1);
        ++i;
    }
    return i;
}

void TCustomChartGrid::AfterWrite(TChartSeries* S)
{
    S->RefreshSeries();
    if (FChart != nullptr)
        FChart->Repaint();
    else
        S->Repaint();
}

bool TCustomChartGrid::CanInsertPoint() const
{
    return AllowEditing() && !FShown.empty() && FMatrixSeries == nullptr;
}

bool TCustomChartGrid::CanDeletePoint() const
{
    const int index = Row() - FirstDataRow();
    return CanInsertPoint() && RowCount() > 1 && index >= 0 &&
           std::any_of(FShown.begin(), FShown.end(), [index](const TChartSeries* s) { return index < s->Count(); });
}

void TCustomChartGrid::InsertPoint()
{
    if (!CanInsertPoint())
        return;
    // A series kept in X order places the new point among the others: the grid goes to
    // the row where the first series' point landed.
    int added = -1;
    WithoutListening([this, &added] {
        for (TChartSeries* s : FShown) {
            const int index = s->AddNullPointXY(s->Count(), 0);
            if (added < 0)
                added = index;
        }
    });
    RecalcDimensions();
    SetRow(std::clamp(FirstDataRow() + added, FirstDataRow(), RowCount() - 1));
    TellNavigator(Row());
}

void TCustomChartGrid::DeletePoint()
{
    if (!CanInsertPoint())
        return;
    const int index = Row() - FirstDataRow();
    WithoutListening([&] {
        for (TChartSeries* s : FShown) {
            if (index < 0 || index >= s->Count())
                continue;
            // Series whose X values the grid shows keep them; the others hold indexes
            // and are renumbered.
            const bool xShown = std::any_of(FColumns.begin(), FColumns.end(),
                                            [s](const TColumn& c) { return c.Series == s && c.List == s->XValues(); });
            s->Delete(index);
            if (!xShown)
                s->XValues()->FillWithIndexes();
            s->RefreshSeries();
        }
    });
    RecalcDimensions();
    TellNavigator(Row());
}

bool TCustomChartGrid::CurrentColorCell(TChartSeries*& ASeries, int& AIndex) const
{
    const TColumn* col = ColumnAt(Col());
    const int index = Row() - FirstDataRow();
    if (!FShowColors || col == nullptr || col->Kind != TColumnKind::Color || index < 0 || FShown.empty())
        return false;
    TChartSeries* s = FShown.front();
    if (index >= s->Count())
        return false;
    ASeries = s;
    AIndex = index;
    return true;
}

void TCustomChartGrid::SetPointColor(TColor Color)
{
    TChartSeries* s = nullptr;
    int index = 0;
    if (!CurrentColorCell(s, index))
        return;
    s->SetValueColor(index, Color);
    s->Repaint();
    InvalidateGrid();
}

void TCustomChartGrid::PickPointColor()
{
    TChartSeries* s = nullptr;
    int index = 0;
    if (!CurrentColorCell(s, index))
        return;
    TColorDialog dialog(nullptr);
    dialog.SetColor(s->ValueColor(index));
    if (dialog.Execute())
        SetPointColor(dialog.Color());
}

void TCustomChartGrid::CellKeyDown(uint16_t& Key, TShiftState Shift)
{
    const TColumn* col = ColumnAt(Col());
    if ((Key == VK_RETURN || Key == VK_SPACE) && col != nullptr && col->Kind == TColumnKind::Color &&
        AllowEditing()) {
        PickPointColor();
        Key = 0;
    }
}

void TCustomChartGrid::TellNavigator(int ARow)
{
    if (FNavigator != nullptr)
        FNavigator->EnableButtons(ARow);
}

// ---- TChartGridNavigator ------------------------------------------------------------

TChartGridNavigator::TChartGridNavigator(TComponent* AOwner) : TCustomRizIvoigator(AOwner) {}

TChartGridNavigator::~TChartGridNavigator()
{
    SetGrid(nullptr);
}

void TChartGridNavigator::SetGrid(TCustomChartGrid* Value)
{
    if (Value == FGrid)
        return;
    if (FGrid != nullptr) {
        FGrid->RemoveFreeNotification(this);
        FGrid->SetNavigator(nullptr);
    }
    FGrid = Value;
    if (FGrid != nullptr) {
        FGrid->FreeNotification(this);
        FGrid->SetNavigator(this);
    }
    UpdateButtonStates();
}

void TChartGridNavigator::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomRizIvoigator::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FGrid && FGrid != nullptr) {
        FGrid = nullptr;
        UpdateButtonStates();
    }
}

void TChartGridNavigator::UpdateButtonStates()
{
    EnableButtons(FGrid != nullptr ? FGrid->Row() : 0);
}

void TChartGridNavigator::EnableButtons(int ARow)
{
    if (FGrid == nullptr) {
        for (int i = 0; i < RizIvoButtonCount; ++i)
            Buttons(static_cast<TRizIvoigateBtn>(i))->SetEnabled(false);
        return;
    }
    const int first = FGrid->FirstDataRow(), last = FGrid->RowCount() - 1;
    const bool editor = FGrid->EditorMode();
    Buttons(nbFirst)->SetEnabled(ARow > first);
    Buttons(nbPrior)->SetEnabled(ARow > first);
    Buttons(nbNext)->SetEnabled(ARow < last);
    Buttons(nbLast)->SetEnabled(ARow < last);
    const bool shows = FGrid->Series() != nullptr || (FGrid->Chart() != nullptr && FGrid->Chart()->SeriesCount() > 0);
    const int index = ARow - first;
    bool holdsPoint = false;
    for (const TChartSeries* s : FGrid->ShownSeries())
        holdsPoint = holdsPoint || (index >= 0 && index < s->Count());
    // Insert and Delete only where the grid can act on them (not in the matrix layout).
    const bool insert = FGrid->CanInsertPoint() && !editor;
    Buttons(nbInsert)->SetEnabled(insert);
    Buttons(nbDelete)->SetEnabled(FGrid->RowCount() > 1 && insert && holdsPoint);
    Buttons(nbEdit)->SetEnabled(FGrid->AllowEditing() && !editor && shows);
    Buttons(nbPost)->SetEnabled(editor);
    Buttons(nbCancel)->SetEnabled(editor);
}

void TChartGridNavigator::ButtonClicked(TRizIvoigateBtn Index)
{
    if (FGrid != nullptr) {
        const int first = FGrid->FirstDataRow(), last = FGrid->RowCount() - 1, row = FGrid->Row();
        switch (Index) {
        case nbFirst:
            if (row > first)
                FGrid->SetRow(first);
            break;
        case nbPrior:
            if (row > first)
                FGrid->SetRow(row - 1);
            break;
        case nbNext:
            if (row < last)
                FGrid->SetRow(row + 1);
            break;
        case nbLast:
            if (row < last)
                FGrid->SetRow(last);
            break;
        case nbInsert: FGrid->InsertPoint(); break;
        case nbDelete: FGrid->DeletePoint(); break;
        case nbEdit: FGrid->ShowEditor(); break;
        case nbPost: FGrid->HideEditor(true); break;
        case nbCancel: FGrid->HideEditor(false); break;
        }
    }
    TCustomRizIvoigator::ButtonClicked(Index);
}
