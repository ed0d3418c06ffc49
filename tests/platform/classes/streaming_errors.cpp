// Component streaming: reading errors and the class registry.
#include "streaming_samples.h"

#include <gtest/gtest.h>

using namespace sample;

namespace {

// Reads a stream into a new root and answers the message of the error it raises.
template <class E = EReadError>
std::string ReadError(const std::string& binary)
{
    TMemoryStream s;
    Load(s, binary);
    try {
        ReadNewComponent(&s);
    } catch (const E& e) {
        return e.Message();
    }
    return "no error";
}

std::string NodeText(const std::string& properties)
{
    return "object Form1: TComponent\r\n  object N: TNode\r\n" + properties + "  end\r\nend\r\n";
}

TEST(StreamingErrors, UnknownClassesAndProperties)
{
    TRegistration registration;
    EXPECT_EQ(ReadError<EClassNotFound>(BinaryOfText("object Form1: TComponent\r\n"
                                                     "  object X: TNoSuchThing\r\n  end\r\nend\r\n")),
              "Class TNoSuchThing not found");
    EXPECT_EQ(ReadError<EClassNotFound>(BinaryOfText("object TNoSuchRoot\r\nend\r\n")),
              "Class TNoSuchRoot not found");
    // A registered class that cannot be created by name is not found either.
    EXPECT_EQ(ReadError<EClassNotFound>(BinaryOfText("object TPersistent\r\nend\r\n")), "Class TPersistent not found");
    EXPECT_EQ(ReadError(BinaryOfText(NodeText("    Bogus = 1\r\n"))), "Property Bogus does not exist");
    EXPECT_EQ(ReadError(BinaryOfText(NodeText("    Font.Bogus = 1\r\n"))), "Property Bogus does not exist");
    EXPECT_EQ(ReadError(BinaryOfText(NodeText("    Nope.Size = 1\r\n"))), "Property Nope does not exist");
    EXPECT_EQ(ReadError(BinaryOfText(NodeText("    Serial = 1\r\n"))), "Property is read-only");
}

TEST(StreamingErrors, ValuesOfTheWrongKind)
{
    TRegistration registration;
    for (const char* entry : {"    Count = 'x'\r\n", "    Count = 3000000000\r\n", "    Kind = shHexagon\r\n",
                              "    Styles = [stBold, stNope]\r\n", "    Letter = 'ab'\r\n", "    Enabled = 1\r\n",
                              "    Ratio = 'x'\r\n", "    Font.Color = clGreen\r\n", "    Margins = (\r\n 1\r\n 2)\r\n",
                              "    Items = 1\r\n", "    Link = Form1\r\n"})
        EXPECT_EQ(ReadError(BinaryOfText(NodeText(entry))), "Invalid property value") << entry;

    // A value without a name cannot be written as one.
    TNode node(nullptr);
    node.SetKind(static_cast<TShape>(3));   // representable, but unnamed
    EXPECT_THROW(BinaryOf(&node), EWriteError);
    node.SetKind(shCircle);
    node.SetStyles(1u << 5);
    EXPECT_THROW(BinaryOf(&node), EWriteError);
}

TEST(StreamingErrors, DamagedStreams)
{
    TRegistration registration;
    TComponent form(nullptr);
    form.SetName("Form1");
    auto* node = new TNode(&form);
    node->SetName("N");
    node->SetCaption("text");
    node->Payload = "abc";
    node->Items()->Add();
    node->Lines()->Add("x");
    std::string binary = BinaryOf(&form);

    // Cut anywhere, the stream ends early.
    for (size_t n = 0; n < binary.size(); ++n)
        ASSERT_EQ(ReadError(binary.substr(0, n)), "Stream read error") << n;

    // A length beyond the end is refused before anything is allocated for it.
    std::string damaged = binary;
    size_t at = damaged.find("Payload");
    ASSERT_NE(at, std::string::npos);
    damaged.replace(at + 8, 4, std::string("\xF0\xFF\xFF\x7F", 4));
    EXPECT_EQ(ReadError(damaged), "Stream read error");

    EXPECT_EQ(ReadError("TPF1" + binary.substr(4)), "Invalid stream format");

    // Nesting deeper than any real stream is refused instead of running out of stack.
    std::string deep = "TPF0" + std::string("\x05TNode\x00\x08OnChange", 16) + std::string(1000, '\x01') +
                       std::string(1000, '\x00') + std::string(2, '\x00');
    EXPECT_EQ(ReadError(deep), "Invalid stream format");
    TMemoryStream in, out;
    Load(in, deep);
    EXPECT_THROW(ObjectBinaryToText(&in, &out), EReadError);
}

TEST(StreamingErrors, AFailedReadFreesEveryComponentItMade)
{
    TRegistration registration;
    TComponent form(nullptr);
    TMemoryStream s;
    Load(s, BinaryOfText("object Form1: TComponent\r\n"
                         "  object A: TNode\r\n    Count = 1\r\n  end\r\n"
                         "  object B: TNode\r\n    Count = 2\r\n    Bogus = 3\r\n  end\r\n"
                         "end\r\n"));
    EXPECT_THROW(ReadComponent(&s, &form), EReadError);
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_FALSE(form.IsLoading());
}

TEST(StreamingErrors, IgnoredEntriesKeepTheStreamInStep)
{
    TRegistration registration;
    TMemoryStream s;
    Load(s, BinaryOfText(NodeText("    OnChange = NChange\r\n"
                                  "    Legacy = (\r\n      1\r\n      'two')\r\n"
                                  "    Count = 5\r\n")));
    std::unique_ptr<TComponent> form = ReadNewComponent(&s);
    EXPECT_EQ(static_cast<TNode*>(form->FindComponent("N"))->Count(), 5);
}

// Classes that only the registry tests register.
class TGroupBase : public TComponent {
public:
    DECLARE_CLASS_INFO(TGroupBase)
    using TComponent::TComponent;
};
class TGroupMember : public TGroupBase {
public:
    DECLARE_CLASS_INFO(TGroupMember)
    using TGroupBase::TGroupBase;
};
class TJoiner : public TComponent {
public:
    DECLARE_CLASS_INFO(TJoiner)
    using TComponent::TComponent;
};
BEGIN_CLASS_INFO(TGroupBase, TComponent)
END_CLASS_INFO
BEGIN_CLASS_INFO(TGroupMember, TGroupBase)
END_CLASS_INFO
BEGIN_CLASS_INFO(TJoiner, TComponent)
END_CLASS_INFO

TEST(ClassRegistry, RegisterFindAndUnregister)
{
    {
        TRegistration registration;
        EXPECT_EQ(FindClass("TNode"), TNode::StaticClassInfo());
        EXPECT_EQ(FindClass("tnode"), TNode::StaticClassInfo());
        EXPECT_EQ(GetClass("TComponent"), TComponent::StaticClassInfo());   // ancestors come along
        EXPECT_EQ(GetClass("TNoSuch"), nullptr);
        try {
            FindClass("TNoSuch");
            ADD_FAILURE();
        } catch (const EClassNotFound& e) {
            EXPECT_EQ(e.Message(), "Class TNoSuch not found");
        }
        RegisterClass(TNode::StaticClassInfo());   // again: nothing happens
        TClassInfo impostor;
        impostor.ClassName = "TNode";
        impostor.Parent = TComponent::StaticClassInfo();
        try {
            RegisterClass(&impostor);
            ADD_FAILURE();
        } catch (const EFilerError& e) {
            EXPECT_EQ(e.Message(), "A class named TNode already exists");
        }
    }
    EXPECT_EQ(GetClass("TNode"), nullptr);

    // An item class's factory adds the item to the collection that then owns it.
    TOwnedCollection items(nullptr, CollectionItemClassOf<TNodeItem>());
    TCollectionItem* item = TNodeItem::StaticClassInfo()->CreateItem(&items);
    ASSERT_EQ(items.Count(), 1);
    EXPECT_EQ(items.Items(0), item);
    EXPECT_TRUE(TNodeItem::StaticClassInfo()->InheritsFrom(TCollectionItem::StaticClassInfo()));
    EXPECT_FALSE(TNodeItem::StaticClassInfo()->InheritsFrom(TComponent::StaticClassInfo()));
}

TEST(ClassRegistry, GroupsHideTheirClassesUntilActivated)
{
    const TClassInfo* base = TGroupBase::StaticClassInfo();
    StartClassGroup(base);
    GroupDescendentsWith(TJoiner::StaticClassInfo(), base);
    RegisterClasses({TGroupMember::StaticClassInfo(), TJoiner::StaticClassInfo()});
    EXPECT_EQ(GetClass("TGroupMember"), nullptr);
    EXPECT_EQ(GetClass("TJoiner"), nullptr);
    EXPECT_NE(GetClass("TComponent"), nullptr);   // the base group is always searched

    ActivateClassGroup(TGroupMember::StaticClassInfo());
    EXPECT_EQ(GetClass("TGroupMember"), TGroupMember::StaticClassInfo());
    EXPECT_EQ(GetClass("TJoiner"), TJoiner::StaticClassInfo());
    EXPECT_NE(GetClass("TComponent"), nullptr);

    ActivateClassGroup(TPersistent::StaticClassInfo());
    EXPECT_EQ(GetClass("TGroupMember"), nullptr);
    UnregisterClass(TGroupMember::StaticClassInfo());
    UnregisterClass(TGroupBase::StaticClassInfo());
    UnregisterClass(TJoiner::StaticClassInfo());
}

} // namespace
