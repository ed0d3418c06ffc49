// A component read from the binary stream form, converted to the text form, and read back.
#include "FuzzSupport.h"

#include "classes/Streaming.h"
#include "classes/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    try {
        TMemoryStream input;
        input.WriteBuffer(Data, int64_t(Size));
        input.SetPosition(0);
        TMemoryStream text;
        ObjectBinaryToText(&input, &text);
    } catch (const Exception&) {
    }
    try {
        TMemoryStream input;
        input.WriteBuffer(Data, int64_t(Size));
        input.SetPosition(0);
        std::unique_ptr<TComponent> c = ReadNewComponent(&input);
    } catch (const Exception&) {
    }
    return 0;
}
