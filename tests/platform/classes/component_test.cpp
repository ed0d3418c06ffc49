// Components: ownership, free notification, names; persistent assignment.
#include "classes/Classes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

// A component that records its destruction and the notifications it receives.
class TWatcher : public TComponent {
public:
    explicit TWatcher(TComponent* AOwner, std::vector<std::string>* log = nullptr) : TComponent(AOwner), FLog(log) {}
    ~TWatcher() override
    {
        if (FLog)
            FLog->push_back("free " + Name() + (Watched ? " still watching" : ""));
    }
    struct Event {
        TComponent* Component;
        TOperation Operation;
    };
    std::vector<Event> Events;
    TComponent* Watched = nullptr;   // cleared when it goes away

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        Events.push_back({AComponent, Operation});
        if (Operation == TOperation::opRemove && AComponent == Watched)
            Watched = nullptr;
    }

private:
    std::vector<std::string>* FLog;
};

int RemovalsOf(const TWatcher& w, const TComponent* c)
{
    int n = 0;
    for (auto& e : w.Events)
        n += e.Component == c && e.Operation == TOperation::opRemove;
    return n;
}

TEST(ComponentTest, OwnerFreesOwnedComponentsLastFirst)
{
    std::vector<std::string> log;
    {
        TWatcher owner(nullptr);
        for (const char* name : {"A", "B", "C"})
            (new TWatcher(&owner, &log))->SetName(name);
        ASSERT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.Components(1)->Name(), "B");
        EXPECT_EQ(owner.Components(2)->ComponentIndex(), 2);
        EXPECT_EQ(owner.Components(0)->Owner(), &owner);
        EXPECT_THROW(owner.Components(3), EListError);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"free C", "free B", "free A"}));
}

TEST(ComponentTest, OwnerHearsOfInsertAndRemove)
{
    TWatcher owner(nullptr);
    auto* sibling = new TWatcher(&owner);
    auto* child = new TWatcher(&owner);
    ASSERT_EQ(owner.Events.size(), 2u);
    EXPECT_EQ(owner.Events[1].Component, child);
    EXPECT_EQ(owner.Events[1].Operation, TOperation::opInsert);
    // The owner passes notifications on to what it owns. (A newcomer still under
    // construction hears its own insertion only as a plain component.)
    ASSERT_EQ(sibling->Events.size(), 1u);
    EXPECT_EQ(sibling->Events[0].Component, child);
    EXPECT_EQ(sibling->Events[0].Operation, TOperation::opInsert);
    delete child;
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(RemovalsOf(owner, child), 1);
    EXPECT_EQ(RemovalsOf(*sibling, child), 1);

    // Moving to another owner removes it from the first.
    TWatcher other(nullptr);
    other.InsertComponent(sibling);
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(sibling->Owner(), &other);
    other.RemoveComponent(sibling);
    EXPECT_EQ(sibling->Owner(), nullptr);
    delete sibling;
}

TEST(ComponentTest, FreeNotificationWorksBothWays)
{
    auto a = std::make_unique<TWatcher>(nullptr);
    auto b = std::make_unique<TWatcher>(nullptr);
    a->Watched = b.get();
    a->FreeNotification(b.get());
    EXPECT_TRUE(a->ComponentState() & csFreeNotification);
    TComponent* bp = b.get();
    b.reset();
    EXPECT_EQ(a->Watched, nullptr);
    EXPECT_EQ(RemovalsOf(*a, bp), 1);

    // The link is mutual: when the watcher dies first, the watched one forgets it, so
    // its own destruction later touches nothing freed.
    auto c = std::make_unique<TWatcher>(nullptr);
    auto d = std::make_unique<TWatcher>(nullptr);
    c->FreeNotification(d.get());
    TComponent* cp = c.get();
    c.reset();
    EXPECT_EQ(RemovalsOf(*d, cp), 1);
    d.reset();

    // RemoveFreeNotification unlinks without notice.
    auto e = std::make_unique<TWatcher>(nullptr);
    auto f = std::make_unique<TWatcher>(nullptr);
    e->FreeNotification(f.get());
    e->RemoveFreeNotification(f.get());
    TComponent* fp = f.get();
    f.reset();
    EXPECT_EQ(RemovalsOf(*e, fp), 0);
}

