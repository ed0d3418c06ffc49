// The label side of an axis: the step between labels for its size and settings, the
// label texts and sizes, the automatic label style, and the loops that place the labels
// along the axis.
#include "TeEngine/Axis.h"

#include "TeEngine/AxisPanel.h"
#include "TeEngine/Series.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Rounds to the nearest integer, halves to even, without raising for large values.
double RoundEven(double X) { return std::nearbyint(X); }

bool IsVerticalAngle(int Angle) { return Angle == 90 || Angle == 270; }

// True when the default value picture "#,##0.###" (three decimals) reads as Value, within
// 1 %: not so for values far below 0.001, which it shows as "0".
bool DefaultPictureHolds(double Value)
{
    if (!(std::fabs(Value) < 1))
        return true;
    const double shown = std::round(Value * 1000) / 1000;
    return std::fabs(shown - Value) <= 0.01 * std::fabs(Value);
}

// The decimals that show every multiple of Step: 2 for 0.05, 5 for 0.00002; at most 15.
int DecimalsOfStep(double Step)
{
    double scaled = std::fabs(Step);
    for (int d = 0; d < 15; ++d, scaled *= 10)
        if (std::fabs(scaled - RoundEven(scaled)) <= 1e-6 * scaled)
            return d;
    return 15;
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

int TChartAxis::CountLabelLines(const std::string& Text)
{
    if (Text.empty())
        return 0;
    return static_cast<int>(std::count(Text.begin(), Text.end(), TeeLineSeparator)) + 1;
}

double TChartAxis::LogBaseRound(double Value) const
{
    return NearestPowerOfBase(Value, FSteps.LogarithmicBase);
}

const std::string& TAxisLabelTexts::Text(double Value, const std::string& Format)
{
    const TFormatSettings& fs = FormatSettings();
    if (FFormat != Format || FDecimal != fs.DecimalSeparator || FThousand != fs.ThousandSeparator ||
        FTexts.size() > 1000) {
        FTexts.clear();
        FFormat = Format;
        FDecimal = fs.DecimalSeparator;
        FThousand = fs.ThousandSeparator;
    }
    uint64_t bits;
    std::memcpy(&bits, &Value, sizeof bits);
    auto at = FTexts.find(bits);
    if (at == FTexts.end())
        at = FTexts.emplace(bits, FormatFloat(Format, Value)).first;
    return at->second;
}

std::string TChartAxis::LabelValueText(double Value)
{
    std::string text;
    // Asked afresh: series marks and legends ask for texts outside the label loops.
    IAxisDateTime = IsDateTimeAxis();
    if (IAxisDateTime) {
        if (Value >= 0) {
            const std::string format = FLabelSettings.DateTimeFormat.empty() ? ChooseTextByValue(FMap.Range) : FLabelSettings.DateTimeFormat;
            text = FormatDateTime(format, Value);
        }
    } else {
        // The default picture with the decimals that the step needs (three at least).
        text = FLabelDecimals > 3 && FLabelSettings.ValuesFormat == DefaultAxisValuesFormat
                   ? FLabelTexts.Text(Value, "#,##0." + std::string(FLabelDecimals, '#'))
                   : FLabelTexts.Text(Value, FLabelSettings.ValuesFormat);
        // A logarithmic axis labels powers far below 0.001, which the default picture
        // would all show as "0": such a label shows its value in the general format, to
        // six digits, which the label values never exceed but their arithmetic's noise does.
        if (FSteps.Logarithmic && FLabelSettings.ValuesFormat == DefaultAxisValuesFormat && !DefaultPictureHolds(Value))
            text = FloatToStrF(Value, TFloatFormat::ffGeneral, 6, 0);
        // Beyond fifteen digits the picture would print every digit of a huge value (a
        // label hundreds of characters long, and the digits past the fifteenth are noise):
        // such a value shows in the general format, to twelve digits, so that the noise
        // of steps taken down from the top ("5.00000000000001E306") does not show.
        else if (FLabelSettings.ValuesFormat == DefaultAxisValuesFormat && std::fabs(Value) >= 1e15)
            text = FloatToStrF(Value, TFloatFormat::ffGeneral, 12, 0);
    }
    if (FParentChart != nullptr && FParentChart->OnGetAxisLabel)
        FParentChart->OnGetAxisLabel(this, nullptr, -1, text);
    if (FLabelSettings.MultiLine)
        std::replace(text.begin(), text.end(), ' ', TeeLineSeparator);
    return text;
}

int TChartAxis::LabelSizeForValue(bool IsHorizontal, double Value)
{
    const std::string text = LabelValueText(Value);
    int lines = 0;
    const int w = MultiLineTextWidth(FParentChart, text, lines);
    const bool across = IsHorizontal ? IsVerticalAngle(FLabelSettings.Angle) : (FLabelSettings.Angle == 0 || FLabelSettings.Angle == 180);
    if (across)
        return FParentChart != nullptr ? FParentChart->Canvas()->TextHeight("W") * lines : 0;
    return w;
}

double TChartAxis::LabelStepForRange()
{
    const auto stepForSize = [&] {
        const int s =
            std::max(LabelSizeForValue(FPlace.Horizontal, FMap.Maximum), LabelSizeForValue(FPlace.Horizontal, FMap.Minimum));
        double step = CalcIncrementFromSize(s);
        if (FLabelSettings.Alternate)
            step = FSteps.Logarithmic ? step / FSteps.LogarithmicBase : step * 0.5;
        return step;
    };
    FLabelDecimals = 3;
    double step = stepForSize();
    // A step finer than the default picture's three decimals would label different
    // values alike ("0 0 0" on a deep zoom): the labels get the decimals of the step,
    // and the step is chosen again for the wider texts (a coarser step needs no more).
    // Logarithmic labels stand at powers of the base unless an increment is given.
    if (FLabelSettings.ValuesFormat == DefaultAxisValuesFormat && !IAxisDateTime && (!FSteps.Logarithmic || FSteps.Increment != 0) && step > 0 &&
        std::isfinite(step) && DecimalsOfStep(step) > 3) {
        FLabelDecimals = DecimalsOfStep(step);
        step = stepForSize();
        FLabelDecimals = std::max(3, DecimalsOfStep(step));
    }
    return step;
}

double TChartAxis::CalcIncrementFromSize(int LabelSize)
{
    int count = 1;
    double s = 0;
    if (LabelSize >= 1) {
        s = LabelSize;
        if (FSteps.LabelsSeparation > 0)
            s += RoundEven(FSteps.LabelsSeparation * 0.01 * s);
        count = static_cast<int>(RoundEven(FMap.AxisSize * 1.0 / s));
    }
    double step = CalcIncrementForLabels(count);
    // The count of labels that fit is rounded, and so is the count a step gives: both
    // may round up, and labels a step apart would then touch or overlap. A numeric step
    // grows until its labels stand at least their size and separation apart, and a
    // separation rounded to a pixel or two still leaves a blank between texts side by
    // side (line heights carry their own leading). The size is that of the labels the
    // step gives at the ends, not of the ends' own values.
    if (FSteps.LabelsSeparation > 0 && s > 0 && !IAxisDateTime && !FSteps.Logarithmic && FMap.AxisSize > 0 &&
        std::isfinite(FMap.Range) && FMap.Range != 0) {
        const bool sideBySide = FPlace.Horizontal ? !IsVerticalAngle(FLabelSettings.Angle) : IsVerticalAngle(FLabelSettings.Angle);
        const double blank =
            sideBySide && FParentChart != nullptr ? FParentChart->Canvas()->TextWidth(" ") : 0;
        const auto room = [&](double Step) {
            double a = FMap.Minimum, b = FMap.Maximum;
            if (FLabelSettings.RoundFirstLabel) {
                a = std::trunc(a / Step) * Step;
                b = std::trunc(b / Step) * Step;
            }
            const double size = std::max(LabelSizeForValue(FPlace.Horizontal, a), LabelSizeForValue(FPlace.Horizontal, b));
            return size + std::max(RoundEven(FSteps.LabelsSeparation * 0.01 * size), blank);
        };
        const double pixelsPerValue = FMap.AxisSize / std::fabs(FMap.Range);
        for (int guard = 0; guard < MaxLabelSteps && std::isfinite(step) && step * pixelsPerValue < room(step);
             ++guard)
            step = NextStepValue(step);
    }
    return step;
}

double TChartAxis::CalcIncrementForLabels(int MaxLabels)
{
    if (MaxLabels > 0)
        return IAxisDateTime ? CalcDateTimeIncrement(MaxLabels) : CalcNumericIncrement(MaxLabels);
    return IAxisDateTime ? DateTimeStep[dtOneMicroSecond] : 1e-12;
}

bool TChartAxis::IsSeriesOnOtherAxis(const TChartSeries* S) const
{
    // An ordinary series puts its X values on horizontal axes; a horizontal series its
    // Y values on vertical ones.
    return S->YMandatory() ? FPlace.Horizontal : !FPlace.Horizontal;
}

double TChartAxis::CalcNumericIncrement(int MaxLabels) const
{
    // Whole steps when an active series on this axis has no more points than labels (a
    // series without points has none to step between).
    bool whole = false;
    if (!(FSteps.Increment > 0) && FMap.Range >= 1 && FParentChart != nullptr) {
        for (int t = 0; t < FParentChart->SeriesCount() && !whole; ++t) {
            TChartSeries* s = FParentChart->Series(t);
            whole = s->Active() && s->IsBoundToAxis(const_cast<TChartAxis*>(this)) && IsSeriesOnOtherAxis(s) &&
                    s->Count() > 0 && s->Count() <= MaxLabels;
        }
    }
    return NumericLabelStep(StepSettings(), FMap.Range, MaxLabels, whole);
}

double TChartAxis::CalcDateTimeIncrement(int MaxLabels) const
{
    return DateTimeLabelStep(FSteps.Increment, FMap.Range, MaxLabels);
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
        if (IsSeriesOnOtherAxis(s) && s->Labels()->Count() > 0 && !s->Labels()->Label(0).empty())
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
    if (FParentChart == nullptr)
        return 0;
    TTeeCanvas3D* canvas = FParentChart->Canvas();
    int lines = 0;
    if (FItems->Count() > 0) {
        int result = 0;
        for (int t = 0; t < FItems->Count(); ++t) {
            TAxisItem* item = FItems->Item(t);
            canvas->ApplyFont(item->Font());
            result = std::max(result, MultiLineTextWidth(FParentChart, item->Text(), lines));
        }
        return result;
    }
    switch (GetLabelStyle()) {
    case talValue: {
        double a = FMap.Minimum;
        double b = FMap.Maximum;
        if ((IAxisDateTime && FLabelSettings.ExactDateTime) || FLabelSettings.RoundFirstLabel) {
            const double step = LabelStepForRange();
            if (step > 0 && std::isfinite(step)) {
                a = std::trunc(FMap.Minimum / step) * step;
                b = std::trunc(FMap.Maximum / step) * step;
            }
        }
        // The chart's label event does not take part in measuring.
        auto restoreEvent = RestoreOnExit(FParentChart->OnGetAxisLabel);
        FParentChart->OnGetAxisLabel = nullptr;
        int widest = std::max(MultiLineTextWidth(FParentChart, LabelValueText(a), lines),
                              MultiLineTextWidth(FParentChart, LabelValueText(b), lines));
        // The labels between the ends may be wider ("2.5" between "2" and "3"), above all
        // after a zoom: the room follows every label the range shows.
        CalcLabels([&](int, const std::string& Text, TAxisItem*) {
            widest = std::max(widest, MultiLineTextWidth(FParentChart, Text, lines));
        });
        return widest + canvas->TextWidth(" ");
    }
    case talText: {
        int result = 0;
        for (int t = 0; t < FParentChart->SeriesCount(); ++t) {
            TChartSeries* s = FParentChart->Series(t);
            for (int i = 0; i < s->Labels()->Count(); ++i)
                result = std::max(result, MultiLineTextWidth(FParentChart, s->Labels()->Label(i), lines));
        }
        return result;
    }
    case talMark:
        return FParentChart->LargestMarkWidth();
    case talAuto:
    case talNone:
        break;
    }
    return 0;
}

// ---- label loops ---------------------------------------------------------------------

// The loops that place an axis' labels: down the values by a step, up the powers of a
// logarithmic base, as the chart's event asks, along the series' points, down the depth
// rows or over the custom labels. Each notes the tick of every label it handles on the
// axis and hands each label to show to Draw (when given).
class TAxisLabelLoop {
public:
    TAxisLabelLoop(TChartAxis& Axis, const TAxisLabelProc& Draw) : A(Axis), Draw(Draw) {}
    void Values(double Step, int StepIndex);
    void Logarithmic();
    // False when the event gave no label, so that the values are walked instead.
    bool Event();
    void Series(TAxisLabelStyle Style);
    void Depth();
    void Custom();

private:
    // The label at V; with Dec, V then moves down by the step.
    void LabelAt(double& V, double Step, int StepIndex, bool Dec);
    void MoveDown(double& V, double Step, int StepIndex) const;
    void AddTick(int P) { A.Tick.push_back(P); }
    // Of the candidate label values (Index numbering them along the axis), those to label:
    // all when they stand their size and the label separation apart, else those whose
    // index is a multiple of the smallest stride that does (strides 1, 2, 3... with
    // EveryKth, else 1, 2, 5, 10...). Values that are not shown on the axis are left out.
    std::vector<double> Spaced(const std::vector<double>& Values, const std::vector<long long>& Index,
                               bool EveryKth) const;
    // The height of "W" for each line of Text.
    int LabelExtent(const std::string& Text) const;

    TChartAxis& A;
    const TAxisLabelProc& Draw;
};

int TAxisLabelLoop::LabelExtent(const std::string& Text) const
{
    if (A.FParentChart == nullptr)
        return 0;
    return A.FParentChart->Canvas()->TextHeight("W") * TChartAxis::CountLabelLines(Text);
}

void TAxisLabelLoop::MoveDown(double& V, double Step, int StepIndex) const
{
    IncrementDateTimeStep(A.FLabelSettings.ExactDateTime && A.IAxisDateTime, false, V, StepIndex, Step);
}

void TAxisLabelLoop::LabelAt(double& V, double Step, int StepIndex, bool Dec)
{
    const int p = A.CalcPosValue(V);
    if (A.FLabelSettings.OnAxis || (p > A.FMap.StartPos && p < A.FMap.EndPos)) {
        if (!A.FTickSettings.OnLabelsOnly)
            AddTick(p);
        if (A.Labels()) {
            if (A.FTickSettings.OnLabelsOnly)
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
    if (!std::isfinite(A.FMap.Minimum) || !std::isfinite(A.FMap.Maximum) || !(std::fabs(A.FMap.Range / Step) < MaxLabelSteps))
        return;
    // A label within rounding of an end of the axis lies on it: sums and quotients of
    // steps such as 0.2 miss the ends by a few units in the last place.
    const double rounding = std::fabs(Step) * 1e-6;
    double v;
    if (A.IAxisDateTime && A.FLabelSettings.ExactDateTime && StepIndex != dtNone && StepIndex >= dtOneDay)
        v = RoundDateToStepStart(StepIndex, A.FMap.Maximum);
    else if (FloatToStr(A.FMap.Minimum) == FloatToStr(A.FMap.Maximum) || !A.FLabelSettings.RoundFirstLabel)
        v = A.FMap.Maximum;
    else
        v = std::trunc(A.FMap.Maximum / Step + 1e-6) * Step;
    // Each move must make progress: a step lost in the value's precision ends the loop.
    for (int guard = 0; v > A.FMap.Maximum + rounding && guard < MaxLabelSteps; ++guard) {
        const double before = v;
        MoveDown(v, Step, StepIndex);
        if (!(v < before))
            return;
    }
    if (A.FMap.RangeZero || std::fabs(A.FMap.Maximum - A.FMap.Minimum) < 1e-10 || FloatToStr(v) == FloatToStr(v - Step)) {
        LabelAt(v, Step, StepIndex, false);
        return;
    }
    const double low = A.FMap.Minimum - rounding;
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
                                           bool EveryKth) const
{
    if (!(A.FSteps.LabelsSeparation > 0) || !A.Labels() || Values.size() < 2)
        return Values;
    struct Shown {
        double V;
        long long I;
        int P;
        int Size;
    };
    std::vector<Shown> shown;
    for (size_t i = 0; i < Values.size(); ++i) {
        const int p = A.CalcPosValue(Values[i]);
        if (A.FLabelSettings.OnAxis || (p > A.FMap.StartPos && p < A.FMap.EndPos))
            shown.push_back({Values[i], Index[i], p, A.LabelSizeForValue(A.FPlace.Horizontal, Values[i])});
    }
    // Alternate rows put every other label on the same row.
    const size_t gap = A.FLabelSettings.Alternate ? 2 : 1;
    const auto fits = [&](const std::vector<const Shown*>& L) {
        for (size_t i = 0; i + gap < L.size(); ++i) {
            const int a = L[i]->Size;
            const int b = L[i + gap]->Size;
            const double room = (a + b) / 2.0 + RoundEven(A.FSteps.LabelsSeparation * 0.01 * std::max(a, b));
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
    if (A.FMap.Minimum == A.FMap.Maximum || !std::isfinite(A.FMap.Minimum) || !std::isfinite(A.FMap.Maximum))
        return;
    const double base = A.FSteps.LogarithmicBase;
    double v;
    if (A.FMap.Minimum > 0) {
        v = A.LogBaseRound(A.FMap.Minimum);
    } else {
        A.FMap.Minimum = A.FMap.Minimum == 0 ? 0.1 : A.LogBaseRound(1e-10);
        v = A.FMap.Minimum;
    }
    const double logBase = std::log(base);
    if (A.MinorGrid()->Visible()) {
        double t = v;
        if (t >= A.FMap.Minimum)
            t = std::pow(base, std::log(A.FMap.Minimum) / logBase - 1);
        if (t < A.FMap.Minimum)
            AddTick(A.CalcPosValue(t));
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
        for (int guard = 0; value <= A.FMap.Maximum && guard < MaxLabelSteps; ++guard) {
            if (value >= A.FMap.Minimum) {
                powers.push_back(value);
                exponents.push_back(first + guard);
            }
            value *= base;
        }
        last = value;
        label(powers, exponents, true);
        if (!powers.empty()) {
            if (A.MinorGrid()->Visible() && last > A.FMap.Maximum)
                AddTick(A.CalcPosValue(last));
            return;
        }
    }
    // No power in range: multiples of the next lower power of the base, counted from V
    // and thinned to every 2nd, 5th, 10th... multiple.
    const double d = std::pow(base, std::log(v) / logBase - 1);
    double value = v;
    // V rounded up past the maximum (4..8 in base 10 rounds to 10) would label nothing:
    // the multiples then start at the last one at or below the minimum.
    if (value > A.FMap.Maximum && d > 0 && std::isfinite(d))
        value = std::floor(A.FMap.Minimum / d) * d;
    if (d > 0 && std::isfinite(d)) {
        std::vector<double> multiples;
        std::vector<long long> index;
        for (int guard = 0; value <= A.FMap.Maximum && guard < MaxLabelSteps; ++guard) {
            if (value >= A.FMap.Minimum) {
                multiples.push_back(value);
                index.push_back(guard);
            }
            value += d;
        }
        label(multiples, index, false);
    }
    last = value;
    if (A.MinorGrid()->Visible() && last > A.FMap.Maximum)
        AddTick(A.CalcPosValue(last));
}

bool TAxisLabelLoop::Event()
{
    double v = A.FMap.Minimum;
    bool stop = true;
    for (int index = 0;; ++index) {
        A.FParentChart->OnGetNextAxisLabel(&A, index, v, stop);
        if (stop)
            return index > 0;
        if (!(v >= A.FMap.Minimum - 1e-7 && v <= A.FMap.Maximum + 1e-7))
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
    for (int t = 0; t < A.FParentChart->SeriesCount(); ++t) {
        TChartSeries* s = A.FParentChart->Series(t);
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
            if (A.FParentChart->OnGetAxisLabel)
                A.FParentChart->OnGetAxisLabel(&A, s, i, candidate);
            if (!candidate.empty()) {
                text = candidate;
                source = s;
                break;
            }
        }
        if (source == nullptr)
            continue;
        const double value = A.FPlace.Horizontal ? source->XValue(i) : source->YValue(i);
        if (!(value >= A.FMap.Minimum && value <= A.FMap.Maximum))
            continue;
        const int p = A.CalcPosValue(value);
        if (!A.FTickSettings.OnLabelsOnly)
            AddTick(p);
        if (!A.Labels())
            continue;
        int lines = 0;
        const int width = MultiLineTextWidth(A.FParentChart, text, lines);
        int size = (A.FPlace.Horizontal != IsVerticalAngle(A.FLabelSettings.Angle)) ? width : LabelExtent(text);
        bool show = true;
        if (A.FSteps.LabelsSeparation != 0 && havePrevious) {
            size = (size + static_cast<int>(std::trunc(size * 0.02 * A.FSteps.LabelsSeparation))) / 2;
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
            if (A.FTickSettings.OnLabelsOnly)
                AddTick(p);
            if (Draw)
                Draw(p, text, nullptr);
        }
    }
}

void TAxisLabelLoop::Depth()
{
    if (A.FParentChart->ActiveSeriesCount() == 0 || !std::isfinite(A.FMap.Minimum) || !std::isfinite(A.FMap.Maximum))
        return;
    const double from = std::trunc(A.FMap.Minimum);
    const double to = std::trunc(A.FMap.Maximum);
    if (to - from > MaxLabelSteps)
        return;
    for (double t = from; t <= to; ++t) {
        const int p = A.CalcYPosValue(A.FMap.Maximum - t - 0.5);
        if (!A.FTickSettings.OnLabelsOnly)
            AddTick(p);
        if (!A.Labels())
            continue;
        // The title of the t-th active series shown in the legend.
        std::string text;
        int n = 0;
        for (int i = 0; i < A.FParentChart->SeriesCount(); ++i) {
            TChartSeries* s = A.FParentChart->Series(i);
            if (!s->Active() || !s->ShowInLegend())
                continue;
            if (n++ == static_cast<int>(t)) {
                text = s->Title();
                break;
            }
        }
        if (A.FParentChart->OnGetAxisLabel)
            A.FParentChart->OnGetAxisLabel(&A, nullptr, static_cast<int>(t), text);
        if (A.FTickSettings.OnLabelsOnly)
            AddTick(p);
        if (Draw)
            Draw(p, text, nullptr);
    }
}

void TAxisLabelLoop::Custom()
{
    for (int t = 0; t < A.FItems->Count(); ++t) {
        TAxisItem* item = A.FItems->Item(t);
        const double value = item->Value();
        if (!(value >= A.FRange.Minimum && value <= A.FRange.Maximum))
            continue;
        const int p = A.CalcPosValue(value);
        if (!A.FTickSettings.OnLabelsOnly)
            AddTick(p);
        if (!item->Visible())
            continue;
        const std::string text = item->Text().empty() ? A.LabelValueText(value) : item->Text();
        if (A.FTickSettings.OnLabelsOnly)
            AddTick(p);
        if (Draw)
            Draw(p, text, item);
    }
}

void TChartAxis::CalcLabels(const TAxisLabelProc& Draw)
{
    IAxisDateTime = IsDateTimeAxis();
    Tick.clear();
    if (FParentChart == nullptr)
        return;
    TAxisLabelLoop loop(*this, Draw);
    if (FItems->Count() > 0) {
        loop.Custom();
        return;
    }
    const TAxisLabelStyle style = GetLabelStyle();
    if (style == talNone)
        return;
    FParentChart->Canvas()->ApplyFont(LabelsFont());
    const double step = LabelStepForRange();
    int index = dtNone;
    if (IAxisDateTime && FLabelSettings.ExactDateTime && FSteps.Increment != 0) {
        index = DateTimeStepIndex(FSteps.Increment);
        if (index != dtNone)
            while (step > DateTimeStep[index] && index != dtOneYear)
                ++index;
    }
    if (!((step > 0 || (index >= dtHalfMonth && index <= dtOneYear)) && FMap.Maximum >= FMap.Minimum))
        return;
    switch (style) {
    case talValue: {
        if (FParentChart->OnGetNextAxisLabel && loop.Event())
            return;
        if (!FSteps.Logarithmic || FSteps.Increment != 0)
            loop.Values(step, index);
        else
            loop.Logarithmic();
        return;
    }
    case talMark:
        loop.Series(style);
        return;
    case talText:
        if (FIsDepthAxis)
            loop.Depth();
        else
            loop.Series(style);
        return;
    case talAuto:
    case talNone:
        return;
    }
}
