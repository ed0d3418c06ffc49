// The data window's loader, the number reader and the string splitter.
#include "DialogRecorder.h"

#include "ChatUnit.h"
#include "DataFile.h"
#include "TestSupport.h"
#include "UserInput.h"
#include "StrParser.h"
#include "Unit3.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

class LoaderTest : public ::testing::Test {
protected:
    DialogRecorder dialogs;
    std::unique_ptr<TfmData> data = std::make_unique<TfmData>(nullptr);

    void Load(const std::string& text)
    {
        data->Memo1->Lines()->SetText(text);
        data->LoadDataPoints();
    }
    static std::string Header(const std::string& count, const std::string& first)
    {
        return "title\nsample\ncolumns\n" + count + "\n" + first + "\n";
    }
};

std::vector<std::string> Pieces(const TStrParser& parser)
{
    std::vector<std::string> pieces;
    for (int i = 0; i < parser.Tokens()->Count(); ++i)
        pieces.push_back(parser.Tokens()->Get(i));
    return pieces;
}

TEST(StrParserTest, SplitsAtEveryDividerKeepingEmptyPieces)
{
    using V = std::vector<std::string>;
    TStrParser parser(nullptr);
    parser.SetDividingString(" ");
    parser.Split("10  20 ");
    EXPECT_EQ(Pieces(parser), (V{"10", "", "20"}));
    parser.Split("");
    EXPECT_EQ(Pieces(parser), V{});

    parser.SetDividingString("ab");
    parser.Split("xAByabz");
    EXPECT_EQ(Pieces(parser), (V{"x", "y", "z"}));
    parser.SetCaseSensitive(true);
    parser.Split("xAByabz");
    EXPECT_EQ(Pieces(parser), (V{"xABy", "z"}));

    // An empty divider occurs nowhere: the text comes back whole instead of looping forever.
    parser.SetDividingString("");
    parser.Split("1 2");
    EXPECT_EQ(Pieces(parser), V{"1 2"});
}

TEST_F(LoaderTest, NumberReaderTakesACommaAndReportsBadTexts)
{
    EXPECT_DOUBLE_EQ(StrToFloatChecked("1,5"), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloatChecked(" -2.5E+001"), -25.0);
    EXPECT_DOUBLE_EQ(StrToFloatChecked("+.5e-1"), 0.05);
    EXPECT_DOUBLE_EQ(StrToFloatChecked("1e-400"), 0.0);
    EXPECT_TRUE(dialogs.Requests.empty());
    for (const char* bad : {"1,5,0", "abc", "1e999", "1.5x", "", "e5", "1e"})
        EXPECT_EQ(StrToFloatChecked(bad), 0.0) << bad;
    double value = 0;
    EXPECT_FALSE(StrToFloatChecked("-", value));
    ASSERT_EQ(dialogs.Requests.size(), 8u);
    EXPECT_EQ(dialogs.Requests[0].Text, "Invalid number: 1,5,0");
    EXPECT_EQ(dialogs.Requests[1].Text, "Invalid number: abc");
}

TEST_F(LoaderTest, LoadsPointsIntoTheirSlots)
{
    Load(Header(" 3 ", "0") + "10 1.5\n20    2,25\n30 3 extra tokens\n");
    EXPECT_EQ(data->PointCount(), 3);
    EXPECT_EQ(data->FirstPoint(), 0);
    EXPECT_DOUBLE_EQ(TData[1], 10);
    EXPECT_DOUBLE_EQ(CpData[1], 1.5);
    EXPECT_DOUBLE_EQ(TData[2], 20);
    EXPECT_DOUBLE_EQ(CpData[2], 2.25);
    EXPECT_DOUBLE_EQ(TData[3], 30);
    EXPECT_DOUBLE_EQ(CpData[3], 3);
    EXPECT_TRUE(dialogs.Requests.empty());
}

TEST_F(LoaderTest, APointTypedWithATabIsReadWithTabChosen)
{
    data->cbDivString->SetItemIndex(1);
    data->Memo1->Lines()->SetText(Header("1", "0"));
    user::ShowAndActivate(data.get());
    ASSERT_TRUE(user::Focus(data->Memo1));
    ASSERT_TRUE(user::Key(Qt::Key_End, Qt::ControlModifier));
    ASSERT_TRUE(user::Type("10"));
    ASSERT_TRUE(user::Key(Qt::Key_Tab));
    ASSERT_TRUE(user::Type("2.5"));
    data->LoadDataPoints();
    EXPECT_TRUE(dialogs.Requests.empty());
    EXPECT_EQ(data->PointCount(), 1);
    EXPECT_DOUBLE_EQ(TData[1], 10);
    EXPECT_DOUBLE_EQ(CpData[1], 2.5);
}

