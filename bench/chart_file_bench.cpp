// Chart files with a million points: a chart whose one series holds 1,000,000 points
// (16 MB of doubles) written with its data and read back, in binary and in text form.
// In memory, beside the floor of the same doubles written raw into a memory stream and
// read back into two arrays. Through real files, beside the floor of the same doubles
// written with fwrite to a file, flushed to the disk with fsync, and read back with fread
// into two arrays: the chart is saved as the program saves it (a temporary file flushed
// with fsync, renamed over the target, the folder flushed) and read through a file stream,
// the text form converted to binary first. The floor flushes its file but, writing it in
// place, has no folder to flush. The goals: through files the binary round trip within
// 1.5 times the floor, the text form within 3 times the binary one.
// BM_FileRoundTrips runs the three in turn in every round and gives the medians of the
// rounds' times and ratios; CHART_FILE_DIR names the folder for the files (else the
// system's temporary folder).
#include "Chart.h"
#include "Rounds.h"
#include "Series.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "TeeStore.h"
#include "classes/Streaming.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// CHART_FILE_POINTS may ask for another count.
const int kPoints = std::getenv("CHART_FILE_POINTS") != nullptr ? std::atoi(std::getenv("CHART_FILE_POINTS")) : 1000000;

QApplication& App()
{
    static int argc = 1;
    static char name[] = "chart_file_bench";
    static char* argv[] = {name, nullptr};
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(argc, argv);
    static bool started = [] {
        TeeConstInitialization();
        TeEngineInitialization();
        TeeStoreInitialization();
        RegisterClasses({TFastLineSeries::StaticClassInfo()});
        return true;
    }();
    (void)started;
    return app;
}

std::unique_ptr<TChart> BigChart()
{
    auto chart = std::make_unique<TChart>(nullptr);
    auto* s = new TFastLineSeries(chart.get());
    s->SetName("Big");
    chart->AddSeries(s);
    s->BeginUpdate();
    for (int i = 0; i < kPoints; ++i)
        s->AddPointXY(i * 0.001, (i * 7919) % 1000 * 0.01);
    s->EndUpdate();
    return chart;
}

void RoundTrip(benchmark::State& State, bool Text)
{
    App();
    auto chart = BigChart();
    int64_t bytes = 0;
    for (auto _ : State) {
        TMemoryStream file;
        WriteChartToStream(chart.get(), &file, true, Text);
        bytes = file.Size();
        file.SetPosition(0);
        TMemoryStream binary;
        TStream* source = &file;
        if (Text) {
            ObjectTextToBinary(&file, &binary);
            binary.SetPosition(0);
            source = &binary;
        } else {
            file.Seek(4, TSeekOrigin::soCurrent);
        }
        TChart read(nullptr);
        ReadComponent(source, &read);
        if (read.SeriesCount() != 1 || read.Series(0)->Count() != kPoints)
            State.SkipWithError("the chart did not read back whole");
    }
    State.counters["MB"] = double(bytes) / 1e6;
}

// The floor: the points' doubles written raw into a memory stream, X and Y interleaved,
// and read back into the two arrays a series keeps.
void BM_RawFloor(benchmark::State& State)
{
    App();
    auto chart = BigChart();
    const TChartSeries* s = chart->Series(0);
    const double* xs = s->XValues()->Data();
    const double* ys = s->YValues()->Data();
    for (auto _ : State) {
        TMemoryStream file;
        file.SetSize(16 * static_cast<int64_t>(kPoints));
        auto* out = reinterpret_cast<double*>(file.Memory());
        for (int i = 0; i < kPoints; ++i) {
            out[2 * i] = xs[i];
            out[2 * i + 1] = ys[i];
        }
        std::vector<double> x(static_cast<size_t>(kPoints)), y(static_cast<size_t>(kPoints));
        const auto* p = reinterpret_cast<const double*>(file.Memory());
        for (int i = 0; i < kPoints; ++i) {
            x[static_cast<size_t>(i)] = p[2 * i];
            y[static_cast<size_t>(i)] = p[2 * i + 1];
        }
        benchmark::DoNotOptimize(x.data());
        benchmark::DoNotOptimize(y.data());
    }
}

void BM_BinaryRoundTrip(benchmark::State& State) { RoundTrip(State, false); }
void BM_TextRoundTrip(benchmark::State& State) { RoundTrip(State, true); }

// ---- through real files ----

// A folder of this run's own for the files, removed at the end.
struct TBenchFolder {
    std::filesystem::path Path;
    TBenchFolder()
    {
        const char* dir = std::getenv("CHART_FILE_DIR");
        const std::filesystem::path base = dir != nullptr ? std::filesystem::path(dir) : std::filesystem::temp_directory_path();
        Path = base / ("chart_file_bench." + std::to_string(getpid()));
        std::filesystem::create_directories(Path);
    }
    ~TBenchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
    std::string File(const char* Name) const { return (Path / Name).string(); }
};

const TBenchFolder& Folder()
{
    static TBenchFolder folder;
    return folder;
}

