#include "TeEngine/Function.h"

#include "RizUridu/DateSteps.h"
#include "TeEngine/Axis.h"
#include "TeEngine/AxisPanel.h"
#include "TeEngine/Exceptions.h"
#include "TeEngine/Series.h"
#include "TeEngine/ValueList.h"
#include "TeeConst.h"

#include <algorithm>
#include <cmath>

BEGIN_CLASS_INFO(TTeeFunction, TComponent)
    .ComponentFactory()
    .Float("Period", &TTeeFunction::Period, &TTeeFunction::SetPeriod).Default(0.0)
    .Enum("PeriodAlign", &TTeeFunction::PeriodAlign, &TTeeFunction::SetPeriodAlign,
          {"paFirst", "paCenter", "paLast"}).Default(paCenter)
    .Enum("PeriodStyle", &TTeeFunction::PeriodStyle, &TTeeFunction::SetPeriodStyle,
          {"psNumPoints", "psRange"}).Default(psNumPoints)
END_CLASS_INFO

BEGIN_CLASS_INFO(TTeeMovingFunction, TTeeFunction)
    .ComponentFactory()
    .Float("Period", &TTeeFunction::Period, &TTeeFunction::SetPeriod).Default(1.0)
END_CLASS_INFO

namespace {

// Period as a whole number of points: rounded half to even, at least 1 (a period of no
// points would never move on); a period longer than Limit counts as Limit + 1, so that it
// holds no complete period of a source of Limit points.
int PointsOfPeriod(double Period, int Limit)
{
    const double r = std::nearbyint(Period);
    if (!(r >= 1))
        return 1;
    return r > Limit ? std::max(Limit, 0) + 1 : static_cast<int>(r);
}

} // namespace

TTeeFunction::TTeeFunction(TComponent* AOwner) : TComponent(AOwner) {}

TTeeFunction::~TTeeFunction()
{
    if (FParentSeries != nullptr)
        FParentSeries->DetachFunction(this);
}

void TTeeFunction::SetParentComponent(TComponent* Value)
{
    if (auto* s = dynamic_cast<TChartSeries*>(Value))
        SetParentSeries(s);
}

TComponent* TTeeFunction::GetParentComponent() const
{
    return FParentSeries;
}

void TTeeFunction::SetParentSeries(TChartSeries* Value)
{
    if (Value == FParentSeries)
        return;
    if (FParentSeries != nullptr)
        FParentSeries->DetachFunction(this);
    if (Value != nullptr)
        Value->SetFunction(this);
}

void TTeeFunction::SetPeriod(double Value)
{
    if (!(Value >= 0) || std::isinf(Value))
        throw ChartException(TeeMsg_FunctionPeriod);
    SetAndNotify(FPeriod, Value, [this] { Recalculate(); });
}

void TTeeFunction::SetPeriodStyle(TFunctionPeriodStyle Value)
{
    SetAndNotify(FPeriodStyle, Value, [this] { Recalculate(); });
}

void TTeeFunction::SetPeriodAlign(TFunctionPeriodAlign Value)
{
    SetAndNotify(FPeriodAlign, Value, [this] { Recalculate(); });
}

void TTeeFunction::SetUpGalleryPreview(TCustomAxisPanel* Chart)
{
    if (Chart == nullptr)
        return;
    const std::vector<TChartSeries*> series = Chart->SeriesList()->Items();
    for (TChartSeries* s : series)
        s->SetUpGalleryPreview(true);
}

void TTeeFunction::Recalculate()
{
    if (!FUpdating && FParentSeries != nullptr)
        FParentSeries->CheckDataSource();
}

void TTeeFunction::EndUpdate()
{
    if (FUpdating) {
        FUpdating = false;
        Recalculate();
    }
}

void TTeeFunction::Assign(TPersistent* Source)
{
    if (auto* f = dynamic_cast<TTeeFunction*>(Source)) {
        AssignProperties(this, f);
        return;
    }
    TComponent::Assign(Source);
}

TChartValueList* TTeeFunction::ValueListText(TChartSeries* Source) const
{
    if (FParentSeries != nullptr) {
        const std::string& name = FParentSeries->MandatoryValueList()->ValueSource();
        if (!name.empty())
            return Source->ValueListByName(name);
    }
    return Source->MandatoryValueList();
}

void TTeeFunction::AddFunctionPoint(bool YMandatorySource, double Value, double Position)
{
    if (FParentSeries == nullptr)
        return;
    if (YMandatorySource)
        FParentSeries->AddPointXY(Position, Value);
    else
        FParentSeries->AddPointXY(Value, Position);
}

