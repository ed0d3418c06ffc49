#include "Chart/SeriesTypes.h"

#include "Chart/CustomChart.h"
#include "TeEngine/Function.h"
#include "TeEngine/SeriesGroups.h"
#include "TeEngine/Series.h"
#include "TeEngine/Tools.h"
#include "TeeConst.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <array>

namespace {

struct TRegistries {
    std::unique_ptr<TTeeSeriesTypes> SeriesTypes;
    std::unique_ptr<TTeeToolTypes> ToolTypes;
    std::unique_ptr<TColorPalettes> Palettes;
};

TRegistries& Registries()
{
    static TRegistries registries;
    return registries;
}

int UnitInitCount = 0;

// The palettes 1..9, each with its name.
struct TNamedPalette {
    const char* Name;
    std::vector<TColor> Colors;
};

const std::array<TNamedPalette, ColorPaletteCount - 1>& NamedPalettes()
{
    static const std::array<TNamedPalette, ColorPaletteCount - 1> palettes = {{
        {"Excel", {0xFF9999, 0x663399, 0xCCFFFF, 0xFFFFCC, 0x660066, 0x8080FF, 0xCC6600, 0xFFCCCC, 0x800000, 0xFF00FF,
                   0x00FFFF, 0xFFFF00, 0x800080, 0x000080, 0x808000, 0xFF0000, 0xFFCC00, 0xFFFFCC, 0xCCFFCC, 0x00FFFF,
                   0xFFCC99, 0xCC99FF}},
        {"Victorian", {0xA1A55D, 0x3153C4, 0x0996E7, 0x4AE8F6, 0xA7A2B1, 0x84A7C9, 0x51798C, 0xB7CDD8, 0x536508,
                       0x7BD8F7, 0x846401}},
        {"Pastels", {0xFFFFCC, 0xCCFFFF, 0xFFCCCC, 0xCCCC00, 0xCCCCCC, 0x999900, 0x999999, 0xCCCCFF, 0x66CCFF,
                     0xFFCCCC, 0x9999FF, 0x99FFFF, 0xFFCC99, 0xCCFFCC}},
        {"Solid", {0xFF0000, 0x0000FF, 0x00FF00, 0x00CCFF, 0x404040, 0x00FFFF, 0xC000FF, 0xFFFFFF}},
        {"Classic", {0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000, 0x808000,
                     0x000080, 0x800080, 0x008080}},
        {"Web", {0x00A5FF, 0xCE0000, 0x00CE00, 0x40FFFF, 0xFFFF40, 0xFF40FF, 0x0040FF, 0xA58080, 0x408080}},
        {"Modern", {0x6699FF, 0x6666FF, 0xFFCC99, 0x669966, 0x99CCCC, 0xCC6699, 0x6666CC, 0x99CCFF, 0xFF6699,
                    0xCCCCCC, 0xCCFF66, 0xFF9966, 0x996699, 0xFFCCCC}},
        {"Rainbow", {0x000099, 0x0000C3, 0x0000EE, 0x001AFF, 0x0046FF, 0x0073FF, 0x009FFF, 0x00CBFF, 0x00F7FF,
                     0x08F4E3, 0x11E7C3, 0x1BDAA3, 0x25CD83, 0x2EC063, 0x38B342, 0x42A622, 0x4B9A02, 0x6A870C,
                     0x8A751A, 0xAA6328, 0xCB5036, 0xEB3E44, 0xFF2A61, 0xFF1596, 0xFF00CC}},
        {"Win. XP", {0xFE9B82, 0x24D1FC, 0x0DBC7C, 0x2F85FD, 0xFCFEFD, 0x214EE2, 0xD63829, 0x0094B7, 0x00865A,
                     0x0046D2, 0xFAE5D3, 0xD8D8D8, 0x7B715F}},
    }};
    return palettes;
}

void CreateRegistries()
{
    TRegistries& r = Registries();
    if (!r.SeriesTypes)
        r.SeriesTypes = std::make_unique<TTeeSeriesTypes>();
    if (!r.ToolTypes)
        r.ToolTypes = std::make_unique<TTeeToolTypes>();
    if (!r.Palettes) {
        r.Palettes = std::make_unique<TColorPalettes>();
        r.Palettes->Add("RurEvido");
        for (const TNamedPalette& p : NamedPalettes())
            r.Palettes->Add(p.Name);
    }
}

// A new component of the class, owned by Owner and of type T.
template <class T>
T* CreateOfClass(const TClassInfo* Class, TComponent* Owner)
{
    TComponent* created = CreateComponentOfClass(Class, Owner);
    T* result = dynamic_cast<T*>(created);
    if (result == nullptr) {
        delete created;
        throw EClassNotFound(typinfo_detail::WithName(SClassNotFound, Class->ClassName));
    }
    return result;
}

void RegisterStreamedClass(const TClassInfo* Class)
{
    if (Class != nullptr)
        RegisterClass(Class);
}

} // namespace

