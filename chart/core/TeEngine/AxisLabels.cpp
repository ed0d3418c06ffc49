// The label side of an axis: the step between labels for its size and settings, the
// label sizes, the automatic label style, and the loops that place the labels along the
// axis. The texts come from the axis' label formatter (AxisLabelFormat.cpp).
#include "TeEngine/AxisLabelLoop.h"

#include "TeEngine/AxisPanel.h"
#include "TeEngine/Series.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Rounds to the nearest integer, halves to even, without raising for large values.
double RoundEven(double X) { return std::nearbyint(X); }

bool IsVerticalAngle(int Angle) { return Angle == 90 || Angle == 270; }

// Whether the axis is S's non-mandatory one: an ordinary series puts its X values on
// horizontal axes, a horizontal series its Y values on vertical ones.
bool IsSeriesOnOtherAxis(const TChartSeries* S, bool Horizontal)
{
    return S->YMandatory() ? Horizontal : !Horizontal;
}

}  // namespace

int MultiLineTextWidth(TCustomAxisPanel* Chart, const std::string& Text, int& NumLines)
{
    NumLines = 0;
    if (Text.empty())
        return 0;
    int width = 0;
    for (const std::string& line : SplitTextLines(Text)) {
        ++NumLines;
        if (Chart != nullptr)
            width = std::max(width, Chart->Canvas()->TextWidth(line));
    }
    return width;
}

int CountLabelLines(const std::string& Text)
{
    if (Text.empty())
        return 0;
    return static_cast<int>(std::count(Text.begin(), Text.end(), TeeLineSeparator)) + 1;
}

// ---- the axis' entry points --------------------------------------------------------------

std::string TChartAxis::LabelValueText(double Value)
{
    // The date-time flag is asked afresh: series marks and legends ask for texts outside
    // the label loops.
    std::string text = FFormatter.Text(Value, FLabelSettings, FSteps.Logarithmic, IsDateTimeAxis(), FMap.Range);
    if (FParentChart != nullptr && FParentChart->OnGetAxisLabel)
        FParentChart->OnGetAxisLabel(this, nullptr, -1, text);
    if (FLabelSettings.MultiLine)
        std::replace(text.begin(), text.end(), ' ', TeeLineSeparator);
    return text;
}

TAxisLabelStyle TChartAxis::AutoLabelStyle()
{
    TAxisLabelStyle result = talNone;
    if (FParentChart == nullptr)
        return result;
    for (int t = 0; t < FParentChart->SeriesCount(); ++t) {
        TChartSeries* s = FParentChart->Series(t);
        if (!s->Active() || !s->IsBoundToAxis(this))
            continue;
        result = talValue;
        if (IsSeriesOnOtherAxis(s, FPlace.Horizontal) && s->Labels()->Count() > 0 && !s->Labels()->Label(0).empty())
            return talText;
    }
    return result;
}

TAxisLabelStyle TChartAxis::GetLabelStyle()
{
    return FLabelSettings.Style == talAuto ? AutoLabelStyle() : FLabelSettings.Style;
}

int TChartAxis::MaxLabelsWidth()
{
    return TAxisLabelLoop(*this, FMap, FFormatter).MaxLabelsWidth();
}

void TChartAxis::CalcLabels(const TAxisLabelProc& Draw)
{
    TAxisLabelLoop(*this, FMap, FFormatter, Draw).Run();
}

// ---- steps and sizes -------------------------------------------------------------------

TAxisLabelLoop::TAxisLabelLoop(TChartAxis& Axis, TAxisScaleMap& Map, TAxisLabelFormatter& Formatter,
                               TAxisLabelProc Draw)
    : A(Axis),
      Chart(Axis.ParentChart()),
      Map(Map),
      Formatter(Formatter),
      Draw(std::move(Draw)),
      Labels(Axis.LabelSettings()),
      Steps(Axis.StepSettings()),
      Ticks(Axis.TickSettings()),
      Horizontal(Axis.Horizontal()),
      DateTime(Axis.IsDateTimeAxis())
{
}

