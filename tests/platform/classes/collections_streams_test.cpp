// Pointer lists, collections and streams.
#include "classes/Classes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace {

TEST(ListTest, EditsAndErrors)
{
    int v[5] = {0, 1, 2, 3, 4};
    TList list;
    for (int& x : v)
        list.Add(&x);
    list.Insert(0, nullptr);
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(list.IndexOf(&v[2]), 3);
    EXPECT_EQ(list.Remove(&v[2]), 3);
    EXPECT_EQ(list.Remove(&v[2]), -1);
    list.Exchange(1, 4);
    list.Move(4, 1);
    EXPECT_EQ(list[1], &v[0]);
    EXPECT_EQ(list[2], &v[4]);
    EXPECT_EQ(list.Extract(&v[3]), &v[3]);
    list.Pack();
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.First(), &v[0]);
    EXPECT_EQ(list.Last(), &v[1]);
    try {
        list.Get(3);
        ADD_FAILURE();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (3)");
    }
    EXPECT_THROW(list.Insert(4, nullptr), EListError);
    EXPECT_THROW(list.Move(0, 3), EListError);
    list.SetCount(5);
    EXPECT_EQ(list[4], nullptr);
    list.Clear();
    EXPECT_THROW(list.First(), EListError);
}

TEST(ListTest, SortAndOwnershipHook)
{
    std::vector<int> values = {5, 3, 9, 1, 3, 7, 0, 8};
    TList list;
    for (int& x : values)
        list.Add(&x);
    list.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
    for (int i = 0; i + 1 < list.Count(); ++i)
        EXPECT_LE(*static_cast<int*>(list[i]), *static_cast<int*>(list[i + 1]));
    list.Sort([](void*, void*) { return 1; });   // inconsistent: stays within the list
    EXPECT_EQ(list.Count(), 8);

    // A descendant that owns its items frees them through Notify.
    struct TOwningList : TList {
        ~TOwningList() override { Clear(); }
        void Notify(void* p, TListNotification a) override
        {
            if (a == TListNotification::lnDeleted)
                delete static_cast<int*>(p);
        }
    };
    TOwningList owning;
    owning.Add(new int(1));
    owning.Add(new int(2));
    int* kept = static_cast<int*>(owning.Extract(owning[0]));
    delete kept;
    owning.Add(new int(3));   // the rest are freed with the list (the leak checker watches)
}

class TItem : public TCollectionItem {
public:
    explicit TItem(TCollection* c) : TCollectionItem(c) {}
    int Value = 0;
    void Assign(TPersistent* Source) override
    {
        if (auto* s = dynamic_cast<TItem*>(Source)) {
            Value = s->Value;
            return;
        }
        TCollectionItem::Assign(Source);
    }
    void Touch() { Changed(false); }
};

class TRecordingCollection : public TCollection {
public:
    TRecordingCollection() : TCollection(CollectionItemClassOf<TItem>()) {}
    std::vector<TCollectionItem*> Updates;

protected:
    void Update(TCollectionItem* Item) override { Updates.push_back(Item); }
};

TEST(CollectionTest, ItemsIdsIndexesAndUpdates)
{
    TRecordingCollection coll;
    auto* a = static_cast<TItem*>(coll.Add());
    auto* b = static_cast<TItem*>(coll.Add());
    auto* c = static_cast<TItem*>(coll.Insert(0));
    EXPECT_EQ(coll.Count(), 3);
    EXPECT_EQ(c->Index(), 0);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(std::vector<int>({a->ID(), b->ID(), c->ID()}), std::vector<int>({0, 1, 2}));
    coll.Delete(2);   // b
    auto* d = coll.Add();
    EXPECT_EQ(d->ID(), 3);   // identifiers are never reused
    EXPECT_EQ(coll.FindItemID(1), nullptr);
    EXPECT_EQ(coll.FindItemID(0), a);
    EXPECT_THROW(coll.Items(3), EListError);

    coll.Updates.clear();
    a->Touch();
    EXPECT_EQ(coll.Updates, std::vector<TCollectionItem*>{a});
    coll.BeginUpdate();
    a->Touch();
    coll.Add();
    coll.EndUpdate();
    EXPECT_EQ(coll.Updates, (std::vector<TCollectionItem*>{a, nullptr}));

    delete c;   // an item removes itself
    EXPECT_EQ(coll.Count(), 3);
    EXPECT_EQ(a->Index(), 0);
    EXPECT_EQ(a->GetNamePath(), "TCollection[0]");
}