// ---- the registries -----------------------------------------------------------------

TTeeSeriesType* TTeeSeriesTypes::Get(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw ERangeError();
    return FItems[static_cast<size_t>(Index)].get();
}

TTeeSeriesType* TTeeSeriesTypes::Find(TChartSeriesClass SeriesClass) const
{
    return Find(SeriesClass, nullptr);
}

TTeeSeriesType* TTeeSeriesTypes::Find(TChartSeriesClass SeriesClass, TTeeFunctionClass FunctionClass) const
{
    for (const auto& item : FItems)
        if (item->SeriesClass == SeriesClass && item->FunctionClass == FunctionClass)
            return item.get();
    return nullptr;
}

TTeeSeriesType* TTeeSeriesTypes::Add(std::unique_ptr<TTeeSeriesType> Item)
{
    FItems.push_back(std::move(Item));
    return FItems.back().get();
}

void TTeeSeriesTypes::MoveToFront(int First)
{
    if (First > 0 && First < Count())
        std::rotate(FItems.begin(), FItems.begin() + First, FItems.end());
}

TTeeCustomToolClass TTeeToolTypes::Get(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw ERangeError();
    return FItems[static_cast<size_t>(Index)];
}

int TTeeToolTypes::IndexOf(TTeeCustomToolClass ToolClass) const
{
    for (int t = 0; t < Count(); ++t)
        if (FItems[static_cast<size_t>(t)] == ToolClass)
            return t;
    return -1;
}

void TTeeToolTypes::Add(TTeeCustomToolClass ToolClass)
{
    if (ToolClass == nullptr || IndexOf(ToolClass) >= 0)
        return;
    RegisterClass(ToolClass);
    FItems.push_back(ToolClass);
}

TTeeSeriesTypes* SeriesTypeList()
{
    CreateRegistries();
    return Registries().SeriesTypes.get();
}

TTeeToolTypes* ToolTypeList()
{
    CreateRegistries();
    return Registries().ToolTypes.get();
}

TColorPalettes* ColorPaletteList()
{
    CreateRegistries();
    return Registries().Palettes.get();
}

// ---- registration ------------------------------------------------------------------

void AddSeriesType(TChartSeriesClass SeriesClass, TTeeFunctionClass FunctionClass, const std::string* Description,
                   const std::string* GalleryPage, int NumGallerySeries)
{
    RegisterStreamedClass(SeriesClass);
    RegisterStreamedClass(FunctionClass);
    TTeeSeriesTypes* types = SeriesTypeList();
    if (types->Find(SeriesClass, FunctionClass) != nullptr)
        return;
    auto item = std::make_unique<TTeeSeriesType>();
    item->SeriesClass = SeriesClass;
    item->FunctionClass = FunctionClass;
    item->Description = Description;
    item->GalleryPage = GalleryPage;
    item->NumGallerySeries = NumGallerySeries;
    types->Add(std::move(item));
}

void RegisterSeriesType(TChartSeriesClass SeriesClass, const std::string* Description,
                        const std::string* GalleryPage, int NumGallerySeries)
{
    AddSeriesType(SeriesClass, nullptr, Description, GalleryPage, NumGallerySeries);
}

void RegisterStandardSeriesType(TChartSeriesClass SeriesClass, const std::string* Description)
{
    RegisterSeriesType(SeriesClass, Description, &TeeMsg_GalleryStandard, 2);
}

void RegisterFunctionType(TTeeFunctionClass FunctionClass, const std::string* Description,
                          const std::string* GalleryPage, int NumGallerySeries)
{
    AddSeriesType(nullptr, FunctionClass, Description, GalleryPage, NumGallerySeries);
}

void RegisterStandardFunctionType(TTeeFunctionClass FunctionClass, const std::string* Description)
{
    RegisterFunctionType(FunctionClass, Description, &TeeMsg_GalleryStandard, 2);
}

// ---- series creation ---------------------------------------------------------------

std::string GalleryNameOfSeries(const TChartSeries* Series)
{
    if (const TTeeSeriesType* type = SeriesTypeList()->Find(Series->ClassInfo()))
        return type->DescriptionText();
    return Series->ClassName();
}

