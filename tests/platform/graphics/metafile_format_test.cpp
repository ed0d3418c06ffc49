// Byte layout of the metafiles we write, the order of recorded records, and reading
// damaged files.
#include "GraphicsTestUtil.h"
#include "TestSupport.h"

#include "classes/Streams.h"
#include "graphics/Metafile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
int32_t I32(const std::vector<uint8_t>& b, size_t at) { return int32_t(U32(b, at)); }
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }

struct Rec {
    uint32_t Type;
    size_t At;
    uint32_t Size;
};

// The records of an enhanced metafile, checking the framing on the way.
std::vector<Rec> Records(const std::vector<uint8_t>& b)
{
    std::vector<Rec> out;
    size_t at = 0;
    while (at + 8 <= b.size()) {
        const uint32_t type = U32(b, at), size = U32(b, at + 4);
        EXPECT_GE(size, 8u);
        EXPECT_EQ(size % 4, 0u) << "record " << type;
        if (size < 8 || at + size > b.size()) {
            ADD_FAILURE() << "record runs past the end";
            break;
        }
        out.push_back({type, at, size});
        at += size;
    }
    EXPECT_EQ(at, b.size());
    return out;
}

std::unique_ptr<TMetafile> Tiny()
{
    auto m = std::make_unique<TMetafile>();
    m->SetWidth(20);
    m->SetHeight(10);
    {
        TMetafileCanvas c(m.get());
        c.Pen()->SetColor(clRed);
        c.Rectangle(1, 2, 10, 8);
    }
    return m;
}

} // namespace

TEST(MetafileFormat, EnhancedHeaderAndRecordFraming)
{
    auto m = Tiny();
    const std::vector<uint8_t> b = m->SaveToBytes();
    ASSERT_GE(b.size(), 108u);
    EXPECT_EQ(U32(b, 0), 1u);                   // EMR_HEADER
    EXPECT_EQ(U32(b, 4), 108u);                 // header with the micrometre extension
    EXPECT_EQ(U32(b, 40), 0x464D4520u);         // " EMF"
    EXPECT_EQ(U32(b, 44), 0x10000u);
    EXPECT_EQ(U32(b, 48), b.size());            // nBytes
    // The frame is the picture's size in 0.01 mm, inclusive: 20 px = 529 units.
    EXPECT_EQ(I32(b, 24), 0);
    EXPECT_EQ(I32(b, 28), 0);
    EXPECT_EQ(I32(b, 32), 528);
    EXPECT_EQ(I32(b, 36), 264);   // 10 px = 265 units
    EXPECT_EQ(m->MMWidth(), 529);
    // Bounds hold the rectangle's pixels (with a pixel to spare for the pen) and end
    // exactly at the frame.
    EXPECT_LE(I32(b, 8), 1);
    EXPECT_LE(I32(b, 12), 2);
    EXPECT_GE(I32(b, 16), 9);
    EXPECT_GE(I32(b, 20), 7);
    EXPECT_GE(I32(b, 8), 0);
    EXPECT_GE(I32(b, 12), 1);
    EXPECT_LE(I32(b, 16), 11);
    EXPECT_LE(I32(b, 20), 9);
    {
        TMetafileCanvas c(m.get());
        c.Rectangle(12, 3, 30, 6);
    }
    const std::vector<uint8_t> past = m->SaveToBytes();
    EXPECT_EQ(I32(past, 16), 19);

    const std::vector<Rec> recs = Records(b);
    ASSERT_GE(recs.size(), 3u);
    EXPECT_EQ(U32(b, 52), recs.size());         // nRecords, header and EOF included
    const Rec& eof = recs.back();
    EXPECT_EQ(eof.Type, 14u);
    EXPECT_EQ(eof.Size, 20u);
    EXPECT_EQ(U32(b, eof.At + 16), 20u);        // nSizeLast

    // Pen made and selected, brush made and selected, then the rectangle.
    int pen = -1, brush = -1, rect = -1;
    for (size_t i = 0; i < recs.size(); ++i) {
        if (recs[i].Type == 38 && pen < 0) {
            pen = int(i);
            EXPECT_EQ(U32(b, recs[i].At + 24), 0x0000FFu);          // red as COLORREF
            ASSERT_EQ(recs[i + 1].Type, 37u);                       // EMR_SELECTOBJECT
            EXPECT_EQ(U32(b, recs[i + 1].At + 8), U32(b, recs[i].At + 8));
        }
        if (recs[i].Type == 39 && brush < 0)
            brush = int(i);
        if (recs[i].Type == 43) {
            rect = int(i);
            // The box as the record keeps it: right and bottom inclusive.
            EXPECT_EQ(I32(b, recs[i].At + 8), 1);
            EXPECT_EQ(I32(b, recs[i].At + 12), 2);
            EXPECT_EQ(I32(b, recs[i].At + 16), 9);
            EXPECT_EQ(I32(b, recs[i].At + 20), 7);
        }
    }
    ASSERT_GE(pen, 0);
    ASSERT_GE(brush, 0);
    ASSERT_GE(rect, 0);
    EXPECT_LT(pen, rect);
    EXPECT_LT(brush, rect);
    EXPECT_GE(U16(b, 56), 3u);   // handle table: slot 0, pen, brush
}

