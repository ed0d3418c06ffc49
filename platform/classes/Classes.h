// Classes unit of the platform layer: the object root, persistent objects, components
// with owners and notification, and string lists.
#pragma once

#include "system/SysUtils.h"
#include "system/Flags.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TObject;
class TPersistent;
class TComponent;
class TStream;
class TFiler;
class TReader;
class TWriter;
struct TClassInfo;

// Events are callables bound to an object; `Sender` is the object that raised them.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// The common part of a property setter: when Value differs from Field, stores it and
// calls Notify (a repaint, Changed, an event). Answers whether it stored. "Differs" is
// `!(Field == Value)`, so a NaN is never equal and always stored and notified. Checks
// and clamping belong before the call, so that nothing is stored when they raise.
// Value is taken and stored by copy, never bound to a reference: a setter's parameter
// then stays a plain value, as in a setter written out by hand, and the sanitizer does
// not check each read of it (a range check that rejects an out-of-range enumeration
// reads it before the call).
template <class T, class V, class F>
bool SetAndNotify(T& Field, V Value, F&& Notify)
{
    if (Field == Value)
        return false;
    Field = Value;
    Notify();
    return true;
}

// Root of the class tree. ClassName answers the platform class name (streaming, editors
// and registries look classes up by it); every class that needs it overrides it with
// the DECLARE_CLASS_NAME macro. ClassInfo answers the class's published properties and
// factory for streaming (TypInfo.h); classes that are streamed declare their own with
// DECLARE_CLASS_INFO, the others answer their nearest ancestor's.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
    virtual const char* ClassName() const { return "TObject"; }
    static const TClassInfo* StaticClassInfo();
    virtual const TClassInfo* ClassInfo() const { return StaticClassInfo(); }
    template <typename T> bool InheritsFrom() const { return dynamic_cast<const T*>(this) != nullptr; }
};

#define DECLARE_CLASS_NAME(Name) \
    const char* ClassName() const override { return #Name; }

// The class name plus the class's streaming information; the source file defines
// StaticClassInfo with BEGIN_CLASS_INFO ... END_CLASS_INFO (see TypInfo.h).
#define DECLARE_CLASS_INFO(Name) \
    DECLARE_CLASS_NAME(Name) \
    static const TClassInfo* StaticClassInfo(); \
    const TClassInfo* ClassInfo() const override { return StaticClassInfo(); }

// An object whose published state can be copied with Assign.
class TPersistent : public TObject {
public:
    DECLARE_CLASS_INFO(TPersistent)
    // Copies Source's state into this object; the default asks Source to AssignTo this
    // and raises EConvertError "Cannot assign a %s to a %s" when neither knows how.
    virtual void Assign(TPersistent* Source);
    // The object that owns this one in the persistent tree (for names and repaints).
    virtual TPersistent* GetOwner() const { return nullptr; }
    // A dotted path of owner names, used in messages: the owner's path, a point and the
    // class name.
    virtual std::string GetNamePath() const;
protected:
    virtual void AssignTo(TPersistent* Dest);
    // Raises EConvertError "Cannot assign a %s to a %s" (Source may be null).
    [[noreturn]] void AssignError(const TPersistent* Source) const;
    // Declares the stream entries that are not published properties (Filer->DefineProperty
    // and DefineBinaryProperty); the filers call it after the published properties.
    // Overrides call the inherited one first.
    virtual void DefineProperties(TFiler* Filer) {}

private:
    friend class TReader;
    friend class TWriter;
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
    csAncestor = 1u << 5,
    csUpdating = 1u << 6,
    csFreeNotification = 1u << 7,
};
using TComponentState = TFlags<TComponentStateFlag>;
DECLARE_FLAG_OPERATORS(TComponentStateFlag)

// Receives each child component that a component streams (GetChildren).
using TGetChildProc = std::function<void(TComponent* Child)>;

// A component: owned by another component that frees it, named within its owner,
// carrying a Tag, and told (Notification) when components it watches go away.
class TComponent : public TPersistent {
public:
    DECLARE_CLASS_INFO(TComponent)
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    TPersistent* GetOwner() const override { return FOwner; }
    std::string GetNamePath() const override;

    const std::string& Name() const { return FName; }
    // Sets the name; raises EComponentError when it is not a valid identifier or when a
    // sibling of the same owner already has it (compared without case).
    virtual void SetName(const std::string& NewName);

    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t v) { FTag = v; }

    TComponentState ComponentState() const { return FComponentState; }
    bool IsLoading() const { return FComponentState.Test(csLoading); }
    bool IsDesigning() const { return FComponentState.Test(csDesigning); }
    bool IsDestroying() const { return FComponentState.Test(csDestroying); }
    void SetDesigning(bool value, bool setChildren = true);
    virtual void Loaded();   // clears csLoading

    // Owned components, in insertion order.
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    // Moves the component to Value among its owner's components (clamped to the list).
    void SetComponentIndex(int Value);
    TComponent* FindComponent(const std::string& AName) const;
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, last first.
    void DestroyComponents();

    // Asks to be told (Notification opRemove) when AComponent is destroyed; mutual.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Streaming of child components. A writer passes each child that GetChildren hands to
    // Proc; Root is the component the writer looks names up in. The default hands over,
    // when this component is the root, every owned component that has no parent
    // component (HasParent False); components that stream others (a chart its series)
    // override it. A reader creates a child with GetChildOwner as owner (nullptr: the
    // reader's root) and, when the child HasParent, gives it GetChildParent through
    // SetParentComponent before reading its properties.
    virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);
    virtual TComponent* GetChildOwner() { return nullptr; }
    virtual TComponent* GetChildParent() { return this; }
    virtual bool HasParent() const { return false; }
    virtual void SetParentComponent(TComponent* Value) {}