void TTeeFunction::AddPoints(TChartSeries* Source)
{
    if (FUpdating || Source == nullptr || FParentSeries == nullptr)
        return;
    TDataSourcesList* sources = FParentSeries->DataSources();
    if (sources->Count() <= 1) {
        if (Source->Count() > 0)
            ComputeFromSource(Source, Source->NotMandatoryValueList());
        return;
    }
    // Several sources: one point per index of the longest of them.
    std::vector<TChartSeries*> series;
    TChartSeries* longest = Source;
    for (int t = 0; t < sources->Count(); ++t) {
        auto* s = dynamic_cast<TChartSeries*>(sources->Item(t));
        if (s == nullptr)
            continue;
        series.push_back(s);
        if (s->Count() > longest->Count())
            longest = s;
    }
    TChartValueList* list = longest->XValues();
    const int count = list->Count();
    for (int i = 0; i < count; ++i) {
        double value = CalculateAtIndex(series, i);
        double x = list->Value(i);
        if (!FParentSeries->YMandatory())
            std::swap(x, value);
        FParentSeries->AddPointXY(x, value, longest->LabelText(i));
    }
}

void TTeeFunction::ComputeFromSource(TChartSeries* Source, TChartValueList* List)
{
    if (FPeriod != 0)
        CalculateByPeriod(Source, List);
    else
        CalculateWholeSource(Source, List);
}

void TTeeFunction::CalculateWholeSource(TChartSeries* Source, TChartValueList* List)
{
    if (FParentSeries == nullptr || List->Count() == 0)
        return;
    const double value = CalculateRange(Source, -1, -1);
    const double least = List->MinValue();
    const double greatest = List->MaxValue();
    if (FParentSeries->FunctionAsOnePoint()) {
        const double centre = least + (greatest - least) * 0.5;
        if (FParentSeries->YMandatory())
            FParentSeries->AddPointXY(centre, value);
        else
            FParentSeries->AddPointXY(value, centre);
    } else {
        AddFunctionPoint(Source->YMandatory(), value, least);
        AddFunctionPoint(Source->YMandatory(), value, greatest);
    }
}

void TTeeFunction::CalculatePeriod(TChartSeries* Source, double Position, int First, int Last)
{
    AddFunctionPoint(Source->YMandatory(), CalculateRange(Source, First, Last), Position);
}

void TTeeFunction::CalculateByPeriod(TChartSeries* Source, TChartValueList* List)
{
    const int n = List->Count();
    if (n == 0 || FParentSeries == nullptr)
        return;
    // A range period follows the calendar when the parent's horizontal axis shows exact
    // date-times and the period is a step of half a month or more.
    int calendarStep = dtNone;
    if (FPeriodStyle == psRange) {
        TChartAxis* axis = FParentSeries->GetHorizAxis();
        const int step = DateTimeStepIndex(FPeriod);
        if (axis != nullptr && axis->ExactDateTime() && axis->IsDateTimeAxis() && step >= dtHalfMonth &&
            step != dtNone)
            calendarStep = step;
    }
    const int points = PointsOfPeriod(FPeriod, n);
    int index = 0;
    double start = List->Value(0);
    while (index <= n - 1) {
        int t;
        double first;
        double last;
        bool holdsPoints = true;
        if (FPeriodStyle == psRange) {
            double end = start;
            if (calendarStep != dtNone)
                IncrementDateTimeStep(true, true, end, calendarStep, FPeriod);
            else
                end = start + FPeriod;
            // A period too small to move past start at this magnitude would never end.
            if (!(end > start))
                return;
            first = start;
            last = end - 0.001 * FPeriod;
            t = index;
            while (t < n - 1 && List->Value(t + 1) < end)
                ++t;
            holdsPoints = List->Value(index) < end;
            start = end;
        } else {
            t = index + points - 1;
            if (t >= n)
                return;   // an incomplete last period adds nothing
            first = List->Value(index);
            last = List->Value(t);
        }
        double position;
        switch (FPeriodAlign) {
        case paFirst: position = first; break;
        case paLast: position = last; break;
        default: position = (first + last) * 0.5; break;
        }
        if (holdsPoints) {
            CalculatePeriod(Source, position, index, t);
            index = t + 1;
        } else {
            AddFunctionPoint(Source->YMandatory(), 0, position);
        }
    }
}

TTeeMovingFunction::TTeeMovingFunction(TComponent* AOwner) : TTeeFunction(AOwner)
{
    FPeriod = 1;
    FSingleSource = true;
}

void TTeeMovingFunction::ComputeFromSource(TChartSeries* Source, TChartValueList* List)
{
    const int n = List->Count();
    const double rounded = std::nearbyint(FPeriod);
    if (rounded > n)
        return;   // fewer points than one window
    const int p = PointsOfPeriod(FPeriod, n);
    for (int t = p - 1; t < n; ++t)
        AddFunctionPoint(Source->YMandatory(), CalculateRange(Source, t - p + 1, t), List->Value(t));
}