TEST(ComponentTest, SiblingsAreToldWhenTheOwnerFreesOneOfThemFirst)
{
    // A (first) refers to B (second); the owner frees B first and A must hear of it.
    std::vector<std::string> log;
    {
        TComponent owner(nullptr);
        auto* a = new TWatcher(&owner, &log);
        auto* b = new TWatcher(&owner, &log);
        a->SetName("A");
        b->SetName("B");
        a->Watched = b;
        a->FreeNotification(b);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"free B", "free A"}));
}

TEST(ComponentTest, NamesAreIdentifiersUniqueAmongSiblingsWithoutCase)
{
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Series1");
    EXPECT_EQ(owner.FindComponent("SERIES1"), a);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    try {
        b->SetName("series1");
        ADD_FAILURE() << "duplicate accepted";
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named series1 already exists");
    }
    EXPECT_EQ(b->Name(), "");
    a->SetName("SERIES1");   // the same component may change the case of its own name
    EXPECT_EQ(a->Name(), "SERIES1");
    try {
        b->SetName("1abc");
        ADD_FAILURE() << "invalid name accepted";
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "'1abc' is not a valid component name");
    }
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    b->SetName("_b2");
    b->SetName("");   // an empty name is always allowed

    // The same name under another owner is fine; bringing it in is not.
    TComponent other(nullptr);
    auto* c = new TComponent(&other);
    c->SetName("series1");
    EXPECT_THROW(owner.InsertComponent(c), EComponentError);
    EXPECT_EQ(c->Owner(), &other);
    EXPECT_EQ(c->GetNamePath(), "series1");
}

TEST(ComponentTest, DesigningAndDestroyingStatesReachOwnedComponents)
{
    TComponent owner(nullptr);
    auto* child = new TComponent(&owner);
    owner.SetDesigning(true);
    EXPECT_TRUE(child->IsDesigning());
    auto* late = new TComponent(&owner);
    EXPECT_TRUE(late->IsDesigning());
    owner.SetDesigning(false, false);
    EXPECT_FALSE(owner.IsDesigning());
    EXPECT_TRUE(child->IsDesigning());

    struct TProbe : TComponent {
        using TComponent::TComponent;
        bool* OwnerDestroying = nullptr;
        ~TProbe() override { *OwnerDestroying = Owner() == nullptr && IsDestroying(); }
    };
    bool destroying = false;
    {
        TComponent parent(nullptr);
        (new TProbe(&parent))->OwnerDestroying = &destroying;
    }
    EXPECT_TRUE(destroying);
}

TEST(PersistentTest, AssignWithoutAWayRaisesTheClassNames)
{
    TStringList list;
    TComponent comp(nullptr);
    try {
        list.Assign(&comp);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TStringList");
    }
    try {
        list.Assign(nullptr);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a nil to a TStringList");
    }
}

} // namespace

// A setter's common part stores and notifies exactly when the value differs, and the
// notification sees the new value. A NaN equals nothing, not even a NaN; -0 equals 0.
TEST(SetAndNotify, StoresAndNotifiesOnlyADifferentValue)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double Old, New;
        bool Changes;
    };
    const Case cases[] = {{1.5, 1.5, false}, {1.5, 2.5, true}, {2.5, 1.5, true}, {nan, nan, true},
                          {1.5, nan, true},  {nan, 1.5, true}, {0.0, -0.0, false}};
    const auto same = [](double a, double b) {
        return std::isnan(a) ? std::isnan(b) : a == b && std::signbit(a) == std::signbit(b);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Old << " -> " << c.New);
        double field = c.Old;
        int notified = 0;
        double seen = 0;
        const bool stored = SetAndNotify(field, c.New, [&] {
            ++notified;
            seen = field;
        });
        EXPECT_EQ(stored, c.Changes);
        EXPECT_EQ(notified, c.Changes ? 1 : 0);
        EXPECT_TRUE(same(field, c.Changes ? c.New : c.Old));
        EXPECT_TRUE(!c.Changes || same(seen, c.New));
    }
}