std::string NumberedSeriesName(const TComponent* Owner)
{
    return NumberedComponentName(Owner, "Series");
}

TChartSeries* CreateSeriesInChart(TComponent* Owner, TCustomAxisPanel* Chart, TChartSeriesClass SeriesClass,
                                  TTeeFunctionClass FunctionClass)
{
    TComponent* owner = Owner != nullptr ? Owner : Chart;
    if (Chart != nullptr)
        for (TChartSeries* s : Chart->SeriesList()->Items())
            if (s->Owner() == Chart) {
                owner = Chart;
                break;
            }
    TChartSeries* series = CreateOfClass<TChartSeries>(SeriesClass, owner);
    TScopeGuard freeOnError([series] { delete series; });
    series->SetName(NumberedSeriesName(owner));
    if (Chart != nullptr)
        series->SetParentChart(Chart);
    if (FunctionClass != nullptr)
        CreateFunctionForSeries(series, FunctionClass);
    freeOnError.Dismiss();
    return series;
}

TTeeFunction* CreateFunctionForSeries(TChartSeries* Series, TTeeFunctionClass FunctionClass)
{
    TComponent* owner = Series->Owner();
    TTeeFunction* function = CreateOfClass<TTeeFunction>(FunctionClass, owner);
    TScopeGuard freeOnError([function] { delete function; });
    function->SetParentSeries(Series);
    freeOnError.Dismiss();
    function->SetName(NumberedComponentName(owner, "TeeFunction"));
    return function;
}

TChartSeries* CreateSeriesOfSameClass(TChartSeries* Series, TCustomAxisPanel* Chart)
{
    TCustomAxisPanel* chart = Chart != nullptr ? Chart : Series->ParentChart();
    TTeeFunction* function = Series->FunctionType();
    TChartSeries* result = CreateSeriesInChart(Series->Owner(), chart, Series->ClassInfo(),
                                               function != nullptr ? function->ClassInfo() : nullptr);
    result->Assign(Series);
    return result;
}

void ReplaceSeries(TChartSeries* Old, TChartSeries* New)
{
    if (Old == nullptr || New == nullptr || Old == New)
        return;
    New->Assign(Old);
    New->AfterDrawValues = Old->AfterDrawValues;
    New->BeforeDrawValues = Old->BeforeDrawValues;
    New->OnAfterAdd = Old->OnAfterAdd;
    New->OnBeforeAdd = Old->OnBeforeAdd;
    New->OnClearValues = Old->OnClearValues;
    New->OnClick = Old->OnClick;
    New->OnDblClick = Old->OnDblClick;
    New->OnGetMarkText = Old->OnGetMarkText;
    New->OnMouseEnter = Old->OnMouseEnter;
    New->OnMouseLeave = Old->OnMouseLeave;
    const std::string name = Old->Name();

    // The series fed by Old are fed by New, in the same place among their sources.
    const std::vector<TChartSeries*> dependents = Old->LinkedSeries()->Items();
    for (TChartSeries* d : dependents)
        d->ReplaceSourceSeries(Old, New);

    TCustomAxisPanel* chart = Old->ParentChart();
    if (chart != nullptr) {
        if (New->ParentChart() != chart)
            New->SetParentChart(chart);
        for (TTeeCustomTool* tool : chart->Tools()->Items())
            if (auto* seriesTool = dynamic_cast<TTeeCustomToolSeries*>(tool); seriesTool && seriesTool->Series() == Old)
                seriesTool->SetSeries(New);
        TSeriesGroups* groups = chart->SeriesList()->Groups();
        for (int g = 0; g < groups->Count(); ++g) {
            TCustomSeriesList* members = groups->Group(g)->Series();
            const int at = members->IndexOf(Old);
            if (at < 0)
                continue;
            if (members->IndexOf(New) < 0)
                members->Insert(at, New);
            members->Remove(Old);
        }
        // New takes Old's place in the series list; Old leaves from the end.
        TChartSeriesList* list = chart->SeriesList();
        const int oldIndex = list->IndexOf(Old);
        const int newIndex = list->IndexOf(New);
        if (oldIndex >= 0 && newIndex >= 0)
            list->Exchange(oldIndex, newIndex);
    }
    delete Old;
    New->SetName(name);
    if (chart != nullptr)
        chart->BroadcastSeriesEvent(New, 2);
    New->CheckDataSource();
    if (dynamic_cast<TChartSeries*>(New->DataSource()) != nullptr)
        New->RefreshSeries();
}

