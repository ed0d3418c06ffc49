// The base of everything drawn in a chart's plot area: the chart element (active flag,
// brush, pen, link to its chart) and the series that shows in the legend.
#pragma once

#include "TeCanvas.h"

#include <memory>
#include <string>
#include <type_traits>

class TCustomAxisPanel;

class TCustomChartElement : public TComponent {
public:
    DECLARE_CLASS_INFO(TCustomChartElement)
    explicit TCustomChartElement(TComponent* AOwner);
    ~TCustomChartElement() override;

    // ---- virtual slots ----
    // Asks the chart to repaint (the chart ignores it while its automatic repaint is off).
    virtual void RepaintRequest();
    // The class name of the editor form; none in the base.
    virtual std::string EditorClassName() const { return {}; }
    virtual void SetActive(bool Value);
    virtual void SetParentChart(TCustomAxisPanel* Value);
    virtual void SetPen(TChartPen* Value);

    void Repaint() { RepaintRequest(); }
    bool Active() const { return FActive; }
    void Show() { SetActive(true); }
    void Hide() { SetActive(false); }
    TChartBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TChartBrush* Value);
    TCustomAxisPanel* ParentChart() const { return FParentChart; }
    TChartPen* Pen() const { return FPen.get(); }

    // A new chart pen whose changes repaint this element; the caller owns it.
    std::unique_ptr<TChartPen> MakeLinkedPen();

    // Tag, Active, Brush and Pen of another element.
    void Assign(TPersistent* Source) override;

    // Streamed inside their chart: the chart is the parent a reader gives them.
    bool HasParent() const override { return true; }
    void SetParentComponent(TComponent* Value) override;

protected:
    TNotifyEvent RepaintHandler();
    // A setter's common part: stores Value and repaints when it differs from Field.
    template <class T>
    void SetAndRepaint(T& Field, std::type_identity_t<T> Value)
    {
        SetAndNotify(Field, Value, [this] { Repaint(); });
    }

    bool FActive = true;
    TCustomAxisPanel* FParentChart = nullptr;

private:
    std::unique_ptr<TChartBrush> FBrush;
    std::unique_ptr<TChartPen> FPen;
};

// Six style flags as bits 0..5; stored and copied here, read by series types and the
// editor.
using TChartSeriesStyle = unsigned;

class TCustomChartSeries : public TCustomChartElement {
public:
    DECLARE_CLASS_INFO(TCustomChartSeries)
    explicit TCustomChartSeries(TComponent* AOwner);

    // ---- virtual slots ----
    // Pixel margins the series wants at the two ends of a horizontal (A) or vertical (B)
    // axis; none in the base.
    virtual void AxisMarginsA(int& Left, int& Right) { Left = 0; Right = 0; }
    virtual void AxisMarginsB(int& Top, int& Bottom) { Top = 0; Bottom = 0; }
    virtual void PrepareSeriesPositions() {}

    // Stores, repaints and tells the chart (series event 5).
    void SetActive(bool Value) override;

    bool ShowInLegend() const { return FShowInLegend; }
    void SetShowInLegend(bool Value);
    // The display title: Title, else the component name, else "Series" and the 1-based
    // position in the chart's series list (empty outside a chart).
    std::string Title() const;
    // The stored title only.
    const std::string& StoredTitle() const { return FTitle; }
    // Stores, repaints and tells the chart (series event 2).
    void SetTitle(const std::string& Value);
    const std::string& Identifier() const { return FIdentifier; }
    void SetIdentifier(const std::string& Value) { FIdentifier = Value; }
    TChartSeriesStyle Style() const { return FStyle; }
    void SetStyle(TChartSeriesStyle Value) { FStyle = Value; }

    void Assign(TPersistent* Source) override;
    // "Identifier" and "Style", which are not published.
    void DefineProperties(TFiler* Filer) override;

protected:
    // Broadcasts the series event Code to the chart's listeners (nothing without a chart).
    void SendChartEvent(int Code);

private:
    bool FShowInLegend = true;
    std::string FTitle;
    std::string FIdentifier;
    TChartSeriesStyle FStyle = 0;
};