TEST(CollectionTest, AssignCopiesItems)
{
    TRecordingCollection src, dst;
    for (int v : {4, 5, 6})
        static_cast<TItem*>(src.Add())->Value = v;
    dst.Add();
    dst.Assign(&src);
    ASSERT_EQ(dst.Count(), 3);
    EXPECT_EQ(static_cast<TItem*>(dst.Items(2))->Value, 6);
    EXPECT_NE(dst.Items(0), src.Items(0));
    TStringList notACollection;
    EXPECT_THROW(dst.Assign(&notACollection), EConvertError);
    // An item can be moved to another collection, which then owns it.
    TCollectionItem* moved = src.Items(0);
    moved->SetCollection(&dst);
    EXPECT_EQ(src.Count(), 2);
    EXPECT_EQ(dst.Count(), 4);
}

TEST(StreamTest, MemoryStreamReadsWritesAndSeeks)
{
    TMemoryStream ms;
    ms.WriteBuffer("abcdef", 6);
    EXPECT_EQ(ms.Size(), 6);
    EXPECT_EQ(ms.Position(), 6);
    ms.SetPosition(2);
    char buf[8] = {};
    EXPECT_EQ(ms.Read(buf, 10), 4);
    EXPECT_STREQ(buf, "cdef");
    EXPECT_EQ(ms.Seek(-3, TSeekOrigin::soEnd), 3);
    ms.WriteBuffer("XY", 2);
    EXPECT_EQ(std::string(ms.Memory(), 6), "abcXYf");
    ms.SetPosition(5);
    try {
        ms.ReadBuffer(buf, 2);
        ADD_FAILURE();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    EXPECT_THROW(ms.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
    ms.SetPosition(8);   // beyond the end: writing fills the gap with zeros
    ms.WriteBuffer("!", 1);
    EXPECT_EQ(ms.Size(), 9);
    EXPECT_EQ(ms.Memory()[6], '\0');
    ms.SetSize(3);
    EXPECT_EQ(ms.Position(), 3);
    // Growing again, by size or by a gap, gives zeros where "XYf" and "!" were.
    ms.SetSize(9);
    EXPECT_EQ(std::string(ms.Memory(), 9), std::string("abc\0\0\0\0\0\0", 9));
    ms.SetSize(3);
    ms.SetPosition(8);
    ms.WriteBuffer("?", 1);
    EXPECT_EQ(std::string(ms.Memory(), 9), std::string("abc\0\0\0\0\0?", 9));
    ms.Clear();
    EXPECT_EQ(ms.Size(), 0);
}

std::string ReadWhole(const std::string& File)
{
    std::ifstream in(File, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> FolderNames(const std::string& Folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Lines(const std::string& Text)
{
    std::vector<std::string> lines;
    std::istringstream in(Text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(StreamTest, FileStreamModesAndErrors)
{
    std::string dir = testsupport::TempDir();
    std::string name = dir + "/s.bin";
    {
        TFileStream out(name, fmCreate);
        out.WriteBuffer("hello world", 11);
        out.SetSize(5);
        EXPECT_EQ(out.Size(), 5);
    }
    {
        TFileStream in(name, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(in.Size(), 5);
        char buf[6] = {};
        in.ReadBuffer(buf, 5);
        EXPECT_STREQ(buf, "hello");
        EXPECT_THROW(in.WriteBuffer("x", 1), EWriteError);   // opened for reading only
    }
    {
        TFileStream rw(name, fmOpenReadWrite);
        rw.Seek(0, TSeekOrigin::soEnd);
        rw.WriteBuffer("!", 1);
    }
    TMemoryStream ms;
    ms.LoadFromFile(name);
    EXPECT_EQ(std::string(ms.Memory(), static_cast<size_t>(ms.Size())), "hello!");

    try {
        TFileStream missing(dir + "/none.bin", fmOpenRead);
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot open file \"" + dir + "/none.bin\". ", 0), 0u) << e.Message();
    }
    try {
        TFileStream bad(dir + "/no/dir.bin", fmCreate);
        ADD_FAILURE();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file \"" + dir + "/no/dir.bin\". ", 0), 0u) << e.Message();
    }
    // A write the system refuses names the file and the system's reason (a full disk).
    try {
        TFileStream full("/dev/full", fmOpenWrite);
        full.WriteBuffer("x", 1);
        ADD_FAILURE();
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Cannot write file \"/dev/full\". " + SysErrorMessage(ENOSPC));
    }
}

TEST(StreamTest, WriteFileReplacingTakesNamesUpToTheLimit)
{
    // Names of 255 bytes, the most a name may have: the temporary file's name must fit
    // too, and must not be the file itself (a name that ends like the temporary ones).
    const std::string dir = testsupport::TempDir() + "/replacing long names";
    std::filesystem::create_directories(dir);
    std::string cyrillic;
    for (int i = 0; i < 125; ++i)
        cyrillic += "\xD0\xB6";
    for (const std::string& file : {dir + "/" + std::string(255, 'x'), dir + "/" + cyrillic + ".bmp",
                                    dir + "/" + std::string(250, 'p') + ".part"}) {
        for (const char* text : {"first", "secnd"}) {
            ASSERT_NO_THROW(WriteFileReplacing(file, [&](TStream* s) { s->WriteBuffer(text, 5); })) << file;
            TMemoryStream ms;
            ms.LoadFromFile(file);
            EXPECT_EQ(std::string(ms.Memory(), static_cast<size_t>(ms.Size())), text) << file;
        }
        // A write that fails leaves the earlier file as it was.
        EXPECT_THROW(WriteFileReplacing(file, [](TStream* s) {
                         s->WriteBuffer("half", 4);
                         throw EWriteError("Stream write error");
                     }),
                     EWriteError);
        TMemoryStream ms;
        ASSERT_NO_THROW(ms.LoadFromFile(file)) << file;
        EXPECT_EQ(std::string(ms.Memory(), static_cast<size_t>(ms.Size())), "secnd") << file;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 3);
}

// Two programs save one file over and over while this one reads it: both saves succeed
// every time, and every copy read is the whole file of one of them.
TEST(StreamTest, WriteFileReplacingInTwoProcessesAtOnceKeepsTheFileWhole)
{
    const std::vector<std::string> role = Lines(testsupport::ChildRole());
    if (!role.empty()) {
        const std::string text(std::stoul(role[2]), role[1][0]);
        for (int i = 0; i < 150; ++i) {
            try {
                WriteFileReplacing(role[0], [&](TStream* s) { s->WriteBuffer(text.data(), int64_t(text.size())); });
            } catch (const Exception& e) {
                std::fprintf(stderr, "save %d: %s\n", i, e.Message().c_str());
                testsupport::EndChild(1);
            }
        }
        testsupport::EndChild(0);
    }
    const std::string dir = testsupport::TempDir();
    const std::string file = dir + "/shared.tee";
    const std::vector<std::string> whole = {std::string(70000, 'c'), std::string(90000, 'a'), std::string(110000, 'b')};
    std::ofstream(file, std::ios::binary) << whole[0];
    const int first = testsupport::StartChild(file + "\na\n90000");
    const int second = testsupport::StartChild(file + "\nb\n110000");
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    int copies = 0, broken = 0;
    while (testsupport::ChildRunning(first) || testsupport::ChildRunning(second)) {
        const std::string copy = ReadWhole(file);
        ++copies;
        if (std::find(whole.begin(), whole.end(), copy) == whole.end())
            ++broken;
    }
    EXPECT_EQ(testsupport::WaitChild(first), 0);
    EXPECT_EQ(testsupport::WaitChild(second), 0);
    EXPECT_GT(copies, 0);
    EXPECT_EQ(broken, 0) << "of " << copies;
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"shared.tee"});
}

TEST(StreamTest, WriteFileReplacingWritesThroughLinksAndKeepsThem)
{
    namespace fs = std::filesystem;
    const std::string dir = testsupport::TempDir();
    fs::create_directory(dir + "/real");
    std::ofstream(dir + "/real/data.tee") << "earlier";
    fs::permissions(dir + "/real/data.tee", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A chain: an absolute link to a relative one into another folder.
    fs::create_symlink("real/data.tee", dir + "/relative.tee");
    fs::create_symlink(dir + "/relative.tee", dir + "/absolute.tee");
    WriteFileReplacing(dir + "/absolute.tee", [](TStream* s) { s->WriteBuffer("newer", 5); });
    EXPECT_TRUE(fs::is_symlink(dir + "/absolute.tee"));
    EXPECT_TRUE(fs::is_symlink(dir + "/relative.tee"));
    EXPECT_EQ(fs::read_symlink(dir + "/relative.tee"), "real/data.tee");
    EXPECT_EQ(ReadWhole(dir + "/real/data.tee"), "newer");
    EXPECT_EQ(fs::status(dir + "/real/data.tee").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(FolderNames(dir + "/real"), std::vector<std::string>{"data.tee"});
    // A link to no file yet makes the file it names.
    fs::create_symlink("real/new.tee", dir + "/dangling.tee");
    WriteFileReplacing(dir + "/dangling.tee", [](TStream* s) { s->WriteBuffer("made", 4); });
    EXPECT_TRUE(fs::is_symlink(dir + "/dangling.tee"));
    EXPECT_EQ(ReadWhole(dir + "/real/new.tee"), "made");
    // A loop of links is refused by its name.
    fs::create_symlink(dir + "/loop2", dir + "/loop1");
    fs::create_symlink(dir + "/loop1", dir + "/loop2");
    try {
        WriteFileReplacing(dir + "/loop1", [](TStream* s) { s->WriteBuffer("x", 1); });
        ADD_FAILURE();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + dir + "/loop1\". " + SysErrorMessage(ELOOP));
    }
}

// A save the system stops (here at the process's file size limit, as a full disk would)
// names the file and the system's reason, and leaves the earlier file and nothing else.
TEST(StreamTest, WriteFileReplacingStoppedByTheSystemLeavesNothing)
{
    const std::string dir = testsupport::TempDir();
    const std::string file = dir + "/limited.tee";
    std::ofstream(file) << "earlier";
    std::string message;
    {
        testsupport::TFileSizeLimit limit(1000);
        const std::string text(4000, 'n');
        try {
            WriteFileReplacing(file, [&](TStream* s) { s->WriteBuffer(text.data(), int64_t(text.size())); });
        } catch (const EWriteError& e) {
            message = e.Message();
        }
    }
    EXPECT_EQ(message, "Cannot write file \"" + file + "\". " + SysErrorMessage(EFBIG));
    EXPECT_EQ(ReadWhole(file), "earlier");
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"limited.tee"});
}

