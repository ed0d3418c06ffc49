#include "Galleries.h"

#include "ChartListBox.h"
#include "Series.h"
#include "TeCanvas.h"
#include "TeEngine.h"
#include "TeeConst.h"

#include "classes/TypInfo.h"
#include "controls/Cursors.h"
#include "controls/FormStyles.h"
#include "system/ScopeGuard.h"
#include "system/SysUtils.h"

#include <algorithm>

namespace {

constexpr TColor GalleryNavy = 0x800000;
constexpr TColor GalleryGrey = 0x808080;

// The sub-style names a series class lists (empty for a class that makes no series).
std::vector<std::string> SubStylesOf(TChartSeriesClass SeriesClass)
{
    std::vector<std::string> styles;
    if (SeriesClass == nullptr)
        return styles;
    std::unique_ptr<TComponent> temp(CreateComponentOfClass(SeriesClass, nullptr));
    if (auto* series = dynamic_cast<TChartSeries*>(temp.get()))
        series->AddSubGalleryStyles(styles);
    return styles;
}

// The sub-gallery marker: a small downward triangle near the bottom-left corner.
std::vector<TPoint> MarkerPoints(int ChartHeight)
{
    const int x = 3;
    const int y = ChartHeight - 8;
    return {TPoint(x, y), TPoint(x + 7, y), TPoint(x + 3, y + 4)};
}

} // namespace

// ---- TGalleryChart ----------------------------------------------------------------------

TGalleryChart::TGalleryChart(TComponent* AOwner, bool FocusRotation) : TCustomChart(AOwner)
{
    LeftAxis()->SetLabels(false);
    BottomAxis()->SetLabels(false);
    Title()->Font()->SetColor(GalleryNavy);
    View3DOptions()->SetOrthogonal(false);
    View3DOptions()->SetZoom(90);
    View3DOptions()->SetPerspective(55);
    if (FocusRotation) {
        View3DOptions()->SetRotation(335);
        View3DOptions()->SetElevation(350);
    }
    SetChart3DPercent(100);
    SetClipPoints(false);
    Frame()->SetVisible(false);
    SetBevelWidth(2);
    SetBevelOuter(bvNone);
    for (TChartWall* wall : {LeftWall(), BottomWall()}) {
        wall->SetColor(clWhite);
        wall->SetSize(4);
        wall->Pen()->SetColor(GalleryGrey);
    }
    Legend()->SetVisible(false);
    SetTag(-1);
}

void TGalleryChart::SetFocusLook(bool Focused, bool FocusRotation, bool ShowMarker)
{
    FShowMarker = Focused && ShowMarker && HasSubStyles;
    TTeeGradient* gradient = Gradient();
    gradient->SetVisible(Focused);
    if (Focused) {
        gradient->SetDirection(gdFromTopLeft);
        gradient->SetStartColor(clSilver);
        gradient->SetEndColor(clWhite);
    }
    TTeeFont* font = Title()->Font();
    font->SetStyle(Focused ? TFontStyles(fsBold) : TFontStyles(0));
    font->SetColor(Focused ? clBlack : GalleryNavy);
    font->SetSize(Focused ? 9 : TeeDefaultFontSize());
    SetBevelOuter(Focused ? bvRaised : bvNone);
    if (FocusRotation)
        View3DOptions()->SetRotation(Focused ? 345 : 335);
}

void TGalleryChart::SetSmooth(bool Value)
{
    SetAndRepaint(FSmooth, Value);
}

bool TGalleryChart::InSubMarker(int X, int Y) const
{
    return X >= 0 && X < 12 && Y >= Height() - 12 && Y < Height();
}

void TGalleryChart::FireAfterDraw()
{
    TCustomChart::FireAfterDraw();
    if (!FShowMarker || FSmooth)
        return;
    TTeeCanvas3D* c = Canvas();
    const std::vector<TPoint> points = MarkerPoints(Height());
    c->Pen()->SetMode(pmNot);
    c->Brush()->SetStyle(bsSolid);
    c->Polygon(points);
    c->Pen()->SetMode(pmCopy);
}

void TGalleryChart::Paint()
{
    if (!FSmooth) {
        TCustomChart::Paint();
        return;
    }
    DrawToCanvas(TCustomControl::Canvas(), ClientRect());
}