int TAxisLabelLoop::LabelSize(double Value)
{
    const std::string text = A.LabelValueText(Value);
    int lines = 0;
    const int w = MultiLineTextWidth(Chart, text, lines);
    const bool across = Horizontal ? IsVerticalAngle(Labels.Angle) : (Labels.Angle == 0 || Labels.Angle == 180);
    if (across)
        return Chart != nullptr ? Chart->Canvas()->TextHeight("W") * lines : 0;
    return w;
}

double TAxisLabelLoop::Step()
{
    const auto stepForSize = [&] {
        const int s = std::max(LabelSize(Map.Maximum), LabelSize(Map.Minimum));
        double step = StepForSize(s);
        if (Labels.Alternate)
            step = Steps.Logarithmic ? step / Steps.LogarithmicBase : step * 0.5;
        return step;
    };
    Formatter.SetDecimals(3);
    double step = stepForSize();
    // A step finer than the default picture's three decimals would label different
    // values alike ("0 0 0" on a deep zoom): the labels get the decimals of the step,
    // and the step is chosen again for the wider texts (a coarser step needs no more).
    if (TAxisLabelFormatter::StepNeedsDecimals(step, Labels, Steps, DateTime)) {
        Formatter.SetDecimals(TAxisLabelFormatter::DecimalsOfStep(step));
        step = stepForSize();
        Formatter.SetDecimals(std::max(3, TAxisLabelFormatter::DecimalsOfStep(step)));
    }
    return step;
}

double TAxisLabelLoop::StepForSize(int Size)
{
    int count = 1;
    double s = 0;
    if (Size >= 1) {
        s = Size;
        if (Steps.LabelsSeparation > 0)
            s += RoundEven(Steps.LabelsSeparation * 0.01 * s);
        count = static_cast<int>(RoundEven(Map.AxisSize * 1.0 / s));
    }
    double step = StepForCount(count);
    // The count of labels that fit is rounded, and so is the count a step gives: both
    // may round up, and labels a step apart would then touch or overlap. A numeric step
    // grows until its labels stand at least their size and separation apart, and a
    // separation rounded to a pixel or two still leaves a blank between texts side by
    // side (line heights carry their own leading). The size is that of the labels the
    // step gives at the ends, not of the ends' own values.
    if (Steps.LabelsSeparation > 0 && s > 0 && !DateTime && !Steps.Logarithmic && Map.AxisSize > 0 &&
        std::isfinite(Map.Range) && Map.Range != 0) {
        const bool sideBySide = Horizontal ? !IsVerticalAngle(Labels.Angle) : IsVerticalAngle(Labels.Angle);
        const double blank = sideBySide && Chart != nullptr ? Chart->Canvas()->TextWidth(" ") : 0;
        const auto room = [&](double Step) {
            double a = Map.Minimum, b = Map.Maximum;
            if (Labels.RoundFirstLabel) {
                a = std::trunc(a / Step) * Step;
                b = std::trunc(b / Step) * Step;
            }
            const double size = std::max(LabelSize(a), LabelSize(b));
            return size + std::max(RoundEven(Steps.LabelsSeparation * 0.01 * size), blank);
        };
        const double pixelsPerValue = Map.AxisSize / std::fabs(Map.Range);
        for (int guard = 0; guard < MaxLabelSteps && std::isfinite(step) && step * pixelsPerValue < room(step);
             ++guard)
            step = NextStepValue(step);
    }
    return step;
}

double TAxisLabelLoop::StepForCount(int MaxLabels)
{
    if (MaxLabels > 0)
        return DateTime ? DateTimeLabelStep(Steps.Increment, Map.Range, MaxLabels) : NumericStep(MaxLabels);
    return DateTime ? DateTimeStep[dtOneMicroSecond] : 1e-12;
}

double TAxisLabelLoop::NumericStep(int MaxLabels) const
{
    // Whole steps when an active series on this axis has no more points than labels (a
    // series without points has none to step between).
    bool whole = false;
    if (!(Steps.Increment > 0) && Map.Range >= 1 && Chart != nullptr) {
        for (int t = 0; t < Chart->SeriesCount() && !whole; ++t) {
            TChartSeries* s = Chart->Series(t);
            whole = s->Active() && s->IsBoundToAxis(&A) && IsSeriesOnOtherAxis(s, Horizontal) && s->Count() > 0 &&
                    s->Count() <= MaxLabels;
        }
    }
    return NumericLabelStep(Steps, Map.Range, MaxLabels, whole);
}

