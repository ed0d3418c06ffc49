// Published-property information and the class registry of component streaming.
//
// C++ has no run-time property information, so every class that is streamed describes
// its published properties once, in a table that TClassBuilder builds. The pattern:
//
//   // header
//   class TGauge : public TComponent {
//   public:
//       DECLARE_CLASS_INFO(TGauge)
//       explicit TGauge(TComponent* AOwner);
//       int Value() const;                 void SetValue(int v);
//       TGaugeKind Kind() const;           void SetKind(TGaugeKind v);
//       TFont* Font() const;               // owned sub-object, streamed as "Font.Size = 8"
//       TGauge* Buddy() const;             void SetBuddy(TGauge* v);   // streamed by name
//       bool IsValueStored() const;
//   };
//
//   // source
//   BEGIN_CLASS_INFO(TGauge, TComponent)
//       .ComponentFactory()                // created by class name when read
//       .Int("Value", &TGauge::Value, &TGauge::SetValue).Stored(&TGauge::IsValueStored)
//       .Enum("Kind", &TGauge::Kind, &TGauge::SetKind, {"gkBar", "gkDial"}).Default(gkBar)
//       .Object("Font", &TGauge::Font)
//       .Reference("Buddy", &TGauge::Buddy, &TGauge::SetBuddy)
//   END_CLASS_INFO
//
//   // the unit's start-up function
//   RegisterClass(TGauge::StaticClassInfo());
//
// A class's table starts with its parent's properties (a property of the same name
// replaces the parent's, for instance to change its default) and adds its own in order;
// that order is the order in which they are written. Getters and setters are member
// functions (or any callable taking the object, such as a lambda over a public field).
// A property without a setter is listed but not written, and a stream that sets it
// raises "Property is read-only"; sub-objects need none, they are read in place. Events
// are listed only: a stream entry for one is passed over.
//
// What is written: a property whose stored-when test answers False never; an ordinal
// (integer, enumeration, set, boolean, char) when it has no default or differs from it;
// a float when it differs from its default (0 without one); a string when it differs
// from its default (empty without one); a sub-object through its own properties; a
// collection when it has items; a component reference when it is set; an event never.
// When the writer has an ancestor, the ancestor's value takes the default's place.
//
// Entries that are not published properties (binary data, lists, legacy names) come from
// an override of TPersistent::DefineProperties through TFiler::DefineProperty and
// DefineBinaryProperty (Streaming.h); the components streamed inside a component from
// TComponent::GetChildren.
#pragma once

#include "Classes.h"
#include "system/Flags.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class TCollection;
class TCollectionItem;

// ---- errors -----------------------------------------------------------------------

// Errors of the filers and the class registry.
class EFilerError : public EStreamError { using EStreamError::EStreamError; };
// FindClass and a reader that meets an unknown class: "Class %s not found".
class EClassNotFound : public EFilerError { using EFilerError::EFilerError; };

inline constexpr const char* SClassNotFound = "Class %s not found";
inline constexpr const char* SDuplicateClass = "A class named %s already exists";
inline constexpr const char* SUnknownProperty = "Property %s does not exist";
inline constexpr const char* SInvalidPropertyValue = "Invalid property value";
inline constexpr const char* SReadOnlyProperty = "Property is read-only";
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SInvalidImage = "Invalid stream format";

// ---- property information ---------------------------------------------------------

enum class TPropKind {
    Integer,       // any integral type; may be written by name through an identifier map
    Enumeration,   // written by its value name
    Set,           // a bit mask, bit k = element k; written as element names
    Float,
    String,
    Boolean,
    Char,
    Object,        // an owned persistent sub-object (or collection), written in place
    Component,     // a reference to a component, written by name
    Event,         // listed, never written
};

// How a float property is written: doubles as 10-byte extended floats, the others in
// their own forms.
enum class TFloatType { ftDouble, ftSingle, ftCurrency, ftDate };

// Integer constants that are written by name (colour names, cursor names).
struct TIdentMapEntry {
    int64_t Value;
    std::string Name;
};
using TIdentMap = std::vector<TIdentMapEntry>;
bool IntToIdent(int64_t Value, std::string& Ident, const TIdentMap& Map);
bool IdentToInt(const std::string& Ident, int64_t& Value, const TIdentMap& Map);   // without case

// One published property. The accessors take the object the property belongs to.
struct TPropInfo {
    std::string Name;
    TPropKind Kind = TPropKind::Integer;
    TFloatType FloatType = TFloatType::ftDouble;
    std::vector<std::string> Names;     // enumeration values / set elements by ordinal
    const TIdentMap* Idents = nullptr;  // integer properties written by name
    std::optional<int64_t> OrdDefault;
    std::optional<double> FloatDefault;
    std::string StrDefault;
    std::function<bool(TObject*)> IsStored;   // empty: always stored
    // Stored(false): a view of a value that another property holds (an alias, a
    // sub-object reached under a second name), so copying passes it over.
    bool NeverStored = false;