void TGalleryChart::DrawToCanvas(TCanvas* Target, const TRect& Rect)
{
    TCustomChart::DrawToCanvas(Target, Rect);
    if (!FSmooth || FSmoothDrawing || Rect.Width() < 2 || Rect.Height() < 2)
        return;
    const TRect titleBounds = Title()->ShapeBounds;
    const bool titleVisible = Title()->Visible();
    std::unique_ptr<TBitmap> large;
    {
        // Four times the size: axis labels shown at doubled font sizes, no title, room on
        // top; everything is put back afterwards.
        FSmoothDrawing = true;
        TChartAxis* axes[2] = {LeftAxis(), BottomAxis()};
        bool labels[2];
        int sizes[2];
        for (int i = 0; i < 2; ++i) {
            labels[i] = axes[i]->Labels();
            sizes[i] = axes[i]->LabelsFont()->Size();
        }
        const int marginTop = MarginTop();
        const TTeeUnits units = MarginUnits();
        // The changes made for the drawing ask for no repaint.
        const bool autoRepaint = AutoRepaint();
        SetAutoRepaint(false);
        auto restore = TScopeGuard([&] {
            for (int i = 0; i < 2; ++i) {
                axes[i]->SetLabels(labels[i]);
                axes[i]->LabelsFont()->SetSize(sizes[i]);
            }
            Title()->SetVisible(titleVisible);
            SetMarginUnits(units);
            SetMargin(1, marginTop);
            SetAutoRepaint(autoRepaint);
            FSmoothDrawing = false;
        });
        for (int i = 0; i < 2; ++i) {
            axes[i]->SetLabels(true);
            axes[i]->LabelsFont()->SetSize(sizes[i] * 2);
        }
        Title()->SetVisible(false);
        SetMarginUnits(muPixels);
        SetMargin(1, 30);
        large = DrawToBitmap(Color(), TRect(0, 0, Rect.Width() * 4, Rect.Height() * 4));
    }
    TBitmap reduced(Rect.Width(), Rect.Height(), pf24bit);
    reduced.SetPixelRatio(Target->PixelRatio());
    SmoothStretchBitmap(large.get(), &reduced, true);
    Target->Draw(Rect.Left, Rect.Top, &reduced);
    // The title where the plain drawing put it.
    if (titleVisible && Title()->Text()->Count() > 0) {
        Target->Font()->Assign(Title()->Font());
        Target->SetBkMode(TRANSPARENT);
        int y = titleBounds.Top;
        for (int i = 0; i < Title()->Text()->Count(); ++i) {
            const std::string line = Title()->Text()->Strings(i);
            const int x = (titleBounds.Left + titleBounds.Right - Target->TextWidth(line)) / 2;
            Target->TextOut(x, y, line);
            y += Target->TextHeight(line);
        }
    }
    if (FShowMarker)
        DrawMarker(Target);
}

void TGalleryChart::DrawMarker(TCanvas* c)
{
    c->Pen()->SetMode(pmNot);
    c->Brush()->SetStyle(bsSolid);
    c->Polygon(MarkerPoints(Height()));
    c->Pen()->SetMode(pmCopy);
}

namespace {

// The borderless pop-up of a sub-gallery: a 12-pixel bar that accepts on a click, over a
// nested gallery panel of the sub-styles.
class TSubGalleryBar : public TCustomControl {
public:
    explicit TSubGalleryBar(TComponent* AOwner) : TCustomControl(AOwner) { SetColor(clBtnFace); }
    TNotifyEvent OnAccept;

protected:
    void Paint() override
    {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clBlack);
        c->Pen()->SetColor(clBlack);
        const int x = Width() / 2 - 3;
        c->Polygon({TPoint(x, 3), TPoint(x + 7, 3), TPoint(x + 3, 7)});
    }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        if (OnAccept)
            OnAccept(this);
    }
};

class TSubGalleryForm : public TForm {
public:
    DECLARE_CLASS_NAME(TSubGalleryForm)
    explicit TSubGalleryForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetUniqueFormName(this, "SubGallery");
        SetFormBorderStyle(this, bsNone);
        Bar = new TSubGalleryBar(this);
        Bar->SetParent(this);
        Bar->SetHeight(12);
        Bar->SetAlign(alTop);
        Panel = new TChartGalleryPanel(this);
        Panel->SetName("SubGalleryPanel");
        Panel->SetParent(this);
        Panel->SetAlign(alClient);
    }
    TSubGalleryBar* Bar;
    TChartGalleryPanel* Panel;
};

} // namespace

// ---- TChartGalleryPanel -----------------------------------------------------------------

TChartGalleryPanel::TChartGalleryPanel(TComponent* AOwner) : TCustomPanelNoCaption(AOwner)
{
    FSmooth = ReadEditorBool("SmoothGallery", false);
    FSmoothAtStart = FSmooth;
    SetBevelOuter(bvNone);
}

TChartGalleryPanel::~TChartGalleryPanel()
{
    if (FSmooth != FSmoothAtStart)
        WriteEditorBool("SmoothGallery", FSmooth);
    FSelected = nullptr;
    FCharts.clear();
}

TGalleryChart* TChartGalleryPanel::Charts(int Index) const
{
    if (Index < 0 || Index >= ChartCount())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FCharts[size_t(Index)].get();
}

void TChartGalleryPanel::Clear()
{
    FSelected = nullptr;
    FCharts.clear();
    SetTabStop(true);
}

void TChartGalleryPanel::SetNumRows(int Value)
{
    FNumRows = Value;
    RelayOut();
}

void TChartGalleryPanel::SetNumCols(int Value)
{
    FNumCols = Value;
    RelayOut();
}

void TChartGalleryPanel::SetSmooth(bool Value)
{
    FSmooth = Value;
    for (auto& chart : FCharts)
        chart->SetSmooth(Value);
}

void TChartGalleryPanel::SetView3D(bool Value)
{
    FView3D = Value;
    for (auto& chart : FCharts)
        chart->SetView3D(Value);
}

void TChartGalleryPanel::RelayOut()
{
    const int frame = BorderWidth() + (BevelOuter() != bvNone ? BevelWidth() : 0);
    FCellWidth = FNumCols < 1 || FNumRows < 1 ? 0 : (Width() - frame) / FNumCols;
    FCellHeight = FNumCols < 1 || FNumRows < 1 ? 0 : (Height() - frame) / FNumRows;
    for (int i = 0; i < ChartCount(); ++i) {
        const int row = FNumCols > 0 ? i / FNumCols : 0;
        const int col = FNumCols > 0 ? i % FNumCols : 0;
        FCharts[size_t(i)]->SetBounds(frame + col * FCellWidth, frame + row * FCellHeight, FCellWidth, FCellHeight);
    }
}