int TAxisLabelLoop::MaxLabelsWidth()
{
    if (Chart == nullptr)
        return 0;
    TTeeCanvas3D* canvas = Chart->Canvas();
    int lines = 0;
    TAxisItems* items = A.Items();
    if (items->Count() > 0) {
        int result = 0;
        for (int t = 0; t < items->Count(); ++t) {
            TAxisItem* item = items->Item(t);
            canvas->ApplyFont(item->Font());
            result = std::max(result, MultiLineTextWidth(Chart, item->Text(), lines));
        }
        return result;
    }
    switch (A.GetLabelStyle()) {
    case talValue: {
        double a = Map.Minimum;
        double b = Map.Maximum;
        if ((DateTime && Labels.ExactDateTime) || Labels.RoundFirstLabel) {
            const double step = Step();
            if (step > 0 && std::isfinite(step)) {
                a = std::trunc(Map.Minimum / step) * step;
                b = std::trunc(Map.Maximum / step) * step;
            }
        }
        // The chart's label event does not take part in measuring.
        auto restoreEvent = RestoreOnExit(Chart->OnGetAxisLabel);
        Chart->OnGetAxisLabel = nullptr;
        int widest = std::max(MultiLineTextWidth(Chart, A.LabelValueText(a), lines),
                              MultiLineTextWidth(Chart, A.LabelValueText(b), lines));
        // The labels between the ends may be wider ("2.5" between "2" and "3"), above all
        // after a zoom: the room follows every label the range shows.
        const TAxisLabelProc measure = [&](int, const std::string& Text, TAxisItem*) {
            widest = std::max(widest, MultiLineTextWidth(Chart, Text, lines));
        };
        TAxisLabelLoop(A, Map, Formatter, measure).Run();
        return widest + canvas->TextWidth(" ");
    }
    case talText: {
        int result = 0;
        for (int t = 0; t < Chart->SeriesCount(); ++t) {
            TChartSeries* s = Chart->Series(t);
            for (int i = 0; i < s->Labels()->Count(); ++i)
                result = std::max(result, MultiLineTextWidth(Chart, s->Labels()->Label(i), lines));
        }
        return result;
    }
    case talMark:
        return Chart->LargestMarkWidth();
    case talAuto:
    case talNone:
        break;
    }
    return 0;
}

// ---- label loops ---------------------------------------------------------------------

void TAxisLabelLoop::Run()
{
    A.Tick.clear();
    if (Chart == nullptr)
        return;
    if (A.Items()->Count() > 0) {
        Custom();
        return;
    }
    const TAxisLabelStyle style = A.GetLabelStyle();
    if (style == talNone)
        return;
    Chart->Canvas()->ApplyFont(A.LabelsFont());
    const double step = Step();
    int index = dtNone;
    if (DateTime && Labels.ExactDateTime && Steps.Increment != 0) {
        index = DateTimeStepIndex(Steps.Increment);
        if (index != dtNone)
            while (step > DateTimeStep[index] && index != dtOneYear)
                ++index;
    }
    if (!((step > 0 || (index >= dtHalfMonth && index <= dtOneYear)) && Map.Maximum >= Map.Minimum))
        return;
    switch (style) {
    case talValue: {
        if (Chart->OnGetNextAxisLabel && Event())
            return;
        if (!Steps.Logarithmic || Steps.Increment != 0)
            Values(step, index);
        else
            Logarithmic();
        return;
    }
    case talMark:
        Series(style);
        return;
    case talText:
        if (A.IsDepthAxis())
            Depth();
        else
            Series(style);
        return;
    case talAuto:
    case talNone:
        return;
    }
}

int TAxisLabelLoop::LabelExtent(const std::string& Text) const
{
    if (Chart == nullptr)
        return 0;
    return Chart->Canvas()->TextHeight("W") * CountLabelLines(Text);
}

