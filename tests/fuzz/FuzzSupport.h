// Shared by the fuzz targets: each defines LLVMFuzzerTestOneInput (one input of outside
// bytes; bad input may raise the platform's Exception, nothing else may escape, crash,
// leak or hang). They run as libFuzzer programs or under the replay driver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);
// Starts a headless Qt application and the units once; the replay driver calls it too.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fuzz {

// Reads the input front to back: small numbers for choices, then the rest as bytes.
class InputReader {
public:
    InputReader(const uint8_t* data, size_t size) : P(data), N(size) {}
    uint8_t Byte() { return At < N ? P[At++] : 0; }
    int32_t Int32()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= uint32_t(Byte()) << (8 * i);
        return int32_t(v);
    }
    double Double();
    // Up to the next 0 byte (or the end), which is taken off.
    std::string Text();
    std::string Rest();
    std::vector<uint8_t> RestBytes();

private:
    const uint8_t* P;
    size_t N;
    size_t At = 0;
};

} // namespace fuzz
