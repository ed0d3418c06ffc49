#include "RizUridu/Helpers.h"

#include "controls/Clipboard.h"
#include "controls/Controls.h"
#include "controls/Cursors.h"
#include "controls/Registry.h"
#include "controls/Resources.h"
#include "graphics/Bitmap.h"

#include <algorithm>
#include <cstdint>

TTeeControlHook TeeFormShowHook;
std::string TeeItemSeparator = ";";

namespace {

using int128 = __int128;

std::vector<TColor>& PaletteStorage()
{
    static std::vector<TColor> palette = BuiltInDefaultPalette();
    return palette;
}

int64_t Sqr(int64_t v) { return v * v; }

} // namespace

// ---- export-data base -------------------------------------------------------------

std::string TTeeExportData::GetText()
{
    return {};
}

void TTeeExportData::CopyTextToClipboard()
{
    Clipboard()->SetAsText(GetText());
}

void TTeeExportData::WriteTextToStream(TStream* Stream)
{
    const std::string text = GetText();
    if (!text.empty())
        Stream->WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TTeeExportData::SaveTextToFile(const std::string& FileName)
{
    WriteFileReplacing(FileName, [this](TStream* file) { WriteTextToStream(file); });
}

// ---- chart editor options -------------------------------------------------------

// Each call opens its own registry object on the current user's key. A value stored
// with another type is treated as missing instead of failing the caller.
bool ReadEditorBool(const std::string& Name, bool Default)
{
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(TeeEditorRegistryKey) || !registry.ValueExists(Name))
        return Default;
    try {
        return registry.ReadBool(Name);
    } catch (const ERegistryException&) {
        return Default;
    }
}

int ReadEditorInteger(const std::string& Name, int Default)
{
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(TeeEditorRegistryKey) || !registry.ValueExists(Name))
        return Default;
    try {
        return registry.ReadInteger(Name);
    } catch (const ERegistryException&) {
        return Default;
    }
}

void WriteEditorBool(const std::string& Name, bool Value)
{
    TRegistry registry;
    if (registry.OpenKey(TeeEditorRegistryKey, true))
        registry.WriteBool(Name, Value);
}

// ---- show hook ------------------------------------------------------------------

void CallControlHook(TControl* Control, const std::vector<TControl*>& Controls)
{
    if (TeeFormShowHook)
        TeeFormShowHook(Control, Controls);
}

void CallFormShowHook(TControl* Form)
{
    CallControlHook(Form, {});
}

// ---- hit tests ----------------------------------------------------------------------
// Coordinates reach 67108863, so products are formed in 64 and 128 bits and compared
// exactly instead of dividing.

bool PointNearLine(TPoint P, TPoint A, TPoint B, int Tolerance)
{
    if (P == A || P == B)
        return true;
    const int64_t limit = int64_t(Tolerance) + 1;
    if (limit < 0)
        return false;
    const int128 limit2 = int128(limit) * limit;

    const int64_t abx = int64_t(B.X) - A.X, aby = int64_t(B.Y) - A.Y;
    const int64_t apx = int64_t(P.X) - A.X, apy = int64_t(P.Y) - A.Y;
    const int64_t len2 = Sqr(abx) + Sqr(aby);
    const int64_t dot = apx * abx + apy * aby;
    if (len2 == 0 || dot <= 0)                       // nearest to A
        return int128(Sqr(apx) + Sqr(apy)) <= limit2;
    if (dot >= len2)                                 // nearest to B
        return int128(Sqr(int64_t(P.X) - B.X) + Sqr(int64_t(P.Y) - B.Y)) <= limit2;
    // Distance to the line: |AB x AP| / |AB|.
    const int128 cross = int128(abx) * apy - int128(aby) * apx;
    return cross * cross <= limit2 * len2;
}

bool PointNearLineOfPoints(TPoint P, TPoint A, TPoint B)
{
    return PointNearLine(P, A, B, 0);
}

bool PointNearSegment(TPoint P, const TPointSegment& Segment)
{
    return PointNearLine(P, Segment.A, Segment.B, 0);
}

bool PointInPolygon(TPoint P, std::span<const TPoint> Points)
{
    bool inside = false;
    const std::size_t n = Points.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const TPoint pi = Points[i], pj = Points[j];
        if ((pi.Y <= P.Y && P.Y < pj.Y) || (pj.Y <= P.Y && P.Y < pi.Y)) {
            // P.X < xi + (xj - xi) * (P.Y - yi) / (yj - yi), multiplied out by yj - yi.
            const int64_t dy = int64_t(pj.Y) - pi.Y;
            const int64_t lhs = (int64_t(P.X) - pi.X) * dy;
            const int64_t rhs = (int64_t(pj.X) - pi.X) * (int64_t(P.Y) - pi.Y);
            if (dy > 0 ? lhs < rhs : lhs > rhs)
                inside = !inside;
        }
    }
    return inside;
}