protected:
    // Called with opInsert/opRemove when a component is added to or removed from an owner
    // that this component belongs to, and with opRemove when a watched component dies.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    void SetComponentState(TComponentState s) { FComponentState = s; }
    // Marks this component and everything it owns as being destroyed.
    virtual void Destroying();
    void Include(TComponentStateFlag f) { FComponentState |= f; }
    void Exclude(TComponentStateFlag f) { FComponentState &= ~f; }
    virtual void ValidateRename(TComponent* AComponent, const std::string& CurName, const std::string& NewName);

private:
    friend class TReader;
    friend class TWriter;
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::string FName;
    intptr_t FTag = 0;
    TComponentState FComponentState;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};

class EComponentError : public Exception { using Exception::Exception; };

// ---- string lists -------------------------------------------------------------

enum class TDuplicates { dupIgnore, dupAccept, dupError };

// An ordered list of strings, each with an optional object. The concrete storage is the
// descendant's (TStringList, a memo's lines, a combo box's items).
// Streamed as the defined property "Strings": a list of the lines.
class TStrings : public TPersistent {
public:
    DECLARE_CLASS_INFO(TStrings)

    virtual int Count() const = 0;
    virtual std::string Get(int Index) const = 0;
    virtual void Put(int Index, const std::string& S);
    virtual TObject* GetObject(int Index) const;
    virtual void PutObject(int Index, TObject* AObject);
    virtual void Insert(int Index, const std::string& S) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    virtual int Add(const std::string& S);
    virtual int AddObject(const std::string& S, TObject* AObject);
    void InsertObject(int Index, const std::string& S, TObject* AObject);
    void AddStrings(const TStrings& Strings);
    void Append(const std::string& S) { Add(S); }
    virtual void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    virtual int IndexOf(const std::string& S) const;   // without case, like the platform
    int IndexOfName(const std::string& Name) const;
    int IndexOfObject(const TObject* AObject) const;

    std::string operator[](int Index) const { return Get(Index); }
    std::string Strings(int Index) const { return Get(Index); }

    // The lines joined by CR LF, each line ended by it; SetText splits at CR LF, LF or CR.
    virtual std::string Text() const;
    virtual void SetText(const std::string& Value);
    // Comma text: items quoted when they hold blanks, commas or quotes.
    std::string CommaText() const;
    void SetCommaText(const std::string& Value);
    char Delimiter = ',';
    char QuoteChar = '"';
    std::string DelimitedText() const;
    void SetDelimitedText(const std::string& Value);
    // "Name=Value" lines.
    std::string Names(int Index) const;
    std::string Values(const std::string& Name) const;
    void SetValues(const std::string& Name, const std::string& Value);
    std::string ValueFromIndex(int Index) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Raise EFOpenError/EFCreateError with the platform's texts when the file fails.
    virtual void LoadFromFile(const std::string& FileName);
    virtual void SaveToFile(const std::string& FileName) const;
    // Reads the text from the stream's position to its end (a UTF-8 byte-order mark is
    // skipped); writes Text.
    virtual void LoadFromStream(TStream* Stream);
    virtual void SaveToStream(TStream* Stream) const;

    void Assign(TPersistent* Source) override;
    bool Equals(const TStrings& Other) const;

protected:
    // Called around BeginUpdate/EndUpdate pairs so that descendants can freeze their view.
    virtual void SetUpdateState(bool Updating) {}
    void DefineProperties(TFiler* Filer) override;
    [[noreturn]] void Error(const char* Msg, int Data) const;   // raises EListError

private:
    int FUpdateCount = 0;
};

using TStringListSortCompare = std::function<int(class TStringList* List, int Index1, int Index2)>;

// The platform's string list: strings with objects, optional sorting and duplicates
// control, change events. Indexes outside 0..Count-1 raise EListError.
class TStringList : public TStrings {
public:
    DECLARE_CLASS_NAME(TStringList)
    TStringList() = default;
    ~TStringList() override;

    int Count() const override { return static_cast<int>(FList.size()); }
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override;
    int Add(const std::string& S) override;
    int AddObject(const std::string& S, TObject* AObject) override;
    void Exchange(int Index1, int Index2) override;
    int IndexOf(const std::string& S) const override;

    // Binary search in a sorted list; answers whether S is present and where it goes.
    bool Find(const std::string& S, int& Index) const;
    virtual void Sort();
    void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    // When true the list frees its objects as their strings are deleted.
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool Updating) override;
    virtual void Changed();
    virtual void Changing();
    int CompareStrings(const std::string& a, const std::string& b) const;

private:
    struct Item {
        std::string S;
        TObject* Obj = nullptr;
    };
    void CheckIndex(int Index) const;
    void InsertItem(int Index, const std::string& S, TObject* AObject);
    void ExchangeItems(int Index1, int Index2);
    void QuickSort(int L, int R, const TStringListSortCompare& Compare);
    void SortItems(const TStringListSortCompare& Compare);
    std::vector<Item> FList;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
    TDuplicates FDuplicates = TDuplicates::dupIgnore;
};

// The rest of the classes room: lists, collections, streams, property information and
// component streaming.
#include "Collections.h"
#include "Streams.h"
#include "TypInfo.h"
#include "Streaming.h"