void TAxisLabelLoop::MoveDown(double& V, double Step, int StepIndex) const
{
    IncrementDateTimeStep(Labels.ExactDateTime && DateTime, false, V, StepIndex, Step);
}

void TAxisLabelLoop::LabelAt(double& V, double Step, int StepIndex, bool Dec)
{
    const int p = Map.CalcPos(V);
    if (Labels.OnAxis || (p > Map.StartPos && p < Map.EndPos)) {
        if (!Ticks.OnLabelsOnly)
            AddTick(p);
        if (A.Labels()) {
            if (Ticks.OnLabelsOnly)
                AddTick(p);
            const std::string text = A.LabelValueText(V);
            if (Draw)
                Draw(p, text, nullptr);
        }
    }
    if (Dec)
        MoveDown(V, Step, StepIndex);
}

void TAxisLabelLoop::Values(double Step, int StepIndex)
{
    if (!std::isfinite(Map.Minimum) || !std::isfinite(Map.Maximum) || !(std::fabs(Map.Range / Step) < MaxLabelSteps))
        return;
    // A label within rounding of an end of the axis lies on it: sums and quotients of
    // steps such as 0.2 miss the ends by a few units in the last place.
    const double rounding = std::fabs(Step) * 1e-6;
    double v;
    if (DateTime && Labels.ExactDateTime && StepIndex != dtNone && StepIndex >= dtOneDay)
        v = RoundDateToStepStart(StepIndex, Map.Maximum);
    else if (FloatToStr(Map.Minimum) == FloatToStr(Map.Maximum) || !Labels.RoundFirstLabel)
        v = Map.Maximum;
    else
        v = std::trunc(Map.Maximum / Step + 1e-6) * Step;
    // Each move must make progress: a step lost in the value's precision ends the loop.
    for (int guard = 0; v > Map.Maximum + rounding && guard < MaxLabelSteps; ++guard) {
        const double before = v;
        MoveDown(v, Step, StepIndex);
        if (!(v < before))
            return;
    }
    if (Map.RangeZero || std::fabs(Map.Maximum - Map.Minimum) < 1e-10 || FloatToStr(v) == FloatToStr(v - Step)) {
        LabelAt(v, Step, StepIndex, false);
        return;
    }
    const double low = Map.Minimum - rounding;
    for (int guard = 0; v >= low && guard <= MaxLabelSteps; ++guard) {
        const double before = v;
        LabelAt(v, Step, StepIndex, true);
        if (!(v < before))
            return;
        // Steps taken down from a large maximum keep their rounding errors: a value within
        // rounding of zero is zero (else a huge range labels its zero "1.7E292").
        if (std::fabs(v) < rounding)
            v = 0;
    }
}

std::vector<double> TAxisLabelLoop::Spaced(const std::vector<double>& Values, const std::vector<long long>& Index,
                                           bool EveryKth)
{
    if (!(Steps.LabelsSeparation > 0) || !A.Labels() || Values.size() < 2)
        return Values;
    struct Shown {
        double V;
        long long I;
        int P;
        int Size;
    };
    std::vector<Shown> shown;
    for (size_t i = 0; i < Values.size(); ++i) {
        const int p = Map.CalcPos(Values[i]);
        if (Labels.OnAxis || (p > Map.StartPos && p < Map.EndPos))
            shown.push_back({Values[i], Index[i], p, LabelSize(Values[i])});
    }
    // Alternate rows put every other label on the same row.
    const size_t gap = Labels.Alternate ? 2 : 1;
    const auto fits = [&](const std::vector<const Shown*>& L) {
        for (size_t i = 0; i + gap < L.size(); ++i) {
            const int a = L[i]->Size;
            const int b = L[i + gap]->Size;
            const double room = (a + b) / 2.0 + RoundEven(Steps.LabelsSeparation * 0.01 * std::max(a, b));
            if (std::abs(L[i + gap]->P - L[i]->P) < room)
                return false;
        }
        return true;
    };
    std::vector<const Shown*> previous;
    for (long long stride = 1;; stride = EveryKth ? stride + 1 : std::llround(NextStepValue(static_cast<double>(stride)))) {
        std::vector<const Shown*> picked;
        for (const Shown& s : shown)
            if (s.I % stride == 0)
                picked.push_back(&s);
        // A stride that passes every value keeps one label of the last that did not.
        if (picked.empty() && !previous.empty())
            picked.resize(1, previous.front());
        if (picked.empty() || fits(picked)) {
            std::vector<double> result;
            for (const Shown* s : picked)
                result.push_back(s->V);
            return result;
        }
        previous = std::move(picked);
    }
}

