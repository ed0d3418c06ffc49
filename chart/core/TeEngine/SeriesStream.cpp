// The series as the component stream sees it: its published properties, the defined
// entries ("Data", "DataSources", "CustomHorizAxis", "CustomVertAxis") and its function
// as a child component.
#include "TeEngine/Series.h"

#include "TeEngine/Axis.h"
#include "TeEngine/AxisPanel.h"
#include "TeEngine/Function.h"
#include "TeEngine/Marks.h"
#include "classes/Streaming.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>

BEGIN_CLASS_INFO(TChartSeries, TCustomChartSeries)
    .Bool("ColorEachPoint", &TChartSeries::ColorEachPoint, &TChartSeries::SetColorEachPoint).Default(false)
    .Str("ColorSource", &TChartSeries::ColorSource, &TChartSeries::SetColorSource)
    .Int("Cursor", &TChartSeries::Cursor, &TChartSeries::SetCursor).Default(crDefault)
    .Reference("DataSource", &TChartSeries::DataSource, &TChartSeries::SetDataSource)
        .Stored([](TChartSeries& S) { return S.DataSources()->Count() == 1; })
    .Int("Depth", &TChartSeries::Depth, &TChartSeries::SetDepth).Within(-MaxStoredPixels, MaxStoredPixels).Default(-1)
    .Enum("HorizAxis", &TChartSeries::HorizAxis, &TChartSeries::SetHorizAxis,
          {"aTopAxis", "aBottomAxis", "aBothHorizAxis", "aCustomHorizAxis"}).Default(aBottomAxis)
    .Object("Marks", &TChartSeries::Marks)
    .Reference("ParentChart", &TChartSeries::ParentChart, &TChartSeries::SetParentChart).Stored(false)
    .Str("PercentFormat", &TChartSeries::PercentFormat, &TChartSeries::SetPercentFormat).Default("##0.## %")
    .Int("SeriesColor", &TChartSeries::SeriesColor, &TChartSeries::SetSeriesColor).Idents(ColorIdents())
        .Stored([](TChartSeries& S) { return S.StoredSeriesColor() != clDefault; })
    .Str("ValueFormat", &TChartSeries::ValueFormat, &TChartSeries::SetValueFormat).Default("#,##0.###")
    .Enum("VertAxis", &TChartSeries::VertAxis, &TChartSeries::SetVertAxis,
          {"aLeftAxis", "aRightAxis", "aBothVertAxis", "aCustomVertAxis"}).Default(aLeftAxis)
    .Str("XLabelsSource", &TChartSeries::XLabelsSource, &TChartSeries::SetXLabelsSource)
    .Object("XValues", &TChartSeries::XValues)
    .Object("YValues", &TChartSeries::YValues)
    .Event("AfterDrawValues")
    .Event("BeforeDrawValues")
    .Event("OnAfterAdd")
    .Event("OnBeforeAdd")
    .Event("OnClearValues")
    .Event("OnClick")
    .Event("OnDblClick")
    .Event("OnGetMarkText")
    .Event("OnMouseEnter")
    .Event("OnMouseLeave")
END_CLASS_INFO

