// Chart editor options in the registry.
#include "RizUridu/Helpers.h"

#include "controls/Registry.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class EditorOptions : public ::testing::Test {
protected:
    void SetUp() override { SetRegistryFileName(testsupport::TempDir() + "/registry.ini"); }
    void TearDown() override { SetRegistryFileName(""); }
};

} // namespace

TEST_F(EditorOptions, NeverWrittenOptionsAnswerTheDefault)
{
    EXPECT_TRUE(ReadEditorBool("RememberSize", true));
    EXPECT_FALSE(ReadEditorBool("TreeMode", false));
    EXPECT_EQ(ReadEditorInteger("GalleryMode", 3), 3);
    WriteEditorBool("SmoothGallery", true);   // the key exists now, the value does not
    EXPECT_EQ(ReadEditorInteger("GalleryMode", 7), 7);
}

TEST_F(EditorOptions, WrittenOptionsAreReadBackUnderTheEditorKey)
{
    WriteEditorBool("SmoothGallery", true);
    EXPECT_TRUE(ReadEditorBool("SmoothGallery", false));
    WriteEditorBool("SmoothGallery", false);
    EXPECT_FALSE(ReadEditorBool("SmoothGallery", true));
    TRegistry r;
    ASSERT_TRUE(r.OpenKey("SOFTWARE\\Korvan Software\\RurEvido Pro\\Editor", false));
    EXPECT_FALSE(r.ReadBool("SmoothGallery"));
    r.WriteInteger("GalleryMode", 2);
    EXPECT_EQ(ReadEditorInteger("GalleryMode", 0), 2);
}

TEST_F(EditorOptions, WrongTypedOptionIsTreatedAsMissing)
{
    TRegistry r;
    ASSERT_TRUE(r.OpenKey(TeeEditorRegistryKey, true));
    r.WriteString("RememberPosition", "yes");
    r.WriteString("GalleryMode", "2");
    EXPECT_TRUE(ReadEditorBool("RememberPosition", true));
    EXPECT_FALSE(ReadEditorBool("RememberPosition", false));
    EXPECT_EQ(ReadEditorInteger("GalleryMode", 5), 5);
}
