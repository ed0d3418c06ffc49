// The data window's loader, the number reader and the string splitter.
#include "DialogRecorder.h"

#include "ChatUnit.h"
#include "StrParser.h"
#include "Unit3.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
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

TEST_F(LoaderTest, FirstFaultEndsTheLoadWithOneMessageNamingItsLine)
{
    const struct {
        std::string Text;
        std::string Message;
    } cases[] = {
        {Header("3", "0") + "1 1\n1,5,0 4\n3 3\n", "Invalid number: 1,5,0 in line 7"},
        {Header("3", "0") + "1 1\n2 1e400\n3 abc\n", "Invalid number: 1e400 in line 7"},
        {Header("3", "0") + "1 1\n7\n3 3\n", "No Cp value in line 7: 7"},
        {Header("3", "0") + "1 1\n\n3 3\n", "Empty line 7 inside the data"},
        {Header("2", "0") + "10 20\n30\t\t40,5\n", "Invalid number: 10 20 in line 6"},   // tab divider
    };
    for (const auto& c : cases) {
        dialogs.Requests.clear();
        data->cbDivString->SetItemIndex(c.Text.find('\t') != std::string::npos ? 1 : 0);
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
    EXPECT_EQ(data->PointCount(), 2);   // lines 7..9 hold two points
    EXPECT_DOUBLE_EQ(TData[1], 3);
    EXPECT_DOUBLE_EQ(TData[2], 4);
}

TEST_F(LoaderTest, TextsThatAreNoDataFileLoadNothing)
{
    Load("one\ntwo\nthree\n3\n");   // fewer than 5 lines: nothing is said
    EXPECT_EQ(data->PointCount(), 0);
    EXPECT_TRUE(dialogs.Requests.empty());

    for (const auto& text : {Header("3.0", "0") + "1 1\n", Header("3", "x") + "1 1\n", Header("-3", "0") + "1 1\n",
                             Header("3", "-2") + "1 1\n"}) {
        dialogs.Requests.clear();
        Load(text);
        EXPECT_EQ(data->PointCount(), 0) << text;
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Invalid data file"}) << text;
        EXPECT_EQ(dialogs.Requests[0].Type, mtError);
    }
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
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Invalid data file"});
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
