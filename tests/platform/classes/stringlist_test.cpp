// String lists: text forms, sorting and duplicates, events, objects, files.
#include "classes/Classes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<std::string> Lines(const TStrings& s)
{
    std::vector<std::string> r;
    for (int i = 0; i < s.Count(); ++i)
        r.push_back(s[i]);
    return r;
}

using V = std::vector<std::string>;

TEST(StringListTest, TextSplitsEveryLineBreakAndJoinsWithCrLf)
{
    TStringList list;
    list.SetText("a\r\nb\nc\rd");
    EXPECT_EQ(Lines(list), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n");
    list.SetText(list.Text());
    EXPECT_EQ(Lines(list), (V{"a", "b", "c", "d"}));

    list.SetText("one\r\n");   // a trailing break ends the line, it adds none
    EXPECT_EQ(Lines(list), (V{"one"}));
    list.SetText("one\r\n\r\n");
    EXPECT_EQ(Lines(list), (V{"one", ""}));
    list.SetText("\n\nx");
    EXPECT_EQ(Lines(list), (V{"", "", "x"}));
    list.SetText("\n\r");   // LF then CR: two breaks, two empty lines
    EXPECT_EQ(Lines(list), (V{"", ""}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
}

TEST(StringListTest, CommaTextQuotesWhatNeedsIt)
{
    TStringList list;
    list.Add("plain");
    list.Add("two words");
    list.Add("say \"hi\"");
    list.Add("a,b");
    list.Add("");
    EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"say \"\"hi\"\"\",\"a,b\",");
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(Lines(back), Lines(list));

    back.SetCommaText("  x y ,z,,\"open");   // blanks separate too; an open quote runs to the end
    EXPECT_EQ(Lines(back), (V{"x", "y", "z", "", "open"}));
    back.SetCommaText("\"\"");
    EXPECT_EQ(Lines(back), (V{""}));
    EXPECT_EQ(back.CommaText(), "\"\"");

    TStringList semi;
    semi.Delimiter = ';';
    semi.QuoteChar = '\'';
    semi.SetDelimitedText("a;'b;c';d");
    EXPECT_EQ(Lines(semi), (V{"a", "b;c", "d"}));
    EXPECT_EQ(semi.DelimitedText(), "a;'b;c';d");
    EXPECT_EQ(semi.CommaText(), "a,b;c,d");
    EXPECT_EQ(semi.Delimiter, ';');
}

TEST(StringListTest, NamesAndValues)
{
    TStringList list;
    list.SetText("Left=10\nTop=20\nnovalue\n=empty");
    EXPECT_EQ(list.Names(0), "Left");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.Values("TOP"), "20");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.ValueFromIndex(2), "");   // no '=': no value, nothing cut off
    EXPECT_EQ(list.ValueFromIndex(3), "empty");
    list.SetValues("Top", "25");
    list.SetValues("Width", "5");
    EXPECT_EQ(list[1], "Top=25");
    EXPECT_EQ(list[4], "Width=5");
    list.SetValues("Left", "");
    EXPECT_EQ(list.IndexOfName("left"), -1);
    EXPECT_EQ(list.Count(), 4);
}

TEST(StringListTest, IndexErrorsAndMoves)
{
    TStringList list;
    list.SetCommaText("a,b,c,d");
    try {
        list.Get(4);
        ADD_FAILURE();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (4)");
    }
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Insert(5, "x"), EListError);
    list.Insert(4, "e");
    list.Exchange(0, 4);
    EXPECT_EQ(list.CommaText(), "e,b,c,d,a");
    list.Move(0, 3);
    EXPECT_EQ(list.CommaText(), "b,c,d,e,a");
    EXPECT_EQ(list.IndexOf("D"), 2);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("D"), -1);
}

