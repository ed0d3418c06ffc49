// The registry over a private settings file: keys, typed values, type errors, read-only
// keys and root keys.
#include "controls/Registry.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override { SetRegistryFileName(testsupport::TempDir() + "/registry.ini"); }
    void TearDown() override { SetRegistryFileName(""); }
};

const char* const Key = "SOFTWARE\\Maker\\Product";

} // namespace

TEST_F(RegistryStore, KeysOpenOnlyWhenTheyExistOrMayBeCreated)
{
    TRegistry r;
    EXPECT_FALSE(r.OpenKey(Key, false));
    EXPECT_FALSE(r.OpenKeyReadOnly(Key));
    EXPECT_TRUE(r.OpenKey(Key, true));
    EXPECT_EQ(r.CurrentPath(), Key);
    r.CloseKey();
    EXPECT_TRUE(r.KeyExists("software\\maker"));   // names ignore case
    // Relative keys open below the open key, absolute ones from the root.
    EXPECT_TRUE(r.OpenKey("SOFTWARE", false));
    EXPECT_TRUE(r.OpenKey("Maker", false));
    EXPECT_EQ(r.CurrentPath(), "SOFTWARE\\Maker");
    EXPECT_TRUE(r.OpenKey("\\SOFTWARE\\Maker\\Product", false));
    EXPECT_EQ(r.CurrentPath(), Key);
}

TEST_F(RegistryStore, ValuesKeepTheirTypeAcrossObjects)
{
    {
        TRegistry w;
        ASSERT_TRUE(w.OpenKey(Key, true));
        w.WriteBool("Flag", true);
        w.WriteInteger("Count", -42);
        w.WriteString("Text", "a=b; c\\d \xC3\xBC");
    }
    TRegistry r;
    ASSERT_TRUE(r.OpenKeyReadOnly(Key));
    EXPECT_TRUE(r.ValueExists("flag"));
    EXPECT_FALSE(r.ValueExists("Missing"));
    EXPECT_TRUE(r.ReadBool("Flag"));
    EXPECT_EQ(r.ReadInteger("Flag"), 1);   // a Boolean is stored as an integer
    EXPECT_EQ(r.ReadInteger("Count"), -42);
    EXPECT_EQ(r.ReadString("Text"), "a=b; c\\d \xC3\xBC");
    // The other root key holds none of it.
    r.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(r.KeyExists(Key));
}

TEST_F(RegistryStore, WrongTypesMissingValuesAndReadOnlyKeysRaise)
{
    TRegistry r;
    ASSERT_TRUE(r.OpenKey(Key, true));
    r.WriteString("Text", "12");
    r.WriteInteger("Count", 12);
    try {
        r.ReadInteger("Text");
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Invalid data type for 'Text'");
    }
    EXPECT_THROW(r.ReadBool("Text"), ERegistryException);
    EXPECT_THROW(r.ReadString("Count"), ERegistryException);
    EXPECT_THROW(r.ReadInteger("Missing"), ERegistryException);
    r.CloseKey();
    ASSERT_TRUE(r.OpenKeyReadOnly(Key));
    EXPECT_THROW(r.WriteInteger("Count", 2), ERegistryException);
    EXPECT_EQ(r.ReadInteger("Count"), 12);
}
