#include "TeEngine/ChartElement.h"
#include "classes/Streaming.h"

#include "TeEngine/AxisPanel.h"
#include "TeEngine/Series.h"
#include "TeeConst.h"


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TCustomChartElement, TComponent)
    .Bool("Active", &TCustomChartElement::Active, &TCustomChartElement::SetActive).Default(true)
    .Object("Brush", &TCustomChartElement::Brush)
END_CLASS_INFO

BEGIN_CLASS_INFO(TCustomChartSeries, TCustomChartElement)
    .Bool("ShowInLegend", &TCustomChartSeries::ShowInLegend, &TCustomChartSeries::SetShowInLegend).Default(true)
    .Str("Title", &TCustomChartSeries::StoredTitle, &TCustomChartSeries::SetTitle)
END_CLASS_INFO

void TCustomChartElement::SetParentComponent(TComponent* Value)
{
    if (auto* chart = dynamic_cast<TCustomAxisPanel*>(Value))
        SetParentChart(chart);
}

void TCustomChartSeries::DefineProperties(TFiler* Filer)
{
    TCustomChartElement::DefineProperties(Filer);
    Filer->DefineProperty(
        "Identifier", [this](TReader* Reader) { FIdentifier = Reader->ReadString(); },
        [this](TWriter* Writer) { Writer->WriteString(FIdentifier); }, !FIdentifier.empty());
    // The six style flags as bits 0..5.
    Filer->DefineProperty(
        "Style", [this](TReader* Reader) { FStyle = static_cast<unsigned>(Reader->ReadInteger()) & 0x3Fu; },
        [this](TWriter* Writer) { Writer->WriteInteger(FStyle & 0x3Fu); }, (FStyle & 0x3Fu) != 0);
}

// ---- TCustomChartElement --------------------------------------------------------

TCustomChartElement::TCustomChartElement(TComponent* AOwner) : TComponent(AOwner)
{
    FBrush = std::make_unique<TChartBrush>(RepaintHandler());
    FPen = MakeLinkedPen();
}

TCustomChartElement::~TCustomChartElement() = default;

TNotifyEvent TCustomChartElement::RepaintHandler()
{
    return [this](TObject*) { RepaintRequest(); };
}

std::unique_ptr<TChartPen> TCustomChartElement::MakeLinkedPen()
{
    return std::make_unique<TChartPen>(RepaintHandler());
}

void TCustomChartElement::RepaintRequest()
{
    if (FParentChart != nullptr)
        FParentChart->RequestRepaint();
}

void TCustomChartElement::SetActive(bool Value)
{
    SetAndRepaint(FActive, Value);
}

void TCustomChartElement::SetParentChart(TCustomAxisPanel* Value)
{
    FParentChart = Value;
}

void TCustomChartElement::SetPen(TChartPen* Value)
{
    FPen->Assign(Value);
}

void TCustomChartElement::SetBrush(TChartBrush* Value)
{
    FBrush->Assign(Value);
}

// By field: Active's setter tells the chart and its legend, which a copy does not.
void TCustomChartElement::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TCustomChartElement*>(Source)) {
        SetTag(s->Tag());
        FActive = s->FActive;
        FBrush->Assign(s->FBrush.get());
        FPen->Assign(s->FPen.get());
    } else {
        TComponent::Assign(Source);
    }
}

// ---- TCustomChartSeries ---------------------------------------------------------

TCustomChartSeries::TCustomChartSeries(TComponent* AOwner) : TCustomChartElement(AOwner) {}

void TCustomChartSeries::SendChartEvent(int Code)
{
    if (FParentChart != nullptr)
        FParentChart->BroadcastSeriesEvent(dynamic_cast<TChartSeries*>(this), Code);
}

void TCustomChartSeries::SetActive(bool Value)
{
    FActive = Value;
    Repaint();
    SendChartEvent(seChangeActive);
}

void TCustomChartSeries::SetShowInLegend(bool Value)
{
    SetAndRepaint(FShowInLegend, Value);
}

std::string TCustomChartSeries::Title() const
{
    if (!FTitle.empty())
        return FTitle;
    if (!Name().empty())
        return Name();
    if (FParentChart != nullptr) {
        const int index = FParentChart->IndexOfSeries(this);
        if (index >= 0)
            return TeeMsg_Series + IntToStr(index + 1);
    }
    return {};
}

void TCustomChartSeries::SetTitle(const std::string& Value)
{
    FTitle = Value;
    Repaint();
    SendChartEvent(seChangeTitle);
}

// By field: the table's Title reads the stored title only, and the identifier and style
// are not published.
void TCustomChartSeries::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TCustomChartSeries*>(Source)) {
        FShowInLegend = s->FShowInLegend;
        FTitle = s->FTitle;
        FIdentifier = s->FIdentifier;
        FStyle = s->FStyle;
    }
    TCustomChartElement::Assign(Source);
}
