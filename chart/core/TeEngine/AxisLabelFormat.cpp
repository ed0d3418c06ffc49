#include "TeEngine/AxisLabelFormat.h"

#include "RizUridu/PanelBase.h"
#include "system/SysUtils.h"

#include <cmath>
#include <cstring>

namespace {

// True when the default value picture "#,##0.###" (three decimals) reads as Value, within
// 1 %: not so for values far below 0.001, which it shows as "0".
bool DefaultPictureHolds(double Value)
{
    if (!(std::fabs(Value) < 1))
        return true;
    const double shown = std::round(Value * 1000) / 1000;
    return std::fabs(shown - Value) <= 0.01 * std::fabs(Value);
}

}  // namespace

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

std::string TAxisLabelFormatter::Text(double Value, const TAxisLabelSettings& Labels, bool Logarithmic, bool DateTime,
                                      double Range)
{
    if (DateTime) {
        if (Value < 0)
            return std::string();
        return FormatDateTime(Labels.DateTimeFormat.empty() ? ChooseTextByValue(Range) : Labels.DateTimeFormat, Value);
    }
    const bool defaultPicture = Labels.ValuesFormat == DefaultAxisValuesFormat;
    // A logarithmic axis labels powers far below 0.001, which the default picture would
    // all show as "0": such a label shows its value in the general format, to six digits,
    // which the label values never exceed but their arithmetic's noise does.
    if (Logarithmic && defaultPicture && !DefaultPictureHolds(Value))
        return FloatToStrF(Value, TFloatFormat::ffGeneral, 6, 0);
    // Beyond fifteen digits the picture would print every digit of a huge value (a label
    // hundreds of characters long, and the digits past the fifteenth are noise): such a
    // value shows in the general format, to twelve digits, so that the noise of steps
    // taken down from the top ("5.00000000000001E306") does not show.
    if (defaultPicture && std::fabs(Value) >= 1e15)
        return FloatToStrF(Value, TFloatFormat::ffGeneral, 12, 0);
    // The default picture with the decimals that the step needs (three at least).
    if (FDecimals > 3 && defaultPicture)
        return FTexts.Text(Value, "#,##0." + std::string(static_cast<size_t>(FDecimals), '#'));
    return FTexts.Text(Value, Labels.ValuesFormat);
}

bool TAxisLabelFormatter::StepNeedsDecimals(double Step, const TAxisLabelSettings& Labels,
                                            const TAxisStepSettings& Steps, bool DateTime)
{
    // Logarithmic labels stand at powers of the base unless an increment is given.
    return Labels.ValuesFormat == DefaultAxisValuesFormat && !DateTime && (!Steps.Logarithmic || Steps.Increment != 0) &&
           Step > 0 && std::isfinite(Step) && DecimalsOfStep(Step) > 3;
}

int TAxisLabelFormatter::DecimalsOfStep(double Step)
{
    double scaled = std::fabs(Step);
    for (int d = 0; d < 15; ++d, scaled *= 10)
        if (std::fabs(scaled - std::nearbyint(scaled)) <= 1e-6 * scaled)
            return d;
    return 15;
}