    std::function<int64_t(TObject*)> GetOrd;
    std::function<void(TObject*, int64_t)> SetOrd;
    std::function<double(TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<std::string(TObject*)> GetStr;
    std::function<void(TObject*, const std::string&)> SetStr;
    std::function<TPersistent*(TObject*)> GetObj;
    std::function<void(TObject*, TPersistent*)> SetObj;   // references; raises on a wrong class

    // Whether the property can be set from a stream.
    bool Writable() const;
    // The stored-when test (True without one).
    bool Stored(TObject* Instance) const { return !IsStored || IsStored(Instance); }
};

// A class as streaming sees it: its name, its parent, its published properties (the
// parent's first) and, for components and collection items, how to create one.
struct TClassInfo {
    std::string ClassName;
    const TClassInfo* Parent = nullptr;
    std::vector<TPropInfo> Properties;
    std::function<TComponent*(TComponent* AOwner)> CreateComponent;
    std::function<TCollectionItem*(TCollection* Collection)> CreateItem;

    bool InheritsFrom(const TClassInfo* Other) const;
    // Looked up without case; nullptr when the class has no such property.
    const TPropInfo* FindProperty(const std::string& Name) const;
};

// ---- building a class's table -----------------------------------------------------

namespace typinfo_detail {

[[noreturn]] void InvalidValue();

// A streaming message with its "%s" replaced by a class or property name.
std::string WithName(const char* msg, const std::string& name);

// A value read from a stream must fit the property's own type.
template <class V>
V CheckedOrd(int64_t v)
{
    if constexpr (std::is_same_v<V, bool>) {
        return v != 0;
    } else if constexpr (std::is_integral_v<V>) {
        if constexpr (std::is_unsigned_v<V>) {
            if (v < 0 || static_cast<uint64_t>(v) > std::numeric_limits<V>::max())
                InvalidValue();
        } else if (v < std::numeric_limits<V>::min() || v > std::numeric_limits<V>::max()) {
            InvalidValue();
        }
        return static_cast<V>(v);
    } else {
        return static_cast<V>(v);   // enumerations: the reader checks the value name
    }
}

} // namespace typinfo_detail

template <class C>
class TClassBuilder {
public:
    TClassBuilder(std::string Name, const TClassInfo* Parent)
    {
        FInfo.ClassName = std::move(Name);
        FInfo.Parent = Parent;
    }

    // Readers create the class by name with `new C(Owner)`; the owner frees it.
    TClassBuilder& ComponentFactory()
    {
        FInfo.CreateComponent = [](TComponent* AOwner) -> TComponent* { return new C(AOwner); };
        return *this;
    }
    // Collection items: `new C(Collection)`, owned by the collection.
    TClassBuilder& ItemFactory()
    {
        FInfo.CreateItem = [](TCollection* Collection) -> TCollectionItem* { return new C(Collection); };
        return *this;
    }

