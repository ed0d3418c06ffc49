// Picture export: the formats' registry, filters and options; each written file read
// back by an independent reader (the image library for bitmaps, external converters for
// metafiles) and compared with the chart's own bitmap; the metafiles' record structure.
#include "export_fixture.h"

#include "DataExport.h"
#include "classes/Streams.h"
#include "system/SysUtils.h"

#include <QDir>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

using namespace exporttest;

namespace {

uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }
uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return U16(b, at) | (uint32_t(U16(b, at + 2)) << 16); }
int32_t I32(const std::vector<uint8_t>& b, size_t at) { return int32_t(U32(b, at)); }

struct ExportPictures : ExportChart {
    std::string SaveAs(TTeeExportFormat& Format, const std::string& Name)
    {
        Format.Panel = chart;
        const std::string file = Temp(Name);
        Format.SaveToFile(file);
        return file;
    }
    // Rasterised through the converter and the SVG renderer, compared with the chart.
    void ExpectLooksLikeTheChart(const std::string& Svg, const std::string& Artifact)
    {
        const QImage shown = RasterizeSvg(Svg, W, H);
        ASSERT_FALSE(shown.isNull());
        if (const std::string path = testsupport::ArtifactPath(Artifact); !path.empty())
            shown.save(QString::fromStdString(path));
        EXPECT_LT(DifferingShare(Reference(), shown), 0.05);
        EXPECT_LT(DifferingShare(shown, Reference()), 0.05);
    }
};

TEST_F(ExportPictures, RegistryFiltersAndPictureLookUp)
{
    ASSERT_TRUE(ExportFormatRegistry);
    ASSERT_EQ(ExportFormatRegistry->size(), 2u);
    std::unique_ptr<TTeeExportFormat> emf = (*ExportFormatRegistry)[0]();
    std::unique_ptr<TTeeExportFormat> bmp = (*ExportFormatRegistry)[1]();
    int index = 0;
    emf->AssignFilterIndex(index);
    bmp->AssignFilterIndex(index);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(emf->FileExtension(), "emf");
    EXPECT_EQ(emf->FilterIndex(), 1);
    EXPECT_EQ(bmp->FilterIndex(), 3);
    EXPECT_EQ(emf->Options(false), nullptr);
    // The second entry of the metafile format means plain metafiles.
    EXPECT_TRUE(emf->OwnsFilterIndex(2));
    EXPECT_EQ(emf->FileExtension(), "wmf");
    EXPECT_EQ(emf->FilterIndex(), 2);
    EXPECT_FALSE(bmp->OwnsFilterIndex(2));

    EXPECT_TRUE(dynamic_cast<TBitmap*>(GraphicForExtension(".BMP").get()));
    EXPECT_TRUE(dynamic_cast<TMetafile*>(GraphicForExtension(".emf").get()));
    EXPECT_TRUE(dynamic_cast<TMetafile*>(GraphicForExtension(".wmf").get()));
    EXPECT_EQ(GraphicForExtension("bmp"), nullptr);
    EXPECT_EQ(GraphicForExtension(".png"), nullptr);
    EXPECT_TRUE(GraphicForExtensionHook && GraphicForExtensionHook(".bmp"));

    try {
        bmp->CopyToClipboard();
        ADD_FAILURE() << "no panel";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Panel property is not set in Export format");
    }
}

TEST_F(ExportPictures, BitmapReadsBackInTheChosenDepth)
{
    TBMPExportFormat format;
    const std::string file = SaveAs(format, "chart.bmp");
    // The size completed from the panel stays in the format.
    EXPECT_EQ(format.Width, W);
    EXPECT_EQ(format.Height, H);
    const QImage read(QString::fromStdString(file), "BMP");
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(DifferingShare(Reference(), read.convertToFormat(QImage::Format_RGB32)), 0.0);

    auto* options = static_cast<TBMPOptions*>(format.Options());
    options->CBColors->SetItemIndex(3);
    EXPECT_EQ(QImage(QString::fromStdString(SaveAs(format, "c8.bmp")), "BMP").depth(), 8);
    options->CBMono->SetChecked(true);
    EXPECT_FALSE(options->CBColors->Enabled());
    format.Width = 120;
    format.Height = 90;
    const QImage mono(QString::fromStdString(SaveAs(format, "mono.bmp")), "BMP");
    EXPECT_EQ(mono.depth(), 1);
    EXPECT_EQ(mono.size(), QSize(120, 90));
    // The choice stays for the next show.
    options->CBMono->SetChecked(false);
    options->Show();
    EXPECT_EQ(options->CBColors->ItemIndex(), 3);
    EXPECT_TRUE(options->CBColors->Enabled());
}

