// Component streaming: the filers that write and read components in the platform's
// binary form of a form layout, and the text form of that stream.
//
// Binary form. The signature "TPF0", then one component: its class name and its name as
// short strings (a length byte and the bytes), its properties (each a short-string name,
// dotted for the properties of sub-objects, "Font.Size", and a value), a 0 byte, its
// child components in the same form, a 0 byte. Every value starts with a TValueType tag;
// integers take the smallest tag that holds them; all numbers are little-endian.
//
// Text form. "object Name: TClass" (an unnamed component "object TClass"), its properties
// "Name = value" and its children, each level indented by two more spaces, then "end";
// lines end with CR LF. Strings are quoted ('It''s'), every character but printable ASCII
// written as #n, its code point (#13, #176), long strings split into quoted pieces
// joined by " +"; binary data is hex, in lines of
// 32 bytes when longer than one; sets are [a, b], lists ( ... ), collections
// < item ... end >; floats have a point or an exponent, singles end in "s", currencies
// in "c", dates in "d".
#pragma once

#include "Classes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCollection;
struct TPropInfo;

enum class TValueType : uint8_t {
    vaNull = 0,         // ends a list
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,     // 10-byte extended float
    vaString = 6,       // short string
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,      // 4-byte length and the bytes
    vaSet = 11,         // element names, ended by an empty one
    vaLString = 12,     // 4-byte length and the bytes
    vaNil = 13,
    vaCollection = 14,  // items as lists of properties
    vaSingle = 15,
    vaCurrency = 16,    // 64-bit integer, the value times 10000
    vaDate = 17,        // double
    vaWString = 18,     // 4-byte length in UTF-16 units and the units, little-endian (read only)
    vaInt64 = 19,
    vaUTF8String = 20,  // 4-byte length and the bytes
    vaDouble = 21,
};

// The 10-byte extended float of a double (exact) and the double nearest to an extended.
void DoubleToExtended(double Value, uint8_t Bytes[10]);
double ExtendedToDouble(const uint8_t Bytes[10]);

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

// What a persistent object's DefineProperties sees: the filer declares the entries that
// are not published properties.
class TFiler : public TObject {
public:
    DECLARE_CLASS_NAME(TFiler)
    explicit TFiler(TStream* Stream) : FStream(Stream) {}

    TStream* Stream() const { return FStream; }
    // The component in which names are looked up: references are written relative to it
    // and resolved in it.
    TComponent* Root() const { return FRoot; }
    void SetRoot(TComponent* Value) { FRoot = Value; }
    // Writing: the object of the ancestor that corresponds to the one being written, when
    // a descendant is written against an ancestor; nullptr otherwise (and when reading).
    TPersistent* Ancestor() const { return FAncestor; }

    // A typed entry: when writing and HasData, the name and whatever WriteData writes (one
    // value); when reading an entry of that name, ReadData reads its value.
    virtual void DefineProperty(const std::string& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                                bool HasData) = 0;
    // A binary entry: WriteData writes bytes into a stream that becomes the value;
    // ReadData gets a stream holding exactly those bytes.
    virtual void DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData,
                                      const TStreamProc& WriteData, bool HasData) = 0;

protected:
    TStream* FStream;
    TComponent* FRoot = nullptr;
    TPersistent* FAncestor = nullptr;
};

// Writes components and values to a stream, at its position.
class TWriter : public TFiler {
public:
    DECLARE_CLASS_NAME(TWriter)
    explicit TWriter(TStream* Stream) : TFiler(Stream) {}

    // The signature and Root with everything it streams; Root becomes the root.
    void WriteRootComponent(TComponent* Root);
    // The same, writing only what differs from AncestorRoot (and, for a child, from the
    // ancestor's component of the same name).
    void WriteDescendent(TComponent* Root, TComponent* AncestorRoot);
    void WriteSignature();
    // One component with its properties and children; without a root, it is its own root.
    void WriteComponent(TComponent* Component);
    // The published properties that are to be written, then the defined ones.
    void WriteProperties(TPersistent* Instance);
    void WriteCollection(TCollection* Collection);

    void WriteValue(TValueType Value);
    void WriteListBegin() { WriteValue(TValueType::vaList); }
    void WriteListEnd() { WriteValue(TValueType::vaNull); }
    void WriteInteger(int64_t Value);      // the smallest integer tag that holds it
    void WriteFloat(double Value);         // extended
    void WriteSingle(float Value);
    void WriteCurrency(double Value);      // rounded to 1/10000
    void WriteDate(double Value);
    void WriteDouble(double Value);
    // Short or long string when ASCII, else a UTF-8 string.
    void WriteString(const std::string& Value);
    // An identifier; "True", "False", "nil" and "Null" become their own tags.
    void WriteIdent(const std::string& Ident);
    void WriteBoolean(bool Value) { WriteValue(Value ? TValueType::vaTrue : TValueType::vaFalse); }
    void WriteChar(char Value) { WriteString(std::string(1, Value)); }
    // A short string; longer than 255 bytes raises ERangeError.
    void WriteStr(const std::string& Value);
    void Write(const void* Buffer, int64_t Count);