    template <class G, class S = std::nullptr_t>
    TClassBuilder& Int(std::string Name, G Get, S Set = nullptr)
    {
        return Ordinal(std::move(Name), TPropKind::Integer, Get, Set, {});
    }
    template <class G, class S>
    TClassBuilder& Enum(std::string Name, G Get, S Set, std::vector<std::string> ValueNames)
    {
        return Ordinal(std::move(Name), TPropKind::Enumeration, Get, Set, std::move(ValueNames));
    }
    template <class G, class S>
    TClassBuilder& SetOf(std::string Name, G Get, S Set, std::vector<std::string> ElementNames)
    {
        return Ordinal(std::move(Name), TPropKind::Set, Get, Set, std::move(ElementNames));
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Bool(std::string Name, G Get, S Set = nullptr)
    {
        return Ordinal(std::move(Name), TPropKind::Boolean, Get, Set, {});
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Char(std::string Name, G Get, S Set = nullptr)
    {
        return Ordinal(std::move(Name), TPropKind::Char, Get, Set, {});
    }

    template <class G, class S = std::nullptr_t>
    TClassBuilder& Float(std::string Name, G Get, S Set = nullptr, TFloatType Type = TFloatType::ftDouble)
    {
        using V = ValueOf<G>;
        static_assert(std::is_arithmetic_v<V>, "a float property answers a number");
        TPropInfo& p = Add(std::move(Name), TPropKind::Float);
        p.FloatType = Type;
        p.GetFloat = [Get](TObject* o) { return static_cast<double>(std::invoke(Get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetFloat = [Set](TObject* o, double v) { std::invoke(Set, Self(o), static_cast<V>(v)); };
        return *this;
    }

    template <class G, class S = std::nullptr_t>
    TClassBuilder& Str(std::string Name, G Get, S Set = nullptr)
    {
        static_assert(std::is_convertible_v<ValueOf<G>, std::string>, "a string property answers a string");
        TPropInfo& p = Add(std::move(Name), TPropKind::String);
        p.GetStr = [Get](TObject* o) { return std::string(std::invoke(Get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetStr = [Set](TObject* o, const std::string& v) { std::invoke(Set, Self(o), v); };
        return *this;
    }

    // An owned sub-object: its properties are written with dotted names, a collection as
    // its items. Read in place, so no setter is needed.
    template <class G>
    TClassBuilder& Object(std::string Name, G Get)
    {
        static_assert(std::is_convertible_v<ValueOf<G>, TPersistent*>, "a sub-object is persistent");
        TPropInfo& p = Add(std::move(Name), TPropKind::Object);
        p.GetObj = [Get](TObject* o) -> TPersistent* { return std::invoke(Get, Self(o)); };
        return *this;
    }

    // A reference to a component elsewhere, written by its name and resolved by name
    // after the whole stream is read.
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Reference(std::string Name, G Get, S Set = nullptr)
    {
        using V = ValueOf<G>;
        static_assert(std::is_pointer_v<V> && std::is_convertible_v<V, TComponent*>, "a reference answers a component");
        using T = std::remove_pointer_t<V>;
        TPropInfo& p = Add(std::move(Name), TPropKind::Component);
        p.GetObj = [Get](TObject* o) -> TPersistent* { return std::invoke(Get, Self(o)); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetObj = [Set](TObject* o, TPersistent* v) {
                T* t = dynamic_cast<T*>(v);
                if (v != nullptr && t == nullptr)
                    typinfo_detail::InvalidValue();
                std::invoke(Set, Self(o), t);
            };
        return *this;
    }

    TClassBuilder& Event(std::string Name)
    {
        Add(std::move(Name), TPropKind::Event);
        return *this;
    }

    // ---- modifiers of the property added last ----

    // The value that is not written: a number (enumerations and sets as their ordinal or
    // mask) or a text.
    template <class V>
    TClassBuilder& Default(V Value)
    {
        TPropInfo& p = Last();
        if constexpr (std::is_convertible_v<V, std::string>)
            p.StrDefault = Value;
        else if (p.Kind == TPropKind::Float)
            p.FloatDefault = static_cast<double>(Value);
        else
            p.OrdDefault = static_cast<int64_t>(Value);
        return *this;
    }

    // The stored-when test: a constant, a member function or a callable taking the object.
    template <class F>
    TClassBuilder& Stored(F Test)
    {
        if constexpr (std::is_same_v<F, bool>) {
            Last().IsStored = [Test](TObject*) { return Test; };
            Last().NeverStored = !Test;
        } else
            Last().IsStored = [Test](TObject* o) { return static_cast<bool>(std::invoke(Test, Self(o))); };
        return *this;
    }

    // Numbers set through the table (a stream's above all) are kept within Lo..Hi, a NaN
    // is an invalid value: a file can hold any number, the drawing needs bounded ones.
    TClassBuilder& Within(double Lo, double Hi)
    {
        TPropInfo& p = Last();
        if (p.SetOrd) {
            p.SetOrd = [Set = p.SetOrd, Lo = int64_t(Lo), Hi = int64_t(Hi)](TObject* o, int64_t v) {
                Set(o, std::clamp(v, Lo, Hi));
            };
        }
        if (p.SetFloat) {
            p.SetFloat = [Set = p.SetFloat, Lo, Hi](TObject* o, double v) {
                if (std::isnan(v))
                    typinfo_detail::InvalidValue();
                Set(o, std::clamp(v, Lo, Hi));
            };
        }
        return *this;
    }

    // Integer values that have a name in the map are written by name, and names of the
    // map are read back. The map must live as long as the table (a function's static).
    TClassBuilder& Idents(const TIdentMap& Map)
    {
        Last().Idents = &Map;
        return *this;
    }

    // The finished table: the parent's properties, then this class's (a property of an
    // inherited name replaces the inherited one in place).
    TClassInfo Build()
    {
        TClassInfo result = FInfo;
        result.Properties.clear();
        if (FInfo.Parent != nullptr)
            result.Properties = FInfo.Parent->Properties;
        for (TPropInfo& own : FInfo.Properties) {
            bool replaced = false;
            for (TPropInfo& inherited : result.Properties)
                if (SameText(inherited.Name, own.Name)) {
                    inherited = own;
                    replaced = true;
                    break;
                }
            if (!replaced)
                result.Properties.push_back(own);
        }
        return result;
    }

private:
    template <class G>
    using ValueOf = std::remove_cvref_t<std::invoke_result_t<G&, C&>>;

    static C& Self(TObject* o) { return *static_cast<C*>(o); }

    TPropInfo& Add(std::string Name, TPropKind Kind)
    {
        TPropInfo p;
        p.Name = std::move(Name);
        p.Kind = Kind;
        FInfo.Properties.push_back(std::move(p));
        return FInfo.Properties.back();
    }
    TPropInfo& Last() { return FInfo.Properties.back(); }

    template <class G, class S>
    TClassBuilder& Ordinal(std::string Name, TPropKind Kind, G Get, S Set, std::vector<std::string> Names)
    {
        using V = ValueOf<G>;
        TPropInfo& p = Add(std::move(Name), Kind);
        p.Names = std::move(Names);
        if constexpr (IsFlagSet<V>) {
            // A flag set streams as its integer bits.
            using B = typename V::TBits;
            p.GetOrd = [Get](TObject* o) { return static_cast<int64_t>(std::invoke(Get, Self(o)).Bits()); };
            if constexpr (!std::is_null_pointer_v<S>)
                p.SetOrd = [Set](TObject* o, int64_t v) {
                    std::invoke(Set, Self(o), V::FromBits(typinfo_detail::CheckedOrd<B>(v)));
                };
        } else {
            static_assert(std::is_integral_v<V> || std::is_enum_v<V>, "an ordinal property answers an integral value");
            p.GetOrd = [Get](TObject* o) { return static_cast<int64_t>(std::invoke(Get, Self(o))); };
            if constexpr (!std::is_null_pointer_v<S>)
                p.SetOrd = [Set](TObject* o, int64_t v) { std::invoke(Set, Self(o), typinfo_detail::CheckedOrd<V>(v)); };
        }
        return *this;
    }

    TClassInfo FInfo;
};

// Defines Class::StaticClassInfo: the builder calls between the two macros describe the
// class (see the top of this file).
#define BEGIN_CLASS_INFO(Class, ParentClass)                                         \
    const TClassInfo* Class::StaticClassInfo()                                       \
    {                                                                                \
        static const TClassInfo Info = TClassBuilder<Class>(#Class, ParentClass::StaticClassInfo())
#define END_CLASS_INFO \
        .Build();      \
        return &Info;  \
    }

// A new component of the class, owned by AOwner, through the class's factory; raises
// EClassNotFound "Class %s not found" for a class without one (or for nullptr).
TComponent* CreateComponentOfClass(const TClassInfo* AClass, TComponent* AOwner);

// Copies from Source every published property that Dest's class lists and Source's
// class lists as well: values through Dest's setters, sub-objects through their own
// Assign. References to other components, events and read-only properties are left
// alone. An Assign that copies "all settings" of a class reads its table through this.
void AssignProperties(TPersistent* Dest, TPersistent* Source);

// Copies from Source the properties that Table adds to its parent's table, in the
// table's order, with the rules of AssignProperties; a property that only restates an
// inherited one (a new default) is left to the parent's Assign, and one that is never
// stored (an alias) to the property it views. Dest and Source are of Table's class or
// descend from it. An Assign override copies its own class's table through this and
// leaves the rest to its parent's Assign.
void AssignOwnProperties(TPersistent* Dest, TPersistent* Source, const TClassInfo* Table);

// ---- the class registry -------------------------------------------------------------
//
// Classes are registered by name, in groups: a class goes into the group whose group
// class it descends from most closely (the base group holds every persistent class);
// GroupDescendentsWith sends the descendants of a class into another class's group.
// Only the active groups are searched: the base group always, the others while the
// class given to ActivateClassGroup descends from one of their group classes.
// Registration is explicit, from the units' start-up functions.

// Registers the class and, up to TPersistent, its ancestors; a different class of the
// same name in the same group raises EFilerError "A class named %s already exists".
void RegisterClass(const TClassInfo* AClass);
void RegisterClasses(std::initializer_list<const TClassInfo*> Classes);
void UnregisterClass(const TClassInfo* AClass);
// Without case. FindClass raises EClassNotFound "Class %s not found"; GetClass answers
// nullptr.
const TClassInfo* FindClass(const std::string& ClassName);
const TClassInfo* GetClass(const std::string& ClassName);
// Every registered class, in every group, in registration order.
std::vector<const TClassInfo*> RegisteredClasses();

void StartClassGroup(const TClassInfo* AClass);
void GroupDescendentsWith(const TClassInfo* AClass, const TClassInfo* AClassGroup);
void ActivateClassGroup(const TClassInfo* AClass);
