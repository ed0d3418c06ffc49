// The registries the galleries and editors read (series types, tool types, colour
// palette names) and the routines that create, name, copy and replace series and their
// functions, and draw a series' legend symbol into any canvas.
//
// A class is named by its class information (the table its class declares with a
// component factory): the registries keep those, and a series, function or tool is
// created from one by the table's factory.
#pragma once

#include "classes/Classes.h"
#include "classes/TypInfo.h"
#include "graphics/Colors.h"
#include "graphics/Types.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

class TCanvas;
class TChartSeries;
class TCustomAxisPanel;
class TCustomChart;
class TTeeFunction;

using TChartSeriesClass = const TClassInfo*;
using TTeeFunctionClass = const TClassInfo*;
using TTeeCustomToolClass = const TClassInfo*;

// One registration: a series class, a function class, or both.
class TTeeSeriesType : public TObject {
public:
    DECLARE_CLASS_NAME(TTeeSeriesType)
    TChartSeriesClass SeriesClass = nullptr;     // nullptr for a pure function entry
    TTeeFunctionClass FunctionClass = nullptr;   // nullptr for a plain series type
    // Chart text variables, kept by reference so that a change of the texts shows at once.
    const std::string* Description = nullptr;
    const std::string* GalleryPage = nullptr;
    int NumGallerySeries = 1;

    // The present texts of the two references (empty without one).
    std::string DescriptionText() const { return Description != nullptr ? *Description : std::string(); }
    std::string GalleryPageText() const { return GalleryPage != nullptr ? *GalleryPage : std::string(); }
};

// The registrations in registration order, the order the galleries show them.
class TTeeSeriesTypes : public TObject {
public:
    DECLARE_CLASS_NAME(TTeeSeriesTypes)
    int Count() const { return static_cast<int>(FItems.size()); }
    // ERangeError outside 0..Count-1.
    TTeeSeriesType* Get(int Index) const;
    // The first record of the series class without a function class, or nullptr.
    TTeeSeriesType* Find(TChartSeriesClass SeriesClass) const;
    // The record of exactly that pair, or nullptr.
    TTeeSeriesType* Find(TChartSeriesClass SeriesClass, TTeeFunctionClass FunctionClass) const;
    TTeeSeriesType* Add(std::unique_ptr<TTeeSeriesType> Item);
    // Moves the records from First on before the others, keeping the order of each part.
    void MoveToFront(int First);
    // Frees every record.
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TTeeSeriesType>> FItems;
};

// The tool classes, filled by the tool units.
class TTeeToolTypes : public TObject {
public:
    DECLARE_CLASS_NAME(TTeeToolTypes)
    int Count() const { return static_cast<int>(FItems.size()); }
    // ERangeError outside 0..Count-1.
    TTeeCustomToolClass Get(int Index) const;
    int IndexOf(TTeeCustomToolClass ToolClass) const;
    // Appends the class once and registers it for streaming.
    void Add(TTeeCustomToolClass ToolClass);
    void Clear() { FItems.clear(); }

private:
    std::vector<TTeeCustomToolClass> FItems;
};

// The names of the colour palettes in index order.
class TColorPalettes : public TStringList {
public:
    DECLARE_CLASS_NAME(TColorPalettes)
};

// The process-wide registries, created by the unit's start-up (on first use when that
// has not run yet) and freed at its end.
TTeeSeriesTypes* SeriesTypeList();
TTeeToolTypes* ToolTypeList();
TColorPalettes* ColorPaletteList();

// ---- registration ------------------------------------------------------------------

// Registers each given class for component streaming; appends a record unless one of
// the same series and function class exists.
void AddSeriesType(TChartSeriesClass SeriesClass, TTeeFunctionClass FunctionClass, const std::string* Description,
                   const std::string* GalleryPage, int NumGallerySeries);
void RegisterSeriesType(TChartSeriesClass SeriesClass, const std::string* Description,
                        const std::string* GalleryPage, int NumGallerySeries);
// Gallery page "Standard", two gallery series.
void RegisterStandardSeriesType(TChartSeriesClass SeriesClass, const std::string* Description);
void RegisterFunctionType(TTeeFunctionClass FunctionClass, const std::string* Description,
                          const std::string* GalleryPage, int NumGallerySeries);
void RegisterStandardFunctionType(TTeeFunctionClass FunctionClass, const std::string* Description);

// ---- series creation ---------------------------------------------------------------

// The gallery name of the series' class, else its class name.
std::string GalleryNameOfSeries(const TChartSeries* Series);
// "Series" and the smallest number no component of Owner uses.
std::string NumberedSeriesName(const TComponent* Owner);
// A new series of the class owned by Owner (Chart when Owner is nil, and Chart as well
// when Chart owns any of its series), named, attached to Chart, with a function of
// FunctionClass when one is given. EClassNotFound when a class has no factory.
TChartSeries* CreateSeriesInChart(TComponent* Owner, TCustomAxisPanel* Chart, TChartSeriesClass SeriesClass,
                                  TTeeFunctionClass FunctionClass = nullptr);
// A new function owned by the series' owner, bound to the series and named.
TTeeFunction* CreateFunctionForSeries(TChartSeries* Series, TTeeFunctionClass FunctionClass);
// A copy of the series (class, function class and settings) in Chart, or in the series'
// chart when Chart is nil.
TChartSeries* CreateSeriesOfSameClass(TChartSeries* Series, TCustomAxisPanel* Chart = nullptr);
// New takes Old's settings, events, dependents, tools, groups, place and name; Old is
// freed.
void ReplaceSeries(TChartSeries* Old, TChartSeries* New);
// Series unchanged when already of NewClass; otherwise a new series of NewClass
// replaces it, and Series becomes that one.
TChartSeries* ReplaceSeriesClass(TChartSeries*& Series, TChartSeriesClass NewClass);
// The series' legend symbol in Rect of Canvas. A series without a chart is attached for
// the time to Chart or, when that is nil, to a temporary chart.
void DrawSeriesSymbolInRect(TChartSeries* Series, TCanvas* Canvas, const TRect& Rect, TCustomChart* Chart = nullptr);

// ---- colour palettes ---------------------------------------------------------------

// The number of named palettes: index 0, the default palette, and 1..9.
inline constexpr int ColorPaletteCount = 10;
// The colours of palette Index (0: the default palette in force); none outside the
// palettes.
std::span<const TColor> ColorPaletteColors(int Index);
// HighIndex 0 restores the built-in default palette; otherwise Colors[0..HighIndex]
// becomes the default palette (ERangeError past the end of Colors).
void SetDefaultPalette(std::span<const TColor> Colors, int HighIndex);
// Index 1..9 copies that palette into the chart's own palette; any other index empties
// it (the default palette applies). The chart takes Index as its ColorPaletteIndex,
// every series with the default colour gets an unused colour, and the chart repaints.
void ApplyChartPalette(TCustomAxisPanel* Chart, int Index);
// The palette part of ApplyChartPalette without the index: the chart's own palette,
// the series colours and the repaint.
void ApplyPaletteColors(TCustomAxisPanel* Chart, int Index);

// ---- unit start-up -----------------------------------------------------------------

// Creates the series-type, tool-type and palette registries, in that order, and adds
// the palette names. Start-up and finalisation nest.
void ChartInitialization();
// Unregisters the registered classes and frees the registries.
void ChartFinalization();