namespace {

enum : uint8_t {
    dfXValues = 1,
    dfColors = 2,
    dfLabels = 4,
    dfMarkPositions = 8,
    dfLongLabels = 16,
};

// Bytes of a mark position: two points and three sizes of 32 bits, two flag bytes.
constexpr int64_t MarkPositionSize = 34;

// Appends little-endian numbers: straight into a memory stream written at its end, with
// room sized beforehand (labels may make it grow); into any other stream through a
// buffer of bounded size, passed on whenever the next number does not fit, so that no
// copy of the whole payload is made.
class TDataWriter {
public:
    TDataWriter(TStream* Stream, size_t Size) : FStream(Stream), FMemory(dynamic_cast<TMemoryStream*>(Stream))
    {
        if (FMemory != nullptr && FMemory->Position() != FMemory->Size())
            FMemory = nullptr;
        FStart = FMemory != nullptr ? FMemory->Position() : 0;
        Grow(FMemory != nullptr ? Size : std::min(Size, BufferSize));
    }
    void Byte(uint8_t v) { *At(1) = v; }
    void Int32(int32_t v)
    {
        uint8_t* p = At(4);
        const auto u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<uint8_t>(u >> (8 * i));
    }
    void Double(double v)
    {
        uint8_t* p = At(8);
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(p, &v, 8);
        } else {
            uint64_t u;
            std::memcpy(&u, &v, sizeof u);
            for (int i = 0; i < 8; ++i)
                p[i] = static_cast<uint8_t>(u >> (8 * i));
        }
    }
    void Text(const std::string& v)
    {
        if (!v.empty())
            std::memcpy(At(v.size()), v.data(), v.size());
    }
    // Room for Size bytes that the caller fills.
    uint8_t* Block(size_t Size) { return At(Size); }
    // How many items of Unit bytes each the next Block takes without passing anything
    // on (at least one).
    size_t UnitsInRoom(size_t Unit) const
    {
        if (FMemory != nullptr)
            return std::numeric_limits<size_t>::max() / Unit;
        return std::max<size_t>(1, (FCapacity - FPos >= Unit ? FCapacity - FPos : FCapacity) / Unit);
    }
    // The bytes end up in the stream, which is left behind them.
    void Finish()
    {
        if (FMemory != nullptr) {
            FMemory->SetSize(FStart + static_cast<int64_t>(FPos));
            FMemory->SetPosition(FStart + static_cast<int64_t>(FPos));
        } else {
            PassOn();
        }
    }

private:
    // The most a buffer in front of another stream holds, unless one number needs more.
    static constexpr size_t BufferSize = size_t(1) << 18;

    uint8_t* At(size_t n)
    {
        if (FCapacity - FPos < n) {
            if (FMemory != nullptr) {
                Grow(std::max(FCapacity * 2, FPos + n));
            } else {
                PassOn();
                if (FCapacity < n)
                    Grow(n);
            }
        }
        uint8_t* p = FBase + FPos;
        FPos += n;
        return p;
    }
    void Grow(size_t Capacity)
    {
        if (FMemory != nullptr) {
            // Room that is written before it is read, and cut back to what was written.
            FMemory->Extend(FStart + static_cast<int64_t>(Capacity) - FMemory->Size());
            FBase = reinterpret_cast<uint8_t*>(FMemory->Memory()) + FStart;
        } else {
            // Written before it is passed on: not cleared.
            FBuffer = std::make_unique_for_overwrite<uint8_t[]>(Capacity);
            FBase = FBuffer.get();
        }
        FCapacity = Capacity;
    }
    // The buffer's bytes into the stream; the buffer is empty again.
    void PassOn()
    {
        FStream->WriteBuffer(FBase, static_cast<int64_t>(FPos));
        FPos = 0;
    }

    TStream* FStream;
    TMemoryStream* FMemory;
    int64_t FStart = 0;
    std::unique_ptr<uint8_t[]> FBuffer;
    uint8_t* FBase = nullptr;
    size_t FCapacity = 0;
    size_t FPos = 0;
};

// Reads the payload of "Data" with every length checked against what is there.
class TDataReader {
public:
    TDataReader(const uint8_t* Data, int64_t Size) : FPoints(Data), FSize(Size) {}
    int64_t Left() const { return FSize - FPos; }
    void Need(int64_t n) const
    {
        if (n < 0 || n > Left())
            throw EReadError(SReadError);
    }
    uint8_t Byte()
    {
        Need(1);
        return FPoints[FPos++];
    }
    int32_t Int32()
    {
        Need(4);
        const uint8_t* p = FPoints + FPos;
        FPos += 4;
        return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    }
    double Double()
    {
        Need(8);
        double v;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&v, FPoints + FPos, 8);
        } else {
            uint64_t u = 0;
            for (int i = 7; i >= 0; --i)
                u = (u << 8) | FPoints[FPos + i];
            std::memcpy(&v, &u, sizeof v);
        }
        FPos += 8;
        return v;
    }
    // The next n bytes in place.
    const uint8_t* Block(int64_t n)
    {
        Need(n);
        const uint8_t* p = FPoints + FPos;
        FPos += n;
        return p;
    }
    std::string Text(int64_t n)
    {
        Need(n);
        std::string s(reinterpret_cast<const char*>(FPoints + FPos), static_cast<size_t>(n));
        FPos += n;
        return s;
    }