TEST(StringListTest, SortedListsFindAndControlDuplicates)
{
    TStringList list;
    list.SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig", "apple"})
        list.Add(s);
    EXPECT_EQ(Lines(list), (V{"Apple", "fig", "pear"}));   // dupIgnore, without case
    int index = -1;
    EXPECT_TRUE(list.Find("FIG", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find("grape", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.Add("apple"), 0);
    EXPECT_EQ(list.IndexOf("PEAR"), 2);

    list.SetDuplicates(TDuplicates::dupError);
    try {
        list.Add("Fig");
        ADD_FAILURE();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "String list does not allow duplicates");
    }
    list.SetDuplicates(TDuplicates::dupAccept);
    list.Add("fig");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_THROW(list.Insert(0, "z"), EListError);
    EXPECT_THROW(list.Put(0, "z"), EListError);

    // Changing the case rule re-sorts, so that Find keeps finding.
    TStringList cs;
    cs.SetSorted(true);
    for (const char* s : {"b", "B", "a", "C"})
        cs.Add(s);
    cs.SetDuplicates(TDuplicates::dupAccept);
    cs.SetCaseSensitive(true);
    for (int i = 0; i + 1 < cs.Count(); ++i)
        EXPECT_LE(cs[i], cs[i + 1]);
    EXPECT_TRUE(cs.Find("a", index));
    EXPECT_EQ(cs[index], "a");
}

TEST(StringListTest, CustomSortAndUnsortedSort)
{
    TStringList list;
    list.SetCommaText("ccc,a,bb,dddd,a");
    list.CustomSort([](TStringList* l, int i, int j) {
        return static_cast<int>((*l)[i].size()) - static_cast<int>((*l)[j].size());
    });
    EXPECT_EQ(list.CommaText(), "a,a,bb,ccc,dddd");
    // An inconsistent comparison must not run off the list.
    TStringList many;
    for (int i = 0; i < 200; ++i)
        many.Add(std::to_string(i));
    many.CustomSort([](TStringList*, int, int) { return -1; });
    EXPECT_EQ(many.Count(), 200);
}

TEST(StringListTest, ChangeEventsFollowUpdates)
{
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        ++changing;
    };
    list.OnChange = [&](TObject*) { ++changed; };
    list.Add("a");
    list.Add("b");
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("c");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changed, 2);
    list.EndUpdate();
    EXPECT_EQ(changing, 3);
    EXPECT_EQ(changed, 3);
    list.SetText("x\ny\nz");   // one change for the whole text
    EXPECT_EQ(changed, 4);
    list.EndUpdate();   // unbalanced: ignored
    EXPECT_EQ(list.UpdateCount(), 0);
}

struct TCounted : TObject {
    explicit TCounted(int* c) : Count(c) {}
    ~TCounted() override { ++*Count; }
    int* Count;
};

TEST(StringListTest, ObjectsAndOwnership)
{
    int freed = 0;
    {
        TStringList list;
        list.SetOwnsObjects(true);
        TCounted* first = new TCounted(&freed);
        list.AddObject("one", first);
        list.AddObject("two", new TCounted(&freed));
        list.AddObject("three", new TCounted(&freed));
        EXPECT_EQ(list.IndexOfObject(first), 0);
        list.Delete(0);
        EXPECT_EQ(freed, 1);
        TStringList copy;
        copy.Assign(&list);   // a copy shares the objects but does not own them
        EXPECT_EQ(copy.GetObject(1), list.GetObject(1));
    }
    EXPECT_EQ(freed, 3);

    TStringList plain;
    TCounted kept(&freed);
    plain.AddObject("k", &kept);
    plain.Clear();
    EXPECT_EQ(freed, 3);

    // In a sorted list an ignored duplicate keeps its first object.
    TStringList sorted;
    sorted.SetSorted(true);
    TCounted o1(&freed), o2(&freed);
    sorted.AddObject("k", &o1);
    sorted.AddObject("K", &o2);
    EXPECT_EQ(sorted.GetObject(0), &o1);
}

TEST(StringListTest, FilesRoundTripAndReportFailures)
{
    std::string dir = testsupport::TempDir();
    TStringList list;
    list.SetText("T\tCp\n4.2\t0.001\n\xC3\xA9t\xC3\xA9");
    list.SaveToFile(dir + "/data.txt");
    TStringList back;
    back.LoadFromFile(dir + "/data.txt");
    EXPECT_EQ(Lines(back), Lines(list));

    {
        std::ofstream f(dir + "/bom.txt", std::ios::binary);
        f << "\xEF\xBB\xBFline1\nline2";
    }
    back.LoadFromFile(dir + "/bom.txt");
    EXPECT_EQ(Lines(back), (V{"line1", "line2"}));

    std::string missing = dir + "/missing.dat";
    try {
        back.LoadFromFile(missing);
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << e.Message();
    }
    EXPECT_EQ(Lines(back), (V{"line1", "line2"}));   // a failed load leaves the list alone
    std::string bad = dir + "/no/such/folder/out.txt";
    try {
        list.SaveToFile(bad);
        ADD_FAILURE();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file \"" + bad + "\". ", 0), 0u) << e.Message();
    }
    EXPECT_THROW(back.LoadFromFile(dir), EFOpenError);   // a folder is no file
}

} // namespace