bool PointInPolygon(TPoint P, const TPoint* Points, int HighIndex)
{
    if (Points == nullptr || HighIndex < 0)
        return false;
    return PointInPolygon(P, std::span<const TPoint>(Points, std::size_t(HighIndex) + 1));
}

bool PointInTriangleVertical(TPoint P, int X0, int X1, int Y0, int Y1)
{
    const TPoint t[3] = {{X0, Y1}, {static_cast<int>((int64_t(X0) + X1) / 2), Y0}, {X1, Y1}};
    return PointInPolygon(P, t);
}

bool PointInTriangleHorizontal(TPoint P, int Y0, int Y1, int X0, int X1)
{
    const TPoint t[3] = {{X1, Y0}, {X0, static_cast<int>((int64_t(Y0) + Y1) / 2)}, {X1, Y1}};
    return PointInPolygon(P, t);
}

bool PointInEllipse(TPoint P, int Left, int Top, int Right, int Bottom)
{
    const int64_t cx = (int64_t(Left) + Right) / 2, cy = (int64_t(Top) + Bottom) / 2;
    const int64_t a = cx - Left, b = cy - Top;
    if (a == 0 || b == 0)
        return false;
    // dx^2 / a^2 + dy^2 / b^2 <= 1, multiplied out by a^2 b^2.
    const int128 a2 = Sqr(a), b2 = Sqr(b);
    return int128(Sqr(P.X - cx)) * b2 + int128(Sqr(P.Y - cy)) * a2 <= a2 * b2;
}

bool PointInEllipseRect(TPoint P, const TRect& R)
{
    return PointInEllipse(P, R.Left, R.Top, R.Right, R.Bottom);
}

// ---- delimited items and names ---------------------------------------------------

int CountDelimitedItems(const std::string& Text)
{
    return CountDelimitedItemsBy(Text, TeeItemSeparator);
}

int CountDelimitedItemsBy(const std::string& Text, const std::string& Separator)
{
    if (Text.empty())
        return 0;
    int count = 1;
    if (Separator.empty())
        return count;
    for (std::size_t at = Text.find(Separator); at != std::string::npos; at = Text.find(Separator, at + Separator.size()))
        ++count;
    return count;
}

std::string DelimitedItem(const std::string& Text, int N)
{
    return DelimitedItemBy(Text, N, TeeItemSeparator);
}