void TChartGalleryPanel::Resize()
{
    TCustomPanelNoCaption::Resize();
    RelayOut();
}

void TChartGalleryPanel::SetSelectedChart(TGalleryChart* Chart)
{
    if (Chart == nullptr || !Chart->Enabled())
        return;
    FSelected = Chart;
    // The grid is one Tab stop, at the chosen chart; the arrows move within it. Until a
    // chart is chosen the panel is the stop, and its first arrow chooses the first chart.
    SetTabStop(false);
    for (auto& chart : FCharts) {
        chart->SetFocusLook(chart.get() == Chart, FFocusRotation, FDisplaySub);
        chart->SetTabStop(chart.get() == Chart);
    }
    // The chosen chart takes the keys: in a window not shown yet it becomes the one that
    // has the focus when the window opens, so the arrows move on from it at once.
    Chart->SetFocus();
    if (OnChangeChart)
        OnChangeChart(this);
}

void TChartGalleryPanel::FocusFirst()
{
    for (auto& chart : FCharts)
        if (chart->Enabled()) {
            SetSelectedChart(chart.get());
            return;
        }
}

void TChartGalleryPanel::SelectFocused()
{
    if (FSelected != nullptr && OnSelectedChart)
        OnSelectedChart(this);
}

void TChartGalleryPanel::ChartMouseDown(TGalleryChart* Chart, int X, int Y)
{
    const bool wasFocused = Chart == FSelected;
    SetSelectedChart(Chart);
    if (wasFocused && FDisplaySub && Chart->InSubMarker(X, Y))
        ShowSubGallery();
}

bool TChartGalleryPanel::ShowSubGallery()
{
    TGalleryChart* chart = FSelected;
    if (chart == nullptr || !FDisplaySub || !chart->HasSubStyles || chart->SeriesType == nullptr)
        return false;
    const std::vector<std::string> styles = SubStylesOf(chart->SeriesType->SeriesClass);
    if (styles.empty())
        return false;

    TSubGalleryForm popup(nullptr);
    TChartGalleryPanel* nested = popup.Panel;
    nested->FSubGallery = true;
    nested->SetDisplaySub(false);
    nested->SetFocusRotation(FFocusRotation);
    nested->SetView3D(FView3D);
    nested->SetSmooth(FSmooth);
    nested->SetNumCols(FNumCols);
    const int rows = (int(styles.size()) + std::max(FNumCols, 1) - 1) / std::max(FNumCols, 1);
    // Where the chart's bottom-left corner is on the screen, kept 2 pixels inside it.
    const int width = Width();
    const int height = rows * FCellHeight + 8 + popup.Bar->Height();
    TPoint at = ClientToScreen(TPoint(chart->Left(), chart->Top() + chart->Height()));
    if (at.X + width > Screen()->Width())
        at.X = Screen()->Width() - width - 2;
    if (at.Y + height > Screen()->Height())
        at.Y = Screen()->Height() - height - 2;
    popup.SetBounds(at.X, at.Y, width, height);
    nested->SetBounds(0, popup.Bar->Height(), width, height - popup.Bar->Height());
    FillSubStyles(nested, chart->SeriesType);

    auto accept = [&popup, nested, chart](TObject*) {
        if (TGalleryChart* picked = nested->SelectedChart()) {
            chart->SetTag(picked->Tag());
            for (int i = 0; i < chart->SeriesCount(); ++i)
                chart->Series(i)->ApplySubGalleryStyle(int(picked->Tag()));
        }
        popup.SetModalResult(mrOk);
    };
    nested->OnSelectedChart = accept;
    popup.Bar->OnAccept = accept;
    nested->OnKeyDown = [&popup](TObject*, uint16_t& Key, TShiftState) {
        if (Key == VK_ESCAPE) {
            popup.SetModalResult(mrCancel);
            Key = 0;
        }
    };
    const bool chosen = popup.ShowModal() == mrOk;
    if (chosen && OnSubSelected)
        OnSubSelected(this);
    return chosen;
}

void TChartGalleryPanel::MoveFocus(int Columns, int Rows)
{
    if (FSelected == nullptr) {
        FocusFirst();
        return;
    }
    int index = 0;
    while (index < ChartCount() && FCharts[size_t(index)].get() != FSelected)
        ++index;
    const int col = index % FNumCols + Columns;
    const int row = index / FNumCols + Rows;
    if (col < 0 || col >= FNumCols || row < 0 || row >= FNumRows)
        return;
    // Never onto an empty cell, nor onto a chart that cannot be chosen.
    const int target = row * FNumCols + col;
    if (target < ChartCount() && FCharts[size_t(target)]->Enabled())
        SetSelectedChart(FCharts[size_t(target)].get());
}

void TChartGalleryPanel::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomPanelNoCaption::KeyDown(Key, Shift);
    switch (Key) {
    case VK_LEFT: MoveFocus(-1, 0); break;
    case VK_RIGHT: MoveFocus(1, 0); break;
    case VK_UP: MoveFocus(0, -1); break;
    case VK_DOWN:
        // Alt+Down opens a sub-gallery where a type offers one; the others move down.
        if (!(Shift & ssAlt))
            MoveFocus(0, 1);
        else if (FDisplaySub)
            ShowSubGallery();
        break;
    case VK_RETURN:
        SelectFocused();
        Key = 0;   // the choice is made here, not by the window's default button
        break;
    default: break;
    }
}

