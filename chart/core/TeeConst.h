// The chart library's user-visible texts: one global string per text, assigned at unit
// start-up and read wherever the text is shown, so that a translation can replace them
// in one place.
#pragma once

#include <string>

// The chart file extension, without its point.
inline constexpr const char* ChartFileExtension = "tee";

// Every text assigned from a literal, in assignment order: X(variable, text).
// "\r" splits a gallery name over two lines; "&" marks an accelerator letter.
#define TEE_CONST_LITERAL_TEXTS(X) \
    /* notice line of the about box */ \
    X(TeeMsg_Copyright, "RurEvido Pro chart library, Korvan Software") \
    /* messages of checks and errors */ \
    X(TeeMsg_LegendFirstValue, "First Legend Value must be > 0") \
    X(TeeMsg_LegendColorWidth, "Legend Color Width must be > 0%") \
    X(TeeMsg_SeriesSetDataSource, "No ParentChart to validate DataSource") \
    X(TeeMsg_SeriesInvDataSource, "No valid DataSource: %s") \
    X(TeeMsg_FillSample, "FillSampleValues NumValues must be > 0") \
    X(TeeMsg_AxisLogDateTime, "DateTime Axis cannot be Logarithmic") \
    X(TeeMsg_AxisLogNotPositive, "Logarithmic Axis Min and Max values should be >= 0") \
    X(TeeMsg_AxisLabelSep, "Labels Separation % must be greater than 0") \
    X(TeeMsg_AxisIncrementNeg, "Axis increment must be >= 0") \
    X(TeeMsg_AxisMinMax, "Axis Minimum Value must be <= Maximum") \
    X(TeeMsg_AxisMaxMin, "Axis Maximum Value must be >= Minimum") \
    X(TeeMsg_AxisLogBase, "Axis Logarithmic Base should be <> 1 and > 0") \
    X(TeeMsg_MaxPointsPerPage, "MaxPointsPerPage must be >= 0") \
    X(TeeMsg_3dPercent, "3D effect percent must be between %d and %d") \
    X(TeeMsg_CircularSeries, "Circular Series dependences are not allowed") \
    X(TeeMsg_WarningHiColor, "16k Color or greater required to get better look") \
    X(TeeMsg_RefreshInterval, "Refresh Interval must be between 0 and 60") \
    X(TeeMsg_SeriesParentNoSelf, "Series.ParentChart is not myself!") \
    X(TeeMsg_InvalidEditorClass, "%s: Invalid Editor Class: %s") \
    X(TeeMsg_MissingEditorDialog, "%s: has no Editor Dialog") \
    X(TeeMsg_IncorrectValue, "Incorrect value. Reason: %s") \
    X(TeeMsg_PointerSize, "Pointer size must be greater than zero") \
    X(TeeMsg_FunctionPeriod, "Function Period should be >= 0") \
    X(TeeMsg_FieldNotFound, "Field %s does not exist") \
    X(TeeMsg_ExportPanelNotSet, "Panel property is not set in Export format") \
    X(TeeMsg_CanNotFindTempPath, "Can not find Temp folder") \
    X(TeeMsg_CanNotCreateTempFile, "Can not create Temp file") \
    X(TeeMsg_CanNotEmailChart, "Can not email RurEvido. Mapi Error: %d") \
    X(TeeMsg_SeriesDelete, "Series Delete: ValueIndex %d out of bounds (0 to %d).") \
    X(TeeMsg_NoSeriesSelected, "No Series selected") \
    X(TeeMsg_ErrorDownloadChart, "Error code: %d downloading Chart from URL: %s") \
    X(TeeMsg_ErrorDownloadSeries, "Error code: %d downloading Series data from URL: %s") \
    /* prompts and confirmations */ \
    X(TeeMsg_SureToDelete, "Delete %s ?") \
    X(TeeMsg_SureToApply, "Apply Changes ?") \
    X(TeeMsg_SureToCloseWizard, "Are you sure that you want to close the RurEvido Wizard ?") \
    X(TeeMsg_SureToSave, "Do you want to save %s?") \
    /* format strings and number pictures */ \
    X(TeeMsg_PercentOfTotal, "%s of %s") \
    X(TeeMsg_PercentOfTotalTwoLines, "%s\rof %s") \
    X(TeeMsg_DefPercentFormat, "##0.## %") \
    X(TeeMsg_DefValueFormat, "#,##0.###") \
    X(TeeMsg_DefLogLabelFormat, "#.0 \"x10\" E+0") \
    X(TeeMsg_Editing, "Editing %s") \
    X(TeeMsg_DesiredIncrement, "Desired %s Increment") \
    X(TeeMsg_CalculateEvery, "Calculate %s every:") \
    X(TeeMsg_PageOfPages, "Page %d of %d") \
    X(TeeMsg_FileSize, "%d bytes") \
    /* series-type and function names of the galleries */ \
    X(TeeMsg_GalleryLine, "Line") \
    X(TeeMsg_GalleryPoint, "Point") \
    X(TeeMsg_GalleryArea, "Area") \
    X(TeeMsg_GalleryBar, "Bar") \
    X(TeeMsg_GalleryHorizBar, "Horizontal\rBar") \
    X(TeeMsg_GalleryStack, "Stack") \
    X(TeeMsg_GalleryPie, "Pie") \
    X(TeeMsg_GalleryCircled, "Circled") \
    X(TeeMsg_GalleryFastLine, "Fast Line") \
    X(TeeMsg_GalleryHorizLine, "Horizontal\rLine") \
    X(TeeMsg_GalleryArrow, "Arrow") \
    X(TeeMsg_GalleryGantt, "Gantt") \
    X(TeeMsg_FunctionAdd, "Add") \
    X(TeeMsg_FunctionSubtract, "Subtract") \
    X(TeeMsg_FunctionMultiply, "Multiply") \
    X(TeeMsg_FunctionDivide, "Divide") \
    X(TeeMsg_FunctionHigh, "High") \
    X(TeeMsg_FunctionLow, "Low") \
    X(TeeMsg_FunctionAverage, "Average") \
    X(TeeMsg_GalleryShape, "Shape") \
    X(TeeMsg_GalleryBubble, "Bubble") \
    X(TeeMsg_GalleryPieStyle, "Pie") \
    X(TeeMsg_GalleryBarStyle, "Bar") \
    X(TeeMsg_FunctionCustom, "y = f(x)") \
    X(TeeMsg_GalleryHorizArea, "Horizontal\rArea") \
    X(TeeMsg_FunctionMedian, "Median") \
    X(TeeMsg_FunctionMode, "Mode") \
    /* gallery pages and groups */ \
    X(TeeMsg_GalleryStandard, "Standard") \
    X(TeeMsg_GalleryExtended, "Extended") \
    X(TeeMsg_GalleryFunctions, "Functions") \
    X(TeeMsg_GalleryAdditional, "Additional") \
    X(TeeMsg_GalleryDataControls, "Data Controls") \
    X(TeeMsg_GalleryQReport, "QReport") \
    X(TeeMsg_GalleryBusiness, "Business") \
    X(TeeMsg_GalleryOther, "Other") \
    /* sample labels of generated sample values, then of Gantt tasks */ \
    X(TeeMsg_SampleCars, "Cars") \
    X(TeeMsg_SamplePhones, "Phones") \
    X(TeeMsg_SampleTables, "Tables") \
    X(TeeMsg_SampleMonitors, "Monitors") \
    X(TeeMsg_SampleLamps, "Lamps") \
    X(TeeMsg_SampleKeyboards, "Keyboards") \
    X(TeeMsg_SampleBikes, "Bikes") \
    X(TeeMsg_SampleChairs, "Chairs") \
    X(TeeMsg_GanttDesign, "Design") \
    X(TeeMsg_GanttPrototyping, "Prototyping") \
    X(TeeMsg_GanttDevelopment, "Development") \
    X(TeeMsg_GanttSales, "Sales") \
    X(TeeMsg_GanttMarketing, "Marketing") \
    X(TeeMsg_GanttTesting, "Testing") \
    X(TeeMsg_GanttManufacturing, "Manufac.") \
    X(TeeMsg_GanttDebugging, "Debugging") \
    X(TeeMsg_GanttNewVersion, "New Version") \
    X(TeeMsg_GanttBanking, "Banking") \
    /* value-list and field names of series types */ \
    X(TeeMsg_FieldTypeText, "abc") \
    X(TeeMsg_FieldTypeNumber, "123") \
    X(TeeMsg_ValuesX, "X") \
    X(TeeMsg_ValuesY, "Y") \
    X(TeeMsg_ValuesAngle, "Angle") \
    X(TeeMsg_ValuesGanttStart, "Start") \
    X(TeeMsg_ValuesGanttEnd, "End") \
    X(TeeMsg_ValuesGanttNextTask, "NextTask") \
    X(TeeMsg_ValuesBubbleRadius, "Radius") \
    X(TeeMsg_ValuesArrowEndX, "EndX") \
    X(TeeMsg_ValuesArrowEndY, "EndY") \
    X(TeeMsg_ValuesIndex, "Index") \
    X(TeeMsg_ValuesText, "Text") \
    /* chart parts, axes and editor tree nodes */ \
    X(TeeMsg_AxisTitle, "Axis Title") \
    X(TeeMsg_AxisLabels, "Axis Labels") \
    X(TeeMsg_TopAxis, "Top Axis") \
    X(TeeMsg_BottomAxis, "Bottom Axis") \
    X(TeeMsg_LeftAxis, "Left Axis") \
    X(TeeMsg_RightAxis, "Right Axis") \
    X(TeeMsg_DepthAxis, "Depth Right") \
    X(TeeMsg_Legend, "Legend") \
    X(TeeMsg_Title, "Title") \
    X(TeeMsg_Foot, "Footer") \
    X(TeeMsg_ChartAxes, "Chart Axes") \
    X(TeeMsg_ChartAxesProperties, "Chart Axes properties and events") \
    X(TeeMsg_ChartWalls, "Chart Walls") \
    X(TeeMsg_ChartWallsProperties, "Chart Walls properties and events") \
    X(TeeMsg_ChartTitles, "Chart Titles") \
    X(TeeMsg_ChartTitlesProperties, "Chart Titles properties and events") \
    X(TeeMsg_Chart3D, "Chart 3D") \
    X(TeeMsg_Chart3DProperties, "Chart 3D properties and events") \
    X(TeeMsg_CustomAxisPrefix, "Custom ") \
    X(TeeMsg_Series, "Series") \
    X(TeeMsg_DepthTopAxis, "Depth Top") \
    X(TeeMsg_SubTitle, "SubTitle") \
    X(TeeMsg_SubFoot, "SubFoot") \
    /* menu items, buttons and editor labels */ \
    X(TeeMsg_Test, "Test...") \
    X(TeeMsg_DateTime, "DateTime") \
    X(TeeMsg_EditChart, "E&dit Chart...") \
    X(TeeMsg_PrintPreview, "&Print Preview...") \
    X(TeeMsg_ExportChart, "E&xport Chart...") \
    X(TeeMsg_CustomAxes, "Custom Axes...") \
    X(TeeMsg_WizardFinish, "&Finish") \
    X(TeeMsg_WizardNext, "&Next >") \
    X(TeeMsg_ChangeSeriesTitle, "Change Series Title") \
    X(TeeMsg_NewSeriesTitle, "New Series Title:") \
    X(TeeMsg_DateTimeFormat, "DateTime For&mat:") \
    X(TeeMsg_Default, "Default") \
    X(TeeMsg_ValuesFormat, "Values For&mat:") \
    X(TeeMsg_Maximum, "Maximum") \
    X(TeeMsg_Minimum, "Minimum") \
    X(TeeMsg_DesiredIncrementHint, "Enter [Number of Days] [hh:nn:ss]") \
    X(TeeMsg_SelectedSeries, "(Selected Series)") \
    X(TeeMsg_RefreshData, "&Refresh Data") \
    X(TeeMsg_Copy, "Copy") \
    X(TeeMsg_None, "(none)") \
    X(TeeMsg_AboutLibrary, "Abo&ut RurEvido...") \
    X(TeeMsg_Dataset, "Dataset") \
    X(TeeMsg_AskDataset, "&Dataset:") \
    X(TeeMsg_SingleRecord, "Single Record") \
    X(TeeMsg_AskDataSource, "&DataSource:") \
    X(TeeMsg_Summary, "Summary") \
    X(TeeMsg_WizardTitle, "RurEvido Wizard") \
    X(TeeMsg_Clear, "Clea&r") \
    X(TeeMsg_Browse, "B&rowse...") \
    X(TeeMsg_Period, "Period") \
    X(TeeMsg_PeriodRange, "Period range") \
    X(TeeMsg_SeriesEllipsis, "Series...") \
    X(TeeMsg_All, "(all)") \
    X(TeeMsg_Language, "&Language...") \
    X(TeeMsg_Property, "Property") \
    X(TeeMsg_Value, "Value") \
    X(TeeMsg_Yes, "Yes") \
    X(TeeMsg_No, "No") \
    X(TeeMsg_Image, "(image)") \
    X(TeeMsg_SelectFolder, "Select database folder") \
    X(TeeMsg_Alias, "&Alias:") \
    X(TeeMsg_Connection, "&Connection:") \
    X(TeeMsg_Apply, "&Apply") \
    X(TeeMsg_AddNewGroup, "Add new group") \
    X(TeeMsg_ChangeGroupName, "Change group name") \
    X(TeeMsg_GroupName, "Group name:") \
    X(TeeMsg_Options, "&Options...") \
    /* navigator buttons */ \
    X(TeeMsg_ButtonFirst, "First") \
    X(TeeMsg_ButtonPrior, "Prior") \
    X(TeeMsg_ButtonNext, "Next") \
    X(TeeMsg_ButtonLast, "Last") \
    X(TeeMsg_ButtonInsert, "Insert") \
    X(TeeMsg_ButtonDelete, "Delete") \
    X(TeeMsg_ButtonEdit, "Edit") \
    X(TeeMsg_ButtonPost, "Post") \
    X(TeeMsg_ButtonCancel, "Cancel") \
    /* sub-gallery style names */ \
    X(TeeMsg_StyleSmallDots, "Small Dots") \
    X(TeeMsg_StyleNormal, "Normal") \
    X(TeeMsg_StyleNoBorder, "No Border") \
    X(TeeMsg_StyleDotted, "Dotted") \
    X(TeeMsg_StyleColors, "Colors") \
    X(TeeMsg_StyleFilled, "Filled") \
    X(TeeMsg_StyleMarks, "Marks") \
    X(TeeMsg_StyleStairs, "Stairs") \
    X(TeeMsg_StylePoints, "Points") \
    X(TeeMsg_StyleHeight, "Height") \
    X(TeeMsg_StyleHollow, "Hollow") \
    X(TeeMsg_StylePoint2D, "Point 2D") \
    X(TeeMsg_StyleTriangle, "Triangle") \
    X(TeeMsg_StyleStar, "Star") \
    X(TeeMsg_StyleCircle, "Circle") \
    X(TeeMsg_StyleDownTriangle, "Down Tri.") \
    X(TeeMsg_StyleCross, "Cross") \
    X(TeeMsg_StyleDiamond, "Diamond") \
    X(TeeMsg_StyleNoLines, "No Lines") \
    X(TeeMsg_StyleStack100, "Stack 100%") \
    X(TeeMsg_StylePyramid, "Pyramid") \
    X(TeeMsg_StyleEllipse, "Ellipse") \
    X(TeeMsg_StyleInvPyramid, "Inv. Pyramid") \
    X(TeeMsg_StyleSides, "Sides") \
    X(TeeMsg_StyleSideAll, "Side All") \
    X(TeeMsg_StylePatterns, "Patterns") \
    X(TeeMsg_StyleExploded, "Exploded") \
    X(TeeMsg_StyleShadow, "Shadow") \
    X(TeeMsg_StyleSemiPie, "Semi Pie") \
    X(TeeMsg_StyleRectangle, "Rectangle") \
    X(TeeMsg_StyleVertLine, "Vert.Line") \
    X(TeeMsg_StyleHorizLine, "Horiz.Line") \
    X(TeeMsg_StyleLine, "Line") \
    X(TeeMsg_StyleCube, "Cube") \
    X(TeeMsg_StyleDiagCross, "Diag.Cross") \
    X(TeeMsg_StyleGradient, "Gradient") \
    X(TeeMsg_StyleSelfStacked, "Self Stacked") \
    X(TeeMsg_StyleDarkBorder, "Dark Border") \
    X(TeeMsg_Style2D, "2D") \
    X(TeeMsg_StyleOutline, "Outline") \
    X(TeeMsg_StyleOrthoRight, "Ortho Right") \
    X(TeeMsg_StyleOrthoLeft, "Ortho Left") \
    X(TeeMsg_Style3DFront, "3D Front") \
    X(TeeMsg_Style3DRight, "3D Right") \
    X(TeeMsg_Style3DLeft, "3D Left") \
    /* export menu items and file-dialog filters */ \
    X(TeeMsg_AsBMP, "as &Bitmap") \
    X(TeeMsg_BMPFilter, "Bitmaps (*.bmp)|*.bmp") \
    X(TeeMsg_AsEMF, "as &Metafile") \
    X(TeeMsg_EMFFilter, "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf") \
    X(TeeMsg_AsJPEG, "as &JPEG") \
    X(TeeMsg_JPEGFilter, "JPEG files (*.jpg)|*.jpg") \
    X(TeeMsg_AsGIF, "as &GIF") \
    X(TeeMsg_GIFFilter, "GIF files (*.gif)|*.gif") \
    X(TeeMsg_AsPNG, "as &PNG") \
    X(TeeMsg_PNGFilter, "PNG files (*.png)|*.png") \
    X(TeeMsg_AsPCX, "as PC&X") \
    X(TeeMsg_PCXFilter, "PCX files (*.pcx)|*.pcx") \
    X(TeeMsg_AsVML, "as &VML (HTM)") \
    X(TeeMsg_VMLFilter, "VML files (*.htm)|*.htm") \
    X(TeeMsg_AsPDF, "as &PDF") \
    X(TeeMsg_PDFFilter, "PDF files (*.pdf)|*.pdf") \
    X(TeeMsg_AsPS, "as PostScript") \
    X(TeeMsg_PSFilter, "PostScript files (*.eps)|*.eps") \
    X(TeeMsg_TextSpaceFilter, "Space delimited text files (*.txt)|*.txt") \
    X(TeeMsg_TextTabFilter, "Tab delimited text files (*.txt)|*.txt") \
    X(TeeMsg_TextCommaFilter, "Comma delimited text files (*.csv)|*.csv") \
    X(TeeMsg_TextColonFilter, "Colon delimited text files (*.txt)|*.txt") \
    X(TeeMsg_TextCustomFilter, "Custom delimited text files (*.txt)|*.txt") \
    X(TeeMsg_XMLFilter, "XML files (*.xml)|*.xml") \
    X(TeeMsg_HTMLFilter, "HTML files (*.htm)|*.htm") \
    X(TeeMsg_ExcelFilter, "Microsoft Excel files (*.xls)|*.xls") \
    X(TeeMsg_AsSVG, "as &SVG") \
    X(TeeMsg_SVGFilter, "SVG files (*.svg)|*.svg") \
    /* fonts, sizes and design-time texts */ \
    X(TeeMsg_CourierFontName, "Courier New") \
    X(TeeMsg_DefaultFontSize, "8") \
    X(TeeMsg_DefaultEditorWidth, "414") \
    X(TeeMsg_DefaultEditorHeight, "347") \
    X(TeeMsg_PrivateDeclarations, "{ Private declarations }") \
    X(TeeMsg_PublicDeclarations, "{ Public declarations }") \
    X(TeeMsg_DefaultFontName, "Arial")