private:
    const uint8_t* FPoints;
    int64_t FSize;
    int64_t FPos = 0;
};

} // namespace

// ---- "Data" ----------------------------------------------------------------------------

uint8_t TChartSeries::SeriesDataFlags() const
{
    uint8_t flags = 0;
    if (FPoints.HasCustomXValues())
        flags |= dfXValues;
    if (FPoints.HasPointColors(SeriesColor()))
        flags |= dfColors;
    if (FPoints.HasLabels()) {
        flags |= dfLabels;
        if (FPoints.HasLongLabels())
            flags |= dfLongLabels;
    }
    if (FMarks->Positions()->ExistCustom())
        flags |= dfMarkPositions;
    return flags;
}

void TChartSeries::WriteData(TStream* Stream)
{
    const uint8_t flags = SeriesDataFlags();
    const int n = Count();
    const TChartValueLists* valueLists = FPoints.ValuesList();
    const int lists = valueLists->Count();
    const size_t perPoint = 8 + ((flags & dfXValues) ? 8 : 0) + ((flags & dfColors) ? 4 : 0) +
                            8 * static_cast<size_t>(std::max(lists - 2, 0)) +
                            ((flags & dfMarkPositions) ? MarkPositionSize : 0) +
                            ((flags & dfLabels) ? ((flags & dfLongLabels) ? 4 : 1) : 0);
    TDataWriter w(Stream, 5 + perPoint * static_cast<size_t>(n));
    w.Byte(flags);
    w.Int32(n);
    const TSeriesMarksPositions* positions = FMarks->Positions();
    const TSeriesMarkPosition none;
    const double* other = FPoints.NotMandatoryValueList()->Data();
    const double* mandatory = FPoints.MandatoryValueList()->Data();
    if ((flags & ~dfXValues) == 0 && lists == 2 && std::endian::native == std::endian::little) {
        // Plain points: their doubles in blocks as large as the writer takes at once.
        const bool withX = (flags & dfXValues) != 0;
        const size_t unit = withX ? 16 : 8;
        for (int i = 0; i < n;) {
            const int end = static_cast<int>(std::min<size_t>(static_cast<size_t>(n - i), w.UnitsInRoom(unit))) + i;
            uint8_t* p = w.Block(static_cast<size_t>(end - i) * unit);
            for (; i < end; ++i) {
                if (withX) {
                    std::memcpy(p, other + i, 8);
                    p += 8;
                }
                std::memcpy(p, mandatory + i, 8);
                p += 8;
            }
        }
        w.Finish();
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (flags & dfXValues)
            w.Double(other[i]);
        w.Double(mandatory[i]);
        if (flags & dfColors)
            w.Int32(FPoints.StoredColor(i));
        if (flags & dfLabels) {
            const std::string label = FPoints.LabelText(i);
            if (flags & dfLongLabels) {
                if (label.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
                    throw ERangeError();
                w.Int32(static_cast<int32_t>(label.size()));
            } else {
                w.Byte(static_cast<uint8_t>(label.size()));
            }
            w.Text(label);
        }
        for (int k = 2; k < lists; ++k)
            w.Double(valueLists->ValueList(k)->Value(i));
        if (flags & dfMarkPositions) {
            const TSeriesMarkPosition* p = positions->Position(i);
            if (p == nullptr)
                p = &none;
            w.Int32(p->ArrowFrom.X);
            w.Int32(p->ArrowFrom.Y);
            w.Byte(p->ArrowFix ? 1 : 0);
            w.Int32(p->ArrowTo.X);
            w.Int32(p->ArrowTo.Y);
            w.Byte(p->Custom ? 1 : 0);
            w.Int32(p->Height);
            w.Int32(p->LeftTop.X);
            w.Int32(p->LeftTop.Y);
            w.Int32(p->Width);
        }
    }
    w.Finish();
}

void TChartSeries::ReadData(TStream* Stream)
{
    // The bytes in memory, read straight from a memory stream.
    std::vector<uint8_t> copy;
    const uint8_t* data;
    const int64_t size = Stream->Size() - Stream->Position();
    if (auto* m = dynamic_cast<TMemoryStream*>(Stream)) {
        data = reinterpret_cast<const uint8_t*>(m->Memory()) + m->Position();
    } else if (auto* v = dynamic_cast<TMemoryViewStream*>(Stream)) {
        data = reinterpret_cast<const uint8_t*>(v->Memory()) + v->Position();
    } else {
        copy.resize(static_cast<size_t>(size));
        Stream->ReadBuffer(copy.data(), size);
        data = copy.data();
    }
    TDataReader r(data, size);
    TChartValueLists* valueLists = FPoints.ValuesList();
    const int lists = valueLists->Count();
    const bool horizontal = !FPoints.YMandatory();
    BeginUpdate();
    {
        auto update = TScopeGuard([this] { EndUpdate(); });
        // A stream that cannot be read leaves the series empty.
        auto failed = TScopeGuard([this] { Clear(); });
        Clear();
        const uint8_t flags = r.Byte();
        const int32_t n = r.Int32();
        const int64_t minPerPoint = 8 + ((flags & dfXValues) ? 8 : 0) + ((flags & dfColors) ? 4 : 0) +
                                    ((flags & dfLabels) ? ((flags & dfLongLabels) ? 4 : 1) : 0) +
                                    8 * int64_t(std::max(lists - 2, 0)) +
                                    ((flags & dfMarkPositions) ? MarkPositionSize : 0);
        if (n < 0 || (flags & 0xE0) != 0)
            throw EReadError(SInvalidPropertyValue);
        // A count the payload cannot hold fails before anything is reserved for it.
        if (minPerPoint * n > r.Left())
            throw EReadError(SInvalidPropertyValue);

        // The points as columns first; they then become the lists whole when that is
        // what adding them one by one would give (no handler may refuse one, and the X
        // values come in the lists' order), else they are added one by one.
        std::vector<std::vector<double>> columns(static_cast<size_t>(lists));
        for (auto& column : columns)
            column.resize(static_cast<size_t>(n));
        std::vector<TColor> colors;
        if (flags & dfColors)
            colors.resize(static_cast<size_t>(n));
        std::vector<std::string> labels;
        if (flags & dfLabels)
            labels.resize(static_cast<size_t>(n));
        double* xs = columns[0].data();
        double* ys = columns[1].data();
        const TChartListOrder order = FPoints.XValues()->Order();
        bool inOrder = true;
        // A point's two values into the columns, noting whether X keeps the lists' order.
        auto place = [&](int32_t i, double x, double v) {
            if (horizontal)
                std::swap(x, v);
            xs[i] = x;
            ys[i] = v;
            if (i > 0 && ((order == loAscending && !(x >= xs[i - 1])) || (order == loDescending && !(x <= xs[i - 1]))))
                inOrder = false;
        };
        const bool plain = (flags & ~dfXValues) == 0 && lists == 2 && std::endian::native == std::endian::little;
        // Plain points: their doubles straight from the block, whose size was checked.
        const uint8_t* block = plain ? r.Block(minPerPoint * n) : nullptr;
        for (int32_t i = 0; plain && i < n; ++i) {
            double x = double(i), v;
            if (flags & dfXValues) {
                std::memcpy(&x, block, 8);
                block += 8;
            }
            std::memcpy(&v, block, 8);
            block += 8;
            place(i, x, v);
        }
        for (int32_t i = 0; !plain && i < n; ++i) {
            double x = (flags & dfXValues) ? r.Double() : double(i);
            place(i, x, r.Double());
            if (flags & dfColors)
                colors[static_cast<size_t>(i)] = r.Int32();
            if (flags & dfLabels)
                labels[static_cast<size_t>(i)] = r.Text((flags & dfLongLabels) ? int64_t(r.Int32()) : int64_t(r.Byte()));
            for (int k = 2; k < lists; ++k)
                columns[static_cast<size_t>(k)][static_cast<size_t>(i)] = r.Double();
            if (flags & dfMarkPositions) {
                auto p = std::make_unique<TSeriesMarkPosition>();
                p->ArrowFrom.X = r.Int32();
                p->ArrowFrom.Y = r.Int32();
                p->ArrowFix = r.Byte() != 0;
                p->ArrowTo.X = r.Int32();
                p->ArrowTo.Y = r.Int32();
                p->Custom = r.Byte() != 0;
                p->Height = r.Int32();
                p->LeftTop.X = r.Int32();
                p->LeftTop.Y = r.Int32();
                p->Width = r.Int32();
                FMarks->Positions()->Append(std::move(p));
            }
        }
        // A damaged count that leaves points unread is no smaller series.
        if (r.Left() != 0)
            throw EReadError(SInvalidPropertyValue);
        if (inOrder && !OnBeforeAdd) {
            FPoints.TakePoints(std::move(columns), std::move(colors), labels);
        } else {
            for (int k = 0; k < lists; ++k)
                valueLists->ValueList(k)->Reserve(n);
            for (int32_t i = 0; i < n; ++i) {
                for (int k = 2; k < lists; ++k)
                    valueLists->ValueList(k)->TempValue = columns[static_cast<size_t>(k)][static_cast<size_t>(i)];
                AddPointXY(xs[i], ys[i], labels.empty() ? std::string() : labels[static_cast<size_t>(i)],
                           colors.empty() ? clDefault : colors[static_cast<size_t>(i)]);
            }
        }
        failed.Dismiss();
    }
    FManualData = true;
}

// ---- the defined entries --------------------------------------------------------------

void TChartSeries::DefineProperties(TFiler* Filer)
{
    TCustomChartSeries::DefineProperties(Filer);
    Filer->DefineProperty(
        "DataSources",
        [this](TReader* Reader) {
            FPendingDataSources.clear();
            Reader->ReadListBegin();
            while (!Reader->EndOfList())
                FPendingDataSources.push_back(Reader->ReadString());
            Reader->ReadListEnd();
        },
        [this](TWriter* Writer) {
            Writer->WriteListBegin();
            for (int t = 0; t < FDataSources.Count(); ++t)
                Writer->WriteString(FDataSources.Item(t)->Name());
            Writer->WriteListEnd();
        },
        FDataSources.Count() > 1);

    auto customAxis = [this](bool Horizontal) {
        return [this, Horizontal](TReader* Reader) {
            const int index = Reader->ReadInteger();
            if (FParentChart == nullptr)
                return;
            auto* axis = static_cast<TChartAxis*>(FParentChart->CustomAxes()->Items(index));
            if (Horizontal)
                SetCustomHorizAxis(axis);
            else
                SetCustomVertAxis(axis);
        };
    };
    Filer->DefineProperty(
        "CustomHorizAxis", customAxis(true),
        [this](TWriter* Writer) { Writer->WriteInteger(FCustomHorizAxis->Index()); },
        FCustomHorizAxis != nullptr && FCustomHorizAxis->IsCustom());
    Filer->DefineProperty(
        "CustomVertAxis", customAxis(false),
        [this](TWriter* Writer) { Writer->WriteInteger(FCustomVertAxis->Index()); },
        FCustomVertAxis != nullptr && FCustomVertAxis->IsCustom());

    Filer->DefineBinaryProperty(
        "Data", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); }, IsDataStored());
}

void TChartSeries::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
    TCustomChartSeries::GetChildren(Proc, Root);
    if (FFunction != nullptr)
        Proc(FFunction);
}