TEST_F(LoaderTest, FirstFaultEndsTheLoadWithOneMessageNamingItsLine)
{
    const struct {
        std::string Text;
        std::string Message;
        int Divider = 0;   // the item of "Dividing string": 0 space, 1 tab
    } cases[] = {
        {Header("3", "0") + "1 1\n1,5,0 4\n3 3\n", "Invalid number: 1,5,0 in line 7"},
        {Header("3", "0") + "1 1\n2 1e400\n3 abc\n", "Invalid number: 1e400 in line 7"},
        {Header("3", "0") + "1 1\n7\n3 3\n", "No Cp value in line 7: 7"},
        {Header("3", "0") + "1 1\n\n3 3\n", "Empty line 7 inside the data"},
        {Header("4", "0") + "1 1\n\n \n4 4\n", "Empty line 7 inside the data"},
        // A line divided by the other divider says which one to choose.
        {Header("2", "0") + "10 20\n30\t\t40,5\n",
         "Invalid number: 10 20 in line 6 (the line is divided by spaces: choose the dividing string \"Space\")", 1},
        {Header("2", "0") + "1 1\n30\t40,5\n",
         "Invalid number: 30\t40,5 in line 7 (the line is divided by tabs: choose the dividing string \"Tab\")"},
        {Header("2", "0") + "10\xC2\xA0" "20\n",
         "Invalid number: 10\xC2\xA0" "20 in line 6 (the line holds a no-break space, which divides nothing: type a "
         "space or a tab)"},
        // A line that the data window shows shortened, cut before its Cp ends.
        {Header("2", "0") + "1 1\n2 3" + DataFileShortenedMark + "\n",
         "Invalid number: 3" + std::string(DataFileShortenedMark) +
             " in line 7 (the data window shows the line shortened after its first 1024 bytes, which must hold T and Cp)"},
        // A long text (a binary file's line) is quoted by its first 40 characters.
        {Header("3", "0") + "1 1\n2 " + std::string(50, 'x') + "\n", "Invalid number: " + std::string(40, 'x') + "... in line 7"},
        {Header(std::string(30, 'x') + "\xc3\xa9" + std::string(30, 'y'), "0") + "1 1\n",
         "Invalid data file: line 4 must hold the number of points (a whole number, 0 or more), not \"" +
             std::string(30, 'x') + "\xc3\xa9" + std::string(9, 'y') + "...\""},
    };
    for (const auto& c : cases) {
        dialogs.Requests.clear();
        data->cbDivString->SetItemIndex(c.Divider);
        Load(c.Text);
        EXPECT_EQ(data->PointCount(), 0) << c.Text;
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.Message}) << c.Text;
    }

    // Empty lines after the last point are no fault.
    data->cbDivString->SetItemIndex(0);
    dialogs.Requests.clear();
    Load(Header("4", "0") + "1 1\n2 2\n\n  \n");
    EXPECT_EQ(data->PointCount(), 2);
    EXPECT_TRUE(dialogs.Requests.empty());
}

TEST_F(LoaderTest, TMaxSkipsHotterLinesAndPacksThePointsItKeeps)
{
    TData[2] = -5;
    CpData[2] = -6;
    data->edTmax->SetText("100");
    Load(Header("4", "0") + "50 1\n150 2\n90 3\n100 4\n200\n");
    EXPECT_DOUBLE_EQ(data->TMaxLimit(), 100);
    EXPECT_EQ(data->PointCount(), 3);   // capped at the accepted lines
    // The run reads slots 1..3: the kept points, no old value in the skipped line's place.
    EXPECT_DOUBLE_EQ(TData[1], 50);
    EXPECT_DOUBLE_EQ(TData[2], 90);
    EXPECT_DOUBLE_EQ(CpData[2], 3);
    EXPECT_DOUBLE_EQ(TData[3], 100);    // T(max) itself is kept
    EXPECT_TRUE(dialogs.Requests.empty());

    data->edTmax->SetText("1OO");
    TData[1] = -9;
    Load(Header("3", "0") + "50 1\n");
    EXPECT_EQ(data->PointCount(), 0);
    EXPECT_DOUBLE_EQ(TData[1], -9);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Invalid T(max) value: 1OO"});
}