TEST(MetafileFormat, PlaceableWindowsMetafileHeader)
{
    auto m = Tiny();
    m->SetEnhanced(false);
    const std::vector<uint8_t> b = m->SaveToBytes();
    ASSERT_GE(b.size(), 40u);
    EXPECT_EQ(U32(b, 0), 0x9AC6CDD7u);
    EXPECT_EQ(U16(b, 4), 0);
    EXPECT_EQ(U16(b, 6), 0);
    EXPECT_EQ(U16(b, 8), 0);
    EXPECT_EQ(U16(b, 10), 20);
    EXPECT_EQ(U16(b, 12), 10);
    EXPECT_EQ(U16(b, 14), 96);
    // XOR of the first ten words: CDD7 ^ 9AC6 ^ 0 ^ 0 ^ 0 ^ 0014 ^ 000A ^ 0060 ^ 0 ^ 0.
    EXPECT_EQ(U16(b, 20), 0x576F);
    // METAHEADER
    EXPECT_EQ(U16(b, 22), 1);
    EXPECT_EQ(U16(b, 24), 9);
    EXPECT_EQ(U16(b, 26), 0x0300);
    EXPECT_EQ(U32(b, 28) * 2, b.size() - 22);
    // Records in words, the last one the 3-word end record; the largest is reported.
    size_t at = 40;
    uint32_t largest = 0, last = 0, lastFn = 0xFFFF;
    bool rectangle = false;
    while (at + 6 <= b.size()) {
        const uint32_t words = U32(b, at);
        ASSERT_GE(words, 3u);
        largest = std::max(largest, words);
        last = words;
        lastFn = U16(b, at + 4);
        if (lastFn == 0x041B) {
            rectangle = true;
            // bottom, right, top, left as the call gave them
            EXPECT_EQ(U16(b, at + 6), 8);
            EXPECT_EQ(U16(b, at + 8), 10);
            EXPECT_EQ(U16(b, at + 10), 2);
            EXPECT_EQ(U16(b, at + 12), 1);
        }
        at += words * 2;
    }
    EXPECT_EQ(at, b.size());
    EXPECT_TRUE(rectangle);
    EXPECT_EQ(last, 3u);
    EXPECT_EQ(lastFn, 0u);
    EXPECT_EQ(U32(b, 34), largest);
}

TEST(MetafileFormat, StateChangesRecordedInOrder)
{
    TMetafile m;
    m.SetWidth(30);
    m.SetHeight(30);
    {
        TMetafileCanvas c(&m);
        c.Pen()->SetColor(clRed);
        c.MoveTo(0, 0);
        c.LineTo(10, 10);
        c.Brush()->SetStyle(bsClear);
        c.Rectangle(2, 2, 20, 20);
        c.IntersectClipRect(5, 5, 15, 15);
        c.Pen()->SetColor(clBlue);
        c.LineTo(0, 20);
    }
    const std::vector<uint8_t> b = m.SaveToBytes();
    const std::vector<Rec> recs = Records(b);
    // Keep the records that the test is about: pens, brushes, drawing and clipping.
    std::vector<std::string> seen;
    for (const Rec& r : recs) {
        switch (r.Type) {
        case 38: seen.push_back(U32(b, r.At + 24) == 0x0000FF ? "pen red" : U32(b, r.At + 24) == 0xFF0000 ? "pen blue" : "pen"); break;
        case 39: seen.push_back(U32(b, r.At + 12) == 1 ? "brush clear" : "brush"); break;
        case 54: seen.push_back("lineto"); break;
        case 43: seen.push_back("rectangle"); break;
        case 30: seen.push_back("intersect"); break;
        default: break;
        }
    }
    const std::vector<std::string> want = {"pen red", "brush", "lineto", "brush clear", "rectangle",
                                           "intersect", "pen blue", "lineto"};
    EXPECT_EQ(seen, want);
    // A replaced object is deleted after its successor is selected.
    int deletes = 0;
    for (const Rec& r : recs)
        deletes += r.Type == 40 ? 1 : 0;
    EXPECT_EQ(deletes, 2);
}

TEST(MetafileFormat, DamagedFilesAreRefused)
{
    auto m = Tiny();
    std::vector<uint8_t> b = m->SaveToBytes();
    TMetafile other;
    // Not a metafile at all.
    EXPECT_THROW(other.LoadFromBytes(std::vector<uint8_t>(64, 0x41)), EInvalidGraphic);
    // A record whose size runs past the end.
    std::vector<uint8_t> bad = b;
    const uint32_t huge = 0x7FFFFFF0;
    std::memcpy(bad.data() + 108 + 4, &huge, 4);
    EXPECT_THROW(other.LoadFromBytes(bad), EInvalidGraphic);
    // A size that is not a multiple of four.
    bad = b;
    const uint32_t odd = 13;
    std::memcpy(bad.data() + 108 + 4, &odd, 4);
    EXPECT_THROW(other.LoadFromBytes(bad), EInvalidGraphic);
    EXPECT_TRUE(other.Empty());
    // An empty stream.
    TMemoryStream empty;
    EXPECT_THROW(other.LoadFromStream(&empty), EInvalidGraphic);

    // Records whose inner counts lie are skipped, not read past their end.
    bad = b;
    for (const Rec& r : Records(b))
        if (r.Type == 43)
            std::memset(bad.data() + r.At + 8, 0xFF, r.Size - 8);
    TMetafile loaded;
    loaded.LoadFromBytes(bad);
    auto bmp = gfxtest::WhiteBitmap(20, 10);
    loaded.Draw(*bmp->Canvas(), TRect(0, 0, 20, 10));
    EXPECT_EQ(gfxtest::Count(*bmp, clWhite), 200);
}
