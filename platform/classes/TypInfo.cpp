#include "TypInfo.h"

#include <algorithm>

namespace typinfo_detail {

void InvalidValue()
{
    throw EReadError(SInvalidPropertyValue);
}

std::string WithName(const char* msg, const std::string& name)
{
    std::string s(msg);
    auto pos = s.find("%s");
    if (pos != std::string::npos)
        s.replace(pos, 2, name);
    return s;
}

} // namespace typinfo_detail

using typinfo_detail::WithName;

namespace {


} // namespace

// ---- property information -----------------------------------------------------------

bool IntToIdent(int64_t Value, std::string& Ident, const TIdentMap& Map)
{
    for (const TIdentMapEntry& e : Map)
        if (e.Value == Value) {
            Ident = e.Name;
            return true;
        }
    return false;
}

bool IdentToInt(const std::string& Ident, int64_t& Value, const TIdentMap& Map)
{
    for (const TIdentMapEntry& e : Map)
        if (SameText(e.Name, Ident)) {
            Value = e.Value;
            return true;
        }
    return false;
}

bool TPropInfo::Writable() const
{
    switch (Kind) {
    case TPropKind::Integer:
    case TPropKind::Enumeration:
    case TPropKind::Set:
    case TPropKind::Boolean:
    case TPropKind::Char:
        return static_cast<bool>(SetOrd);
    case TPropKind::Float:
        return static_cast<bool>(SetFloat);
    case TPropKind::String:
        return static_cast<bool>(SetStr);
    case TPropKind::Object:
        return static_cast<bool>(GetObj);
    case TPropKind::Component:
        return static_cast<bool>(SetObj);
    case TPropKind::Event:
        return false;
    }
    return false;
}

bool TClassInfo::InheritsFrom(const TClassInfo* Other) const
{
    for (const TClassInfo* c = this; c != nullptr; c = c->Parent)
        if (c == Other)
            return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& Name) const
{
    for (const TPropInfo& p : Properties)
        if (SameText(p.Name, Name))
            return &p;
    return nullptr;
}

namespace {

// One property from Source to Dest: Get is the source's entry, Set the destination's.
void CopyProperty(const TPropInfo& Set, TPersistent* Dest, const TPropInfo& Get, TPersistent* Source)
{
    if (Get.Kind != Set.Kind || !Set.Writable())
        return;
    switch (Set.Kind) {
    case TPropKind::Integer:
    case TPropKind::Enumeration:
    case TPropKind::Set:
    case TPropKind::Boolean:
    case TPropKind::Char:
        Set.SetOrd(Dest, Get.GetOrd(Source));
        break;
    case TPropKind::Float:
        Set.SetFloat(Dest, Get.GetFloat(Source));
        break;
    case TPropKind::String:
        // A component's name is its identity, not a setting.
        if (!(SameText(Set.Name, "Name") && dynamic_cast<TComponent*>(Dest) != nullptr))
            Set.SetStr(Dest, Get.GetStr(Source));
        break;
    case TPropKind::Object: {
        TPersistent* d = Set.GetObj(Dest);
        TPersistent* v = Get.GetObj(Source);
        if (d != nullptr && v != nullptr && d != v)
            d->Assign(v);
        break;
    }
    case TPropKind::Component:
    case TPropKind::Event:
        break;
    }
}

} // namespace

void AssignProperties(TPersistent* Dest, TPersistent* Source)
{
    const TClassInfo* source = Source->ClassInfo();
    for (const TPropInfo& p : Dest->ClassInfo()->Properties)
        if (const TPropInfo* s = source->FindProperty(p.Name))
            CopyProperty(p, Dest, *s, Source);
}

void AssignOwnProperties(TPersistent* Dest, TPersistent* Source, const TClassInfo* Table)
{
    for (const TPropInfo& p : Table->Properties)
        if (!p.NeverStored && (Table->Parent == nullptr || Table->Parent->FindProperty(p.Name) == nullptr))
            CopyProperty(p, Dest, p, Source);
}

// ---- the classes of this room -------------------------------------------------------

const TClassInfo* TObject::StaticClassInfo()
{
    static const TClassInfo Info = TClassBuilder<TObject>("TObject", nullptr).Build();
    return &Info;
}

BEGIN_CLASS_INFO(TPersistent, TObject)
END_CLASS_INFO

// The name travels in the component header, not as a property.
BEGIN_CLASS_INFO(TComponent, TPersistent)
    .ComponentFactory()
    .Str("Name", &TComponent::Name, &TComponent::SetName).Stored(false)
    .Int("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0)
END_CLASS_INFO

BEGIN_CLASS_INFO(TCollectionItem, TPersistent)
END_CLASS_INFO

BEGIN_CLASS_INFO(TCollection, TPersistent)
END_CLASS_INFO

BEGIN_CLASS_INFO(TStrings, TPersistent)
END_CLASS_INFO

void TComponent::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
    if (Root != this)
        return;
    // A copy, so that a writer may not be upset by a change of the list.
    std::vector<TComponent*> owned = FComponents;
    for (TComponent* c : owned)
        if (!c->HasParent())
            Proc(c);
}

// ---- the class registry ---------------------------------------------------------------