TEST_F(LoaderTest, FirstPointShiftsTheLinesIntoSlotOne)
{
    Load(Header("4", "2") + "1 1\n2 2\n3 3\n4 4\n");
    EXPECT_EQ(data->FirstPoint(), 2);
    // Points 3 and 4 (lines 8 and 9) are read, and the run takes PointCount - F points:
    // both of them.
    EXPECT_EQ(data->PointCount() - data->FirstPoint(), 2);
    EXPECT_DOUBLE_EQ(TData[1], 3);
    EXPECT_DOUBLE_EQ(TData[2], 4);
    // A point missing at the end or left out by T(max) is one fewer.
    Load(Header("4", "2") + "1 1\n2 2\n3 3\n");
    EXPECT_EQ(data->PointCount() - data->FirstPoint(), 1);
    data->edTmax->SetText("3.5");
    Load(Header("4", "2") + "1 1\n2 2\n3 3\n4 4\n");
    EXPECT_EQ(data->PointCount() - data->FirstPoint(), 1);
}

TEST_F(LoaderTest, TextsThatAreNoDataFileLoadNothing)
{
    Load("one\ntwo\nthree\n3\n");   // fewer than 5 lines: nothing is said
    EXPECT_EQ(data->PointCount(), 0);
    EXPECT_TRUE(dialogs.Requests.empty());

    const std::string count = "Invalid data file: line 4 must hold the number of points (a whole number, 0 or more), not ";
    const std::string first = "Invalid data file: line 5 must hold the first point to use (a whole number, 0 or more), not ";
    const struct {
        std::string Text;
        std::string Message;
    } cases[] = {
        {Header("3.0", "0") + "1 1\n", count + "\"3.0\""},
        {Header("3", "x") + "1 1\n", first + "\"x\""},
        {Header(" -3 ", "0") + "1 1\n", count + "\"-3\""},
        {Header("3", "-2") + "1 1\n", first + "\"-2\""},
    };
    for (const auto& c : cases) {
        dialogs.Requests.clear();
        Load(c.Text);
        EXPECT_EQ(data->PointCount(), 0) << c.Text;
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.Message});
        EXPECT_EQ(dialogs.Requests[0].Type, mtError);
    }

    // The first lines of a file that goes on are no data file when they are fewer than 5.
    TDataFileText part;
    part.Text = "a\nb\n3\n0\n";
    part.Whole = false;
    part.Source.EndsWithFile = false;
    data->SetFileText(part);
    dialogs.Requests.clear();
    data->LoadDataPoints();
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Invalid data file: the data window holds the first 4 lines of a "
                                                        "file too large to show whole, which is read no further than "
                                                        "its first 2005 lines and 16 MB"});

    // A file in UTF-16 without its byte-order mark: the fault says what the file looks like.
    const std::string path = testsupport::TempDir() + "/nomark.dat";
    std::ofstream(path, std::ios::binary) << std::string("a\0b\0c\0\r\0\n\0\x33\0\x30\0\r\0\n\0\x30\0\r\0\n\0", 22);
    data->SetFileText(ReadDataFileText(path));
    dialogs.Requests.clear();
    data->LoadDataPoints();
    EXPECT_EQ(data->PointCount(), 0);
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Text.rfind("Invalid data file: line 4", 0), 0u) << dialogs.Requests[0].Text;
    const std::string hint = "\nThe file looks like UTF-16 text without its byte-order mark (every other byte is NUL): "
                             "save it as UTF-8, or as UTF-16 with its mark.";
    EXPECT_EQ(dialogs.Requests[0].Text.substr(dialogs.Requests[0].Text.size() - hint.size()), hint);
}

TEST_F(LoaderTest, ReadsExactlyTheDeclaredDataLines)
{
    // The line after the P-th data line is not read: no message for it, and P points.
    Load(Header("3", "0") + "1 1\n2 2\n3 3\nnot a point\n");
    EXPECT_EQ(data->PointCount(), 3);
    EXPECT_DOUBLE_EQ(CpData[3], 3);
    EXPECT_TRUE(dialogs.Requests.empty()) << dialogs.Texts().front();

    // 1000 declared points fill the arrays whatever follows them.
    std::string text = Header("1000", "0");
    for (int i = 1; i <= 1001; ++i)
        text += std::to_string(i) + " " + std::to_string(2 * i) + "\n";
    Load(text);
    EXPECT_EQ(data->PointCount(), 1000);
    EXPECT_DOUBLE_EQ(CpData[1000], 2000);
    EXPECT_TRUE(dialogs.Requests.empty()) << dialogs.Texts().front();
}