void TAxisLabelLoop::Logarithmic()
{
    if (Map.Minimum == Map.Maximum || !std::isfinite(Map.Minimum) || !std::isfinite(Map.Maximum))
        return;
    const double base = Steps.LogarithmicBase;
    double v;
    if (Map.Minimum > 0) {
        v = NearestPowerOfBase(Map.Minimum, base);
    } else {
        Map.Minimum = Map.Minimum == 0 ? 0.1 : NearestPowerOfBase(1e-10, base);
        v = Map.Minimum;
    }
    const double logBase = std::log(base);
    if (A.MinorGrid()->Visible()) {
        double t = v;
        if (t >= Map.Minimum)
            t = std::pow(base, std::log(Map.Minimum) / logBase - 1);
        if (t < Map.Minimum)
            AddTick(Map.CalcPos(t));
    }
    const auto label = [&](const std::vector<double>& Values, const std::vector<long long>& Index, bool EveryKth) {
        for (double value : Spaced(Values, Index, EveryKth))
            LabelAt(value, 0, dtNone, false);
    };
    double last = v;
    if (base > 1) {
        // The powers in range, numbered by their exponent: thinned to every k-th power,
        // those with an exponent that is a multiple of k (base ^ 0 among them) are labelled.
        std::vector<double> powers;
        std::vector<long long> exponents;
        const long long first = std::llround(std::log(v) / logBase);
        double value = v;
        for (int guard = 0; value <= Map.Maximum && guard < MaxLabelSteps; ++guard) {
            if (value >= Map.Minimum) {
                powers.push_back(value);
                exponents.push_back(first + guard);
            }
            value *= base;
        }
        last = value;
        label(powers, exponents, true);
        if (!powers.empty()) {
            if (A.MinorGrid()->Visible() && last > Map.Maximum)
                AddTick(Map.CalcPos(last));
            return;
        }
    }
    // No power in range: multiples of the next lower power of the base, counted from V
    // and thinned to every 2nd, 5th, 10th... multiple.
    const double d = std::pow(base, std::log(v) / logBase - 1);
    double value = v;
    // V rounded up past the maximum (4..8 in base 10 rounds to 10) would label nothing:
    // the multiples then start at the last one at or below the minimum.
    if (value > Map.Maximum && d > 0 && std::isfinite(d))
        value = std::floor(Map.Minimum / d) * d;
    if (d > 0 && std::isfinite(d)) {
        std::vector<double> multiples;
        std::vector<long long> index;
        for (int guard = 0; value <= Map.Maximum && guard < MaxLabelSteps; ++guard) {
            if (value >= Map.Minimum) {
                multiples.push_back(value);
                index.push_back(guard);
            }
            value += d;
        }
        label(multiples, index, false);
    }
    last = value;
    if (A.MinorGrid()->Visible() && last > Map.Maximum)
        AddTick(Map.CalcPos(last));
}

bool TAxisLabelLoop::Event()
{
    double v = Map.Minimum;
    bool stop = true;
    for (int index = 0;; ++index) {
        Chart->OnGetNextAxisLabel(&A, index, v, stop);
        if (stop)
            return index > 0;
        if (!(v >= Map.Minimum - 1e-7 && v <= Map.Maximum + 1e-7))
            return true;
        double copy = v;
        LabelAt(copy, 0, dtNone, false);
        if (index >= 2000)
            return true;
    }
}