TEST_F(ExportPictures, BitmapColourChoicesSetTheFileDepth)
{
    TBMPExportFormat format;
    auto* options = static_cast<TBMPOptions*>(format.Options());
    // Bits per pixel and compression (bit fields for 5-6-5) of each choice in the header.
    const struct {
        int Bits, Compression;
    } expected[] = {{24, 0}, {1, 0}, {4, 0}, {8, 0}, {16, 0}, {16, 3}, {24, 0}, {32, 0}};
    const QImage reference = Reference();
    for (int i = 0; i < 8; ++i) {
        options->CBColors->SetItemIndex(i);
        const std::string file = SaveAs(format, "depth" + std::to_string(i) + ".bmp");
        const std::vector<uint8_t> b = ReadBytes(file);
        ASSERT_GT(b.size(), 54u);
        EXPECT_EQ(U16(b, 28), expected[i].Bits) << i;
        EXPECT_EQ(U32(b, 30), uint32_t(expected[i].Compression)) << i;
        EXPECT_EQ(U32(b, 2), b.size()) << i;
        // Another reader sees the chart (to within the depth's colours).
        const QImage read(QString::fromStdString(file), "BMP");
        ASSERT_FALSE(read.isNull()) << i;
        if (const std::string path = testsupport::ArtifactPath("export-bmp-depth" + std::to_string(i) + ".png");
            !path.empty())
            read.save(QString::fromStdString(path));
        if (i != 1) {
            EXPECT_LT(DifferingShare(reference, read.convertToFormat(QImage::Format_RGB32)), 0.01) << i;
        }
    }
}

TEST_F(ExportPictures, MonochromeBitmapRowsArePaddedWithZeros)
{
    // 90 pixels take 12 bytes a row: 6 bits of the last byte and no padding byte beyond;
    // 70 pixels take 9 bytes and 3 padding bytes.
    for (int width : {90, 70}) {
        std::vector<uint8_t> first;
        for (int run = 0; run < 2; ++run) {
            TBMPExportFormat format;
            static_cast<TBMPOptions*>(format.Options())->CBMono->SetChecked(true);
            format.Width = width;
            format.Height = 40;
            const std::vector<uint8_t> b = ReadBytes(SaveAs(format, "mono" + std::to_string(run) + ".bmp"));
            ASSERT_EQ(U16(b, 28), 1);
            const size_t stride = 12, offset = U32(b, 10);
            ASSERT_EQ(b.size(), offset + stride * 40);
            for (size_t row = 0; row < 40; ++row) {
                const size_t end = offset + row * stride;
                const int used = width / 8;   // whole bytes of pixels
                EXPECT_EQ(b[end + size_t(used)] & (0xFF >> (width % 8)), 0) << width << " row " << row;
                for (size_t k = size_t(used) + 1; k < stride; ++k)
                    EXPECT_EQ(b[end + k], 0) << width << " row " << row;
            }
            if (run == 0)
                first = b;
            else
                EXPECT_EQ(b, first) << width;
        }
    }
}