std::string DelimitedItemBy(const std::string& Text, int N, const std::string& Separator)
{
    if (N < 1 || Text.empty())
        return {};
    if (Separator.empty())
        return N == 1 ? Text : std::string();
    std::size_t start = 0;
    for (int i = 1; i < N; ++i) {
        const std::size_t at = Text.find(Separator, start);
        if (at == std::string::npos)
            return {};   // fewer than N items
        start = at + Separator.size();
    }
    const std::size_t end = Text.find(Separator, start);
    return Text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string SubstituteChar(const std::string& Text, char Old, char New)
{
    std::string result;
    result.reserve(Text.size());
    for (char c : Text) {
        if (c != Old)
            result += c;
        else if (New != '\0')
            result += New;
    }
    return result;
}

std::string TransformCharsA(const std::string& Text)
{
    const TFormatSettings& fs = FormatSettings();
    std::string result = Text;
    for (char& c : result) {
        if (c == ',')
            c = fs.ThousandSeparator;
        else if (c == '.')
            c = fs.DecimalSeparator;
    }
    return result;
}

std::string TransformCharsB(const std::string& Text)
{
    const TFormatSettings& fs = FormatSettings();
    std::string result = Text;
    for (char& c : result) {
        if (c == fs.ThousandSeparator)
            c = ',';
        else if (c == fs.DecimalSeparator)
            c = '.';
    }
    return result;
}

std::string NumberedComponentName(const TComponent* Owner, const std::string& Base)
{
    if (!Owner)
        return Base + "1";
    for (int64_t n = 1;; ++n) {
        const std::string name = Base + std::to_string(n);
        if (!Owner->FindComponent(name))
            return name;
    }
}

// ---- sorting ----------------------------------------------------------------------

void SortIndexRange(int Low, int High, const TTeeSortCompare& Compare, const TTeeSortSwap& Swap)
{
    while (Low < High) {
        int i = Low, j = High;
        int pivot = Low + (High - Low) / 2;
        while (i <= j) {
            while (i < High && Compare(i, pivot) < 0)
                ++i;
            while (j > Low && Compare(j, pivot) > 0)
                --j;
            if (i <= j) {
                if (i != j) {
                    Swap(i, j);
                    // The pivot item moved with the swap.
                    if (pivot == i)
                        pivot = j;
                    else if (pivot == j)
                        pivot = i;
                }
                ++i;
                --j;
            }
        }
        // Recurse into the smaller half and loop on the larger, so the depth stays small.
        if (j - Low < High - i) {
            SortIndexRange(Low, j, Compare, Swap);
            Low = i;
        } else {
            SortIndexRange(i, High, Compare, Swap);
            High = j;
        }
    }
}

// ---- default colour palette ---------------------------------------------------------

const std::vector<TColor>& BuiltInDefaultPalette()
{
    static const std::vector<TColor> palette = {
        0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080, 0xFF00FF, 0x808000, 0x800000, 0x000080,
        0x00FF00, 0x008080, 0x800080, 0xC0C0C0, 0xFFFF00, 0x000000, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0,
    };
    return palette;
}

const std::vector<TColor>& DefaultPalette()
{
    return PaletteStorage();
}

TColor GetDefaultPaletteColor(int Index)
{
    const std::vector<TColor>& palette = PaletteStorage();
    const int64_t n = static_cast<int64_t>(palette.size());
    return palette[static_cast<std::size_t>(((int64_t(Index) % n) + n) % n)];
}

void SetDefaultPalette(std::span<const TColor> Colors)
{
    if (Colors.empty())
        PaletteStorage() = BuiltInDefaultPalette();
    else
        PaletteStorage().assign(Colors.begin(), Colors.end());
}

// ---- controls and class bitmaps ----------------------------------------------------

void ForEachItem(bool Enable, std::span<TControl* const> Controls)
{
    for (TControl* c : Controls)
        if (c != nullptr)
            c->SetEnabled(Enable);
}

void ForEachItem(bool Enable, std::initializer_list<TControl*> Controls)
{
    ForEachItem(Enable, std::span<TControl* const>(Controls.begin(), Controls.size()));
}

bool FindBitmapInModules(TBitmap* Bitmap, const std::string& Name, const std::string& SecondName)
{
    if (Bitmap == nullptr)
        return false;
    if (LoadBitmapResource(Bitmap, Name))
        return true;
    return !SecondName.empty() && LoadBitmapResource(Bitmap, SecondName);
}

bool LoadBitmapForClass(const TObject* Object, TBitmap* Bitmap, const std::string& ParentClassName)
{
    if (Object == nullptr)
        return false;
    return FindBitmapInModules(Bitmap, Object->ClassName(), ParentClassName);
}

// ---- the hand cursor ----------------------------------------------------------------

namespace {

// A hand pointing up with its index finger: '#' outline, '.' inside, blanks see-through.
const char* const HandCursorRows[] = {
    "     ##         ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..###      ",
    "    #..#..###   ",
    "    #..#..#..## ",
    " ## #..#..#..#.#",
    "#..##........#.#",
    "#...#..........#",
    " #.............#",
    "  #............#",
    "  #............#",
    "   #...........#",
    "   #..........# ",
    "    #.........# ",
    "    #.........# ",
    "     #.......#  ",
    "     #.......#  ",
    "     #########  ",
};
constexpr TColor HandCursorClear = clFuchsia;
constexpr TPoint HandCursorHotSpot{5, 0};

void RegisterHandCursor()
{
    TBitmap image(32, 32);
    TCanvas* c = image.Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(HandCursorClear);
    c->FillRect(TRect(0, 0, 32, 32));
    int y = 0;
    for (const char* row : HandCursorRows) {
        for (int x = 0; row[x] != '\0'; ++x) {
            if (row[x] == '#')
                c->SetPixel(x, y, clBlack);
            else if (row[x] == '.')
                c->SetPixel(x, y, clWhite);
        }
        ++y;
    }
    c->Flush();
    Screen()->SetCursorImage(crTeeHand, image, HandCursorClear, HandCursorHotSpot);
}

} // namespace

// ---- unit start-up ----------------------------------------------------------------

void RizUriduInitialization()
{
    SetDefaultPalette({});
    TeeItemSeparator = ";";
    RegisterHandCursor();
}

void RizUriduFinalization()
{
    SetDefaultPalette({});
    TeeItemSeparator = ";";
    Screen()->RemoveCursor(crTeeHand);
}
