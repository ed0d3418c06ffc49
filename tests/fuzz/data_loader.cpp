// The data-file reader over arbitrary text, with the divider, T(max) and what the text is of
// its file from the first byte.
#include "FuzzSupport.h"

#include "DataFile.h"
#include "classes/Classes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    fuzz::InputReader in(Data, Size);
    const uint8_t choice = in.Byte();
    TDataFileOptions options;
    options.DividingString = (choice & 1) ? "\t" : " ";
    options.TMaxLimit = (choice & 2) ? double(in.Byte()) : 0.0;
    options.Source.EndsWithFile = (choice & 4) == 0;
    options.Source.LooksUtf16 = (choice & 8) != 0;

    TStringList text;
    text.SetText(in.Rest());
    std::vector<std::string> lines;
    for (int i = 0; i < text.Count(); ++i)
        lines.push_back(text[i]);

    static TPointArray T, Cp;
    const TDataFileResult r = ParseDataFile(lines, options, T, Cp);
    // A fault gives no points; the points a run takes (PointCount - F) never exceed the slots.
    if ((!r.Error.empty() && r.PointCount != 0) || r.PointCount < 0 ||
        int64_t(r.PointCount) - r.FirstPoint > 1000)
        __builtin_trap();
    return 0;
}