TEST_F(ExportPictures, EnhancedMetafileRecordsAndAnIndependentReader)
{
    TEMFExportFormat format;
    const std::string file = SaveAs(format, "chart.emf");
    const std::vector<uint8_t> b = ReadBytes(file);
    ASSERT_GT(b.size(), 108u);
    EXPECT_EQ(U32(b, 0), 1u);                        // header record
    EXPECT_EQ(U32(b, 40), 0x464D4520u);              // " EMF"
    EXPECT_EQ(U32(b, 48), b.size());                 // whole size
    EXPECT_GE(I32(b, 8), 0);                         // bounds within the picture
    EXPECT_GE(I32(b, 12), 0);
    EXPECT_LT(I32(b, 16), W);
    EXPECT_LT(I32(b, 20), H);
    EXPECT_EQ(I32(b, 32), W * 2540 / 96 - 1);        // frame, hundredths of a millimetre
    size_t at = 0, records = 0;
    uint32_t last = 0;
    while (at < b.size()) {
        const uint32_t size = U32(b, at + 4);
        ASSERT_TRUE(size >= 8 && size % 4 == 0 && at + size <= b.size()) << "record at " << at;
        last = U32(b, at);
        at += size;
        ++records;
    }
    EXPECT_EQ(U32(b, 52), records);
    EXPECT_EQ(last, 14u);                            // end record, last
    EXPECT_EQ(U32(b, b.size() - 20), 14u);
    EXPECT_EQ(U32(b, b.size() - 16), 20u);

    if (!Installed("emf2svg-conv") || !Installed("rsvg-convert"))
        GTEST_SKIP() << "emf2svg-conv or rsvg-convert not installed";
    const std::string svg = file + ".svg";
    ASSERT_EQ(RunProgram("emf2svg-conv", {"-i", QString::fromStdString(file), "-o", QString::fromStdString(svg)}), 0);
    ExpectLooksLikeTheChart(svg, "export-emf-read.png");
}

TEST_F(ExportPictures, PlaceableMetafileRecordsAndAnIndependentReader)
{
    TEMFExportFormat format;
    format.SetEnhanced(false);
    const std::string file = SaveAs(format, "chart.wmf");
    const std::vector<uint8_t> b = ReadBytes(file);
    ASSERT_GT(b.size(), 40u);
    EXPECT_EQ(U32(b, 0), 0x9AC6CDD7u);               // placeable key
    EXPECT_EQ(U32(b, 6), 0u);                        // bounding box 0, 0, W, H
    EXPECT_EQ(U16(b, 10), W);
    EXPECT_EQ(U16(b, 12), H);
    EXPECT_EQ(U16(b, 14), 96);                       // units per inch
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2)
        sum ^= U16(b, i);
    EXPECT_EQ(U16(b, 20), sum);
    EXPECT_EQ(U16(b, 22), 1);                        // memory metafile
    EXPECT_EQ(U16(b, 24), 9);                        // header words
    EXPECT_EQ(U32(b, 28) * 2, b.size() - 22);        // size in words
    size_t at = 40, largest = 0;
    uint16_t fn = 0;
    std::vector<uint16_t> functions;
    while (at < b.size()) {
        const uint32_t words = U32(b, at);
        ASSERT_TRUE(words >= 3 && at + 2 * words <= b.size()) << "record at " << at;
        fn = U16(b, at + 4);
        functions.push_back(fn);
        largest = std::max<size_t>(largest, words);
        at += 2 * words;
    }
    EXPECT_EQ(U32(b, 34), largest);
    EXPECT_EQ(fn, 0);                                // end record, last
    EXPECT_EQ(U32(b, b.size() - 6), 3u);
    // The window is set once at the start; nothing later changes the mapping.
    ASSERT_GE(functions.size(), 2u);
    EXPECT_EQ(functions[0], 0x020B);
    EXPECT_EQ(functions[1], 0x020C);
    for (size_t i = 2; i < functions.size(); ++i)
        EXPECT_TRUE(functions[i] != 0x0103 && functions[i] != 0x020B && functions[i] != 0x020C
                    && functions[i] != 0x020D && functions[i] != 0x020E)
            << "mapping record " << std::hex << functions[i];

    if (!Installed("wmf2svg") || !Installed("rsvg-convert"))
        GTEST_SKIP() << "wmf2svg or rsvg-convert not installed";
    const std::string svg = file + ".svg";
    ASSERT_EQ(RunProgram("wmf2svg", {"-o", QString::fromStdString(svg), QString::fromStdString(file)}), 0);
    // The converter's SVG lacks the SVG namespace, without which the renderer draws nothing.
    std::string text = ReadText(svg);
    const size_t root = text.find("<svg ");
    ASSERT_NE(root, std::string::npos);
    if (text.find("xmlns=\"http://www.w3.org/2000/svg\"") == std::string::npos)
        text.insert(root + 5, "xmlns=\"http://www.w3.org/2000/svg\" ");
    std::ofstream(svg, std::ios::binary) << text;
    ExpectLooksLikeTheChart(svg, "export-wmf-read.png");
}

