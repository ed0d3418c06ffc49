// Charts in component streams and chart files: every streamed class keeps all its
// published properties through Assign and a stream round trip; a whole chart survives a
// chart file; the file writer's own rules.
#include "Chart.h"
#include "Series.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "TeeStore.h"
#include "classes/Streaming.h"
#include "graphics/TextMeasure.h"

#include "TestSupport.h"
#include "property_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

struct ChartStream : ::testing::Test {
    void SetUp() override
    {
        TeeConstInitialization();
        TeEngineInitialization();
        TeeStoreInitialization();
        RegisterClasses({TChart::StaticClassInfo(), TLineSeries::StaticClassInfo(),
                         THorizLineSeries::StaticClassInfo(), TPointSeries::StaticClassInfo(),
                         TAreaSeries::StaticClassInfo(), THorizAreaSeries::StaticClassInfo(),
                         TFastLineSeries::StaticClassInfo(), TTeeFunction::StaticClassInfo(),
                         TTeeMovingFunction::StaticClassInfo(), TTeeSeriesSource::StaticClassInfo(),
                         TTeeCustomToolSeries::StaticClassInfo(), TTeeCustomToolAxis::StaticClassInfo()});
    }
    void TearDown() override
    {
        TeeStoreFinalization();
        TeEngineFinalization();
        TeeConstFinalization();
    }
};

TEST_F(ChartStream, EveryClassKeepsEveryPropertyThroughAssignAndStream)
{
    int tested = 0;
    for (const TClassInfo* info : RegisteredClasses()) {
        // The bare component has nothing to copy.
        if (!info->CreateComponent || info == TComponent::StaticClassInfo())
            continue;
        SCOPED_TRACE(info->ClassName);
        std::unique_ptr<TComponent> original(info->CreateComponent(nullptr));
        const std::vector<std::string> defaults = propwalk::Dump(original.get());
        propwalk::Change(original.get());
        const std::vector<std::string> changed = propwalk::Dump(original.get());
        // Every class but the bare component has something to change.
        size_t differing = 0;
        for (size_t i = 0; i < std::min(defaults.size(), changed.size()); ++i)
            differing += defaults[i] != changed[i];
        EXPECT_GT(differing, 0u);

        std::unique_ptr<TComponent> copy(info->CreateComponent(nullptr));
        copy->Assign(original.get());
        // Assign copies a control's look; its place and size stay its own.
        const std::vector<std::string> place = {"Left", "Top", "Width", "Height"};
        const bool control = dynamic_cast<TControl*>(original.get()) != nullptr;
        auto look = [&](const std::vector<std::string>& v) { return control ? propwalk::Without(v, place) : v; };
        EXPECT_EQ(propwalk::Differences(look(propwalk::Dump(copy.get())), look(changed)), "") << "Assign";

        TMemoryStream stream;
        WriteComponent(&stream, original.get());
        stream.SetPosition(0);
        std::unique_ptr<TComponent> read(info->CreateComponent(nullptr));
        ReadComponent(&stream, read.get());
        // What the stream carries: every property that is stored.
        EXPECT_EQ(propwalk::Differences(propwalk::Dump(read.get(), true), propwalk::Dump(original.get(), true)), "")
            << "stream";
        ++tested;
    }
    EXPECT_GE(tested, 15);
}

} // namespace
