// A component in the text stream form converted to the binary form and read.
#include "FuzzSupport.h"

#include "classes/Streaming.h"
#include "classes/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    try {
        TMemoryStream text;
        text.WriteBuffer(Data, int64_t(Size));
        text.SetPosition(0);
        TMemoryStream binary;
        ObjectTextToBinary(&text, &binary);
        binary.SetPosition(0);
        std::unique_ptr<TComponent> c = ReadNewComponent(&binary);
    } catch (const Exception&) {
    }
    return 0;
}
