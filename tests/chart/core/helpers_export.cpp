// The export-data base: the text to a stream, a file and the clipboard.
#include "RizUridu/Helpers.h"

#include "controls/Clipboard.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

const std::string Sample = "T\tCp\r\n5\t0,1\r\n\xC3\x9C";

class TextExporter : public TTeeExportData {
public:
    std::string GetText() override { return Sample; }
};

// Writes its own bytes instead of the text, as a binary format does.
class BinaryExporter : public TextExporter {
public:
    void WriteTextToStream(TStream* Stream) override { Stream->WriteBuffer("\x09\x00\x02", 3); }
};

std::string FileContents(const std::string& path)
{
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

} // namespace

TEST(ExportData, TextToStreamAndClipboard)
{
    TMemoryStream m;
    TextExporter().WriteTextToStream(&m);
    EXPECT_EQ(std::string(m.Memory(), static_cast<std::size_t>(m.Size())), Sample);   // no terminator
    Clipboard()->SetAsText("old");
    TextExporter().CopyTextToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), Sample);
}

TEST(ExportData, SaveReplacesTheFileThroughTheStreamOperation)
{
    const std::string path = testsupport::TempDir() + "/export.txt";
    std::ofstream(path, std::ios::binary) << std::string(200, 'x');
    TextExporter().SaveTextToFile(path);
    EXPECT_EQ(FileContents(path), Sample);
    BinaryExporter().SaveTextToFile(path);
    EXPECT_EQ(FileContents(path), std::string("\x09\x00\x02", 3));
    EXPECT_THROW(TextExporter().SaveTextToFile(testsupport::TempDir() + "/missing/x.txt"), EFCreateError);
}