namespace {

struct TRegGroup {
    std::vector<const TClassInfo*> GroupClasses;
    std::vector<const TClassInfo*> Classes;
    bool Active = false;

    // How many steps up from AClass the closest group class is; -1 outside the group.
    int Distance(const TClassInfo* AClass) const
    {
        int best = -1;
        for (const TClassInfo* g : GroupClasses) {
            int d = 0;
            for (const TClassInfo* c = AClass; c != nullptr; c = c->Parent, ++d)
                if (c == g) {
                    if (best < 0 || d < best)
                        best = d;
                    break;
                }
        }
        return best;
    }

    const TClassInfo* Find(const std::string& Name) const
    {
        for (const TClassInfo* c : Classes)
            if (SameText(c->ClassName, Name))
                return c;
        return nullptr;
    }
};

struct TRegGroups {
    std::vector<TRegGroup> Groups;
    const TClassInfo* ActiveClass = nullptr;

    TRegGroups()
    {
        TRegGroup base;
        base.GroupClasses.push_back(TPersistent::StaticClassInfo());
        base.Active = true;
        Groups.push_back(std::move(base));
    }

    // The group whose group class AClass descends from most closely; the base group for
    // a class outside every group.
    TRegGroup& GroupOf(const TClassInfo* AClass)
    {
        TRegGroup* best = &Groups.front();
        int bestDistance = -1;
        for (TRegGroup& g : Groups) {
            int d = g.Distance(AClass);
            if (d >= 0 && (bestDistance < 0 || d < bestDistance)) {
                best = &g;
                bestDistance = d;
            }
        }
        return *best;
    }

    bool Registered(const TClassInfo* AClass) const
    {
        for (const TRegGroup& g : Groups)
            if (std::find(g.Classes.begin(), g.Classes.end(), AClass) != g.Classes.end())
                return true;
        return false;
    }
};

TRegGroups& Registry()
{
    static TRegGroups registry;
    return registry;
}

} // namespace

void RegisterClass(const TClassInfo* AClass)
{
    TRegGroups& reg = Registry();
    const TClassInfo* persistent = TPersistent::StaticClassInfo();
    for (const TClassInfo* c = AClass; c != nullptr && !reg.Registered(c); c = c->Parent) {
        TRegGroup& group = reg.GroupOf(c);
        if (group.Find(c->ClassName) != nullptr)
            throw EFilerError(WithName(SDuplicateClass, c->ClassName));
        group.Classes.push_back(c);
        if (c == persistent)
            break;
    }
}

void RegisterClasses(std::initializer_list<const TClassInfo*> Classes)
{
    for (const TClassInfo* c : Classes)
        RegisterClass(c);
}

void UnregisterClass(const TClassInfo* AClass)
{
    for (TRegGroup& g : Registry().Groups)
        g.Classes.erase(std::remove(g.Classes.begin(), g.Classes.end(), AClass), g.Classes.end());
}

const TClassInfo* GetClass(const std::string& ClassName)
{
    for (const TRegGroup& g : Registry().Groups)
        if (g.Active)
            if (const TClassInfo* c = g.Find(ClassName))
                return c;
    return nullptr;
}

std::vector<const TClassInfo*> RegisteredClasses()
{
    std::vector<const TClassInfo*> result;
    for (const TRegGroup& g : Registry().Groups)
        result.insert(result.end(), g.Classes.begin(), g.Classes.end());
    return result;
}

const TClassInfo* FindClass(const std::string& ClassName)
{
    const TClassInfo* c = GetClass(ClassName);
    if (c == nullptr)
        throw EClassNotFound(WithName(SClassNotFound, ClassName));
    return c;
}

void StartClassGroup(const TClassInfo* AClass)
{
    TRegGroups& reg = Registry();
    for (const TRegGroup& g : reg.Groups)
        if (std::find(g.GroupClasses.begin(), g.GroupClasses.end(), AClass) != g.GroupClasses.end())
            return;
    TRegGroup group;
    group.GroupClasses.push_back(AClass);
    // A new group is searched once a class of it is activated.
    group.Active = reg.ActiveClass != nullptr && reg.ActiveClass->InheritsFrom(AClass);
    reg.Groups.push_back(std::move(group));
}

void GroupDescendentsWith(const TClassInfo* AClass, const TClassInfo* AClassGroup)
{
    TRegGroup& group = Registry().GroupOf(AClassGroup);
    if (std::find(group.GroupClasses.begin(), group.GroupClasses.end(), AClass) == group.GroupClasses.end())
        group.GroupClasses.push_back(AClass);
}

void ActivateClassGroup(const TClassInfo* AClass)
{
    TRegGroups& reg = Registry();
    reg.ActiveClass = AClass;
    for (TRegGroup& g : reg.Groups)
        g.Active = &g == &reg.Groups.front() || g.Distance(AClass) >= 0;
}

TComponent* CreateComponentOfClass(const TClassInfo* AClass, TComponent* AOwner)
{
    if (AClass == nullptr || !AClass->CreateComponent)
        throw EClassNotFound(WithName(SClassNotFound, AClass != nullptr ? AClass->ClassName : std::string("nil")));
    return AClass->CreateComponent(AOwner);
}