namespace {

// Sample values drawn by each series' own class; a function prepares its own preview.
void SetUpGalleryPreview(TCustomChart* Chart, TTeeFunctionClass FunctionClass, bool Enabled)
{
    if (FunctionClass != nullptr && FunctionClass->CreateComponent) {
        std::unique_ptr<TComponent> temp(FunctionClass->CreateComponent(nullptr));
        if (auto* function = dynamic_cast<TTeeFunction*>(temp.get()))
            function->SetUpGalleryPreview(Chart);
    } else {
        for (int i = 0; i < Chart->SeriesCount(); ++i)
            Chart->Series(i)->SetUpGalleryPreview(Enabled);
    }
}

} // namespace

void DrawClassPicture(TChartSeriesClass SeriesClass, TTeeFunctionClass FunctionClass, TBitmap* Bitmap, int Size)
{
    if (Bitmap == nullptr || Size < 1)
        return;
    if (SeriesClass == nullptr)
        SeriesClass = TLineSeries::StaticClassInfo();
    const TTeeSeriesType* type = SeriesTypeList()->Find(SeriesClass, FunctionClass);
    // A flat gallery chart of the type, without title, axes, walls or marks, drawn twice
    // as large and reduced smoothly.
    constexpr int Scale = 2;
    TGalleryChart chart(nullptr, false);
    chart.SetColor(clWhite);
    chart.SetView3D(false);
    chart.Title()->SetVisible(false);
    chart.SetAxisVisible(false);
    chart.SetBevelWidth(0);
    for (TChartWall* wall : std::initializer_list<TChartWall*>{chart.LeftWall(), chart.BottomWall(), chart.BackWall()})
        wall->SetVisible(false);
    // A class that cannot be made (an abstract base) leaves the picture empty.
    const int count = SeriesClass->CreateComponent ? (type != nullptr ? std::max(1, type->NumGallerySeries) : 1) : 0;
    for (int i = 0; i < count; ++i)
        CreateSeriesInChart(&chart, &chart, SeriesClass, nullptr);
    if (count > 0)
        SetUpGalleryPreview(&chart, FunctionClass, true);
    for (int i = 0; i < chart.SeriesCount(); ++i)
        chart.Series(i)->Marks()->SetVisible(false);
    chart.SetMarginUnits(muPixels);
    for (int side = 0; side < 4; ++side)
        chart.SetMargin(side, Size / 3);
    const std::unique_ptr<TBitmap> large = chart.DrawToBitmap(clWhite, TRect(0, 0, Size * Scale, Size * Scale));
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(Size, Size);
    SmoothStretchBitmap(large.get(), Bitmap, true);
    // A thin frame keeps the picture apart from a highlighted row.
    TCanvas* c = Bitmap->Canvas();
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clGray);
    c->Rectangle(0, 0, Size, Size);
}

void DrawClassPicture(const TChartSeries* Series, TBitmap* Bitmap, int Size)
{
    if (Series == nullptr)
        return;
    const TTeeFunction* function = Series->FunctionType();
    DrawClassPicture(Series->ClassInfo(), function != nullptr ? function->ClassInfo() : nullptr, Bitmap, Size);
}

TGalleryChart* AddGalleryChart(TChartGalleryPanel* Panel, TTeeSeriesType* SeriesType, const std::string* Description)
{
    auto owned = std::make_unique<TGalleryChart>(nullptr, Panel->FocusRotation());
    TGalleryChart* chart = owned.get();
    Panel->FCharts.push_back(std::move(owned));
    chart->SeriesType = SeriesType;
    chart->SetColor(Panel->Color());
    TStringList* title = chart->Title()->Text();
    title->Clear();
    std::string description = Description != nullptr ? *Description
                              : SeriesType != nullptr ? SeriesType->DescriptionText()
                                                      : std::string();
    for (size_t start = 0;;) {
        const size_t cr = description.find('\r', start);
        title->Add(description.substr(start, cr == std::string::npos ? std::string::npos : cr - start));
        if (cr == std::string::npos)
            break;
        start = cr + 1;
    }
    chart->SetParent(Panel);
    chart->SetTabStop(false);
    chart->SetView3D(Panel->View3D());
    chart->SetSmooth(Panel->Smooth());

    // A function entry shows its result in a line series.
    TChartSeriesClass seriesClass = SeriesType != nullptr ? SeriesType->SeriesClass : nullptr;
    if (seriesClass == nullptr)
        seriesClass = TLineSeries::StaticClassInfo();
    TTeeFunctionClass functionClass = SeriesType != nullptr ? SeriesType->FunctionClass : nullptr;
    const int count = SeriesType != nullptr ? SeriesType->NumGallerySeries : 1;
    for (int i = 0; i < count; ++i)
        CreateSeriesInChart(chart, chart, seriesClass, nullptr);
    // A series type offers sub-styles when it lists more than its plain one.
    if (Panel->DisplaySub() && functionClass == nullptr)
        chart->HasSubStyles = SubStylesOf(seriesClass).size() > 1;

    bool enabled = true;
    if (Panel->FunctionsMode && Panel->CurrentSeries != nullptr && functionClass != nullptr &&
        functionClass->CreateComponent) {
        std::unique_ptr<TComponent> probe(functionClass->CreateComponent(nullptr));
        auto* function = dynamic_cast<TTeeFunction*>(probe.get());
        enabled = function == nullptr || function->AcceptsSource(Panel->CurrentSeries);
    }
    chart->SetEnabled(enabled);
    if (!enabled) {
        chart->SetCursor(crNoDrop);
        chart->Title()->Font()->SetColor(GalleryGrey);
        for (TChartWall* wall : {chart->LeftWall(), chart->BottomWall()})
            wall->Pen()->SetColor(GalleryGrey);
        for (TChartAxis* axis : {chart->LeftAxis(), chart->BottomAxis()}) {
            axis->Axis()->SetWidth(1);
            axis->Axis()->SetColor(clWhite);
        }
    } else {
        chart->SetCursor(crHandPoint);
        chart->OnMouseDown = [Panel, chart](TObject*, TMouseButton, TShiftState, int X, int Y) {
            Panel->ChartMouseDown(chart, X, Y);
        };
        if (!Panel->IsSubGallery())
            chart->OnDblClick = [Panel, chart](TObject*) {
                Panel->SetSelectedChart(chart);
                Panel->SelectFocused();
            };
        chart->OnKeyDown = [Panel](TObject*, uint16_t& Key, TShiftState Shift) { Panel->DispatchKeyDown(Key, Shift); };
    }

    SetUpGalleryPreview(chart, functionClass, enabled);
    const int margin = chart->View3D() ? 4 : 5;
    for (int side = 0; side < 4; ++side)
        chart->SetMargin(side, margin);
    Panel->RelayOut();
    return chart;
}

