// Component streaming: trees written and read back, what is written, references.
#include "streaming_samples.h"

#include <gtest/gtest.h>

using namespace sample;

namespace {

using Names = std::vector<std::string>;

TEST(StreamingRoundTrip, TreeOfEveryPropertyKindReadsBackEqual)
{
    TRegistration registration;
    TComponent form(nullptr);
    form.SetName("Form1");
    form.SetTag(7);
    auto* a = new TNode(&form);
    a->SetName("NodeA");
    auto* holder = new THolder(&form);
    holder->SetName("Holder1");
    auto* leaf1 = new TLeaf(&form);
    leaf1->SetName("Leaf1");
    leaf1->SetValue(1);
    leaf1->SetHolder(holder);
    auto* leaf2 = new TLeaf(&form);
    leaf2->SetName("Leaf2");
    leaf2->SetValue(-70000);
    leaf2->SetFlag(true);
    leaf2->SetHolder(holder);
    auto* b = new TNode(&form);
    b->SetName("NodeB");
    b->SetLink(a);   // a reference backwards

    a->SetCount(300);
    a->SetKind(shTriangle);
    a->SetStyles(1u << stBold | 1u << stUnderline);
    a->SetRatio(-2.75e-7);
    a->SetCaption("Hello 'world'\r\nsecond line \xC3\xA9");
    a->SetEnabled(false);
    a->SetLetter('z');
    a->SetBig(int64_t(1) << 40);
    a->SetLimit(5);
    a->SetScale(0.25f);
    a->Font()->SetName("Courier New");
    a->Font()->SetSize(12);
    a->Font()->SetStyles(1u << stItalic);
    a->Font()->SetColor(clRed);
    a->SetLink(b);   // a reference forwards
    auto* i1 = static_cast<TNodeItem*>(a->Items()->Add());
    i1->Caption = "one";
    i1->Weight = 0.1;
    i1->Target = b;
    auto* i2 = static_cast<TNodeItem*>(a->Items()->Add());
    i2->Weight = 1e300;
    a->Lines()->Add("x");
    a->Lines()->Add("");
    a->Payload = std::string("\x00\x01\xFF\x7F", 4);
    a->Margins[0] = 1;
    a->Margins[3] = -40000;

    std::string binary = BinaryOf(&form);
    TMemoryStream s;
    Load(s, binary);
    std::unique_ptr<TComponent> copy = ReadNewComponent(&s);
    EXPECT_EQ(s.Position(), s.Size());
    EXPECT_STREQ(copy->ClassName(), "TComponent");
    EXPECT_EQ(copy->Name(), "Form1");
    EXPECT_EQ(copy->Tag(), 7);
    ASSERT_EQ(copy->ComponentCount(), 5);

    auto* ca = dynamic_cast<TNode*>(copy->FindComponent("NodeA"));
    auto* cb = dynamic_cast<TNode*>(copy->FindComponent("NodeB"));
    auto* ch = dynamic_cast<THolder*>(copy->FindComponent("Holder1"));
    ASSERT_TRUE(ca && cb && ch);
    EXPECT_EQ(ca->Count(), 300);
    EXPECT_EQ(ca->Kind(), shTriangle);
    EXPECT_EQ(ca->Styles(), a->Styles());
    EXPECT_EQ(ca->Ratio(), -2.75e-7);
    EXPECT_EQ(ca->Caption(), a->Caption());
    EXPECT_FALSE(ca->Enabled());
    EXPECT_EQ(ca->Letter(), 'z');
    EXPECT_EQ(ca->Big(), int64_t(1) << 40);
    EXPECT_EQ(ca->Limit(), 5);
    EXPECT_EQ(ca->Scale(), 0.25f);
    EXPECT_EQ(ca->Font()->Name(), "Courier New");
    EXPECT_EQ(ca->Font()->Size(), 12);
    EXPECT_EQ(ca->Font()->Styles(), 1u << stItalic);
    EXPECT_EQ(ca->Font()->Color(), clRed);
    ASSERT_EQ(ca->Items()->Count(), 2);
    auto* c1 = static_cast<TNodeItem*>(ca->Items()->Items(0));
    auto* c2 = static_cast<TNodeItem*>(ca->Items()->Items(1));
    EXPECT_EQ(c1->Caption, "one");
    EXPECT_EQ(c1->Weight, 0.1);
    EXPECT_EQ(c2->Weight, 1e300);
    EXPECT_EQ(ca->Lines()->Count(), 2);
    EXPECT_EQ(ca->Lines()->Text(), "x\r\n\r\n");
    EXPECT_EQ(ca->Payload, a->Payload);
    EXPECT_EQ(ca->Margins[0], 1);
    EXPECT_EQ(ca->Margins[1], 15);
    EXPECT_EQ(ca->Margins[3], -40000);

    // References in both directions and from a collection item.
    EXPECT_EQ(ca->Link(), cb);
    EXPECT_EQ(cb->Link(), ca);
    EXPECT_EQ(c1->Target, cb);
    EXPECT_EQ(c2->Target, nullptr);

    // Leaves stay owned by the root and come back into their holder.
    ASSERT_EQ(ch->Leaves.size(), 2u);
    EXPECT_EQ(ch->Leaves[0]->Name(), "Leaf1");
    EXPECT_EQ(ch->Leaves[1]->Value(), -70000);
    EXPECT_TRUE(ch->Leaves[1]->Flag());
    EXPECT_EQ(ch->Leaves[1]->Owner(), copy.get());

    // Properties were set while loading; Loaded ran once each, after the references.
    for (TNode* n : {ca, cb}) {
        EXPECT_TRUE(n->LoadingWhenCountSet);
        EXPECT_EQ(n->LoadedCalls, 1);
        EXPECT_EQ(n->LinkAtLoaded, n->Link());
        EXPECT_FALSE(n->IsLoading());
    }
    EXPECT_FALSE(copy->IsLoading());

    // Written again, the copy gives the same bytes.
    EXPECT_EQ(BinaryOf(copy.get()), binary);
}

TEST(StreamingRoundTrip, ACollectionOfASubObjectWithTheNextPropertyAfterIt)
{
    TRegistration registration;
    THolder source(nullptr);
    static_cast<TNodeItem*>(source.Box()->Items()->Add())->Caption = "first";
    auto* leaf = new TLeaf(&source);
    leaf->SetHolder(&source);
    leaf->SetValue(4);
    const std::string binary = BinaryOf(&source);
    for (const std::string& form : {binary, BinaryOfText(TextOf(binary))}) {
        THolder target(nullptr);
        TMemoryStream s;
        Load(s, form);
        ReadComponent(&s, &target);
        ASSERT_EQ(target.Box()->Items()->Count(), 1);
        EXPECT_EQ(static_cast<TNodeItem*>(target.Box()->Items()->Items(0))->Caption, "first");
        ASSERT_EQ(target.Leaves.size(), 1u);
        EXPECT_EQ(target.Leaves[0]->Value(), 4);
    }
}

TEST(StreamingRoundTrip, ReadIntoAnExistingRoot)
{
    TRegistration registration;
    TNode source(nullptr);
    source.SetName("Source");
    source.SetCount(9);
    source.SetCaption("c");
    auto* child = new TNode(&source);
    child->SetName("Kid");
    source.SetLink(child);
    std::string binary = BinaryOf(&source);

    TNode target(nullptr);
    TMemoryStream s;
    Load(s, binary);
    EXPECT_EQ(ReadComponent(&s, &target), &target);
    EXPECT_EQ(target.Name(), "Source");
    EXPECT_EQ(target.Count(), 9);
    EXPECT_EQ(target.Caption(), "c");
    ASSERT_EQ(target.ComponentCount(), 1);
    EXPECT_EQ(target.Link(), target.Components(0));
    EXPECT_EQ(target.LoadedCalls, 1);
}

TEST(StreamingDefaults, OnlyWhatDiffersFromTheDefaultsIsWritten)
{
    TNode node(nullptr);
    node.SetName("N");   // travels in the header, never as a property
    // An integer without a default is always written; everything else is at its default.
    EXPECT_EQ(RootPropertyNames(BinaryOf(&node)), Names{"Count"});

    node.SetTag(1);
    node.SetKind(shSquare);
    node.SetStyles(1u << stItalic);
    node.SetRatio(0.5);
    node.SetCaption("c");
    node.SetEnabled(false);
    node.SetLetter('b');
    node.SetBig(-1);
    node.SetScale(2);
    node.Font()->SetSize(9);
    node.Font()->SetColor(clRed);
    node.Items()->Add();
    node.Lines()->Add("x");
    node.Payload = "p";
    node.Margins[2] = 0;
    EXPECT_EQ(RootPropertyNames(BinaryOf(&node)),
              (Names{"Tag", "Count", "Kind", "Styles", "Ratio", "Caption", "Enabled", "Letter", "Big", "Scale",
                     "Font.Size", "Font.Color", "Items", "Lines.Strings", "Payload", "Margins"}));

    node.SetTag(0);
    node.SetKind(shCircle);
    node.SetStyles(0);
    node.SetRatio(0);
    node.SetCaption("");
    node.SetEnabled(true);
    node.SetLetter('a');
    node.SetBig(0);
    node.SetScale(1);
    node.Font()->SetSize(8);
    node.Font()->SetColor(clBlack);
    node.Items()->Clear();
    node.Lines()->Clear();
    node.Payload.clear();
    node.Margins[2] = 15;
    EXPECT_EQ(RootPropertyNames(BinaryOf(&node)), Names{"Count"});
}

TEST(StreamingDefaults, StoredWhenTestsAndRedeclaredDefaults)
{
    TNode node(nullptr);
    node.SetLimit(100);
    EXPECT_EQ(RootPropertyNames(BinaryOf(&node)), Names{"Count"});
    node.SetLimit(5);
    EXPECT_EQ(RootPropertyNames(BinaryOf(&node)), (Names{"Count", "Limit"}));

    // A descendant's default replaces the inherited one in place.
    TSubNode sub(nullptr);
    EXPECT_TRUE(RootPropertyNames(BinaryOf(&sub)).empty());
    sub.SetCount(4);
    EXPECT_EQ(RootPropertyNames(BinaryOf(&sub)), Names{"Count"});
    const auto& props = TSubNode::StaticClassInfo()->Properties;
    ASSERT_EQ(props.size(), TNode::StaticClassInfo()->Properties.size());
    EXPECT_EQ(props[2].Name, "Count");
    EXPECT_EQ(props[2].OrdDefault, 3);
    EXPECT_FALSE(TNode::StaticClassInfo()->Properties[2].OrdDefault.has_value());
}

TEST(StreamingDefaults, AnAncestorTakesTheDefaultsPlace)
{
    TComponent ancestor(nullptr), descendant(nullptr);
    ancestor.SetName("Form1");
    descendant.SetName("Form1");
    for (TComponent* root : {&ancestor, &descendant}) {
        auto* n = new TNode(root);
        n->SetName("NodeA");
        n->SetCount(5);
        n->SetKind(shSquare);
        n->Font()->SetSize(12);
        n->SetCaption(root == &ancestor ? "x" : "y");
    }
    TMemoryStream s;
    TWriter writer(&s);
    writer.WriteDescendent(&descendant, &ancestor);
    EXPECT_EQ(TextOf(Bytes(s)), "object Form1: TComponent\r\n"
                                "  object NodeA: TNode\r\n"
                                "    Caption = 'y'\r\n"
                                "  end\r\n"
                                "end\r\n");
}

TEST(StreamingReferences, ResolvedByNameOnceEverythingIsRead)
{
    TRegistration registration;
    std::string text = "object Form1: TComponent\r\n"
                       "  object NodeA: TNode\r\n"
                       "    Count = 1\r\n"
                       "    Link = NodeC\r\n"          // not read yet
                       "  end\r\n"
                       "  object NodeB: TNode\r\n"
                       "    Count = 2\r\n"
                       "    Link = Form1.NodeA\r\n"    // qualified by the root's name
                       "  end\r\n"
                       "  object NodeC: TNode\r\n"
                       "    Count = 3\r\n"
                       "    Link = NodeC\r\n"          // itself
                       "  end\r\n"
                       "  object NodeD: TNode\r\n"
                       "    Count = 4\r\n"
                       "    Link = Missing\r\n"        // matches nothing: left empty
                       "  end\r\n"
                       "end\r\n";
    TMemoryStream s;
    Load(s, BinaryOfText(text));
    std::unique_ptr<TComponent> form = ReadNewComponent(&s);
    auto node = [&](const char* name) { return static_cast<TNode*>(form->FindComponent(name)); };
    EXPECT_EQ(node("NodeA")->Link(), node("NodeC"));
    EXPECT_EQ(node("NodeB")->Link(), node("NodeA"));
    EXPECT_EQ(node("NodeC")->Link(), node("NodeC"));
    EXPECT_EQ(node("NodeD")->Link(), nullptr);
    EXPECT_EQ(node("NodeA")->LinkAtLoaded, node("NodeC"));
}

TEST(StreamingReferences, ACollectionGivenTwiceForgetsItsFormerItems)
{
    TRegistration registration;
    std::string text = "object Form1: TComponent\r\n"
                       "  object NodeA: TNode\r\n"
                       "    Count = 1\r\n"
                       "    Items = <\r\n      item\r\n        Target = NodeB\r\n      end>\r\n"
                       "    Items = <\r\n      item\r\n        Caption = 'b'\r\n        Target = NodeA\r\n      end>\r\n"
                       "  end\r\n"
                       "  object NodeB: TNode\r\n"
                       "    Count = 2\r\n"
                       "  end\r\n"
                       "end\r\n";
    TMemoryStream s;
    Load(s, BinaryOfText(text));
    std::unique_ptr<TComponent> form = ReadNewComponent(&s);
    auto* a = static_cast<TNode*>(form->FindComponent("NodeA"));
    ASSERT_EQ(a->Items()->Count(), 1);
    auto* item = static_cast<TNodeItem*>(a->Items()->Items(0));
    EXPECT_EQ(item->Caption, "b");
    EXPECT_EQ(item->Target, a);
}

TEST(StreamingReferences, ComponentsOfAnotherOwnerAreQualified)
{
    TComponent form(nullptr);
    form.SetName("Form1");
    auto* a = new TNode(&form);
    a->SetName("NodeA");
    auto* inner = new TNode(a);
    inner->SetName("Inner");
    auto* b = new TNode(&form);
    b->SetName("NodeB");
    b->SetLink(inner);
    auto* anonymous = new TNode(&form);
    b->SetCount(1);
    a->SetLink(anonymous);   // cannot be found again by name: not written
    std::string text = TextOf(BinaryOf(&form));
    EXPECT_NE(text.find("    Link = NodeA.Inner\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Link = \r\n"), std::string::npos);
    EXPECT_EQ(text.find("Inner: TNode"), std::string::npos);   // not the root's: not streamed here
}

} // namespace
