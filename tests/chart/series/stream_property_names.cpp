// The published properties of every streamed class by name and default: chart files and
// form layouts already written name them, so a table that loses, renames, reorders or
// re-defaults a property changes the file format.
#include "ArrowCha.h"
#include "BubbleCh.h"
#include "Chart.h"
#include "GanttCh.h"
#include "Series.h"
#include "ShapeSeries.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "TeeFunci.h"
#include "TeeStore.h"

#include "ChartStarted.h"
#include "PublishedProperties.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// Every class with a table that chart files or form layouts stream, sub-objects included.
std::vector<const TClassInfo*> StreamedClasses()
{
    return {
        // platform
        TPersistent::StaticClassInfo(), TComponent::StaticClassInfo(), TCollection::StaticClassInfo(),
        TCollectionItem::StaticClassInfo(), TStrings::StaticClassInfo(), TPen::StaticClassInfo(),
        TBrush::StaticClassInfo(), TFont::StaticClassInfo(), TPicture::StaticClassInfo(),
        // style objects
        TChartPen::StaticClassInfo(), TDottedGrayPen::StaticClassInfo(), TDarkGrayPen::StaticClassInfo(),
        TWhitePen::StaticClassInfo(), TChartBrush::StaticClassInfo(), TTeeShadow::StaticClassInfo(),
        TTeeGradient::StaticClassInfo(), TTeeFontGradient::StaticClassInfo(), TTeeFont::StaticClassInfo(),
        TView3DOptions::StaticClassInfo(),
        // shapes, panel and zoom
        TTeeCustomShapeBrushPen::StaticClassInfo(), TTeeCustomShape::StaticClassInfo(),
        TTeeCustomShapePosition::StaticClassInfo(), TTeeShape::StaticClassInfo(),
        TCustomTeePanel::StaticClassInfo(), TCustomTeePanelExtended::StaticClassInfo(),
        TTeeZoomBrush::StaticClassInfo(), TTeeZoomPen::StaticClassInfo(), TTeeZoom::StaticClassInfo(),
        // engine
        TCustomChartElement::StaticClassInfo(), TCustomChartSeries::StaticClassInfo(),
        TChartSeries::StaticClassInfo(), TChartValueList::StaticClassInfo(), TSeriesMarks::StaticClassInfo(),
        TSeriesMarksGradient::StaticClassInfo(), TMarksItem::StaticClassInfo(),
        TSeriesMarksSymbol::StaticClassInfo(), TSeriesPointer::StaticClassInfo(), TCallout::StaticClassInfo(),
        TMarksCallout::StaticClassInfo(), TTeeFunction::StaticClassInfo(), TTeeMovingFunction::StaticClassInfo(),
        TTeeCustomTool::StaticClassInfo(), TTeeCustomToolSeries::StaticClassInfo(),
        TTeeCustomToolAxis::StaticClassInfo(), TTeeSeriesSource::StaticClassInfo(),
        TSeriesGroup::StaticClassInfo(), TChartAxisPen::StaticClassInfo(), TAxisGridPen::StaticClassInfo(),
        TChartAxisTitle::StaticClassInfo(), TChartAxis::StaticClassInfo(), TChartDepthAxis::StaticClassInfo(),
        TChartCustomAxes::StaticClassInfo(), TCustomAxisPanel::StaticClassInfo(),
        // chart
        TCustomChartWall::StaticClassInfo(), TChartRightWall::StaticClassInfo(), TChartTitle::StaticClassInfo(),
        TChartLegendGradient::StaticClassInfo(), TLegendSymbol::StaticClassInfo(),
        TLegendTitle::StaticClassInfo(), TCustomChartLegend::StaticClassInfo(), TCustomChart::StaticClassInfo(),
        TChart::StaticClassInfo(), TChartChart::StaticClassInfo(), TODBCChart::StaticClassInfo(),
        // series
        TCustomLineSeries::StaticClassInfo(), TCustomSeries::StaticClassInfo(), TLineSeries::StaticClassInfo(),
        THorizLineSeries::StaticClassInfo(), TPointSeries::StaticClassInfo(), TAreaSeries::StaticClassInfo(),
        THorizAreaSeries::StaticClassInfo(), TBarSeriesGradient::StaticClassInfo(),
        TCustomBarSeries::StaticClassInfo(), TBarSeries::StaticClassInfo(), THorizBarSeries::StaticClassInfo(),
        TCircledSeries::StaticClassInfo(), TPieOtherSlice::StaticClassInfo(), TPieShadow::StaticClassInfo(),
        TPieSeries::StaticClassInfo(), TFastLineSeries::StaticClassInfo(), TChartShape::StaticClassInfo(),
        TGanttSeries::StaticClassInfo(), TArrowSeries::StaticClassInfo(), TBubbleSeries::StaticClassInfo(),
        // functions
        TAddTeeFunction::StaticClassInfo(), TManySeriesTeeFunction::StaticClassInfo(),
        TSubtractTeeFunction::StaticClassInfo(), TMultiplyTeeFunction::StaticClassInfo(),
        TDivideTeeFunction::StaticClassInfo(), THighTeeFunction::StaticClassInfo(),
        TLowTeeFunction::StaticClassInfo(), TAverageTeeFunction::StaticClassInfo(),
        TCustomTeeFunction::StaticClassInfo(), TCustomSortedFunction::StaticClassInfo(),
        TMedianTeeFunction::StaticClassInfo(), TModeTeeFunction::StaticClassInfo(),
    };
}

