// The chart texts: assigned at start-up, built from the chart file extension, kept when
// start-up runs again, and released by the last finalisation.
#include "TeeConst.h"

#include "ChartStarted.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ChartTexts = testsupport::ChartStartedTest;

// Every text variable with its literal (null for the texts built from the extension).
std::vector<std::pair<const std::string*, const char*>> AllTexts()
{
    std::vector<std::pair<const std::string*, const char*>> all;
#define LITERAL_ENTRY(name, text) all.emplace_back(&name, text);
#define BUILT_ENTRY(name) all.emplace_back(&name, nullptr);
    TEE_CONST_LITERAL_TEXTS(LITERAL_ENTRY)
    TEE_CONST_BUILT_TEXTS(BUILT_ENTRY)
#undef LITERAL_ENTRY
#undef BUILT_ENTRY
    return all;
}

} // namespace

TEST_F(ChartTexts, EveryTextIsAssignedAtStartUp)
{
    const auto all = AllTexts();
    EXPECT_EQ(all.size(), 276u);
    for (const auto& [variable, literal] : all) {
        EXPECT_FALSE(variable->empty());
        if (literal) {
            EXPECT_EQ(*variable, literal);
        }
    }
    EXPECT_EQ(TeeMsg_GalleryHorizBar, "Horizontal\rBar");
    EXPECT_EQ(TeeMsg_DefLogLabelFormat, "#.0 \"x10\" E+0");
    // The texts built from the extension "tee".
    EXPECT_EQ(ChartFileFilter(), "(*.tee)|*.tee");
    EXPECT_EQ(TeeMsg_InvalidTeeFile, "Invalid Chart in *.tee file");
    EXPECT_EQ(TeeMsg_WrongTeeFileFormat, "Wrong *.tee file format");
    EXPECT_EQ(TeeMsg_EmptyTeeFile, "Empty *.tee file");
    EXPECT_EQ(TeeMsg_TeeFilesFilter, "RurEvido files (*.tee)|*.tee");
}

TEST_F(ChartTexts, OnlyTheFirstStartUpAssignsAndTheLastFinalisationReleases)
{
    // A translation replaced a text after start-up; running start-up again keeps it.
    TeeMsg_GalleryLine = "Linie";
    TeeConstInitialization();
    InitTeeConstStrings();
    TeeConstFinalization();   // nested: releases nothing
    EXPECT_EQ(TeeMsg_GalleryLine, "Linie");
    TeeConstFinalization();
    for (const auto& entry : AllTexts())
        EXPECT_TRUE(entry.first->empty());
    TeeConstFinalization();   // an unbalanced finalisation does no harm
    TeeConstInitialization();
    EXPECT_EQ(TeeMsg_GalleryLine, "Line");
    EXPECT_EQ(TeeMsg_EmptyTeeFile, "Empty *.tee file");
}