// The texts built from the chart file extension: X(variable).
#define TEE_CONST_BUILT_TEXTS(X) \
    X(TeeMsg_InvalidTeeFile)     /* "Invalid Chart in *.tee file" */ \
    X(TeeMsg_WrongTeeFileFormat) /* "Wrong *.tee file format" */ \
    X(TeeMsg_EmptyTeeFile)       /* "Empty *.tee file" */ \
    X(TeeMsg_TeeFilesFilter)     /* "RurEvido files (*.tee)|*.tee" */

#define TEE_CONST_DECLARE_LITERAL(name, text) extern std::string name;
#define TEE_CONST_DECLARE_BUILT(name) extern std::string name;
TEE_CONST_LITERAL_TEXTS(TEE_CONST_DECLARE_LITERAL)
TEE_CONST_BUILT_TEXTS(TEE_CONST_DECLARE_BUILT)
#undef TEE_CONST_DECLARE_LITERAL
#undef TEE_CONST_DECLARE_BUILT

// The file-dialog filter part of the chart file extension: "(*.tee)|*.tee".
std::string ChartFileFilter();

// Assigns every text. Only the first call assigns, so a text that was replaced (for a
// translation) after start-up stays replaced when start-up runs again.
void InitTeeConstStrings();

// Unit start-up and finalisation, called from the program's start-up routine before any
// unit that registers series types, functions, tools or export formats, and after all of
// them at the end. Start-up and finalisation nest: only the last finalisation releases.
void TeeConstInitialization();
void TeeConstFinalization();