void FillSubStyles(TChartGalleryPanel* Panel, TTeeSeriesType* SeriesType)
{
    Panel->Clear();
    if (SeriesType == nullptr)
        return;
    const std::vector<std::string> styles = SubStylesOf(SeriesType->SeriesClass);
    const int cols = std::max(Panel->NumCols(), 1);
    Panel->SetNumRows(std::max(1, (int(styles.size()) + cols - 1) / cols));
    for (size_t i = 0; i < styles.size(); ++i) {
        TGalleryChart* sub = AddGalleryChart(Panel, SeriesType, &styles[i]);
        if (sub->SeriesCount() > 0)
            sub->Series(0)->ApplySubGalleryStyle(int(i));
        sub->SetTag(int(i));
    }
    Panel->FocusFirst();
}

int GalleryRowsFor(int Count, int NumCols)
{
    const int cols = std::max(NumCols, 1);
    return Count <= 2 * cols ? 3 : (Count - 1) / cols + 1;
}

void CreateGalleryPage(TChartGalleryPanel* Panel, const std::string& PageName)
{
    Panel->Clear();
    TTeeSeriesTypes* types = SeriesTypeList();
    std::vector<TTeeSeriesType*> page;
    for (int i = 0; i < types->Count(); ++i) {
        TTeeSeriesType* t = types->Get(i);
        if (t->GalleryPageText() == PageName && (t->FunctionClass != nullptr) == Panel->FunctionsMode)
            page.push_back(t);
    }
    Panel->SetNumRows(GalleryRowsFor(int(page.size()), Panel->NumCols()));
    TGalleryChart* preselect = nullptr;
    for (TTeeSeriesType* t : page) {
        TGalleryChart* chart = AddGalleryChart(Panel, t);
        if (Panel->CurrentSeries != nullptr && t->FunctionClass == nullptr &&
            t->SeriesClass == Panel->CurrentSeries->ClassInfo())
            preselect = chart;
    }
    if (preselect != nullptr)
        Panel->SetSelectedChart(preselect);
    else
        Panel->FocusFirst();
}

bool GetSelectedTypes(TChartGalleryPanel* Panel, TChartSeriesClass& SeriesClass, TTeeFunctionClass& FunctionClass,
                      int& SubIndex)
{
    TGalleryChart* chart = Panel->SelectedChart();
    if (chart == nullptr || chart->SeriesType == nullptr)
        return false;
    // The class of the chart's first series: a function entry shows (and adds) its result
    // in a line series. A type shown without sample series answers its registration.
    SeriesClass = chart->SeriesCount() > 0 ? chart->Series(0)->ClassInfo() : chart->SeriesType->SeriesClass;
    FunctionClass = chart->SeriesType->FunctionClass;
    SubIndex = static_cast<int>(chart->Tag());
    return true;
}

// ---- TTeeGallery ------------------------------------------------------------------------

TTeeGallery::TTeeGallery(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "TeeGallery");
    SetCaption("RurEvido Gallery");
    BuildForm(this, 500, 380, {
        Ctl(TabTypes, "TabTypes"),
        Ctl(TabPages, "TabPages"),
        Ctl(ChartGalleryPanel1, "ChartGalleryPanel1"),
        Line({Ctl(CB3D, "CB3D", "&3D"), Ctl(CBSmooth, "CBSmooth", "&Smooth"), Stretch(), Ctl(BOk, "BOk", "OK"),
              Ctl(BCancel, "BCancel", "Cancel")}),
    });
    SetMinimumSize(ChartGalleryPanel1, 440, 270);
    TabTypes->Tabs()->Add(TeeMsg_Series);
    TabTypes->Tabs()->Add(TeeMsg_GalleryFunctions);
    CB3D->SetChecked(true);
    BOk->SetDefault(true);
    BOk->SetModalResult(mrOk);
    BCancel->SetCancel(true);
    BCancel->SetModalResult(mrCancel);
    TabTypes->OnChange = [this](TObject* s) { TabTypesChange(s); };
    TabPages->OnChange = [this](TObject* s) { TabPagesChange(s); };
    CB3D->OnClick = [this](TObject*) { ChartGalleryPanel1->SetView3D(CB3D->Checked()); };
    CBSmooth->OnClick = [this](TObject*) {
        ChartGalleryPanel1->SetSmooth(CBSmooth->Checked());
        WriteEditorBool("SmoothGallery", CBSmooth->Checked());
    };
    ChartGalleryPanel1->OnSelectedChart = [this](TObject*) { SetModalResult(mrOk); };
    ChartGalleryPanel1->OnSubSelected = [this](TObject*) { SetModalResult(mrOk); };
    OnShow = [this](TObject* s) { FormShow(s); };
    DoCreate();
}

