// Pointer lists and collections of persistent items.
#pragma once

#include "Classes.h"

#include <functional>
#include <vector>

// ---- TList ----------------------------------------------------------------------

enum class TListNotification { lnAdded, lnExtracted, lnDeleted };

// Compares two items of a list: negative, zero or positive.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

// A list of untyped pointers; it never frees what they point to. Indexes outside
// 0..Count-1 raise EListError "List index out of bounds (%d)".
class TList : public TObject {
public:
    DECLARE_CLASS_NAME(TList)
    TList() = default;
    ~TList() override;

    int Count() const { return static_cast<int>(FList.size()); }
    // Grows with nil items or shrinks (telling Notify about each dropped item).
    void SetCount(int NewCount);
    int Capacity() const { return static_cast<int>(FList.capacity()); }

    void* Get(int Index) const;
    void Put(int Index, void* Item);
    void* Items(int Index) const { return Get(Index); }
    void* operator[](int Index) const { return Get(Index); }
    void* First() const { return Get(0); }
    void* Last() const { return Get(Count() - 1); }

    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    // Removes the first occurrence; answers its former index or -1.
    int Remove(void* Item);
    // Removes the item without deleting it (lnExtracted); answers it or nil.
    void* Extract(void* Item);
    int IndexOf(const void* Item) const;
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    // Removes the nil items.
    void Pack();
    virtual void Clear();
    void Sort(const TListSortCompare& Compare);

    // Raises EListError with the message and its number ("List index out of bounds (%d)").
    [[noreturn]] static void Error(const char* Msg, int Data);

protected:
    // Called after an item is added and before one is removed, for descendants that
    // own their items.
    virtual void Notify(void* Ptr, TListNotification Action) {}

private:
    void CheckIndex(int Index) const;
    std::vector<void*> FList;
};

// ---- collections ----------------------------------------------------------------

class TCollection;

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// An item of a collection. Constructing it with a collection adds it there, and the
// collection then owns it; destroying it removes it.
class TCollectionItem : public TPersistent {
public:
    DECLARE_CLASS_INFO(TCollectionItem)
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item to another collection (or none: the caller then owns it).
    void SetCollection(TCollection* Value);
    int ID() const { return FID; }
    int Index() const;
    void SetIndex(int Value);
    virtual std::string DisplayName() const { return ClassName(); }
    virtual void SetDisplayName(const std::string& Value) { Changed(false); }
    TPersistent* GetOwner() const override;
    std::string GetNamePath() const override;

protected:
    // Tells the collection that this item (AllItems false) or everything changed.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

// Creates a new item of the collection's item class inside the given collection.
using TCollectionItemClass = std::function<TCollectionItem*(TCollection*)>;

template <typename T>
TCollectionItemClass CollectionItemClassOf()
{
    return [](TCollection* c) -> TCollectionItem* { return new T(c); };
}

// An owned list of items of one class; it frees them with itself.
class TCollection : public TPersistent {
public:
    DECLARE_CLASS_INFO(TCollection)
    explicit TCollection(TCollectionItemClass ItemClass);
    ~TCollection() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    TCollectionItem* Items(int Index) const;
    TCollectionItem* operator[](int Index) const { return Items(Index); }

    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    virtual void Clear();
    TCollectionItem* FindItemID(int ID) const;

    // Assigns the items of another collection: one new item per source item.
    void Assign(TPersistent* Source) override;
    std::string GetNamePath() const override;
    // The name of the property that holds this collection in its owner.
    std::string PropName() const { return FPropName; }
    void SetPropName(const std::string& Value) { FPropName = Value; }

    virtual void BeginUpdate() { ++FUpdateCount; }
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

protected:
    // Called when an item (or, with nil, the whole collection) changed outside an update.
    virtual void Update(TCollectionItem* Item) {}
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);

    TCollectionItemClass FItemClass;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
    std::string FPropName;
};

// A collection that names an owner in the persistent tree.
class TOwnedCollection : public TCollection {
public:
    DECLARE_CLASS_NAME(TOwnedCollection)
    TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
        : TCollection(std::move(ItemClass)), FOwner(AOwner) {}
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};