TChartSeries* ReplaceSeriesClass(TChartSeries*& Series, TChartSeriesClass NewClass)
{
    if (Series == nullptr || Series->ClassInfo() == NewClass)
        return Series;
    TChartSeries* created = CreateSeriesInChart(Series->Owner(), Series->ParentChart(), NewClass);
    // A type that cannot take the series' settings (a source it refuses raises while it
    // assigns them, before anything else moves) goes again: the chart stays as it was.
    TScopeGuard dropCreated([created] { delete created; });
    ReplaceSeries(Series, created);
    dropCreated.Dismiss();
    Series = created;
    return created;
}

void DrawSeriesSymbolInRect(TChartSeries* Series, TCanvas* Canvas, const TRect& Rect, TCustomChart* Chart)
{
    if (Series == nullptr || Canvas == nullptr)
        return;
    std::unique_ptr<TChart> temporary;
    bool attached = false;
    if (Series->ParentChart() == nullptr) {
        TCustomChart* host = Chart;
        if (host == nullptr) {
            temporary = std::make_unique<TChart>(nullptr);
            host = temporary.get();
        }
        Series->SetParentChart(host);
        attached = true;
    }
    // Declared after the temporary chart, so the series leaves it before it is freed.
    TScopeGuard detach([Series, attached] {
        if (attached)
            Series->SetParentChart(nullptr);
    });
    TCustomAxisPanel* chart = Series->ParentChart();
    TTeeCanvas3D* surface = chart->Canvas();
    if (surface->IsTrue3D())
        return;
    TCanvas* previous = surface->ReferenceCanvas();
    AttachCanvasToSurface(surface, Canvas);
    TScopeGuard pointBack([surface, previous] { AttachCanvasToSurface(surface, previous); });
    surface->Brush()->SetStyle(bsSolid);
    if (auto* customChart = dynamic_cast<TCustomChart*>(chart)) {
        surface->Brush()->SetColor(customChart->Legend()->Color());
        AssignPenToCanvas(surface, customChart->Legend()->Symbol()->Pen());
    }
    Series->PaintLegendSymbol(-1, Rect);
}

// ---- colour palettes ---------------------------------------------------------------

std::span<const TColor> ColorPaletteColors(int Index)
{
    if (Index == 0)
        return DefaultPalette();
    if (Index < 1 || Index >= ColorPaletteCount)
        return {};
    return NamedPalettes()[static_cast<size_t>(Index - 1)].Colors;
}

void SetDefaultPalette(std::span<const TColor> Colors, int HighIndex)
{
    if (HighIndex == 0) {
        SetDefaultPalette({});
        return;
    }
    if (HighIndex < 0 || static_cast<size_t>(HighIndex) >= Colors.size())
        throw ERangeError();
    SetDefaultPalette(Colors.first(static_cast<size_t>(HighIndex) + 1));
}

void ApplyChartPalette(TCustomAxisPanel* Chart, int Index)
{
    if (Chart == nullptr)
        return;
    if (auto* chart = dynamic_cast<TCustomChart*>(Chart)) {
        chart->SetColorPaletteIndex(Index);
        return;
    }
    ApplyPaletteColors(Chart, Index);
}

void ApplyPaletteColors(TCustomAxisPanel* Chart, int Index)
{
    const std::span<const TColor> colors = Index >= 1 ? ColorPaletteColors(Index) : std::span<const TColor>();
    Chart->SetColorPalette(std::vector<TColor>(colors.begin(), colors.end()));
    Chart->AssignSeriesColors();
    Chart->Repaint();
}

// ---- unit start-up -----------------------------------------------------------------

void ChartInitialization()
{
    if (UnitInitCount++ == 0)
        CreateRegistries();
}

void ChartFinalization()
{
    if (UnitInitCount == 0 || --UnitInitCount > 0)
        return;
    TRegistries& r = Registries();
    if (r.SeriesTypes)
        for (int t = 0; t < r.SeriesTypes->Count(); ++t) {
            const TTeeSeriesType* type = r.SeriesTypes->Get(t);
            if (type->SeriesClass != nullptr)
                UnregisterClass(type->SeriesClass);
            if (type->FunctionClass != nullptr)
                UnregisterClass(type->FunctionClass);
        }
    if (r.ToolTypes)
        for (int t = 0; t < r.ToolTypes->Count(); ++t)
            UnregisterClass(r.ToolTypes->Get(t));
    r.Palettes.reset();
    r.ToolTypes.reset();
    r.SeriesTypes.reset();
}
