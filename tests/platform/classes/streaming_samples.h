// Small streamable classes shared by the streaming tests: a node with one property of
// every kind, a holder that streams leaves it does not own, and helpers over streams.
#pragma once

#include "classes/Classes.h"

#include <string>
#include <vector>

namespace sample {

enum TShape { shCircle, shSquare, shTriangle };
enum TStyle { stBold, stItalic, stUnderline };
using TStyles = unsigned;   // bit k = TStyle k

inline constexpr int32_t clRed = 0x0000FF;
inline constexpr int32_t clBlack = 0;
const TIdentMap& ColorIdents();

class TNodeFont : public TPersistent {
public:
    DECLARE_CLASS_INFO(TNodeFont)
    const std::string& Name() const { return FName; }
    void SetName(const std::string& v) { FName = v; }
    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }
    TStyles Styles() const { return FStyles; }
    void SetStyles(TStyles v) { FStyles = v; }
    int32_t Color() const { return FColor; }
    void SetColor(int32_t v) { FColor = v; }

private:
    std::string FName = "Arial";
    int FSize = 8;
    TStyles FStyles = 0;
    int32_t FColor = clBlack;
};

class TNode;

class TNodeItem : public TCollectionItem {
public:
    DECLARE_CLASS_INFO(TNodeItem)
    explicit TNodeItem(TCollection* c) : TCollectionItem(c) {}
    std::string Caption;
    double Weight = 0;
    TNode* Target = nullptr;
};

// One published property of every kind, plus a binary ("Payload") and a typed list
// ("Margins", written when any differs from 15) defined property and a read-only legacy
// entry whose reader ignores the value.
class TNode : public TComponent {
public:
    DECLARE_CLASS_INFO(TNode)
    explicit TNode(TComponent* AOwner);

    int Count() const { return FCount; }
    void SetCount(int v)
    {
        FCount = v;
        LoadingWhenCountSet = IsLoading();
    }
    TShape Kind() const { return FKind; }
    void SetKind(TShape v) { FKind = v; }
    TStyles Styles() const { return FStyles; }
    void SetStyles(TStyles v) { FStyles = v; }
    double Ratio() const { return FRatio; }
    void SetRatio(double v) { FRatio = v; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    char Letter() const { return FLetter; }
    void SetLetter(char v) { FLetter = v; }
    int64_t Big() const { return FBig; }
    void SetBig(int64_t v) { FBig = v; }
    // Streamed only when it is not 100.
    int Limit() const { return FLimit; }
    void SetLimit(int v) { FLimit = v; }
    bool IsLimitStored() const { return FLimit != 100; }
    int Serial() const { return 42; }   // published without a setter
    float Scale() const { return FScale; }
    void SetScale(float v) { FScale = v; }
    TNodeFont* Font() const { return FFont.get(); }
    TNode* Link() const { return FLink; }
    void SetLink(TNode* v) { FLink = v; }
    TOwnedCollection* Items() const { return FItems.get(); }
    TStringList* Lines() const { return FLines.get(); }
    TNotifyEvent OnChange;

    std::string Payload;
    int Margins[4] = {15, 15, 15, 15};

    // What Loaded saw.
    int LoadedCalls = 0;
    bool LoadingWhenCountSet = false;
    TNode* LinkAtLoaded = nullptr;
    void Loaded() override;

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    int FCount = 0;
    TShape FKind = shCircle;
    TStyles FStyles = 0;
    double FRatio = 0;
    std::string FCaption;
    bool FEnabled = true;
    char FLetter = 'a';
    int64_t FBig = 0;
    int FLimit = 100;
    float FScale = 1;
    std::unique_ptr<TNodeFont> FFont;
    TNode* FLink = nullptr;
    std::unique_ptr<TOwnedCollection> FItems;
    std::unique_ptr<TStringList> FLines;
};

// Redeclares Count with a default of 3.
class TSubNode : public TNode {
public:
    DECLARE_CLASS_INFO(TSubNode)
    explicit TSubNode(TComponent* AOwner) : TNode(AOwner) { SetCount(3); }
};

class THolder;

// A leaf belongs to its owner but is streamed as a child of its holder.
class TLeaf : public TComponent {
public:
    DECLARE_CLASS_INFO(TLeaf)
    explicit TLeaf(TComponent* AOwner) : TComponent(AOwner) {}
    ~TLeaf() override;
    int Value() const { return FValue; }
    void SetValue(int v) { FValue = v; }
    bool Flag() const { return FFlag; }
    void SetFlag(bool v) { FFlag = v; }
    THolder* Holder() const { return FHolder; }
    void SetHolder(THolder* p);

    bool HasParent() const override { return true; }
    void SetParentComponent(TComponent* Value) override;

private:
    int FValue = 0;
    bool FFlag = false;
    THolder* FHolder = nullptr;
};

// A sub-object that holds a collection.
class TNodeBox : public TPersistent {
public:
    DECLARE_CLASS_INFO(TNodeBox)
    explicit TNodeBox(TPersistent* Owner) : FItems(std::make_unique<TOwnedCollection>(Owner, CollectionItemClassOf<TNodeItem>())) {}
    TOwnedCollection* Items() const { return FItems.get(); }

private:
    std::unique_ptr<TOwnedCollection> FItems;
};

class THolder : public TComponent {
public:
    DECLARE_CLASS_INFO(THolder)
    explicit THolder(TComponent* AOwner) : TComponent(AOwner), FBox(std::make_unique<TNodeBox>(this)) {}
    ~THolder() override;
    TNodeBox* Box() const { return FBox.get(); }
    std::unique_ptr<TNodeBox> FBox;
    std::vector<TLeaf*> Leaves;
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
};

// Registers the sample classes for one test and unregisters them afterwards.
struct TRegistration {
    TRegistration();
    ~TRegistration();
};

// The bytes of a memory stream, and a memory stream over bytes.
std::string Bytes(TMemoryStream& s);
void Load(TMemoryStream& s, const std::string& bytes);

// The binary stream of Root, its text form, and the binary form of a text.
std::string BinaryOf(TComponent* Root);
std::string TextOf(const std::string& binary);
std::string BinaryOfText(const std::string& text);

// The property names written for the root component of a binary stream.
std::vector<std::string> RootPropertyNames(const std::string& binary);

} // namespace sample