// A writable file in a folder that cannot be written: the message names the folder. The
// save runs in a child process, as another user when this one may write anywhere.
TEST(StreamTest, WriteFileReplacingInAFolderNotWritableSaysSo)
{
    namespace fs = std::filesystem;
    const std::vector<std::string> role = Lines(testsupport::ChildRole());
    if (!role.empty()) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            testsupport::EndChild(2);
        std::string message = "saved";
        try {
            WriteFileReplacing(role[0], [](TStream* s) { s->WriteBuffer("newer", 5); });
        } catch (const Exception& e) {
            message = e.Message();
        }
        std::ofstream(role[1]) << message;
        testsupport::EndChild(0);
    }
    const std::string dir = testsupport::TempDir();
    fs::permissions(dir, fs::perms::all & ~fs::perms::others_write & ~fs::perms::group_write);
    const std::string folder = dir + "/shut";
    const std::string file = folder + "/kept.tee";
    const std::string result = dir + "/result";
    fs::create_directory(folder);
    std::ofstream(file) << "earlier";
    std::ofstream(result) << "";
    fs::permissions(file, fs::perms::all & ~fs::perms::others_exec & ~fs::perms::group_exec & ~fs::perms::owner_exec);
    fs::permissions(result, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_write |
                                fs::perms::others_read);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    EXPECT_EQ(testsupport::WaitChild(testsupport::StartChild(file + "\n" + result)), 0);
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(ReadWhole(result),
              "Cannot create file \"" + file + "\". The folder \"" + folder + "\" is not writable (" +
                  SysErrorMessage(EACCES) + ")");
    EXPECT_EQ(ReadWhole(file), "earlier");
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"kept.tee"});
}