// The floor's round: X and Y interleaved into Scratch, written with fwrite, flushed to
// the disk, read back with fread into Scratch and split into two new arrays.
void FileFloorRound(const double* Xs, const double* Ys, std::vector<double>& Scratch, const std::string& Name,
                    benchmark::State& State)
{
    const size_t n = static_cast<size_t>(kPoints);
    for (size_t i = 0; i < n; ++i) {
        Scratch[2 * i] = Xs[i];
        Scratch[2 * i + 1] = Ys[i];
    }
    FILE* out = std::fopen(Name.c_str(), "wb");
    const bool written = out != nullptr && std::fwrite(Scratch.data(), sizeof(double), 2 * n, out) == 2 * n &&
                         std::fflush(out) == 0 && fsync(fileno(out)) == 0;
    if (out == nullptr || std::fclose(out) != 0 || !written) {
        State.SkipWithError("the floor could not write its file");
        return;
    }
    FILE* in = std::fopen(Name.c_str(), "rb");
    if (in == nullptr || std::fread(Scratch.data(), sizeof(double), 2 * n, in) != 2 * n) {
        State.SkipWithError("the floor could not read its file");
        if (in != nullptr)
            std::fclose(in);
        return;
    }
    std::fclose(in);
    std::unique_ptr<double[]> x(new double[n]), y(new double[n]);
    for (size_t i = 0; i < n; ++i) {
        x[i] = Scratch[2 * i];
        y[i] = Scratch[2 * i + 1];
    }
    benchmark::DoNotOptimize(x.get());
    benchmark::DoNotOptimize(y.get());
}

// The chart's round: saved as the program saves a chart file, read back through a file
// stream (the text form converted to binary on the way).
void ChartFileRound(TChart* Chart, bool Text, const std::string& Name, benchmark::State& State)
{
    WriteChartToFile(Chart, Name, true, Text);
    TChart read(nullptr);
    {
        TFileStream file(Name, fmOpenRead);
        if (Text) {
            TMemoryStream binary;
            ObjectTextToBinary(&file, &binary);
            binary.SetPosition(0);
            ReadComponent(&binary, &read);
        } else {
            if (!HasChartHeader(&file))
                State.SkipWithError("no chart header");
            file.Seek(4, TSeekOrigin::soCurrent);
            ReadComponent(&file, &read);
        }
    }
    if (read.SeriesCount() != 1 || read.Series(0)->Count() != kPoints)
        State.SkipWithError("the chart did not read back whole");
}

void BM_FileFloor(benchmark::State& State)
{
    App();
    auto chart = BigChart();
    const TChartSeries* s = chart->Series(0);
    std::vector<double> scratch(2 * static_cast<size_t>(kPoints));
    const std::string name = Folder().File("floor.bin");
    for (auto _ : State)
        FileFloorRound(s->XValues()->Data(), s->YValues()->Data(), scratch, name, State);
}

void FileRoundTrip(benchmark::State& State, bool Text)
{
    App();
    auto chart = BigChart();
    const std::string name = Folder().File(Text ? "text.tee" : "binary.tee");
    for (auto _ : State)
        ChartFileRound(chart.get(), Text, name, State);
    State.counters["MB"] = double(std::filesystem::file_size(name)) / 1e6;
}

void BM_FileBinaryRoundTrip(benchmark::State& State) { FileRoundTrip(State, false); }
void BM_FileTextRoundTrip(benchmark::State& State) { FileRoundTrip(State, true); }

// The floor, the binary and the text round trip in turn in every round, so that the
// machine's load falls alike on all three: the medians of their times (ms) and of the
// rounds' ratios binary / floor and text / binary.
void BM_FileRoundTrips(benchmark::State& State)
{
    App();
    auto chart = BigChart();
    const TChartSeries* s = chart->Series(0);
    std::vector<double> scratch(2 * static_cast<size_t>(kPoints));
    std::vector<double> floor, binary, text, binaryPerFloor, textPerBinary;
    for (auto _ : State) {
        floor.push_back(TimeMs([&] {
            FileFloorRound(s->XValues()->Data(), s->YValues()->Data(), scratch, Folder().File("floor.bin"), State);
        }));
        binary.push_back(TimeMs([&] { ChartFileRound(chart.get(), false, Folder().File("binary.tee"), State); }));
        text.push_back(TimeMs([&] { ChartFileRound(chart.get(), true, Folder().File("text.tee"), State); }));
        binaryPerFloor.push_back(binary.back() / floor.back());
        textPerBinary.push_back(text.back() / binary.back());
    }
    State.counters["floor_ms"] = Median(floor);
    State.counters["binary_ms"] = Median(binary);
    State.counters["text_ms"] = Median(text);
    State.counters["binary_per_floor"] = Median(binaryPerFloor);
    State.counters["text_per_binary"] = Median(textPerBinary);
}

} // namespace

BENCHMARK(BM_RawFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BinaryRoundTrip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextRoundTrip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FileBinaryRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FileTextRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FileRoundTrips)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(15);

BENCHMARK_MAIN();
