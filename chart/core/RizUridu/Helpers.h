// Small services that the chart units share: the base of the data exporters, the chart
// editor's options in the registry, the hook that editor dialogs call when they are
// shown, hit tests for lines, polygons, triangles and ellipses, delimited-list and name
// helpers, an index sort, and the default colour palette.
#pragma once

#include "classes/Classes.h"
#include "graphics/Colors.h"
#include "graphics/Types.h"

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

class TControl;
class TStream;

// ---- export-data base -------------------------------------------------------------

// An exporter produces one text (the chart data exporters derive from it); the text can
// go to the clipboard, a stream or a file.
class TTeeExportData : public TObject {
public:
    DECLARE_CLASS_NAME(TTeeExportData)
    virtual std::string GetText();   // empty in the base
    // Puts the text on the clipboard as plain text.
    virtual void CopyTextToClipboard();
    // Writes the text's bytes: no terminator, no length in front.
    virtual void WriteTextToStream(TStream* Stream);
    // Creates (or replaces) the file and writes to it through WriteTextToStream, under a
    // temporary name renamed at the end, so a failure leaves an earlier file whole. File
    // errors propagate.
    virtual void SaveTextToFile(const std::string& FileName);
};

// ---- chart editor options -------------------------------------------------------

// The current user's registry key that keeps the chart editor's and galleries' options.
inline constexpr const char* TeeEditorRegistryKey = "SOFTWARE\\Korvan Software\\RurEvido Pro\\Editor";

// An option that was never written, or was stored with another type, answers Default.
bool ReadEditorBool(const std::string& Name, bool Default);
int ReadEditorInteger(const std::string& Name, int Default);
// Writes the option, creating the key; nothing is written when the key cannot be opened.
void WriteEditorBool(const std::string& Name, bool Value);

// ---- show hook of the editor dialogs -------------------------------------------------

// Called with a control (a dialog being shown) and further controls. Nothing in the
// program sets it; an application may, to adjust every editor dialog.
using TTeeControlHook = std::function<void(TControl* Control, const std::vector<TControl*>& Controls)>;
extern TTeeControlHook TeeFormShowHook;

void CallControlHook(TControl* Control, const std::vector<TControl*>& Controls);
// Every editor dialog calls this from its show handler with itself.
void CallFormShowHook(TControl* Form);

// ---- hit tests (client pixels) ------------------------------------------------------

// True when P is A or B, or lies within Tolerance + 1 pixels of the segment AB.
bool PointNearLine(TPoint P, TPoint A, TPoint B, int Tolerance);
// The same with tolerance 0.
bool PointNearLineOfPoints(TPoint P, TPoint A, TPoint B);
struct TPointSegment {
    TPoint A;
    TPoint B;
};
bool PointNearSegment(TPoint P, const TPointSegment& Segment);

// Even-odd test of P against the closed polygon; an empty polygon holds nothing.
bool PointInPolygon(TPoint P, std::span<const TPoint> Points);
// The same over Points[0..HighIndex]; a negative HighIndex holds nothing.
bool PointInPolygon(TPoint P, const TPoint* Points, int HighIndex);
// The triangle (X0, Y1), ((X0 + X1) div 2, Y0), (X1, Y1).
bool PointInTriangleVertical(TPoint P, int X0, int X1, int Y0, int Y1);
// The triangle (X1, Y0), (X0, (Y0 + Y1) div 2), (X1, Y1).
bool PointInTriangleHorizontal(TPoint P, int Y0, int Y1, int X0, int X1);
// The ellipse inscribed in the rectangle, its boundary included; an ellipse of zero
// width or height holds nothing.
bool PointInEllipse(TPoint P, int Left, int Top, int Right, int Bottom);
bool PointInEllipseRect(TPoint P, const TRect& R);

// ---- delimited items and names ---------------------------------------------------

// The separator of delimited items; ";" at start.
extern std::string TeeItemSeparator;

// 0 for an empty text, else the number of separators + 1.
int CountDelimitedItems(const std::string& Text);
int CountDelimitedItemsBy(const std::string& Text, const std::string& Separator);
// Item N (1-based); empty for N < 1, an empty text, or N past the last item.
std::string DelimitedItem(const std::string& Text, int N);
std::string DelimitedItemBy(const std::string& Text, int N, const std::string& Separator);

// Every Old replaced by New, or removed when New is the zero character.
std::string SubstituteChar(const std::string& Text, char Old, char New);
// "," becomes the thousand separator and "." the decimal separator of the format
// settings, in one pass; TransformCharsB does the reverse.
std::string TransformCharsA(const std::string& Text);
std::string TransformCharsB(const std::string& Text);

// Base followed by the smallest number from 1 that names no component of Owner
// (compared without case); Base + "1" without an owner.
std::string NumberedComponentName(const TComponent* Owner, const std::string& Base);

// ---- sorting ----------------------------------------------------------------------

// Compare answers negative, zero or positive for the items at two indexes.
using TTeeSortCompare = std::function<int(int A, int B)>;
using TTeeSortSwap = std::function<void(int A, int B)>;
// Quick sort of the items Low..High that only compares and swaps by index.
void SortIndexRange(int Low, int High, const TTeeSortCompare& Compare, const TTeeSortSwap& Swap);

// ---- default colour palette ---------------------------------------------------------

// The built-in default palette of 20 colours.
const std::vector<TColor>& BuiltInDefaultPalette();
// The palette in force; never empty.
const std::vector<TColor>& DefaultPalette();
// The palette's colour at Index, wrapping around in both directions.
TColor GetDefaultPaletteColor(int Index);
// Makes a copy of Colors the default palette; no colours restore the built-in one.
void SetDefaultPalette(std::span<const TColor> Colors);

// ---- controls and class bitmaps ----------------------------------------------------

class TBitmap;

// Enables or disables every control of the list; null entries are skipped.
void ForEachItem(bool Enable, std::span<TControl* const> Controls);
void ForEachItem(bool Enable, std::initializer_list<TControl*> Controls);

// Loads the program's bitmap resource Name, else SecondName (when given), into Bitmap;
// answers whether one was found. Bitmap is unchanged when none is.
bool FindBitmapInModules(TBitmap* Bitmap, const std::string& Name, const std::string& SecondName = {});
// The bitmap named after the object's class, else after ParentClassName (the class it
// derives from, for classes that have no bitmap of their own).
bool LoadBitmapForClass(const TObject* Object, TBitmap* Bitmap, const std::string& ParentClassName = {});

// ---- unit start-up ----------------------------------------------------------------

// The hand cursor's number.
inline constexpr int crTeeHand = 2020;

// Start-up sets the built-in palette and the ";" separator and registers the hand
// cursor; finalisation puts the first two back and removes the cursor.
void RizUriduInitialization();
void RizUriduFinalization();