TEST_F(LoaderTest, SlotBeyondTheArraysIsAnInvalidFile)
{
    std::string text = Header("1001", "0");
    for (int i = 1; i <= 1001; ++i)
        text += std::to_string(i) + " 1\n";
    data->Memo1->Lines()->SetText(text);
    const std::string before = data->Memo1->Text();
    data->LoadDataPoints();
    EXPECT_EQ(data->PointCount(), 0);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Invalid data file: more than 1000 points (line 1006)"});
    EXPECT_EQ(data->Memo1->Text(), before);
    EXPECT_DOUBLE_EQ(TData[1000], 1000);   // the slots before the bad one were written
}

TEST_F(LoaderTest, HugeCountEndsWithTheText)
{
    const auto start = std::chrono::steady_clock::now();
    Load(Header("2147483647", "0") + "5 6\n7 8\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(data->PointCount(), 2);
    EXPECT_DOUBLE_EQ(CpData[2], 8);
}

TEST(DataFileTextTest, SmallFilesShowWholeLargeOnesUpToTheirDeclaredPoints)
{
    const std::string folder = testsupport::TempDir();
    const auto write = [&folder](const std::string& name, const std::string& text) {
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    };
    const std::string small = write("small.dat", "\xEF\xBB\xBF" "a\r\nb\nc\n2\n0\n1 1\n2 2\ntrailing note\n");
    TDataFileText text = ReadDataFileText(small);
    EXPECT_TRUE(text.Whole);
    EXPECT_EQ(text.LinesShown, 8);
    TStringList lines;
    lines.SetText(text.Text);
    EXPECT_EQ(lines[0], "a");   // without the byte-order mark
    EXPECT_EQ(lines[7], "trailing note");

    EXPECT_FALSE(text.Source.LooksUtf16);

    // A file saved as UTF-16 (as spreadsheets export "Unicode text") reads as its text, both
    // byte orders, with a character beyond the first plane kept whole, also past the limit
    // (up to its declared points). Without its byte-order mark it is only said to look so.
    const std::u16string wide = u"T \u00b0K \U0001D49E\r\nb\nc\n2\n0\n1\t1,5\n2\t2\n";
    const auto utf16 = [](const std::u16string& units, bool bigEndian) {
        std::string bytes;
        for (const char16_t unit : units) {
            const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    for (const bool bigEndian : {false, true}) {
        for (const bool large : {false, true}) {
            const std::string mark = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
            const std::string bytes = mark + utf16(wide + (large ? std::u16string(DataFileShowLimit, u'9') : u""), bigEndian);
            text = ReadDataFileText(write("wide.dat", bytes));
            lines.SetText(text.Text);
            ASSERT_EQ(lines.Count(), 7) << bigEndian << large;
            EXPECT_EQ(text.Whole, !large);
            EXPECT_EQ(lines[0], "T \xC2\xB0K \xF0\x9D\x92\x9E");
            EXPECT_EQ(lines[5], "1\t1,5");
            EXPECT_EQ(lines[6], "2\t2");
            EXPECT_FALSE(text.Source.LooksUtf16);
            EXPECT_TRUE(ReadDataFileText(write("nomark.dat", bytes.substr(2))).Source.LooksUtf16) << bigEndian << large;
        }
    }

    // Past the limit the header and the declared lines are read, with CR LF and CR ends.
    std::string big = "a\r\nb\rc\n 3 \r\n0\r\n1 1\r\n2 2\r3 3\r\n";
    const std::string filler(99, 'x');
    while (big.size() <= DataFileShowLimit)
        big += filler + "\n";
    text = ReadDataFileText(write("big.dat", big));
    EXPECT_FALSE(text.Whole);
    EXPECT_EQ(text.FileSize, big.size());
    EXPECT_EQ(text.LinesShown, 8);
    lines.SetText(text.Text);
    ASSERT_EQ(lines.Count(), 8);
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[3], " 3 ");
    EXPECT_EQ(lines[7], "3 3");

    // A count that is no number shows the most a load could read.
    big.replace(big.find(" 3 "), 3, "abc");
    EXPECT_EQ(ReadDataFileText(write("nocount.dat", big)).LinesShown, 2005);

    // A line of more than DataFileLineShowLimit bytes is shown without its blanks at both
    // ends, then cut after a whole character with the mark attached, so that the cut token
    // reads as no number: a line that runs on for megabytes too, read whole, or the only
    // line of a file that has no line end.
    const std::string mark = DataFileShortenedMark;
    const std::string endless(3 * DataFileShowLimit, '7');
    const std::string blanks(DataFileLineShowLimit, ' ');
    std::string accents;   // 2-byte characters, the last one kept cut by the limit
    while (accents.size() <= DataFileLineShowLimit)
        accents += "\xC3\xA9";
    text = ReadDataFileText(write("endless.dat", "a\n" + blanks + "b\tc" + blanks + "\n\tx" + accents + "\n3\n0\n1 1\n" +
                                                     blanks + "\t2 2 " + blanks + "\n3 " + endless));
    lines.SetText(text.Text);
    ASSERT_EQ(lines.Count(), 8);
    EXPECT_EQ(lines[1], "b\tc");
    EXPECT_EQ(lines[2], "x" + accents.substr(0, DataFileLineShowLimit - 2) + mark);
    EXPECT_EQ(lines[6], "2 2");
    EXPECT_EQ(lines[7], "3 " + std::string(DataFileLineShowLimit - 2, '7') + mark);
    EXPECT_EQ(text.LinesShortened, 4);
    EXPECT_TRUE(text.Source.EndsWithFile);
    EXPECT_FALSE(text.StoppedAtReadLimit);
    text = ReadDataFileText(write("oneline.dat", endless));
    EXPECT_EQ(text.LinesShown, 1);
    EXPECT_EQ(text.Text, std::string(DataFileLineShowLimit, '7') + mark + "\r\n");

    // A CR LF split by the blocks the file is read in ends one line.
    std::string blocks = "a\r\nb\r\nc\r\n1100\r\n0\r\n";
    blocks += std::string(65535 - blocks.size(), 'x') + "\r\n";
    for (int i = 1; i < 1100; ++i)
        blocks += std::to_string(i) + " 1" + std::string(DataFileLineShowLimit, ' ') + "9\r\n";
    text = ReadDataFileText(write("blocks.dat", blocks));
    lines.SetText(text.Text);
    ASSERT_EQ(lines.Count(), 1105);
    EXPECT_EQ(lines[6], "1 1" + std::string(DataFileLineShowLimit - 3, ' ') + mark);
    EXPECT_EQ(lines[1104], "1099 1" + std::string(DataFileLineShowLimit - 6, ' ') + mark);

    // The bytes read stop at DataFileReadLimit, in whole lines: the file goes on.
    text = ReadDataFileText(write("limit.dat", "a\nb\nc\n3\n0\n1 1\n" + std::string(DataFileReadLimit, '2') + " 2\n3 3\n"));
    EXPECT_EQ(text.LinesShown, 6);
    EXPECT_TRUE(text.StoppedAtReadLimit);
    EXPECT_FALSE(text.Source.EndsWithFile);
    // A file with no line end in its first DataFileReadLimit bytes shows no line.
    text = ReadDataFileText(write("nolines.dat", std::string(DataFileReadLimit + 1, '7')));
    EXPECT_EQ(text.LinesShown, 0);
    EXPECT_EQ(text.Text, "");
    EXPECT_TRUE(text.StoppedAtReadLimit);
    EXPECT_THROW(ReadDataFileText(folder + "/missing.dat"), Exception);
}

TEST_F(LoaderTest, ExampleFilesLoadWhole)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(EXAMPLES_DIR)) {
        if (entry.path().extension() != ".dat")
            continue;
        ++files;
        TStringList text;
        text.LoadFromFile(entry.path().string());
        const int declared = StrToInt(Trim(text[3]));
        data->cbDivString->SetItemIndex(text.Text().find('\t') != std::string::npos ? 1 : 0);
        Load(text.Text());
        SCOPED_TRACE(entry.path().string());
        EXPECT_TRUE(dialogs.Requests.empty());
        ASSERT_EQ(data->PointCount(), declared);
        ASSERT_EQ(data->PointCount(), text.Count() - 5);
        for (int i = 1; i <= declared; ++i) {
            // Each line's numbers, read apart from the loader, match the slot.
            const std::string line = StringReplaceAll(text[i + 4], ",", ".");
            const auto split = line.find_first_of(" \t");
            EXPECT_DOUBLE_EQ(TData[i], StrToFloat(line.substr(0, split)));
            EXPECT_DOUBLE_EQ(CpData[i], StrToFloat(line.substr(split + 1)));
            EXPECT_GT(CpData[i], 0);
            if (i > 1) {
                EXPECT_GT(TData[i], TData[i - 1]);
            }
        }
    }
    EXPECT_GE(files, 3);
}

} // namespace
