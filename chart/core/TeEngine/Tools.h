// Chart tools: elements that a chart tells of every drawing stage and mouse event, in the
// order of its tools list. The base does nothing with them; tool types react. A tool
// may be bound to a series or to an axis.
#pragma once

#include "RizUridu.h"
#include "TeEngine/ChartElement.h"

#include <memory>
#include <string>
#include <vector>

class TChartAxis;
class TChartSeries;
class TChartTools;
class TSeriesWatcher;

// The drawing stages a chart tells its active tools of, by code.
enum TChartToolEvent {
    cteAfterDraw = 0,          // after everything
    cteBeforeDrawSeries = 1,   // before the series
    cteAfterBackground = 2,    // after the background
    cteBeforeDrawAxes = 3,     // before the axes
    cteAfterDrawSeries = 4,    // after the series
    cteMouseLeave = 5,         // the mouse left the chart
};

// A chart that keeps a tools list; tools join and leave it as their chart changes.
class IChartToolsHost {
public:
    virtual ~IChartToolsHost() = default;
    virtual TChartTools* Tools() const = 0;
};

class TTeeCustomTool : public TCustomChartElement {
public:
    DECLARE_CLASS_INFO(TTeeCustomTool)
    explicit TTeeCustomTool(TComponent* AOwner);
    ~TTeeCustomTool() override;

    // ---- virtual slots ----
    // A drawing stage is reached (TChartToolEvent codes); nothing in the base.
    virtual void ChartStageEvent(TChartToolEvent Stage) {}
    // A mouse event of the chart; nothing in the base.
    virtual void HandleChartMouse(TTeeMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {}
    // The tool type's name in the tools gallery and list; empty in the base.
    virtual std::string Description() const { return {}; }

    // When the chart changes: the tool leaves the old chart's tools list (the old chart
    // repaints when there is no new one) and joins the new chart's list.
    void SetParentChart(TCustomAxisPanel* Value) override;

private:
    friend class TChartTools;
    // The tools list the tool is in, or nullptr.
    TChartTools* FToolsList = nullptr;
};

// A tool bound to one series, which it forgets when the series is destroyed.
class TTeeCustomToolSeries : public TTeeCustomTool {
public:
    DECLARE_CLASS_INFO(TTeeCustomToolSeries)
    explicit TTeeCustomToolSeries(TComponent* AOwner);
    ~TTeeCustomToolSeries() override;

    virtual void SetSeries(TChartSeries* Value);
    TChartSeries* Series() const { return FSeries; }
    std::string EditorClassName() const override { return "TSeriesToolEditor"; }

private:
    TChartSeries* FSeries = nullptr;
    std::unique_ptr<TSeriesWatcher> FWatcher;
};

// A tool bound to one axis; it takes the axis' chart as its chart. The axis is streamed
// as "AxisID", its index in the chart's axes list.
class TTeeCustomToolAxis : public TTeeCustomTool {
public:
    DECLARE_CLASS_INFO(TTeeCustomToolAxis)
    using TTeeCustomTool::TTeeCustomTool;

    // When different: stores it, takes its chart (none for no axis) and repaints.
    virtual void SetAxis(TChartAxis* Value);
    TChartAxis* Axis() const { return FAxis; }
    std::string EditorClassName() const override { return "TAxisToolEditor"; }

    void SetParentChart(TCustomAxisPanel* Value) override;
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;

private:
    friend class TChartTools;
    // Resolves a streamed axis index once the chart is known.
    void ResolveAxisID();
    TChartAxis* FAxis = nullptr;
    int FPendingAxisID = -1;
};

// The tools of a chart, in the order they hear the chart's stages and mouse events. The
// list does not own the tools (their owner does), but Clear and the list's destruction
// free them.
class TChartTools {
public:
    explicit TChartTools(TCustomAxisPanel* Chart) : FChart(Chart) {}
    ~TChartTools();
    TChartTools(const TChartTools&) = delete;
    TChartTools& operator=(const TChartTools&) = delete;

    TCustomAxisPanel* Chart() const { return FChart; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // ERangeError outside 0..Count-1.
    TTeeCustomTool* Tool(int Index) const;
    TTeeCustomTool* operator[](int Index) const { return Tool(Index); }
    int IndexOf(const TTeeCustomTool* Tool) const;
    const std::vector<TTeeCustomTool*>& Items() const { return FItems; }
    // Gives the tool this list's chart (which adds it here) and answers it.
    TTeeCustomTool* AddTool(TTeeCustomTool* Tool);
    // Frees every tool.
    void Clear();
    // Swaps two tools in the order (ERangeError outside the list).
    void Exchange(int A, int B);

    // Every active tool, in order, hears the stage.
    void NotifyStage(TChartToolEvent Stage);
    // Every active tool, in order, hears the mouse event, until one sets the chart's
    // CancelMouse flag.
    void HandleMouse(TTeeMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y);
    // Axis tools bound to the axis (to any axis for nullptr) lose it; the chart calls
    // this before it frees an axis.
    void AxisRemoved(const TChartAxis* Axis);

private:
    friend class TTeeCustomTool;
    void Insert(TTeeCustomTool* Tool);
    void Remove(const TTeeCustomTool* Tool);
    // The active tools at the moment of the call: a tool may leave while it reacts.
    std::vector<TTeeCustomTool*> ActiveTools() const;

    TCustomAxisPanel* FChart;
    std::vector<TTeeCustomTool*> FItems;
};