void TAxisLabelLoop::Series(TAxisLabelStyle Style)
{
    // The active series that use the axis.
    std::vector<TChartSeries*> list;
    int first = -1;
    int last = -1;
    for (int t = 0; t < Chart->SeriesCount(); ++t) {
        TChartSeries* s = Chart->Series(t);
        if (!s->Active() || !s->IsBoundToAxis(&A))
            continue;
        list.push_back(s);
        s->FindVisibleIndexRange();
        if (s->FirstValueIndex() != -1 && (first == -1 || s->FirstValueIndex() < first))
            first = s->FirstValueIndex();
        last = std::max(last, s->LastValueIndex());
    }
    if (first == -1 || first > last)
        return;
    bool havePrevious = false;
    int previousPos = 0;
    int previousHalf = 0;
    for (int i = first; i <= last; ++i) {
        std::string text;
        TChartSeries* source = nullptr;
        for (TChartSeries* s : list) {
            if (i < s->FirstValueIndex() || i > s->LastValueIndex())
                continue;
            std::string candidate;
            if (Style == talMark) {
                candidate = s->ValueMarkText(i);
            } else {
                candidate = s->LabelText(i);
            }
            if (Chart->OnGetAxisLabel)
                Chart->OnGetAxisLabel(&A, s, i, candidate);
            if (!candidate.empty()) {
                text = candidate;
                source = s;
                break;
            }
        }
        if (source == nullptr)
            continue;
        const double value = Horizontal ? source->XValue(i) : source->YValue(i);
        if (!(value >= Map.Minimum && value <= Map.Maximum))
            continue;
        const int p = Map.CalcPos(value);
        if (!Ticks.OnLabelsOnly)
            AddTick(p);
        if (!A.Labels())
            continue;
        int lines = 0;
        const int width = MultiLineTextWidth(Chart, text, lines);
        int size = (Horizontal != IsVerticalAngle(Labels.Angle)) ? width : LabelExtent(text);
        bool show = true;
        if (Steps.LabelsSeparation != 0 && havePrevious) {
            size = (size + static_cast<int>(std::trunc(size * 0.02 * Steps.LabelsSeparation))) / 2;
            show = p - size >= previousPos + previousHalf || p + size <= previousPos - previousHalf;
            if (show) {
                previousPos = p;
                previousHalf = size;
            }
        } else {
            previousPos = p;
            previousHalf = size / 2;
            havePrevious = true;
        }
        if (show) {
            if (Ticks.OnLabelsOnly)
                AddTick(p);
            if (Draw)
                Draw(p, text, nullptr);
        }
    }
}

void TAxisLabelLoop::Depth()
{
    if (Chart->ActiveSeriesCount() == 0 || !std::isfinite(Map.Minimum) || !std::isfinite(Map.Maximum))
        return;
    const double from = std::trunc(Map.Minimum);
    const double to = std::trunc(Map.Maximum);
    if (to - from > MaxLabelSteps)
        return;
    for (double t = from; t <= to; ++t) {
        const int p = Map.CalcYPos(Map.Maximum - t - 0.5);
        if (!Ticks.OnLabelsOnly)
            AddTick(p);
        if (!A.Labels())
            continue;
        // The title of the t-th active series shown in the legend.
        std::string text;
        int n = 0;
        for (int i = 0; i < Chart->SeriesCount(); ++i) {
            TChartSeries* s = Chart->Series(i);
            if (!s->Active() || !s->ShowInLegend())
                continue;
            if (n++ == static_cast<int>(t)) {
                text = s->Title();
                break;
            }
        }
        if (Chart->OnGetAxisLabel)
            Chart->OnGetAxisLabel(&A, nullptr, static_cast<int>(t), text);
        if (Ticks.OnLabelsOnly)
            AddTick(p);
        if (Draw)
            Draw(p, text, nullptr);
    }
}

void TAxisLabelLoop::Custom()
{
    for (int t = 0; t < A.Items()->Count(); ++t) {
        TAxisItem* item = A.Items()->Item(t);
        const double value = item->Value();
        if (!(value >= A.Minimum() && value <= A.Maximum()))
            continue;
        const int p = Map.CalcPos(value);
        if (!Ticks.OnLabelsOnly)
            AddTick(p);
        if (!item->Visible())
            continue;
        const std::string text = item->Text().empty() ? A.LabelValueText(value) : item->Text();
        if (Ticks.OnLabelsOnly)
            AddTick(p);
        if (Draw)
            Draw(p, text, item);
    }
}

