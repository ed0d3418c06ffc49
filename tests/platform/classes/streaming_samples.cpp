// The sample classes of the streaming tests (no tests here).
#include "streaming_samples.h"

#include <algorithm>

namespace sample {

const TIdentMap& ColorIdents()
{
    static const TIdentMap map = {{clBlack, "clBlack"}, {clRed, "clRed"}};
    return map;
}

BEGIN_CLASS_INFO(TNodeFont, TPersistent)
    .Str("Name", &TNodeFont::Name, &TNodeFont::SetName).Default("Arial")
    .Int("Size", &TNodeFont::Size, &TNodeFont::SetSize).Default(8)
    .SetOf("Styles", &TNodeFont::Styles, &TNodeFont::SetStyles, {"stBold", "stItalic", "stUnderline"}).Default(0)
    .Int("Color", &TNodeFont::Color, &TNodeFont::SetColor).Default(clBlack).Idents(ColorIdents())
END_CLASS_INFO

BEGIN_CLASS_INFO(TNodeItem, TCollectionItem)
    .ItemFactory()
    .Str("Caption", &TNodeItem::Caption, [](TNodeItem& i, const std::string& v) { i.Caption = v; })
    .Float("Weight", &TNodeItem::Weight, [](TNodeItem& i, double v) { i.Weight = v; })
    .Reference("Target", &TNodeItem::Target, [](TNodeItem& i, TNode* v) { i.Target = v; })
END_CLASS_INFO

BEGIN_CLASS_INFO(TNode, TComponent)
    .ComponentFactory()
    .Int("Count", &TNode::Count, &TNode::SetCount)
    .Enum("Kind", &TNode::Kind, &TNode::SetKind, {"shCircle", "shSquare", "shTriangle"}).Default(shCircle)
    .SetOf("Styles", &TNode::Styles, &TNode::SetStyles, {"stBold", "stItalic", "stUnderline"}).Default(0)
    .Float("Ratio", &TNode::Ratio, &TNode::SetRatio)
    .Str("Caption", &TNode::Caption, &TNode::SetCaption)
    .Bool("Enabled", &TNode::Enabled, &TNode::SetEnabled).Default(true)
    .Char("Letter", &TNode::Letter, &TNode::SetLetter).Default('a')
    .Int("Big", &TNode::Big, &TNode::SetBig).Default(0)
    .Int("Limit", &TNode::Limit, &TNode::SetLimit).Stored(&TNode::IsLimitStored)
    .Int("Serial", &TNode::Serial)
    .Float("Scale", &TNode::Scale, &TNode::SetScale, TFloatType::ftSingle).Default(1)
    .Object("Font", &TNode::Font)
    .Reference("Link", &TNode::Link, &TNode::SetLink)
    .Object("Items", &TNode::Items)
    .Object("Lines", &TNode::Lines)
    .Event("OnChange")
END_CLASS_INFO

BEGIN_CLASS_INFO(TSubNode, TNode)
    .ComponentFactory()
    .Int("Count", &TSubNode::Count, &TSubNode::SetCount).Default(3)
END_CLASS_INFO

TNode::TNode(TComponent* AOwner)
    : TComponent(AOwner),
      FFont(std::make_unique<TNodeFont>()),
      FItems(std::make_unique<TOwnedCollection>(this, CollectionItemClassOf<TNodeItem>())),
      FLines(std::make_unique<TStringList>())
{
}

void TNode::Loaded()
{
    TComponent::Loaded();
    ++LoadedCalls;
    LinkAtLoaded = FLink;
}

void TNode::DefineProperties(TFiler* Filer)
{
    TComponent::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Payload",
        [this](TStream* s) {
            Payload.assign(static_cast<size_t>(s->Size()), '\0');
            s->ReadBuffer(Payload.data(), s->Size());
        },
        [this](TStream* s) { s->WriteBuffer(Payload.data(), static_cast<int64_t>(Payload.size())); },
        !Payload.empty());
    bool marginsChanged = std::any_of(std::begin(Margins), std::end(Margins), [](int m) { return m != 15; });
    Filer->DefineProperty(
        "Margins",
        [this](TReader* r) {
            r->ReadListBegin();
            for (int& m : Margins)
                m = r->ReadInteger();
            r->ReadListEnd();
        },
        [this](TWriter* w) {
            w->WriteListBegin();
            for (int m : Margins)
                w->WriteInteger(m);
            w->WriteListEnd();
        },
        marginsChanged);
    Filer->DefineProperty("Legacy", [](TReader*) {}, nullptr, false);
}

BEGIN_CLASS_INFO(TLeaf, TComponent)
    .ComponentFactory()
    .Int("Value", &TLeaf::Value, &TLeaf::SetValue).Default(0)
    .Bool("Flag", &TLeaf::Flag, &TLeaf::SetFlag).Default(false)
END_CLASS_INFO

TLeaf::~TLeaf()
{
    SetHolder(nullptr);
}

void TLeaf::SetHolder(THolder* p)
{
    if (FHolder != nullptr) {
        auto& v = FHolder->Leaves;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    FHolder = p;
    if (p != nullptr)
        p->Leaves.push_back(this);
}

void TLeaf::SetParentComponent(TComponent* Value)
{
    SetHolder(dynamic_cast<THolder*>(Value));
}

BEGIN_CLASS_INFO(TNodeBox, TPersistent)
    .Object("Items", &TNodeBox::Items)
END_CLASS_INFO

BEGIN_CLASS_INFO(THolder, TComponent)
    .ComponentFactory()
    .Object("Box", &THolder::Box)
END_CLASS_INFO

THolder::~THolder()
{
    while (!Leaves.empty())
        Leaves.back()->SetHolder(nullptr);
}

void THolder::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
    for (TLeaf* leaf : Leaves)
        if (leaf->Owner() == Root)
            Proc(leaf);
}

TRegistration::TRegistration()
{
    RegisterClasses({TNode::StaticClassInfo(), TSubNode::StaticClassInfo(), THolder::StaticClassInfo(),
                     TLeaf::StaticClassInfo()});
}

TRegistration::~TRegistration()
{
    for (const TClassInfo* c : {TNode::StaticClassInfo(), TSubNode::StaticClassInfo(), THolder::StaticClassInfo(),
                                TLeaf::StaticClassInfo()})
        UnregisterClass(c);
}

std::string Bytes(TMemoryStream& s)
{
    return std::string(s.Memory(), static_cast<size_t>(s.Size()));
}

void Load(TMemoryStream& s, const std::string& bytes)
{
    s.Clear();
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
}

std::string BinaryOf(TComponent* Root)
{
    TMemoryStream s;
    WriteComponent(&s, Root);
    return Bytes(s);
}

std::string TextOf(const std::string& binary)
{
    TMemoryStream in, out;
    Load(in, binary);
    ObjectBinaryToText(&in, &out);
    return Bytes(out);
}

std::string BinaryOfText(const std::string& text)
{
    TMemoryStream in, out;
    Load(in, text);
    ObjectTextToBinary(&in, &out);
    return Bytes(out);
}

std::vector<std::string> RootPropertyNames(const std::string& binary)
{
    TMemoryStream s;
    Load(s, binary);
    TReader r(&s);
    r.ReadSignature();
    r.ReadStr();
    r.ReadStr();
    std::vector<std::string> names;
    while (!r.EndOfList()) {
        names.push_back(r.ReadStr());
        r.SkipValue();
    }
    return names;
}

} // namespace sample