// Temporaries that a killed save left beside a file go with its next save; those of a save
// still going on, and files that only look alike, stay.
TEST(StreamTest, WriteFileReplacingRemovesTemporariesLeftBeside)
{
    const std::string dir = testsupport::TempDir();
    const std::string file = dir + "/t.tee";
    const std::vector<std::string> left = {"t.tee.~abc12345.part", "t.tee.~zz9zz9zz.part"};
    const std::vector<std::string> alike = {"t.tee",           "t.tee.~ABC12345.part", "t.tee.~abc1234.part",
                                            "t.tee.~abc123456.part", "t.tee.~abc12345.parts", "u.tee.~abc12345.part",
                                            "t.tee.~abc-2345.part", "t.tee.abc12345.part", "t.tee~abc12345.part"};
    for (const auto& names : {left, alike})
        for (const std::string& name : names)
            std::ofstream(dir + "/" + name) << name;
    // A save going on holds its temporary.
    const std::string going = dir + "/t.tee.~going123.part";
    std::ofstream(going) << "going";
    const int held = ::open(going.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    WriteFileReplacing(file, [](TStream* s) { s->WriteBuffer("newer", 5); });
    std::vector<std::string> expected = alike;
    expected.push_back("t.tee.~going123.part");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderNames(dir), expected);
    ::close(held);
    WriteFileReplacing(file, [](TStream* s) { s->WriteBuffer("newest", 6); });
    expected.erase(std::find(expected.begin(), expected.end(), "t.tee.~going123.part"));
    EXPECT_EQ(FolderNames(dir), expected);
    EXPECT_EQ(ReadWhole(file), "newest");
}

TEST(StreamTest, CopyFromAndStringStreams)
{
    TStringStream src("0123456789");
    src.SetPosition(4);
    TMemoryStream dst;
    EXPECT_EQ(dst.CopyFrom(&src, 3), 3);
    EXPECT_EQ(std::string(dst.Memory(), 3), "456");
    EXPECT_EQ(dst.CopyFrom(&src, 0), 10);   // 0: the whole source from its start
    EXPECT_EQ(dst.Size(), 13);
    src.SetPosition(8);
    EXPECT_THROW(dst.CopyFrom(&src, 5), EReadError);

    TStringStream s;
    s.WriteString("abc");
    s.WriteString("de");
    EXPECT_EQ(s.DataString(), "abcde");
    s.SetPosition(1);
    EXPECT_EQ(s.ReadString(2), "bc");
    EXPECT_EQ(s.ReadString(10), "de");
    EXPECT_EQ(s.ReadString(1), "");

    TStringList list;
    TStringStream text("x\r\ny");
    list.LoadFromStream(&text);
    EXPECT_EQ(list.Count(), 2);
    TStringStream out;
    list.SaveToStream(&out);
    EXPECT_EQ(out.DataString(), "x\r\ny\r\n");
}

} // namespace