void TTeeGallery::SetChangeMode(bool Value)
{
    if (Value && TabTypes->Tabs()->Count() > 1)
        TabTypes->Tabs()->Delete(1);
    if (Value)
        ChartGalleryPanel1->FunctionsMode = false;
}

void TTeeGallery::FormShow(TObject*)
{
    CBSmooth->SetChecked(ChartGalleryPanel1->Smooth());
    TabTypes->SetTabIndex(ChartGalleryPanel1->FunctionsMode && TabTypes->Tabs()->Count() > 1 ? 1 : 0);
    TabTypesChange(TabTypes);
    CallFormShowHook(this);
}

void TTeeGallery::TabTypesChange(TObject*)
{
    const bool functions = TabTypes->TabIndex() == 1;
    std::vector<std::string> pages;
    TTeeSeriesTypes* types = SeriesTypeList();
    for (int i = 0; i < types->Count(); ++i) {
        TTeeSeriesType* t = types->Get(i);
        if (t->NumGallerySeries <= 0 && !functions)
            continue;
        if ((t->FunctionClass != nullptr) != functions)
            continue;
        const std::string page = t->GalleryPageText();
        if (std::find(pages.begin(), pages.end(), page) == pages.end())
            pages.push_back(page);
    }
    // "Standard" goes first.
    auto standard = std::find(pages.begin(), pages.end(), TeeMsg_GalleryStandard);
    if (standard != pages.end())
        std::rotate(pages.begin(), standard, standard + 1);
    TabPages->Tabs()->Clear();
    for (const std::string& p : pages)
        TabPages->Tabs()->Add(p);
    TabPages->SetTabIndex(0);
    TabPagesChange(TabPages);
}

void TTeeGallery::TabPagesChange(TObject*)
{
    ChartGalleryPanel1->FunctionsMode = TabTypes->TabIndex() == 1;
    ChartGalleryPanel1->SetView3D(CB3D->Checked());
    if (TabPages->TabIndex() >= 0)
        CreateGalleryPage(ChartGalleryPanel1, TabPages->Tabs()->Get(TabPages->TabIndex()));
    else
        ChartGalleryPanel1->Clear();
}

// ---- TTeeGalleryForm --------------------------------------------------------------------

TTeeGalleryForm::TTeeGalleryForm(TComponent* AOwner) : TForm(AOwner), FChart(std::make_unique<TChart>(nullptr))
{
    SetUniqueFormName(this, "TeeGalleryForm");
    SetCaption("RurEvido Pro Gallery");
    BuildForm(this, 600, 380, {
        Columns({
            Column({Row(LPage, "LPage", "&Gallery:", {Combo(CBPage, "CBPage", {}, csDropDownList, 120)}),
                    Ctl(ChartListBox1, "ChartListBox1")}),
            Column({Ctl(ChartGalleryPanel1, "ChartGalleryPanel1")}),
        }),
        Line({Ctl(CB3D, "CB3D", "&3D"), Ctl(CBSmooth, "CBSmooth", "&Smooth"), Stretch(), Ctl(BOK, "BOK", "OK"),
              Ctl(BCancel, "BCancel", "Cancel")}),
    });
    SetMinimumSize(ChartListBox1, 170, 270);
    SetMinimumSize(ChartGalleryPanel1, 400, 270);
    ChartListBox1->SetShowActiveCheck(false);
    ChartListBox1->SetShowSeriesColor(false);
    ChartListBox1->EnableDragSeries = false;
    ChartListBox1->AllowAddSeries = false;
    ChartListBox1->AllowDeleteSeries = false;
    ChartListBox1->EnableChangeType = false;
    ChartListBox1->SetChart(FChart.get());
    ChartGalleryPanel1->SetDisplaySub(false);
    CB3D->SetChecked(true);
    CBSmooth->SetChecked(ChartGalleryPanel1->Smooth());
    BOK->SetDefault(true);
    BOK->SetModalResult(mrOk);
    BCancel->SetCancel(true);
    BCancel->SetModalResult(mrCancel);

    // "(all)" first, then each page of a series type.
    CBPage->Items()->Add(TeeMsg_All);
    TTeeSeriesTypes* types = SeriesTypeList();
    for (int i = 0; i < types->Count(); ++i) {
        TTeeSeriesType* t = types->Get(i);
        if (t->FunctionClass == nullptr && CBPage->Items()->IndexOf(t->GalleryPageText()) < 0)
            CBPage->Items()->Add(t->GalleryPageText());
    }
    CBPage->OnChange = [this](TObject* s) { CBPageChange(s); };
    ChartListBox1->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ShowSubStyles(); };
    CB3D->OnClick = [this](TObject*) { ChartGalleryPanel1->SetView3D(CB3D->Checked()); };
    CBSmooth->OnClick = [this](TObject*) { ChartGalleryPanel1->SetSmooth(CBSmooth->Checked()); };
    ChartGalleryPanel1->OnSelectedChart = [this](TObject*) { SetModalResult(mrOk); };
    OnShow = [this](TObject*) { CallFormShowHook(this); };
    const int standard = CBPage->Items()->IndexOf(TeeMsg_GalleryStandard);
    CBPage->SetItemIndex(standard >= 0 ? standard : 0);
    CBPageChange(CBPage);
    DoCreate();
}