    void DefineProperty(const std::string& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                              bool HasData) override;

private:
    void WritePropName(const std::string& Name);
    void WriteProperty(TPersistent* Instance, const TPropInfo& Prop);
    // The name a reference is written as: the plain name for a component of the root or
    // the root itself, "Owner.Name" for one of another named owner; empty when it has none.
    std::string ReferenceName(TComponent* Component) const;
    TPersistent* AncestorFor(TPersistent* Instance, TPersistent* Candidate) const;
    bool SameCollections(TCollection* A, TCollection* B);

    TComponent* FRootAncestor = nullptr;
    std::string FPropPath;
    // Set while a reader puts a root back after a failed read: every property that
    // differs from the ancestor is written, stored or not, and no reference (a failed
    // read resolves none).
    bool FRestoring = false;

    friend class TReader;
};

// Reads components and values from a stream, at its position. Reading raises
// EReadError "Stream read error" when the stream ends early, "Invalid property value" for
// a value of the wrong kind, "Property %s does not exist" for an unknown property, and
// EClassNotFound "Class %s not found" for an unregistered class.
class TReader : public TFiler {
public:
    DECLARE_CLASS_NAME(TReader)
    explicit TReader(TStream* Stream);
    ~TReader() override;

    // The signature and a whole component into Root, which must exist (its name is taken
    // when the stream gives one): properties, children created by class name, references
    // resolved by name once everything is read (a name that matches nothing leaves the
    // reference empty), then Loaded on every component read, root first. When reading
    // fails, every component the read made is freed, the root's name and properties are
    // put back as they were, and the error passed on.
    TComponent* ReadRootComponent(TComponent* Root);
    // The same into a new root created by the class name of the stream.
    std::unique_ptr<TComponent> ReadNewRootComponent();
    void ReadSignature();

    // One property entry into Instance (published, of a sub-object, or defined).
    void ReadProperty(TPersistent* Instance);
    void ReadCollection(TCollection* Collection);
    // The owner and parent of the children being read.
    TComponent* Owner() const { return FOwner; }
    TComponent* Parent() const { return FParent; }

    TValueType NextValue();   // without moving
    TValueType ReadValue();
    void CheckValue(TValueType Value);   // "Invalid property value" when it is another
    bool EndOfList() { return NextValue() == TValueType::vaNull; }
    void ReadListBegin() { CheckValue(TValueType::vaList); }
    void ReadListEnd() { CheckValue(TValueType::vaNull); }
    int32_t ReadInteger();      // any integer tag whose value fits
    int64_t ReadInt64();
    double ReadFloat();         // any number
    std::string ReadString();   // short, long, wide or UTF-8 string, as UTF-8
    std::string ReadIdent();    // identifier, or "False", "True", "nil", "Null"
    bool ReadBoolean();
    char ReadChar();            // a string of one character
    std::string ReadStr();
    void SkipValue();
    void Read(void* Buffer, int64_t Count);
    // The 4-byte length of a long value, checked against what the stream holds.
    int64_t ReadLength();

    void DefineProperty(const std::string& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                              bool HasData) override;

private:
    struct Fixup {
        TPersistent* Instance;
        const TPropInfo* Prop;
        std::string Name;
        std::vector<TCollection*> Collections;   // whose items hold Instance
    };
    void ReadRoot(TComponent* Root);
    // A component's properties and children.
    void ReadData(TComponent* Instance);
    // One child component: created by class name with Owner, given Parent, read.
    TComponent* ReadComponent();
    void SkipBytes(int64_t Count);
    void ReadPropValue(TPersistent* Instance, const TPropInfo& Prop);
    void ResolveFixups();
    TComponent* FindReference(const std::string& Name) const;
    // Puts Root's properties back to those Kept holds (written by WriteProperties).
    static void RestoreProperties(TComponent* Root, TStream* Kept);

    class TMadeComponents;

    TComponent* FOwner = nullptr;
    TComponent* FParent = nullptr;
    std::string FPropName;
    std::vector<Fixup> FFixups;
    // The components this read made, freed ones dropped as their owners free them.
    std::unique_ptr<TMadeComponents> FMade;
    std::vector<TCollection*> FCollections;   // being read, outermost first
    int FNesting = 0;

    friend struct TNestingGuard;
};

// The whole of a component (its root) into a stream, and back into an existing one or a
// new one of the stream's class.
void WriteComponent(TStream* Stream, TComponent* Instance);
TComponent* ReadComponent(TStream* Stream, TComponent* Instance);
std::unique_ptr<TComponent> ReadNewComponent(TStream* Stream);

// Converts a binary component stream (from the signature on) at Input's position into its
// text form, and back. Text errors raise EParserError "%s on line %d".
void ObjectBinaryToText(TStream* Input, TStream* Output);
void ObjectTextToBinary(TStream* Input, TStream* Output);

class EParserError : public Exception { using Exception::Exception; };
