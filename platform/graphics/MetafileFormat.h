// Inside the platform only: record numbers and byte layout of enhanced and Windows
// metafiles, little-endian writers and checked readers, and the file-level conversions.
#pragma once

#include "graphics/Types.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace mfformat {

// Enhanced-metafile record types.
enum : uint32_t {
    EMR_HEADER = 1, EMR_POLYBEZIER = 2, EMR_POLYGON = 3, EMR_POLYLINE = 4,
    EMR_SETWINDOWEXTEX = 9, EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12,
    EMR_EOF = 14, EMR_SETPIXELV = 15, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20, EMR_SETTEXTALIGN = 22, EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27,
    EMR_EXCLUDECLIPRECT = 29, EMR_INTERSECTCLIPRECT = 30, EMR_SAVEDC = 33, EMR_RESTOREDC = 34,
    EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42, EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44, EMR_ARC = 45, EMR_CHORD = 46, EMR_PIE = 47,
    EMR_LINETO = 54, EMR_ARCTO = 55, EMR_SETARCDIRECTION = 57, EMR_BEGINPATH = 59, EMR_ENDPATH = 60,
    EMR_CLOSEFIGURE = 61, EMR_FILLPATH = 62, EMR_STROKEANDFILLPATH = 63, EMR_STROKEPATH = 64,
    EMR_WIDENPATH = 66, EMR_SELECTCLIPPATH = 67, EMR_ABORTPATH = 68, EMR_GDICOMMENT = 70,
    EMR_EXTSELECTCLIPRGN = 75, EMR_BITBLT = 76, EMR_STRETCHBLT = 77, EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTW = 84, EMR_POLYBEZIER16 = 85, EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87, EMR_CREATEMONOBRUSH = 93, EMR_CREATEDIBPATTERNBRUSHPT = 94, EMR_EXTCREATEPEN = 95,
    EMR_ALPHABLEND = 114, EMR_TRANSPARENTBLT = 116,
};

// Windows-metafile record functions.
enum : uint16_t {
    META_EOF = 0x0000, META_SAVEDC = 0x001E, META_SETBKMODE = 0x0102, META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104, META_SETPOLYFILLMODE = 0x0106, META_SETTEXTCHAREXTRA = 0x0108,
    META_RESTOREDC = 0x0127, META_SELECTCLIPREGION = 0x012C, META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E, META_DELETEOBJECT = 0x01F0, META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209, META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C,
    META_SETVIEWPORTORG = 0x020D, META_SETVIEWPORTEXT = 0x020E, META_LINETO = 0x0213, META_MOVETO = 0x0214,
    META_CREATEPENINDIRECT = 0x02FA, META_CREATEFONTINDIRECT = 0x02FB, META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324, META_POLYLINE = 0x0325, META_EXCLUDECLIPRECT = 0x0415,
    META_INTERSECTCLIPRECT = 0x0416, META_ELLIPSE = 0x0418, META_RECTANGLE = 0x041B, META_SETPIXEL = 0x041F,
    META_ROUNDRECT = 0x061C, META_PATBLT = 0x061D, META_CREATEREGION = 0x06FF, META_ARC = 0x0817,
    META_PIE = 0x081A, META_CHORD = 0x0830, META_EXTTEXTOUT = 0x0A32, META_STRETCHDIB = 0x0F43,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
};

constexpr uint32_t PS_NULL = 5, PS_INSIDEFRAME = 6, PS_USERSTYLE = 7, PS_ALTERNATE = 8;
constexpr uint32_t PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200;
constexpr uint32_t PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000, PS_GEOMETRIC = 0x10000;
constexpr uint32_t BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2;
constexpr uint32_t ETO_OPAQUE = 2, ETO_CLIPPED = 4;
constexpr uint32_t kEmfSignature = 0x464D4520;        // " EMF"
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
// Our own comment record: the text character extra, which has no record of its own.
constexpr uint32_t kCharExtraTag = 0x54584543;       // "CEXT"

inline uint32_t DibStride(int width, int bpp) { return ((uint32_t(width) * uint32_t(bpp) + 31) / 32) * 4; }

struct Writer {
    std::vector<uint8_t> b;
    void u8(uint8_t v) { b.push_back(v); }
    void u16(uint16_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); }
    void i16(int v) { u16(uint16_t(int16_t(std::clamp(v, -32768, 32767)))); }
    void u32(uint32_t v) { u16(uint16_t(v)); u16(uint16_t(v >> 16)); }
    void i32(int32_t v) { u32(uint32_t(v)); }
    void f32(float v)
    {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        u32(u);
    }
    void put32(size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }
    // Pads an enhanced record to a multiple of four bytes and writes its size.
    void Finish()
    {
        while (b.size() % 4)
            b.push_back(0);
        put32(4, uint32_t(b.size()));
    }
};

// A record's bytes; reads outside them answer 0.
struct Reader {
    const uint8_t* p = nullptr;
    uint32_t len = 0;
    bool Has(uint64_t at, uint64_t n) const { return at <= len && n <= len - at; }
    uint8_t u8(uint64_t at) const { return Has(at, 1) ? p[at] : 0; }
    uint16_t u16(uint64_t at) const { return Has(at, 2) ? uint16_t(p[at] | (p[at + 1] << 8)) : 0; }
    int16_t i16(uint64_t at) const { return int16_t(u16(at)); }
    uint32_t u32(uint64_t at) const { return Has(at, 4) ? uint32_t(u16(at)) | (uint32_t(u16(at + 2)) << 16) : 0; }
    int32_t i32(uint64_t at) const { return int32_t(u32(at)); }
    // A coordinate, extent or other signed field, brought into the range the drawing code
    // takes (MaxDeviceCoord), so that a hostile record cannot overflow the arithmetic on it.
    int32_t coord(uint64_t at) const { return ClampDeviceCoord(int64_t(i32(at))); }
};

// A metafile as this platform keeps it: enhanced records between header and EOF.
struct EmfParts {
    std::vector<uint8_t> Records;
    uint32_t RecordCount = 0;
    uint16_t Handles = 1;
    TRect Bounds{0, 0, -1, -1};
    int Width = 0, Height = 0, MMWidth = 0, MMHeight = 0;
};

std::vector<uint8_t> WriteEmf(const EmfParts& m);
// A placeable Windows metafile: the enhanced records turned into their 16-bit forms
// (operations without one are left out).
std::vector<uint8_t> WriteWmf(const EmfParts& m);
// Reads an enhanced or a (placeable or plain) Windows metafile; false when the bytes
// hold neither.
bool ReadMetafile(const std::vector<uint8_t>& bytes, EmfParts& out, bool& enhanced);

} // namespace mfformat