TTeeGalleryForm::~TTeeGalleryForm()
{
    ChartListBox1->SetChart(nullptr);
}

void TTeeGalleryForm::CBPageChange(TObject*)
{
    while (FChart->SeriesCount() > 0)
        delete FChart->Series(0);
    const int index = CBPage->ItemIndex();
    const std::string page = index > 0 ? CBPage->Items()->Get(index) : std::string();
    // One series per type, sorted by the shown title.
    std::vector<std::pair<std::string, TTeeSeriesType*>> entries;
    TTeeSeriesTypes* types = SeriesTypeList();
    for (int i = 0; i < types->Count(); ++i) {
        TTeeSeriesType* t = types->Get(i);
        if (t->FunctionClass != nullptr || t->SeriesClass == nullptr || (index > 0 && t->GalleryPageText() != page))
            continue;
        std::string title = t->DescriptionText();
        std::replace(title.begin(), title.end(), '\r', ' ');
        std::replace(title.begin(), title.end(), '\n', ' ');
        entries.emplace_back(title, t);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return CompareText(a.first, b.first) < 0; });
    for (const auto& [title, type] : entries) {
        TChartSeries* series = CreateSeriesInChart(FChart.get(), FChart.get(), type->SeriesClass, nullptr);
        series->SetTitle(title);
    }
    ChartListBox1->FillSeriesList();
    ShowSubStyles();
}

void TTeeGalleryForm::ShowSubStyles()
{
    TChartSeries* series = ChartListBox1->SelectedSeries();
    if (series == nullptr) {
        FShownClass = nullptr;
        ChartGalleryPanel1->Clear();
        return;
    }
    if (series->ClassInfo() == FShownClass)
        return;
    FShownClass = series->ClassInfo();
    ChartGalleryPanel1->SetView3D(CB3D->Checked());
    ChartGalleryPanel1->SetSmooth(CBSmooth->Checked());
    TTeeSeriesTypes* types = SeriesTypeList();
    for (int i = 0; i < types->Count(); ++i)
        if (types->Get(i)->SeriesClass == FShownClass && types->Get(i)->FunctionClass == nullptr) {
            FillSubStyles(ChartGalleryPanel1, types->Get(i));
            return;
        }
    ChartGalleryPanel1->Clear();
}

bool ShowSeriesGallery(TComponent* AOwner, TChartSeries* Series, TCustomChart* /*Chart*/, bool FunctionsMode,
                       TChartSeries* CurrentSeries, TChartSeriesClass& SeriesClass,
                       TTeeFunctionClass& FunctionClass, int& SubIndex, bool& View3D)
{
    // The chosen types and the 3D answer, read from the panel once the dialog said OK.
    auto answer = [&](TForm* Form, TChartGalleryPanel* Panel, TCheckBox* CB3D) {
        if (Form->ShowModal() != mrOk || !GetSelectedTypes(Panel, SeriesClass, FunctionClass, SubIndex))
            return false;
        View3D = CB3D->Checked() && Panel->SelectedChart()->View3D();
        return true;
    };
    if (ReadEditorInteger("GalleryMode", 0) != 0) {
        std::unique_ptr<TTeeGalleryForm> gallery(CreateDialogForm<TTeeGalleryForm>(AOwner));
        return answer(gallery.get(), gallery->ChartGalleryPanel1, gallery->CB3D);
    }
    std::unique_ptr<TTeeGallery> gallery(CreateDialogForm<TTeeGallery>(AOwner));
    gallery->ChartGalleryPanel1->FunctionsMode = FunctionsMode;
    gallery->ChartGalleryPanel1->CurrentSeries = CurrentSeries != nullptr ? CurrentSeries : Series;
    gallery->SetChangeMode(Series != nullptr);
    return answer(gallery.get(), gallery->ChartGalleryPanel1, gallery->CB3D);
}

TChartSeries* NewSeriesFromGallery(TComponent* AOwner, TCustomChart* Chart)
{
    TChartSeriesClass seriesClass = nullptr;
    TTeeFunctionClass functionClass = nullptr;
    int sub = -1;
    bool view3D = true;
    if (!ShowSeriesGallery(AOwner, nullptr, Chart, false, nullptr, seriesClass, functionClass, sub, view3D) ||
        seriesClass == nullptr)
        return nullptr;
    Chart->SetView3D(view3D);
    TChartSeries* series = CreateSeriesInChart(Chart->Owner(), Chart, seriesClass, functionClass);
    if (sub >= 0)
        series->ApplySubGalleryStyle(sub);
    return series;
}

TChartSeriesClass ChangeSeriesTypeFromGallery(TComponent* AOwner, TChartSeries*& Series)
{
    TChartSeriesClass seriesClass = nullptr;
    TTeeFunctionClass functionClass = nullptr;
    int sub = -1;
    bool view3D = true;
    auto* chart = dynamic_cast<TCustomChart*>(Series->ParentChart());
    if (!ShowSeriesGallery(AOwner, Series, chart, false, Series, seriesClass, functionClass, sub, view3D) ||
        seriesClass == nullptr)
        return nullptr;
    // The same class without a sub-style changes nothing.
    if (seriesClass == Series->ClassInfo() && sub < 0)
        return seriesClass;
    ReplaceSeriesClass(Series, seriesClass);
    if (sub >= 0)
        Series->ApplySubGalleryStyle(sub);
    return seriesClass;
}

