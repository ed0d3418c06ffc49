// Replays a fuzz target in the ordinary test suite: every input of its seed corpus, then a
// fixed number of deterministic mutations of them. An input that crashes, trips a
// sanitizer or lets an unexpected exception escape ends the program; the input is first
// written to "fuzz-crash-<target>.bin" in the working folder.
//
//   replay <target> <corpus folder> <mutations>   or   replay <target> <input file>
#include "FuzzSupport.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace {

constexpr size_t kLargestMutatedSeed = 64 * 1024;

std::string TargetName;
const std::vector<uint8_t>* Current = nullptr;

void SaveCurrentInput()
{
    if (Current == nullptr)
        return;
    const std::string name = "fuzz-crash-" + TargetName + ".bin";
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(Current->data()), std::streamsize(Current->size()));
    std::fprintf(stderr, "input written to %s (%zu bytes)\n", name.c_str(), Current->size());
}

void Run(const std::vector<uint8_t>& input)
{
    Current = &input;
    LLVMFuzzerTestOneInput(input.data(), input.size());
    Current = nullptr;
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A small deterministic generator (xorshift64*), seeded by the target's name.
class Random {
public:
    explicit Random(const std::string& seed)
    {
        for (char c : seed)
            S = (S ^ uint8_t(c)) * 0x100000001B3ull;
    }
    uint64_t Next()
    {
        S ^= S >> 12;
        S ^= S << 25;
        S ^= S >> 27;
        return S * 0x2545F4914F6CDD1Dull;
    }
    size_t Below(size_t n) { return n == 0 ? 0 : size_t(Next() % n); }

private:
    uint64_t S = 0xCBF29CE484222325ull;
};

// Values that make arithmetic on record fields and sizes overflow or run long.
constexpr std::array<int32_t, 14> kInterestingInts = {
    0, 1, -1, 0x7FFFFFFF, int32_t(0x80000000), 0x7FFF, -0x8000, 0xFFFF, 200000, 65536, 1000000, -200000, 0x3FFFFFFF, 100};
// Fragments of the texts the readers take: markup, number and format pictures, data lines.
const std::array<const char*, 26> kTokens = {
    "<", ">", "&amp;", "<hr>", "<br>", "<img src=x.bmp width=2147483647 height=2147483647>", "<font size=+127>",
    "<sub>", "<sup>", "<center>", "1e400", "-2147483648", "\n", "\t", " ", ",", "0.###", "#,##0.00", "%*.*f",
    "%-2147483647d", "yyyy-mm-dd hh:nn:ss.zzz", "\"", "'", "E+", "object ", "end\n"};

std::vector<uint8_t> Mutate(const std::vector<std::vector<uint8_t>>& corpus, Random& rnd)
{
    std::vector<uint8_t> v = corpus[rnd.Below(corpus.size())];
    const int steps = 1 + int(rnd.Below(4));
    for (int k = 0; k < steps; ++k) {
        switch (rnd.Below(8)) {
        case 0:
            if (!v.empty())
                v[rnd.Below(v.size())] ^= uint8_t(1u << rnd.Below(8));
            break;
        case 1:
            if (!v.empty()) {
                static const uint8_t kBytes[] = {0, 1, 0x7F, 0x80, 0xFF, '0', '9', '<', '\n'};
                v[rnd.Below(v.size())] = kBytes[rnd.Below(sizeof kBytes)];
            }
            break;
        case 2:
            if (v.size() >= 4) {
                const size_t at = rnd.Below(v.size() / 4) * 4;
                const int32_t x = kInterestingInts[rnd.Below(kInterestingInts.size())];
                std::memcpy(v.data() + at, &x, 4);
            }
            break;
        case 3:
            if (v.size() >= 2) {
                const size_t at = rnd.Below(v.size() / 2) * 2;
                const int16_t x = int16_t(kInterestingInts[rnd.Below(kInterestingInts.size())]);
                std::memcpy(v.data() + at, &x, 2);
            }
            break;
        case 4: {
            const char* t = kTokens[rnd.Below(kTokens.size())];
            v.insert(v.begin() + std::ptrdiff_t(rnd.Below(v.size() + 1)), t, t + std::strlen(t));
            break;
        }
        case 5:
            if (!v.empty()) {
                const size_t at = rnd.Below(v.size());
                const size_t n = 1 + rnd.Below(std::min<size_t>(v.size() - at, 16));
                v.erase(v.begin() + std::ptrdiff_t(at), v.begin() + std::ptrdiff_t(at + n));
            }
            break;
        case 6:
            if (!v.empty()) {
                // Repeats a piece, so that counts and loops grow.
                const size_t at = rnd.Below(v.size());
                const size_t n = 1 + rnd.Below(std::min<size_t>(v.size() - at, 64));
                const std::vector<uint8_t> piece(v.begin() + std::ptrdiff_t(at), v.begin() + std::ptrdiff_t(at + n));
                const size_t times = 1 + rnd.Below(8);
                for (size_t i = 0; i < times; ++i)
                    v.insert(v.begin() + std::ptrdiff_t(at), piece.begin(), piece.end());
            }
            break;
        default: {
            // The front of this input with the back of another.
            const std::vector<uint8_t>& other = corpus[rnd.Below(corpus.size())];
            const size_t cut = rnd.Below(v.size() + 1), from = rnd.Below(other.size() + 1);
            v.resize(cut);
            v.insert(v.end(), other.begin() + std::ptrdiff_t(from), other.end());
            break;
        }
        }
    }
    if (v.size() > (1u << 20))
        v.resize(1u << 20);
    return v;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: " << argv[0] << " <target> <corpus folder> <mutations> | <target> <input file>\n";
        return 2;
    }
    TargetName = argv[1];
    LLVMFuzzerInitialize(&argc, &argv);
    if (__sanitizer_set_death_callback)
        __sanitizer_set_death_callback(SaveCurrentInput);
    std::set_terminate([] {
        SaveCurrentInput();
        std::string what = "unknown";
        try {
            if (auto e = std::current_exception())
                std::rethrow_exception(e);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        std::fprintf(stderr, "an exception escaped the fuzz target: %s\n", what.c_str());
        std::abort();
    });

    const std::filesystem::path where = argv[2];
    if (argc == 3) {
        Run(ReadFile(where));
        return 0;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(where))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::cerr << "no seed inputs in " << where << "\n";
        return 1;
    }
    // Large seeds (a long text that once ran slowly) run once; the mutations start from
    // the others, so that the replay stays quick.
    std::vector<std::vector<uint8_t>> corpus;
    for (const auto& f : files) {
        std::vector<uint8_t> input = ReadFile(f);
        Run(input);
        if (input.size() <= kLargestMutatedSeed)
            corpus.push_back(std::move(input));
    }
    const long mutations = corpus.empty() ? 0 : std::strtol(argv[3], nullptr, 10);
    Random rnd(TargetName);
    for (long i = 0; i < mutations; ++i)
        Run(Mutate(corpus, rnd));
    std::cout << TargetName << ": " << files.size() << " seeds and " << mutations << " mutations ran clean\n";
    return 0;
}
