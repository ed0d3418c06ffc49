#include "Streaming.h"

#include "system/ScopeGuard.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

using typinfo_detail::WithName;

constexpr char Signature[4] = {'T', 'P', 'F', '0'};
// Deeper nesting of lists or components than this is taken for a damaged stream, so that
// a bad stream cannot run the reader out of stack.
constexpr int MaxNesting = 256;
constexpr const char* SDataAfterRoot = "Invalid stream format: data follows the end of the component";


[[noreturn]] void InvalidValue()
{
    throw EReadError(SInvalidPropertyValue);
}


bool IsAscii(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void PutLE(uint8_t* p, uint64_t v, int n)
{
    for (int i = 0; i < n; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint64_t GetLE(const uint8_t* p, int n)
{
    uint64_t v = 0;
    for (int i = 0; i < n; ++i)
        v |= static_cast<uint64_t>(p[i]) << (8 * i);
    return v;
}

uint64_t DoubleBits(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

double BitsDouble(uint64_t bits)
{
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

} // namespace

// Counts one level of nesting for as long as it lives.
struct TNestingGuard {
    explicit TNestingGuard(TReader& r) : R(r)
    {
        if (++R.FNesting > MaxNesting) {
            --R.FNesting;
            throw EReadError(SInvalidImage);
        }
    }
    ~TNestingGuard() { --R.FNesting; }
    TNestingGuard(const TNestingGuard&) = delete;
    TNestingGuard& operator=(const TNestingGuard&) = delete;
    TReader& R;
};

// ---- extended floats ------------------------------------------------------------------

// Extended: a 64-bit mantissa with an explicit integer bit, then the sign and a 15-bit
// exponent biased by 16383. A double's 53 bits fit the mantissa exactly.
void DoubleToExtended(double Value, uint8_t Bytes[10])
{
    uint64_t mantissa = 0;
    uint16_t signExp = std::signbit(Value) ? 0x8000 : 0;
    if (std::isnan(Value)) {
        signExp |= 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(Value)) {
        signExp |= 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (Value != 0) {
        int e = 0;
        double f = std::frexp(std::fabs(Value), &e);   // f in [0.5, 1)
        mantissa = static_cast<uint64_t>(std::ldexp(f, 64));
        signExp |= static_cast<uint16_t>(e - 1 + 16383);
    }
    PutLE(Bytes, mantissa, 8);
    PutLE(Bytes + 8, signExp, 2);
}

double ExtendedToDouble(const uint8_t Bytes[10])
{
    uint64_t mantissa = GetLE(Bytes, 8);
    auto signExp = static_cast<uint16_t>(GetLE(Bytes + 8, 2));
    bool negative = (signExp & 0x8000) != 0;
    int exponent = signExp & 0x7FFF;
    double result;
    if (exponent == 0x7FFF)
        result = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                      : std::numeric_limits<double>::quiet_NaN();
    else if (mantissa == 0)
        result = 0.0;
    else
        result = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
    return negative ? -result : result;
}

// ---- TWriter ----------------------------------------------------------------------------

void TWriter::Write(const void* Buffer, int64_t Count)
{
    if (Count > 0)
        FStream->WriteBuffer(Buffer, Count);
}

void TWriter::WriteValue(TValueType Value)
{
    auto b = static_cast<uint8_t>(Value);
    Write(&b, 1);
}

void TWriter::WriteSignature()
{
    Write(Signature, 4);
}

void TWriter::WriteStr(const std::string& Value)
{
    if (Value.size() > 255)
        throw ERangeError();
    auto n = static_cast<uint8_t>(Value.size());
    Write(&n, 1);
    Write(Value.data(), n);
}

void TWriter::WriteInteger(int64_t Value)
{
    uint8_t b[8];
    if (Value >= -128 && Value <= 127) {
        WriteValue(TValueType::vaInt8);
        PutLE(b, static_cast<uint64_t>(Value), 1);
        Write(b, 1);
    } else if (Value >= -32768 && Value <= 32767) {
        WriteValue(TValueType::vaInt16);
        PutLE(b, static_cast<uint64_t>(Value), 2);
        Write(b, 2);
    } else if (Value >= std::numeric_limits<int32_t>::min() && Value <= std::numeric_limits<int32_t>::max()) {
        WriteValue(TValueType::vaInt32);
        PutLE(b, static_cast<uint64_t>(Value), 4);
        Write(b, 4);
    } else {
        WriteValue(TValueType::vaInt64);
        PutLE(b, static_cast<uint64_t>(Value), 8);
        Write(b, 8);
    }
}

void TWriter::WriteFloat(double Value)
{
    uint8_t b[10];
    DoubleToExtended(Value, b);
    WriteValue(TValueType::vaExtended);
    Write(b, 10);
}

void TWriter::WriteSingle(float Value)
{
    uint32_t bits;
    std::memcpy(&bits, &Value, sizeof bits);
    uint8_t b[4];
    PutLE(b, bits, 4);
    WriteValue(TValueType::vaSingle);
    Write(b, 4);
}

void TWriter::WriteCurrency(double Value)
{
    uint8_t b[8];
    PutLE(b, static_cast<uint64_t>(Round(Value * 10000.0)), 8);
    WriteValue(TValueType::vaCurrency);
    Write(b, 8);
}

void TWriter::WriteDate(double Value)
{
    uint8_t b[8];
    PutLE(b, DoubleBits(Value), 8);
    WriteValue(TValueType::vaDate);
    Write(b, 8);
}

void TWriter::WriteDouble(double Value)
{
    uint8_t b[8];
    PutLE(b, DoubleBits(Value), 8);
    WriteValue(TValueType::vaDouble);
    Write(b, 8);
}

void TWriter::WriteString(const std::string& Value)
{
    bool ascii = IsAscii(Value);
    if (ascii && Value.size() <= 255) {
        WriteValue(TValueType::vaString);
        WriteStr(Value);
        return;
    }
    if (Value.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw ERangeError();
    WriteValue(ascii ? TValueType::vaLString : TValueType::vaUTF8String);
    uint8_t b[4];
    PutLE(b, Value.size(), 4);
    Write(b, 4);
    Write(Value.data(), static_cast<int64_t>(Value.size()));
}

void TWriter::WriteIdent(const std::string& Ident)
{
    if (SameText(Ident, "False"))
        WriteValue(TValueType::vaFalse);
    else if (SameText(Ident, "True"))
        WriteValue(TValueType::vaTrue);
    else if (SameText(Ident, "nil"))
        WriteValue(TValueType::vaNil);
    else if (SameText(Ident, "Null"))
        WriteValue(TValueType::vaNull);
    else {
        WriteValue(TValueType::vaIdent);
        WriteStr(Ident);
    }
}

void TWriter::WriteRootComponent(TComponent* Root)
{
    WriteDescendent(Root, nullptr);
}

void TWriter::WriteDescendent(TComponent* Root, TComponent* AncestorRoot)
{
    FRoot = Root;
    FRootAncestor = AncestorRoot;
    WriteSignature();
    WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent* Component)
{
    if (FRoot == nullptr)
        FRoot = Component;
    auto ancestor = RestoreOnExit(FAncestor);
    auto path = RestoreOnExit(FPropPath);
    FAncestor = nullptr;
    if (FRootAncestor != nullptr)
        FAncestor = Component == FRoot ? FRootAncestor : FRootAncestor->FindComponent(Component->Name());
    FPropPath.clear();

    bool wasWriting = Component->ComponentState().Test(csWriting);
    Component->Include(csWriting);
    auto writing = TScopeGuard([Component, wasWriting] {
        if (!wasWriting)
            Component->Exclude(csWriting);
    });
    WriteStr(Component->ClassName());
    WriteStr(Component->Name());
    WriteProperties(Component);
    WriteListEnd();
    Component->GetChildren([this](TComponent* Child) { WriteComponent(Child); }, FRoot);
    WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* Instance)
{
    for (const TPropInfo& p : Instance->ClassInfo()->Properties)
        WriteProperty(Instance, p);
    Instance->DefineProperties(this);
}

void TWriter::WritePropName(const std::string& Name)
{
    WriteStr(FPropPath + Name);
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo& Prop)
{
    if (Prop.Kind == TPropKind::Event || !Prop.Writable() || (!FRestoring && !Prop.Stored(Instance)))
        return;
    // The ancestor's value takes the default's place; it is read through the ancestor's
    // own table, so that a different class is never read through this one's accessors.
    const TPropInfo* anc = nullptr;
    if (FAncestor != nullptr) {
        anc = FAncestor->ClassInfo()->FindProperty(Prop.Name);
        if (anc != nullptr && anc->Kind != Prop.Kind)
            anc = nullptr;
    }

    switch (Prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Enumeration:
    case TPropKind::Set:
    case TPropKind::Boolean:
    case TPropKind::Char: {
        int64_t v = Prop.GetOrd(Instance);
        if (anc != nullptr ? anc->GetOrd(FAncestor) == v : (Prop.OrdDefault && *Prop.OrdDefault == v))
            return;
        if (Prop.Kind == TPropKind::Enumeration && (v < 0 || v >= static_cast<int64_t>(Prop.Names.size())))
            throw EWriteError(SInvalidPropertyValue);
        if (Prop.Kind == TPropKind::Set) {
            auto mask = static_cast<uint64_t>(v);
            if (Prop.Names.size() < 64 && (mask >> Prop.Names.size()) != 0)
                throw EWriteError(SInvalidPropertyValue);
        }
        WritePropName(Prop.Name);
        std::string ident;
        switch (Prop.Kind) {
        case TPropKind::Integer:
            if (Prop.Idents != nullptr && IntToIdent(v, ident, *Prop.Idents))
                WriteIdent(ident);
            else
                WriteInteger(v);
            break;
        case TPropKind::Enumeration:
            WriteValue(TValueType::vaIdent);
            WriteStr(Prop.Names[static_cast<size_t>(v)]);
            break;
        case TPropKind::Set:
            WriteValue(TValueType::vaSet);
            for (size_t k = 0; k < Prop.Names.size() && k < 64; ++k)
                if ((static_cast<uint64_t>(v) >> k) & 1u)
                    WriteStr(Prop.Names[k]);
            WriteStr(std::string());
            break;
        case TPropKind::Boolean:
            WriteBoolean(v != 0);
            break;
        default:
            WriteChar(static_cast<char>(v));
            break;
        }
        return;
    }
    case TPropKind::Float: {
        double v = Prop.GetFloat(Instance);
        if (anc != nullptr ? anc->GetFloat(FAncestor) == v : v == Prop.FloatDefault.value_or(0.0))
            return;
        WritePropName(Prop.Name);
        switch (Prop.FloatType) {
        case TFloatType::ftDouble:
            WriteFloat(v);
            break;
        case TFloatType::ftSingle:
            WriteSingle(static_cast<float>(v));
            break;
        case TFloatType::ftCurrency:
            WriteCurrency(v);
            break;
        case TFloatType::ftDate:
            WriteDate(v);
            break;
        }
        return;
    }
    case TPropKind::String: {
        std::string v = Prop.GetStr(Instance);
        if (anc != nullptr ? anc->GetStr(FAncestor) == v : v == Prop.StrDefault)
            return;
        WritePropName(Prop.Name);
        WriteString(v);
        return;
    }
    case TPropKind::Component: {
        if (FRestoring)
            return;
        auto* v = dynamic_cast<TComponent*>(Prop.GetObj(Instance));
        if (anc != nullptr) {
            auto* a = dynamic_cast<TComponent*>(anc->GetObj(FAncestor));
            if (a == v || (a != nullptr && v != nullptr && SameText(a->Name(), v->Name())))
                return;
        } else if (v == nullptr) {
            return;
        }
        if (v == nullptr) {
            WritePropName(Prop.Name);
            WriteValue(TValueType::vaNil);
            return;
        }
        std::string name = ReferenceName(v);
        if (name.empty())
            return;   // an unnamed component cannot be found again by name
        WritePropName(Prop.Name);
        WriteValue(TValueType::vaIdent);
        WriteStr(name);
        return;
    }
    case TPropKind::Object: {
        TPersistent* v = Prop.GetObj(Instance);
        if (v == nullptr)
            return;
        TPersistent* a = anc != nullptr ? anc->GetObj(FAncestor) : nullptr;
        if (auto* collection = dynamic_cast<TCollection*>(v)) {
            auto* ac = dynamic_cast<TCollection*>(a);
            if (ac != nullptr ? SameCollections(collection, ac) : collection->Count() == 0)
                return;
            WritePropName(Prop.Name);
            WriteCollection(collection);
            return;
        }
        auto path = RestoreOnExit(FPropPath);
        auto ancestor = RestoreOnExit(FAncestor);
        FPropPath += Prop.Name + ".";
        FAncestor = a;
        WriteProperties(v);
        return;
    }
    case TPropKind::Event:
        return;
    }
}

void TWriter::WriteCollection(TCollection* Collection)
{
    auto path = RestoreOnExit(FPropPath);
    auto ancestor = RestoreOnExit(FAncestor);
    FPropPath.clear();
    // Items are read into new items, so they are written whole, not against an ancestor.
    FAncestor = nullptr;
    WriteValue(TValueType::vaCollection);
    for (int i = 0; i < Collection->Count(); ++i) {
        WriteListBegin();
        WriteProperties(Collection->Items(i));
        WriteListEnd();
    }
    WriteListEnd();
}

bool TWriter::SameCollections(TCollection* A, TCollection* B)
{
    if (A->Count() != B->Count())
        return false;
    TMemoryStream sa, sb;
    TWriter wa(&sa), wb(&sb);
    wa.SetRoot(FRoot);
    wb.SetRoot(FRoot);
    wa.WriteCollection(A);
    wb.WriteCollection(B);
    return sa.Size() == sb.Size() && std::memcmp(sa.Memory(), sb.Memory(), static_cast<size_t>(sa.Size())) == 0;
}

std::string TWriter::ReferenceName(TComponent* Component) const
{
    if (Component == FRoot || Component->Owner() == FRoot)
        return Component->Name();
    TComponent* owner = Component->Owner();
    if (owner != nullptr && !owner->Name().empty() && !Component->Name().empty())
        return owner->Name() + "." + Component->Name();
    return Component->Name();
}

void TWriter::DefineProperty(const std::string& Name, const TReaderProc&, const TWriterProc& WriteData, bool HasData)
{
    if (!HasData || !WriteData)
        return;
    WritePropName(Name);
    WriteData(this);
}

void TWriter::DefineBinaryProperty(const std::string& Name, const TStreamProc&, const TStreamProc& WriteData,
                                   bool HasData)
{
    if (!HasData || !WriteData)
        return;
    WritePropName(Name);
    WriteValue(TValueType::vaBinary);
    // The bytes go straight into the stream behind room for their length, which is
    // filled in once they are written.
    const int64_t at = FStream->Position();
    uint8_t b[4] = {};
    Write(b, 4);
    WriteData(FStream);
    const int64_t end = FStream->Position();
    if (end - at - 4 > std::numeric_limits<int32_t>::max())
        throw ERangeError();
    PutLE(b, static_cast<uint64_t>(end - at - 4), 4);
    FStream->SetPosition(at);
    Write(b, 4);
    FStream->SetPosition(end);
}

// ---- TReader ----------------------------------------------------------------------------

void TReader::Read(void* Buffer, int64_t Count)
{
    if (Count > 0)
        FStream->ReadBuffer(Buffer, Count);
}

void TReader::SkipBytes(int64_t Count)
{
    if (Count > FStream->Size() - FStream->Position())
        throw EReadError(SReadError);
    FStream->Seek(Count, TSeekOrigin::soCurrent);
}

TValueType TReader::ReadValue()
{
    uint8_t b;
    Read(&b, 1);
    return static_cast<TValueType>(b);
}

TValueType TReader::NextValue()
{
    TValueType v = ReadValue();
    FStream->Seek(-1, TSeekOrigin::soCurrent);
    return v;
}

void TReader::CheckValue(TValueType Value)
{
    if (ReadValue() != Value)
        InvalidValue();
}

std::string TReader::ReadStr()
{
    uint8_t n;
    Read(&n, 1);
    std::string s(n, '\0');
    Read(s.data(), n);
    return s;
}

int64_t TReader::ReadLength()
{
    uint8_t b[4];
    Read(b, 4);
    auto n = static_cast<int32_t>(static_cast<uint32_t>(GetLE(b, 4)));
    if (n < 0)
        InvalidValue();
    // A damaged length must not make the reader allocate what the stream does not hold.
    if (n > FStream->Size() - FStream->Position())
        throw EReadError(SReadError);
    return n;
}

void TReader::ReadSignature()
{
    char s[4];
    Read(s, 4);
    if (std::memcmp(s, Signature, 4) != 0)
        throw EReadError(SInvalidImage);
}

int64_t TReader::ReadInt64()
{
    uint8_t b[8];
    switch (ReadValue()) {
    case TValueType::vaInt8:
        Read(b, 1);
        return static_cast<int8_t>(b[0]);
    case TValueType::vaInt16:
        Read(b, 2);
        return static_cast<int16_t>(GetLE(b, 2));
    case TValueType::vaInt32:
        Read(b, 4);
        return static_cast<int32_t>(GetLE(b, 4));
    case TValueType::vaInt64:
        Read(b, 8);
        return static_cast<int64_t>(GetLE(b, 8));
    default:
        InvalidValue();
    }
}

int32_t TReader::ReadInteger()
{
    int64_t v = ReadInt64();
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        InvalidValue();
    return static_cast<int32_t>(v);
}

double TReader::ReadFloat()
{
    uint8_t b[10];
    switch (NextValue()) {
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64:
        return static_cast<double>(ReadInt64());
    default:
        break;
    }
    switch (ReadValue()) {
    case TValueType::vaExtended:
        Read(b, 10);
        return ExtendedToDouble(b);
    case TValueType::vaDouble:
    case TValueType::vaDate:
        Read(b, 8);
        return BitsDouble(GetLE(b, 8));
    case TValueType::vaSingle: {
        Read(b, 4);
        auto bits = static_cast<uint32_t>(GetLE(b, 4));
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    case TValueType::vaCurrency:
        Read(b, 8);
        return static_cast<double>(static_cast<int64_t>(GetLE(b, 8))) / 10000.0;
    default:
        InvalidValue();
    }
}

std::string TReader::ReadString()
{
    switch (ReadValue()) {
    case TValueType::vaString:
        return ReadStr();
    case TValueType::vaLString:
    case TValueType::vaUTF8String: {
        int64_t n = ReadLength();
        std::string s(static_cast<size_t>(n), '\0');
        Read(s.data(), n);
        return s;
    }
    case TValueType::vaWString: {
        const int64_t n = ReadLength();
        if (2 * n > FStream->Size() - FStream->Position())
            throw EReadError(SReadError);
        std::vector<uint8_t> b(static_cast<size_t>(2 * n));
        Read(b.data(), 2 * n);
        return Utf16ToUtf8(b.data(), n, false);
    }
    default:
        InvalidValue();
    }
}

std::string TReader::ReadIdent()
{
    switch (ReadValue()) {
    case TValueType::vaIdent:
        return ReadStr();
    case TValueType::vaFalse:
        return "False";
    case TValueType::vaTrue:
        return "True";
    case TValueType::vaNil:
        return "nil";
    case TValueType::vaNull:
        return "Null";
    default:
        InvalidValue();
    }
}

bool TReader::ReadBoolean()
{
    switch (ReadValue()) {
    case TValueType::vaTrue:
        return true;
    case TValueType::vaFalse:
        return false;
    default:
        InvalidValue();
    }
}

char TReader::ReadChar()
{
    std::string s = ReadString();
    if (s.size() != 1)
        InvalidValue();
    return s[0];
}

void TReader::SkipValue()
{
    switch (ReadValue()) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        return;
    case TValueType::vaList: {
        TNestingGuard guard(*this);
        while (!EndOfList())
            SkipValue();
        ReadListEnd();
        return;
    }
    case TValueType::vaInt8:
        SkipBytes(1);
        return;
    case TValueType::vaInt16:
        SkipBytes(2);
        return;
    case TValueType::vaInt32:
    case TValueType::vaSingle:
        SkipBytes(4);
        return;
    case TValueType::vaExtended:
        SkipBytes(10);
        return;
    case TValueType::vaCurrency:
    case TValueType::vaDate:
    case TValueType::vaInt64:
    case TValueType::vaDouble:
        SkipBytes(8);
        return;
    case TValueType::vaString:
    case TValueType::vaIdent:
        ReadStr();
        return;
    case TValueType::vaBinary:
    case TValueType::vaLString:
    case TValueType::vaUTF8String:
        SkipBytes(ReadLength());
        return;
    case TValueType::vaWString:
        SkipBytes(2 * ReadLength());
        return;
    case TValueType::vaSet:
        while (!ReadStr().empty()) {
        }
        return;
    case TValueType::vaCollection: {
        TNestingGuard guard(*this);
        while (!EndOfList()) {
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        return;
    }
    default:
        InvalidValue();
    }
}

// The components a read has made, in the order made. The list follows ownership: it
// watches each one (free notification) and drops it when it is freed, by its owner or by
// whatever else frees it during the read, so that no one is used or freed once too often.
class TReader::TMadeComponents : public TComponent {
public:
    TMadeComponents() : TComponent(nullptr) {}
    ~TMadeComponents() override { Release(); }
    TMadeComponents(const TMadeComponents&) = delete;
    TMadeComponents& operator=(const TMadeComponents&) = delete;

    void Add(TComponent* Component)
    {
        FItems.push_back(Component);
        FreeNotification(Component);
    }
    bool Contains(const TComponent* Component) const
    {
        return std::find(FItems.begin(), FItems.end(), Component) != FItems.end();
    }
    const std::vector<TComponent*>& Items() const { return FItems; }
    // Stops watching; the components stay.
    void Release()
    {
        while (!FItems.empty()) {
            RemoveFreeNotification(FItems.back());
            FItems.pop_back();
        }
    }
    // Frees every component still listed, the latest first; one that goes with its owner
    // leaves the list on the way.
    void FreeAll()
    {
        while (!FItems.empty()) {
            TComponent* c = FItems.back();
            FItems.pop_back();
            RemoveFreeNotification(c);
            delete c;
        }
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove)
            std::erase(FItems, AComponent);
    }

private:
    std::vector<TComponent*> FItems;
};

TReader::TReader(TStream* Stream) : TFiler(Stream), FMade(std::make_unique<TMadeComponents>()) {}

TReader::~TReader() = default;

TComponent* TReader::ReadRootComponent(TComponent* Root)
{
    if (Root == nullptr)
        throw EInvalidOperation("A root component to read into is required");
    // A failed read leaves the root as it was: its name and properties are kept aside.
    auto properties = [Root](TMemoryStream& Stream) {
        TWriter writer(&Stream);
        writer.SetRoot(Root);
        writer.WriteProperties(Root);
        writer.WriteListEnd();
    };
    TMemoryStream kept;
    properties(kept);
    TScopeGuard restore([Root, &kept, &properties, name = Root->Name()] {
        TMemoryStream now;
        properties(now);
        if (now.Size() != kept.Size() || std::memcmp(now.Memory(), kept.Memory(), size_t(now.Size())) != 0)
            RestoreProperties(Root, &kept);
        Root->SetName(name);
    });
    ReadSignature();
    ReadStr();   // the class name: the given root takes the stream whatever class wrote it
    std::string name = ReadStr();
    if (!name.empty())
        Root->SetName(name);
    ReadRoot(Root);
    restore.Dismiss();
    return Root;
}

void TReader::RestoreProperties(TComponent* Root, TStream* Kept)
{
    const TClassInfo* info = Root->ClassInfo();
    if (!info->CreateComponent)
        return;
    // The kept properties into a new component of the root's class, which starts from
    // the defaults just as the root did; then whatever differs between the two, written
    // against the root, goes back into the root.
    std::unique_ptr<TComponent> before(info->CreateComponent(nullptr));
    {
        Kept->SetPosition(0);
        TReader reader(Kept);
        reader.FRoot = before.get();
        reader.FOwner = before.get();
        while (!reader.EndOfList())
            reader.ReadProperty(before.get());
    }
    TMemoryStream differences;
    {
        TWriter writer(&differences);
        writer.SetRoot(Root);
        writer.FAncestor = Root;
        writer.FRestoring = true;
        writer.WriteProperties(before.get());
        writer.WriteListEnd();
    }
    differences.SetPosition(0);
    TReader reader(&differences);
    reader.FRoot = Root;
    reader.FOwner = Root;
    while (!reader.EndOfList())
        reader.ReadProperty(Root);
}

std::unique_ptr<TComponent> TReader::ReadNewRootComponent()
{
    ReadSignature();
    std::string className = ReadStr();
    const TClassInfo* info = FindClass(className);
    if (!info->CreateComponent)
        throw EClassNotFound(WithName(SClassNotFound, className));
    std::unique_ptr<TComponent> root(info->CreateComponent(nullptr));
    root->SetName(ReadStr());
    ReadRoot(root.get());
    return root;
}

void TReader::ReadRoot(TComponent* Root)
{
    FRoot = Root;
    FOwner = Root;
    FParent = nullptr;
    FFixups.clear();
    FMade->Release();
    Root->Include(csLoading);
    Root->Include(csReading);
    {
        // Nothing half-read stays: the components this read made go again.
        TScopeGuard cleanUp([this, Root] {
            FFixups.clear();
            Root->Exclude(csReading);
            Root->Exclude(csLoading);
            FMade->FreeAll();
        });
        ReadData(Root);
        // A list that ended early (a damaged byte) ends the root early too: the rest of the
        // stream would be left unread, with the components and points it holds.
        if (FStream->Position() < FStream->Size())
            throw EReadError(SDataAfterRoot);
        ResolveFixups();
        cleanUp.Dismiss();
    }
    // A component freed while the read went on (a function replaced by the next one)
    // has left the list and is not told.
    const std::vector<TComponent*> made = FMade->Items();
    Root->Exclude(csReading);
    for (TComponent* c : made)
        c->Exclude(csReading);
    Root->Loaded();
    for (TComponent* c : made)
        if (FMade->Contains(c))
            c->Loaded();
    FMade->Release();
}

void TReader::ReadData(TComponent* Instance)
{
    while (!EndOfList())
        ReadProperty(Instance);
    ReadListEnd();
    auto owner = RestoreOnExit(FOwner);
    auto parent = RestoreOnExit(FParent);
    FParent = Instance->GetChildParent();
    FOwner = Instance->GetChildOwner();
    if (FOwner == nullptr)
        FOwner = FRoot;
    while (!EndOfList())
        ReadComponent();
    ReadListEnd();
}

TComponent* TReader::ReadComponent()
{
    TNestingGuard guard(*this);
    std::string className = ReadStr();
    std::string name = ReadStr();
    const TClassInfo* info = FindClass(className);
    if (!info->CreateComponent)
        throw EClassNotFound(WithName(SClassNotFound, className));
    // The owner frees it; when the read fails, the list of made components does.
    TComponent* component = info->CreateComponent(FOwner);
    FMade->Add(component);
    component->Include(csLoading);
    component->Include(csReading);
    component->SetName(name);
    if (FParent != nullptr && component->HasParent())
        component->SetParentComponent(FParent);
    ReadData(component);
    return component;
}

void TReader::ReadProperty(TPersistent* Instance)
{
    std::string path = ReadStr();
    TPersistent* target = Instance;
    size_t start = 0;
    for (size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.', start)) {
        std::string part = path.substr(start, dot - start);
        const TPropInfo* p = target->ClassInfo()->FindProperty(part);
        if (p == nullptr || p->Kind != TPropKind::Object)
            throw EReadError(WithName(SUnknownProperty, part));
        target = p->GetObj(target);
        if (target == nullptr)
            InvalidValue();
        start = dot + 1;
    }
    std::string name = path.substr(start);
    if (const TPropInfo* p = target->ClassInfo()->FindProperty(name)) {
        ReadPropValue(target, *p);
        return;
    }
    FPropName = name;
    target->DefineProperties(this);
    if (!FPropName.empty()) {
        FPropName.clear();
        throw EReadError(WithName(SUnknownProperty, name));
    }
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo& Prop)
{
    if (Prop.Kind == TPropKind::Event) {
        SkipValue();   // handlers are connected by code, not by the stream
        return;
    }
    if (!Prop.Writable())
        throw EReadError(SReadOnlyProperty);
    switch (Prop.Kind) {
    case TPropKind::Integer:
        if (NextValue() == TValueType::vaIdent) {
            int64_t v = 0;
            if (Prop.Idents == nullptr || !IdentToInt(ReadIdent(), v, *Prop.Idents))
                InvalidValue();
            Prop.SetOrd(Instance, v);
        } else {
            Prop.SetOrd(Instance, ReadInt64());
        }
        return;
    case TPropKind::Enumeration: {
        std::string ident = ReadIdent();
        for (size_t i = 0; i < Prop.Names.size(); ++i)
            if (SameText(Prop.Names[i], ident)) {
                Prop.SetOrd(Instance, static_cast<int64_t>(i));
                return;
            }
        InvalidValue();
    }
    case TPropKind::Set: {
        CheckValue(TValueType::vaSet);
        uint64_t mask = 0;
        for (std::string element = ReadStr(); !element.empty(); element = ReadStr()) {
            size_t k = 0;
            while (k < Prop.Names.size() && !SameText(Prop.Names[k], element))
                ++k;
            if (k == Prop.Names.size() || k >= 64)
                InvalidValue();
            mask |= uint64_t(1) << k;
        }
        Prop.SetOrd(Instance, static_cast<int64_t>(mask));
        return;
    }
    case TPropKind::Boolean:
        Prop.SetOrd(Instance, ReadBoolean() ? 1 : 0);
        return;
    case TPropKind::Char:
        Prop.SetOrd(Instance, ReadChar());
        return;
    case TPropKind::Float:
        Prop.SetFloat(Instance, ReadFloat());
        return;
    case TPropKind::String:
        Prop.SetStr(Instance, ReadString());
        return;
    case TPropKind::Component:
        if (NextValue() == TValueType::vaNil) {
            ReadValue();
            Prop.SetObj(Instance, nullptr);
        } else {
            // Resolved once the whole stream is read: the component may come later.
            FFixups.push_back({Instance, &Prop, ReadIdent(), FCollections});
        }
        return;
    case TPropKind::Object: {
        auto* collection = dynamic_cast<TCollection*>(Prop.GetObj(Instance));
        if (collection == nullptr || NextValue() != TValueType::vaCollection)
            InvalidValue();
        ReadCollection(collection);
        return;
    }
    case TPropKind::Event:
        return;
    }
}

void TReader::ReadCollection(TCollection* Collection)
{
    CheckValue(TValueType::vaCollection);
    TNestingGuard guard(*this);
    Collection->BeginUpdate();
    auto update = TScopeGuard([Collection] { Collection->EndUpdate(); });
    // The items go, and with them the references they were waiting for (a stream
    // that gives the collection twice).
    std::erase_if(FFixups, [Collection](const Fixup& f) {
        return std::find(f.Collections.begin(), f.Collections.end(), Collection) != f.Collections.end();
    });
    Collection->Clear();
    auto collections = RestoreOnExit(FCollections);
    FCollections.push_back(Collection);
    while (!EndOfList()) {
        ReadListBegin();
        TCollectionItem* item = Collection->Add();
        while (!EndOfList())
            ReadProperty(item);
        ReadListEnd();
    }
    ReadListEnd();
}

void TReader::ResolveFixups()
{
    std::vector<Fixup> fixups;
    fixups.swap(FFixups);
    // A name that matches nothing leaves the reference empty.
    for (const Fixup& f : fixups)
        if (TComponent* c = FindReference(f.Name))
            f.Prop->SetObj(f.Instance, c);
}

TComponent* TReader::FindReference(const std::string& Name) const
{
    if (FRoot == nullptr)
        return nullptr;
    auto isRoot = [this](const std::string& n) { return !FRoot->Name().empty() && SameText(n, FRoot->Name()); };
    auto dot = Name.find('.');
    if (dot == std::string::npos)
        return isRoot(Name) ? FRoot : FRoot->FindComponent(Name);
    std::string head = Name.substr(0, dot);
    TComponent* owner = isRoot(head) ? FRoot : FRoot->FindComponent(head);
    return owner != nullptr ? owner->FindComponent(Name.substr(dot + 1)) : nullptr;
}

void TReader::DefineProperty(const std::string& Name, const TReaderProc& ReadData, const TWriterProc&, bool)
{
    if (!ReadData || FPropName.empty() || !SameText(Name, FPropName))
        return;
    FPropName.clear();
    int64_t before = FStream->Position();
    ReadData(this);
    // A reader that ignores the value still leaves the stream at the next entry.
    if (FStream->Position() == before)
        SkipValue();
}

void TReader::DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData, const TStreamProc&, bool)
{
    if (!ReadData || FPropName.empty() || !SameText(Name, FPropName))
        return;
    FPropName.clear();
    CheckValue(TValueType::vaBinary);
    int64_t n = ReadLength();
    // From a memory stream the bytes are read where they are.
    if (auto* memory = dynamic_cast<TMemoryStream*>(FStream)) {
        TMemoryViewStream data(memory->Memory() + memory->Position(), n);
        memory->Seek(n, TSeekOrigin::soCurrent);
        ReadData(&data);
        return;
    }
    // From another stream into memory that is written before it is read, not cleared.
    TMemoryStream data;
    Read(data.Extend(n), n);
    ReadData(&data);
}

// ---- string lists ----------------------------------------------------------------------

void TStrings::DefineProperties(TFiler* Filer)
{
    TPersistent::DefineProperties(Filer);
    bool hasData;
    if (auto* ancestor = dynamic_cast<TStrings*>(Filer->Ancestor()))
        hasData = !Equals(*ancestor);
    else
        hasData = Count() > 0;
    Filer->DefineProperty(
        "Strings",
        [this](TReader* Reader) {
            BeginUpdate();
            auto update = TScopeGuard([this] { EndUpdate(); });
            Clear();
            Reader->ReadListBegin();
            while (!Reader->EndOfList())
                Add(Reader->ReadString());
            Reader->ReadListEnd();
        },
        [this](TWriter* Writer) {
            Writer->WriteListBegin();
            for (int i = 0; i < Count(); ++i)
                Writer->WriteString(Get(i));
            Writer->WriteListEnd();
        },
        hasData);
}

// ---- whole components ------------------------------------------------------------------

void WriteComponent(TStream* Stream, TComponent* Instance)
{
    TWriter writer(Stream);
    writer.WriteRootComponent(Instance);
}

TComponent* ReadComponent(TStream* Stream, TComponent* Instance)
{
    TReader reader(Stream);
    return reader.ReadRootComponent(Instance);
}

std::unique_ptr<TComponent> ReadNewComponent(TStream* Stream)
{
    TReader reader(Stream);
    return reader.ReadNewRootComponent();
}