void GalleriesInitialization()
{
    // The standard series types enter the registry with the gallery.
    RegisterSeriesUnitTypes();
    RegisterFormClass<TTeeGallery>("TTeeGallery");
    RegisterFormClass<TTeeGalleryForm>("TTeeGalleryForm");
    RegisterFormClass<TSelectListForm>("TSelectListForm");
    NewSeriesFromGalleryHook = [](TComponent* Owner, TCustomAxisPanel* Chart) -> TChartSeries* {
        auto* chart = dynamic_cast<TCustomChart*>(Chart);
        return chart != nullptr ? NewSeriesFromGallery(Owner, chart) : nullptr;
    };
    ChangeTypeFromGalleryHook = [](TComponent* Owner, TChartSeries*& Series) {
        return ChangeSeriesTypeFromGallery(Owner, Series);
    };
}

void GalleriesFinalization()
{
    NewSeriesFromGalleryHook = nullptr;
    ChangeTypeFromGalleryHook = nullptr;
    UnregisterFormClass("TTeeGallery");
    UnregisterFormClass("TTeeGalleryForm");
    UnregisterFormClass("TSelectListForm");
}

// ---- TSelectListForm --------------------------------------------------------------------

TSelectListForm::TSelectListForm(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "SelectListForm");
    BuildForm(this, 330, 200, {
        Columns({
            Column({Ctl(LFrom, "LFrom", "A&vailable:"), Ctl(FromList, "FromList")}),
            Column({Stretch(), Ctl(BRightOne, "BRightOne", ">", 36), Ctl(BRightAll, "BRightAll", ">>", 36),
                    Ctl(BLeftOne, "BLeftOne", "<", 36), Ctl(BLeftAll, "BLeftAll", "<<", 36), Stretch()}),
            Column({Ctl(LTo, "LTo", "&Selected: "), Ctl(ToList, "ToList")}),
            Column({Stretch(), Ctl(BMoveUP, "BMoveUP"), Ctl(BMoveDown, "BMoveDown"), Stretch()}),
        }),
    });
    FromList->SetMultiSelect(true);
    ToList->SetMultiSelect(true);
    SetMinimumSize(FromList, 110, 120);
    SetMinimumSize(ToList, 110, 120);
    LoadArrowGlyphs(BMoveUP, BMoveDown);
    SetAlign(alClient);

    BRightOne->OnClick = [this](TObject*) {
        MoveSelectedItems(FromList, ToList);
        if (FromList->Items()->Count() > 0)
            FromList->SetSelected(0, true);
        EnableButtons();
    };
    BRightAll->OnClick = [this](TObject*) {
        MoveAllItems(FromList, ToList);
        EnableButtons();
    };
    BLeftOne->OnClick = [this](TObject*) {
        MoveSelectedItems(ToList, FromList);
        if (ToList->Items()->Count() > 0)
            ToList->SetSelected(0, true);
        EnableButtons();
    };
    BLeftAll->OnClick = [this](TObject*) {
        MoveAllItems(ToList, FromList);
        EnableButtons();
    };
    // A double click moves the clicked item across.
    auto moveClicked = [this](TListBox* Source, TListBox* Destination) {
        const int index = Source->ItemIndex();
        if (index < 0)
            return;
        for (int i = 0; i < Source->Items()->Count(); ++i)
            Source->SetSelected(i, i == index);
        MoveSelectedItems(Source, Destination);
        if (Source == FromList && ToList->Items()->Count() > 0)
            ToList->SetItemIndex(ToList->Items()->Count() - 1);
        EnableButtons();
    };
    FromList->OnDblClick = [this, moveClicked](TObject*) { moveClicked(FromList, ToList); };
    ToList->OnDblClick = [this, moveClicked](TObject*) { moveClicked(ToList, FromList); };
    ToList->OnClick = [this](TObject*) { EnableButtons(); };
    BMoveUP->OnClick = [this](TObject*) { MoveSelected(-1); };
    BMoveDown->OnClick = [this](TObject*) { MoveSelected(1); };
    OnShow = [this](TObject*) {
        EnableButtons();
        if (FromList->Items()->Count() == 0)
            ToList->SetFocus();
    };
    DoCreate();
}

void TSelectListForm::MoveSelected(int Delta)
{
    const int index = ToList->ItemIndex();
    const int target = index + Delta;
    if (index < 0 || target < 0 || target >= ToList->Items()->Count())
        return;
    ToList->Items()->Exchange(index, target);
    for (int i = 0; i < ToList->Items()->Count(); ++i)
        ToList->SetSelected(i, false);
    ToList->SetItemIndex(target);
    ToList->SetSelected(target, true);
    EnableButtons();
}

void TSelectListForm::EnableButtons()
{
    const bool from = FromList->Items()->Count() > 0;
    const bool to = ToList->Items()->Count() > 0;
    BRightOne->SetEnabled(from);
    BRightAll->SetEnabled(from);
    BLeftOne->SetEnabled(to);
    BLeftAll->SetEnabled(to);
    const int index = ToList->ItemIndex();
    BMoveUP->SetEnabled(index > 0);
    BMoveDown->SetEnabled(index >= 0 && index < ToList->Items()->Count() - 1);
    if (OnChange)
        OnChange(this);
}
