// Copying published properties through a class's table: the whole table
// (AssignProperties) and one class's own part of it (AssignOwnProperties).
#include "classes/TypInfo.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A sub-object that copies itself through its table.
class TPlateFont : public TPersistent {
public:
    DECLARE_CLASS_INFO(TPlateFont)
    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }
    void Assign(TPersistent* Source) override
    {
        if (auto* f = dynamic_cast<TPlateFont*>(Source))
            AssignProperties(this, f);
        else
            TPersistent::Assign(Source);
    }

private:
    int FSize = 8;
};

// A base with two properties and a descendant that restates one of them with a new
// default, adds its own, an alias of its own that is never stored, a read-only value
// and an event. Every setter call is logged, so that a test sees what was copied.
class TPlate : public TPersistent {
public:
    DECLARE_CLASS_INFO(TPlate)
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; Log.push_back("Width"); }
    std::string Label() const { return FLabel; }
    void SetLabel(const std::string& v) { FLabel = v; Log.push_back("Label"); }

    std::vector<std::string> Log;

private:
    int FWidth = 1;
    std::string FLabel;
};

class TFramedPlate : public TPlate {
public:
    DECLARE_CLASS_INFO(TFramedPlate)
    double Depth() const { return FDepth; }
    void SetDepth(double v) { FDepth = v; Log.push_back("Depth"); }
    TPlateFont* Font() const { return FFont.get(); }
    int Serial() const { return FSerial; }

    std::unique_ptr<TPlateFont> FFont = std::make_unique<TPlateFont>();
    int FSerial = 0;

private:
    double FDepth = 0;
};

} // namespace

BEGIN_CLASS_INFO(TPlateFont, TPersistent)
    .Int("Size", &TPlateFont::Size, &TPlateFont::SetSize).Default(8)
END_CLASS_INFO

BEGIN_CLASS_INFO(TPlate, TPersistent)
    .Int("Width", &TPlate::Width, &TPlate::SetWidth).Default(1)
    .Str("Label", &TPlate::Label, &TPlate::SetLabel)
END_CLASS_INFO

BEGIN_CLASS_INFO(TFramedPlate, TPlate)
    .Int("Width", &TPlate::Width, &TPlate::SetWidth).Default(2)
    .Float("Depth", &TFramedPlate::Depth, &TFramedPlate::SetDepth)
    .Float("Thickness", &TFramedPlate::Depth, &TFramedPlate::SetDepth).Stored(false)
    .Object("Font", &TFramedPlate::Font)
    .Int("Serial", &TFramedPlate::Serial)
    .Event("OnPaint")
END_CLASS_INFO

namespace {

struct AssignThroughTable : ::testing::Test {
    void SetUp() override
    {
        source.SetWidth(7);
        source.SetLabel("top");
        source.SetDepth(2.5);
        source.Font()->SetSize(13);
        source.FSerial = 9;
    }
    TFramedPlate source, dest;
};

TEST_F(AssignThroughTable, OwnPropertiesAreTheClassesOwnInTableOrder)
{
    AssignOwnProperties(&dest, &source, TFramedPlate::StaticClassInfo());
    // The restated Width is the parent's to copy, the alias is passed over, the
    // read-only Serial and the event are left alone, the sub-object is assigned.
    EXPECT_EQ(dest.Log, std::vector<std::string>({"Depth"}));
    EXPECT_EQ(dest.Width(), 1);
    EXPECT_EQ(dest.Label(), "");
    EXPECT_DOUBLE_EQ(dest.Depth(), 2.5);
    EXPECT_EQ(dest.Font()->Size(), 13);
    EXPECT_NE(dest.Font(), source.Font());
    EXPECT_EQ(dest.Serial(), 0);
}

TEST_F(AssignThroughTable, TheParentTableCopiesTheRestatedProperty)
{
    AssignOwnProperties(&dest, &source, TPlate::StaticClassInfo());
    EXPECT_EQ(dest.Log, std::vector<std::string>({"Width", "Label"}));
    EXPECT_EQ(dest.Width(), 7);
    EXPECT_EQ(dest.Label(), "top");
    EXPECT_DOUBLE_EQ(dest.Depth(), 0);
    EXPECT_EQ(dest.Font()->Size(), 8);
}

TEST_F(AssignThroughTable, TheWholeTableCopiesEveryWritableEntry)
{
    AssignProperties(&dest, &source);
    EXPECT_EQ(dest.Log, std::vector<std::string>({"Width", "Label", "Depth", "Depth"}));
    EXPECT_EQ(dest.Width(), 7);
    EXPECT_EQ(dest.Font()->Size(), 13);
    EXPECT_EQ(dest.Serial(), 0);
}

} // namespace