// Each streamed class's own published properties (those its parent's table lacks, or
// whose default it changes), in the order they are written. These names and defaults
// are written twice on purpose, here and in the classes' information tables: this list
// is the contract with the files already written, so a table that loses, renames,
// reorders or re-defaults a property fails here instead of changing the format unseen.
const std::map<std::string, std::vector<std::string>> Published = {
    {"TPersistent", {}},
    {"TComponent", {"Name", "Tag=0"}},
    {"TCollection", {}},
    {"TCollectionItem", {}},
    {"TStrings", {}},
    {"TPicture", {}},
    {"TPen", {"Color=clBlack", "Mode=pmCopy", "Style=psSolid", "Width=1"}},
    {"TBrush", {"Color=clWhite", "Style=bsSolid"}},
    {"TFont", {"Charset=1", "Color=clWindowText", "Height", "Name", "Orientation=0", "Pitch=fpDefault",
        "Quality=fqDefault", "Size", "Style=[]"}},
    {"TChartPen", {"EndStyle", "SmallDots=False", "SmallSpace=0", "Visible"}},
    {"TDottedGrayPen", {"Color=clGray", "Style=psDot"}},
    {"TDarkGrayPen", {"Color=clGray"}},
    {"TWhitePen", {"Color=clWhite"}},
    {"TChartBrush", {"Color=clDefault", "Image"}},
    {"TTeeShadow", {"Color", "HorizSize", "Smooth=True", "Transparency=0", "VertSize"}},
    {"TTeeGradient", {"Balance=50", "Direction=gdTopBottom", "EndColor=clYellow", "MidColor=clNone", "RadialX=0",
        "RadialY=0", "StartColor=clWhite", "Visible=False"}},
    {"TTeeFontGradient", {"Outline=False"}},
    {"TTeeFont", {"Color", "Style", "Gradient", "InterCharSize=0", "OutLine", "Shadow"}},
    {"TView3DOptions", {"Elevation=345", "FontZoom=100", "HorizOffset=0", "Orthogonal=True", "OrthoAngle=45",
        "Perspective=15", "Rotation=345", "Tilt=0", "VertOffset=0", "Zoom=100", "ZoomText=True"}},
    {"TTeeCustomShapeBrushPen", {"Brush", "Visible=True"}},
    {"TTeeCustomShape", {"Bevel=bvNone", "BevelWidth=2", "Color=clWhite", "Font", "Gradient", "Shadow",
        "ShapeStyle=fosRectangle", "TextFormat=ttfNormal", "Transparency=0", "Transparent"}},
    {"TTeeCustomShapePosition", {"CustomPosition", "Left", "Top"}},
    {"TTeeShape", {}},
    {"TCustomTeePanel", {"Left", "Top", "Width", "Height", "BevelInner=bvNone", "BevelOuter=bvRaised",
        "BevelWidth=1", "BorderWidth=0", "Locked=False", "Color=clBtnFace", "Border", "BorderRound=0",
        "MarginBottom=4", "MarginLeft=3", "MarginRight=3", "MarginTop=4", "MarginUnits=muPercent",
        "Monochrome=False", "PrintProportional=True", "Shadow", "View3D=True", "View3DOptions"}},
    {"TCustomTeePanelExtended", {"AllowPanning=pmBoth", "BackImage", "BackImageInside=False", "BackImageMode=pbmStretch",
        "BackImageTransp=False", "Gradient", "Zoom", "OnAfterDraw", "OnScroll", "OnUndoZoom", "OnZoom"}},
    {"TTeeZoomBrush", {"Color=clWhite", "Style"}},
    {"TTeeZoomPen", {"Color"}},
    {"TTeeZoom", {"Allow=True", "Animated=False", "AnimatedSteps=8", "Brush", "Direction=tzdBoth", "KeyShift=[]",
        "MinimumPixels=16", "MouseButton=mbLeft", "Pen", "UpLeftZooms=False"}},
    {"TCustomChartElement", {"Active=True", "Brush"}},
    {"TCustomChartSeries", {"ShowInLegend=True", "Title"}},
    {"TChartSeries", {"ColorEachPoint=False", "ColorSource", "Cursor=0", "DataSource", "Depth=-1",
        "HorizAxis=aBottomAxis", "Marks", "ParentChart", "PercentFormat=\"##0.## %\"", "SeriesColor",
        "ValueFormat=\"#,##0.###\"", "VertAxis=aLeftAxis", "XLabelsSource", "XValues", "YValues",
        "AfterDrawValues", "BeforeDrawValues", "OnAfterAdd", "OnBeforeAdd", "OnClearValues", "OnClick",
        "OnDblClick", "OnGetMarkText", "OnMouseEnter", "OnMouseLeave"}},
    // Order has no default: each series orders its lists its own way.
    {"TChartValueList", {"DateTime", "Name", "Order", "ValueSource"}},
    {"TSeriesMarks", {"Visible", "Color=clInfoBk", "Angle=0", "Arrow", "ArrowLength", "BackColor", "Callout",
        "Clip=False", "DrawEvery=1", "Frame", "MultiLine=False", "Style=smsLabel", "Symbol"}},
    {"TSeriesMarksGradient", {"Direction=gdRightLeft", "EndColor=clWhite", "StartColor=clSilver"}},
    {"TMarksItem", {"Color=clInfoBk", "Frame", "Text"}},
    {"TSeriesMarksSymbol", {"Visible=False", "Frame", "Pen"}},
    {"TSeriesPointer", {"Visible", "Dark3D=True", "Draw3D=True", "Gradient", "HorizSize=4", "InflateMargins",
        "Pen", "Style=psRectangle", "Transparency=0", "VertSize=4"}},
    {"TCallout", {"Draw3D=False", "Arrow", "ArrowHead=ahNone", "ArrowHeadSize=8", "Distance=0"}},
    {"TMarksCallout", {"Visible=False", "Length"}},
    {"TTeeFunction", {"Period=0", "PeriodAlign=paCenter", "PeriodStyle=psNumPoints"}},
    {"TTeeMovingFunction", {"Period=1"}},
    {"TTeeCustomTool", {}},
    {"TTeeCustomToolSeries", {"Series"}},
    {"TTeeCustomToolAxis", {}},
    {"TTeeSeriesSource", {"Active=False", "Series"}},
    {"TSeriesGroup", {"Name"}},
    {"TChartAxisPen", {"Width=2"}},
    {"TAxisGridPen", {"ZPosition"}},
    {"TChartAxisTitle", {"Angle", "Caption"}},
    {"TChartAxis", {"Automatic=True", "AutomaticMaximum=True", "AutomaticMinimum=True", "Axis", "AxisValuesFormat",
        "DateTimeFormat", "EndPosition", "ExactDateTime=True", "Grid", "GridCentered=False", "Horizontal",
        "Increment=0", "Inverted=False", "Labels=True", "LabelsAlign=alDefault", "LabelsAlternate=False",
        "LabelsAngle=0", "LabelsExponent=False", "LabelsFont", "LabelsMultiLine=False", "LabelsOnAxis=True",
        "LabelsSeparation=10", "LabelsSize=0", "LabelStyle=talAuto", "Logarithmic=False", "LogarithmicBase",
        "Maximum", "MaximumOffset=0", "Minimum", "MinimumOffset=0", "MinorGrid", "MinorTickCount=3",
        "MinorTickLength=2", "MinorTicks", "OtherSide", "PositionPercent", "PositionUnits=muPercent",
        "RoundFirstLabel=True", "StartPosition", "TickInnerLength=0", "TickLength=4", "TickOnLabelsOnly=True",
        "Ticks", "TicksInner", "Title", "TitleSize=0", "Visible=True", "ZPosition", "OnDrawLabel"}},
    {"TChartDepthAxis", {"Visible=False"}},
    {"TChartCustomAxes", {}},
    {"TCustomAxisPanel", {"AxisBehind=True", "AxisVisible=True", "BottomAxis", "Chart3DPercent=15",
        "ClipPoints=True", "CustomAxes", "DepthAxis", "DepthTopAxis", "LeftAxis", "MaxPointsPerPage=0", "Page=1",
        "RightAxis", "ScaleLastPage=True", "SeriesGroups", "TopAxis", "View3DWalls=True", "OnBeforeDrawAxes",
        "OnBeforeDrawChart",
        "OnBeforeDrawSeries", "OnGetAxisLabel", "OnGetNextAxisLabel", "OnPageChange"}},
    {"TCustomChartWall", {"Color", "AutoHide=False", "Dark3D=True", "Pen", "Size=0"}},
    {"TChartRightWall", {"Visible=False"}},
    {"TChartTitle", {"AdjustFrame=True", "Alignment=taCenter", "Frame", "Text"}},
    {"TChartLegendGradient", {"Direction=gdRightLeft", "EndColor=clWhite", "StartColor=clSilver"}},
    {"TLegendSymbol", {"Continuous=False", "DefaultPen=True", "Gradient", "Pen", "Position=spLeft",
        "Squared=False", "Visible=True", "Width=20", "WidthUnits=lcsPercent", "OnDraw"}},
    {"TLegendTitle", {"Text", "TextAlignment=taLeftJustify"}},
    {"TCustomChartLegend", {"Alignment=laRight", "CheckBoxes=False", "CheckBoxesStyle=cbsCheck", "ColorWidth=20",
        "CurrentPage=True", "DividingLines", "FirstValue=0", "FontSeriesColor=False", "Frame", "HorizMargin=0",
        "Inverted=False", "LegendStyle=lsAuto", "MaxNumRows=10", "ResizeChart=True", "Symbol",
        "TextStyle=ltsLeftValue", "Title", "TopPos=10", "VertMargin=0", "VertSpacing=0"}},
    {"TCustomChart", {"BackWall", "BottomWall", "Foot", "Frame", "LeftWall", "Legend", "RightWall",
        "ScrollMouseButton=mbRight", "SubFoot", "SubTitle", "Title", "OnAllowScroll", "OnClickAxis",
        "OnClickBackground", "OnClickLegend", "OnClickSeries", "OnClickTitle", "OnGetLegendPos", "OnGetLegendRect",
        "OnGetLegendText"}},
    {"TChart", {}},
    {"TChartChart", {}},
    {"TODBCChart", {}},
    {"TCustomLineSeries", {"LinePen"}},
    {"TCustomSeries", {"ClickableLine=True", "ColorEachLine=True", "Dark3D=True", "InvertedStairs=False",
        "LineBrush=bsSolid", "LineHeight=0", "OutLine", "Pointer", "Shadow", "Stacked=cssNone", "Stairs=False"}},
    {"TLineSeries", {}},
    {"THorizLineSeries", {}},
    {"TPointSeries", {"ClickableLine=False", "Transparency=0", "OnClickPointer"}},
    {"TAreaSeries", {"AreaBrush=bsSolid", "AreaChartBrush", "AreaColor=clDefault", "AreaLinesPen", "DrawArea=True",
        "Gradient", "MultiArea=maNone", "Transparency=0", "UseYOrigin=False", "YOrigin=0"}},
    {"THorizAreaSeries", {}},
    {"TBarSeriesGradient", {"Visible=True", "Relative=False"}},
    {"TCustomBarSeries", {"AutoBarSize=False", "AutoMarkPosition=True", "BarBrush", "BarPen",
        "BarStyle=bsRectangle", "BarWidthPercent=70", "BevelSize=1", "Dark3D=True", "DepthPercent=100", "Gradient",
        "MultiBar=mbSide", "OffsetPercent=0", "SideMargins=True", "StackGroup=0", "TickLines", "UseYOrigin=True",
        "YOrigin=0", "OnGetBarStyle"}},
    {"TBarSeries", {"CustomBarWidth=0"}},
    {"THorizBarSeries", {"CustomBarHeight=0"}},
    {"TCircledSeries", {"CircleBackColor=0x20000000", "Circled=False", "CustomXRadius=0", "CustomYRadius=0",
        "RotationAngle=0"}},
    {"TPieOtherSlice", {"Color=0x20000000", "Legend", "Style=poNone", "Text", "Value=0"}},
    {"TPieShadow", {"Color=0xA0A0A0"}},
    {"TPieSeries", {"ColorEachPoint=True", "AngleSize=360", "AutoMarkPosition=True", "Dark3D=True", "DarkPen=0",
        "ExplodeBiggest=0", "Gradient", "MultiPie=mpAutomatic", "OtherSlice", "PiePen", "PieValues", "Shadow",
        "UsePatterns=False"}},
    {"TFastLineSeries", {"AutoRepaint=True", "DrawAllPoints=True", "IgnoreNulls=True", "InvertedStairs=False",
        "Stairs=False"}},
    {"TChartShape", {"Alignment=taCenter", "Font", "Gradient", "RoundRectangle=False", "Style=chasCircle", "Text",
        "Transparent=False", "VertAlign=vaCenter", "X0=0", "X1=100", "XYStyle=xysAxis", "Y0=0", "Y1=100"}},
    {"TGanttSeries", {"ColorEachPoint=True", "ConnectingPen", "StartValues", "EndValues", "NextTask"}},
    {"TArrowSeries", {"ArrowHeight=4", "ArrowPercent=50", "ArrowWidth=4", "EndXValues", "EndYValues",
        "StartXValues", "StartYValues"}},
    {"TBubbleSeries", {"ColorEachPoint=True", "RadiusValues", "Squared=True"}},
    {"TAddTeeFunction", {}},
    {"TManySeriesTeeFunction", {}},
    {"TSubtractTeeFunction", {}},
    {"TMultiplyTeeFunction", {}},
    {"TDivideTeeFunction", {}},
    {"THighTeeFunction", {}},
    {"TLowTeeFunction", {}},
    {"TAverageTeeFunction", {"IncludeNulls=True"}},
    {"TCustomTeeFunction", {"Period=1", "NumPoints=100", "StartX=0", "OnCalculate"}},
    {"TCustomSortedFunction", {}},
    {"TMedianTeeFunction", {"IncludeNulls=True"}},
    {"TModeTeeFunction", {}},
};

struct StreamPropertyNames : testsupport::ChartStartedTest {
    void SetUp() override
    {
        RegisterSeriesUnitTypes();   // the series types' gallery entries, as the editor's start-up makes them
    }
};

TEST_F(StreamPropertyNames, EveryStreamedClassPublishesTheListedNamesAndDefaults)
{
    std::set<std::string> seen;
    for (const TClassInfo* info : StreamedClasses()) {
        seen.insert(info->ClassName);
        const auto it = Published.find(info->ClassName);
        if (it == Published.end()) {
            ADD_FAILURE() << info->ClassName << " is streamed but not listed";
            continue;
        }
        EXPECT_EQ(publishedprops::OwnEntries(info), it->second) << info->ClassName;
    }
    EXPECT_EQ(seen.size(), Published.size());
    // Every class the units register for reading by name is among them.
    for (const TClassInfo* info : RegisteredClasses())
        EXPECT_EQ(seen.count(info->ClassName), 1u) << info->ClassName << " is registered but not listed";
}

} // namespace