TEST_F(ExportPictures, AFailedSaveLeavesTheEarlierFile)
{
    TBMPExportFormat format;
    format.Panel = chart;
    const std::string file = Temp("kept.bmp");
    std::ofstream(file) << "earlier";
    // The disk fills up (the file size limit stops the write as a full disk would): the
    // message names the user's file and the system's reason, and nothing else is left.
    try {
        testsupport::TFileSizeLimit limit(1000);
        format.SaveToFile(file);
        ADD_FAILURE() << "saved";
    } catch (const EWriteError& e) {
        // The system's part of the message is in the user's language.
        EXPECT_EQ(e.Message(), "Cannot write file \"" + file + "\". " + SysErrorMessage(EFBIG));
    }
    EXPECT_EQ(ReadText(file), "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(file).parent_path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ExportPictures, EveryWriterRefusesAReadOnlyFileAndLeavesIt)
{
    TBMPExportFormat picture;
    picture.Panel = chart;
    TSeriesDataText data(chart, nullptr);
    const std::vector<std::pair<std::string, std::function<void(const std::string&)>>> writers = {
        {"picture.bmp", [&](const std::string& f) { picture.SaveToFile(f); }},
        {"data.txt", [&](const std::string& f) { data.SaveTextToFile(f); }},
        {"chart.tee", [&](const std::string& f) { WriteChartToFile(chart, f, true, false); }},
    };
    namespace fs = std::filesystem;
    for (const auto& [name, write] : writers) {
        const std::string file = Temp("ro-" + name);
        fs::remove(file);
        std::ofstream(file) << "kept";
        fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
        try {
            write(file);
            ADD_FAILURE() << name << " written";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(), "Cannot create file \"" + file + "\". The file is read-only") << name;
        }
        EXPECT_EQ(ReadText(file), "kept") << name;
        EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::group_read) << name;
        // Writable again, it is replaced and keeps its permissions.
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
        write(file);
        EXPECT_NE(ReadText(file), "kept") << name;
        EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write) << name;
        // Saved through a symbolic link, the file it names is replaced and the link stays.
        const std::string link = Temp("link-" + name);
        fs::create_symlink(file, link);
        std::ofstream(file) << "kept";
        write(link);
        EXPECT_TRUE(fs::is_symlink(link)) << name;
        EXPECT_NE(ReadText(file), "kept") << name;
        EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write) << name;
        // Nothing else is left beside the file.
        EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(file).parent_path()), fs::directory_iterator()), 1)
            << name;
    }
}

// Two programs save one chart file over and over while this one reads it: both saves
// succeed every time, and every copy read is the whole chart file of one of them.
TEST_F(ExportPictures, ChartFileSavedByTwoProgramsAtOnceIsAlwaysWhole)
{
    const std::string role = testsupport::ChildRole();
    if (!role.empty()) {
        const bool data = role[0] == 'd';
        for (int i = 0; i < 40; ++i) {
            try {
                WriteChartToFile(chart, role.substr(1), data);
            } catch (const Exception& e) {
                std::fprintf(stderr, "save %d: %s\n", i, e.Message().c_str());
                testsupport::EndChild(1);
            }
        }
        testsupport::EndChild(0);
    }
    std::vector<std::string> whole;
    for (bool data : {true, false}) {
        TMemoryStream stream;
        WriteChartToStream(chart, &stream, data);
        whole.emplace_back(stream.Memory(), size_t(stream.Size()));
    }
    ASSERT_NE(whole[0], whole[1]);
    const std::string file = Temp("shared.tee");
    WriteChartToFile(chart, file, true);
    const int first = testsupport::StartChild("d" + file);
    const int second = testsupport::StartChild("n" + file);
    int copies = 0, broken = 0;
    while (testsupport::ChildRunning(first) || testsupport::ChildRunning(second)) {
        const std::string copy = ReadText(file);
        ++copies;
        broken += copy != whole[0] && copy != whole[1];
    }
    EXPECT_EQ(testsupport::WaitChild(first), 0);
    EXPECT_EQ(testsupport::WaitChild(second), 0);
    EXPECT_GT(copies, 0);
    EXPECT_EQ(broken, 0) << "of " << copies;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(file).parent_path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
