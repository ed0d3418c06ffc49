// Format, FormatFloat and FormatDateTime with arbitrary pictures and values.
#include "FuzzSupport.h"

#include "system/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    fuzz::InputReader in(Data, Size);
    const uint8_t choice = in.Byte();
    const double value = in.Double();
    const int32_t number = in.Int32();
    const std::string text = in.Text();
    const std::string picture = in.Rest();
    TFormatSettings fs = FormatSettings();
    if (choice & 0x80) {
        fs.DecimalSeparator = ',';
        fs.ThousandSeparator = '.';
    }
    try {
        switch (choice % 4) {
        case 0: (void)FormatFloat(picture, value, fs); break;
        case 1: (void)FormatDateTime(picture, TDateTime(value), fs); break;
        case 2: (void)Format(picture, {value, number, text}, fs); break;
        default: (void)Format(picture, {number, text, value, number}, fs); break;
        }
    } catch (const Exception&) {
    }
    return 0;
}
