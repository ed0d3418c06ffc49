// The published properties of the editor's components that form layouts stream: the data
// grid, its navigator, the series list box and the preview panel.
#include "ChartGrid.h"
#include "ChartListBox.h"
#include "ChartPreview.h"

#include "PublishedProperties.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Written twice on purpose, here and in the components' information tables: layouts
// already written name these properties, so a table that loses, renames or re-defaults
// one fails here.
const std::map<std::string, std::vector<std::string>> Published = {
    {"TChartGrid", {"Chart", "Series", "ShowColors=False", "ShowLabels=True", "ShowXValues=cgsAuto"}},
    {"TChartGridNavigator", {"Locked=False", "Grid", "OnButtonClicked"}},
    {"TChartListBox", {"Chart", "CheckStyle=cbsCheck", "AllowAddSeries=True", "AllowDeleteSeries=True",
        "AskDelete=True", "EnableChangeColor=True", "EnableChangeType=True", "ShowActiveCheck=True",
        "ShowSeriesColor=True", "ShowSeriesIcon=True", "ShowSeriesTitle=True", "OnChangeActive", "OnChangeColor",
        "OnChangeOrder", "OnDblClickSeries", "OnOtherItemsChange", "OnRefresh", "OnRemovedSeries"}},
    {"TTeePreviewPanel", {"AllowMove=True", "AllowResize=True", "AsBitmap=False", "Margins",
        "Orientation=ppoDefault", "Panel", "PaperColor=0xFFFFFF", "PaperShadow", "ShowImage=True",
        "SmoothBitmap=True", "Title", "OnChangeMargins", "OnGetPaperRect"}},
};

TEST(EditorPropertyNames, EveryEditorComponentPublishesTheListedNamesAndDefaults)
{
    for (const TClassInfo* info : {TChartGrid::StaticClassInfo(), TChartGridNavigator::StaticClassInfo(),
                                   TChartListBox::StaticClassInfo(), TTeePreviewPanel::StaticClassInfo()}) {
        const auto it = Published.find(info->ClassName);
        ASSERT_NE(it, Published.end()) << info->ClassName;
        EXPECT_EQ(publishedprops::OwnEntries(info), it->second) << info->ClassName;
    }
}

} // namespace
