#include "Collections.h"
#include "system/ScopeGuard.h"

#include <algorithm>

namespace {
const char* SListIndexError = "List index out of bounds (%d)";
const char* SListCountError = "List count out of bounds (%d)";
} // namespace

// ---- TList ----------------------------------------------------------------------

TList::~TList()
{
    Clear();
}

void TList::Error(const char* Msg, int Data)
{
    std::string s(Msg);
    auto pos = s.find("%d");
    if (pos != std::string::npos)
        s.replace(pos, 2, std::to_string(Data));
    throw EListError(s);
}

void TList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        Error(SListIndexError, Index);
}

void TList::SetCount(int NewCount)
{
    if (NewCount < 0)
        Error(SListCountError, NewCount);
    if (NewCount > Count()) {
        FList.resize(static_cast<size_t>(NewCount), nullptr);
    } else {
        for (int i = Count() - 1; i >= NewCount; --i)
            Delete(i);
    }
}

void* TList::Get(int Index) const
{
    CheckIndex(Index);
    return FList[static_cast<size_t>(Index)];
}

void TList::Put(int Index, void* Item)
{
    CheckIndex(Index);
    void* old = FList[static_cast<size_t>(Index)];
    if (old == Item)
        return;
    FList[static_cast<size_t>(Index)] = Item;
    if (old != nullptr)
        Notify(old, TListNotification::lnDeleted);
    if (Item != nullptr)
        Notify(Item, TListNotification::lnAdded);
}

int TList::Add(void* Item)
{
    FList.push_back(Item);
    if (Item != nullptr)
        Notify(Item, TListNotification::lnAdded);
    return Count() - 1;
}

void TList::Insert(int Index, void* Item)
{
    if (Index < 0 || Index > Count())
        Error(SListIndexError, Index);
    FList.insert(FList.begin() + Index, Item);
    if (Item != nullptr)
        Notify(Item, TListNotification::lnAdded);
}

void TList::Delete(int Index)
{
    CheckIndex(Index);
    void* item = FList[static_cast<size_t>(Index)];
    FList.erase(FList.begin() + Index);
    if (item != nullptr)
        Notify(item, TListNotification::lnDeleted);
}

int TList::Remove(void* Item)
{
    int i = IndexOf(Item);
    if (i >= 0)
        Delete(i);
    return i;
}

void* TList::Extract(void* Item)
{
    int i = IndexOf(Item);
    if (i < 0)
        return nullptr;
    void* result = FList[static_cast<size_t>(i)];
    FList.erase(FList.begin() + i);
    Notify(result, TListNotification::lnExtracted);
    return result;
}

int TList::IndexOf(const void* Item) const
{
    auto it = std::find(FList.begin(), FList.end(), Item);
    return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    void* item = FList[static_cast<size_t>(CurIndex)];
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, item);
}

void TList::Pack()
{
    for (int i = Count() - 1; i >= 0; --i)
        if (FList[static_cast<size_t>(i)] == nullptr)
            Delete(i);
}

void TList::Clear()
{
    SetCount(0);
    FList.shrink_to_fit();
}

void TList::Sort(const TListSortCompare& Compare)
{
    // Quicksort around the middle item; the bounds checks keep an inconsistent
    // comparison from running off the list, and the smaller side recurses.
    std::function<void(int, int)> sort = [&](int L, int R) {
        while (L < R) {
            int i = L, j = R;
            void* p = FList[static_cast<size_t>(L + (R - L) / 2)];
            do {
                while (i < R && Compare(FList[static_cast<size_t>(i)], p) < 0)
                    ++i;
                while (j > L && Compare(FList[static_cast<size_t>(j)], p) > 0)
                    --j;
                if (i <= j) {
                    std::swap(FList[static_cast<size_t>(i)], FList[static_cast<size_t>(j)]);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (j - L < R - i) {
                if (L < j)
                    sort(L, j);
                L = i;
            } else {
                if (i < R)
                    sort(i, R);
                R = j;
            }
        }
    };
    if (Count() > 1)
        sort(0, Count() - 1);
}

// ---- TCollectionItem ------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* Collection)
{
    SetCollection(Collection);
}

TCollectionItem::~TCollectionItem()
{
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* Value)
{
    if (FCollection == Value)
        return;
    if (FCollection != nullptr)
        FCollection->RemoveItem(this);
    if (Value != nullptr)
        Value->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (FCollection == nullptr)
        return -1;
    auto& items = FCollection->FItems;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int Value)
{
    int cur = Index();
    if (cur < 0 || Value < 0 || Value == cur)
        return;
    auto& items = FCollection->FItems;
    if (Value >= static_cast<int>(items.size()))
        TList::Error(SListIndexError, Value);
    items.erase(items.begin() + cur);
    items.insert(items.begin() + Value, this);
    Changed(true);
}

TPersistent* TCollectionItem::GetOwner() const
{
    return FCollection;
}

std::string TCollectionItem::GetNamePath() const
{
    if (FCollection != nullptr)
        return FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]";
    return ClassName();
}

void TCollectionItem::Changed(bool AllItems)
{
    if (FCollection != nullptr && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
}

// ---- TCollection ----------------------------------------------------------------

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(std::move(ItemClass)) {}

TCollection::~TCollection()
{
    FUpdateCount = 1;
    while (!FItems.empty())
        delete FItems.back();
}

TCollectionItem* TCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        TList::Error(SListIndexError, Index);
    return FItems[static_cast<size_t>(Index)];
}

TCollectionItem* TCollection::Add()
{
    if (!FItemClass)
        throw EInvalidOperation(std::string("Collection ") + ClassName() + " has no item class");
    // The new item adds itself to this collection, which owns it from then on.
    return FItemClass(this);
}

TCollectionItem* TCollection::Insert(int Index)
{
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index)
{
    TCollectionItem* item = Items(Index);
    Notify(item, TCollectionNotification::cnDeleting);
    delete item;
}

void TCollection::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    auto update = TScopeGuard([this] { EndUpdate(); });
    while (!FItems.empty())
        delete FItems.back();
}

TCollectionItem* TCollection::FindItemID(int ID) const
{
    for (TCollectionItem* item : FItems)
        if (item->FID == ID)
            return item;
    return nullptr;
}

void TCollection::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TCollection*>(Source)) {
        if (src == this)
            return;
        BeginUpdate();
        auto update = TScopeGuard([this] { EndUpdate(); });
        Clear();
        for (int i = 0; i < src->Count(); ++i)
            Add()->Assign(src->Items(i));
        return;
    }
    TPersistent::Assign(Source);
}

std::string TCollection::GetNamePath() const
{
    TPersistent* owner = GetOwner();
    if (owner == nullptr)
        return ClassName();
    std::string s = owner->GetNamePath();
    if (s.empty() || FPropName.empty())
        return ClassName();
    return s + "." + FPropName;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    Changed();
}

void TCollection::Changed()
{
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item)
{
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    Notify(Item, TCollectionNotification::cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item)
{
    Notify(Item, TCollectionNotification::cnExtracting);
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it != FItems.end())
        FItems.erase(it);
    Item->FCollection = nullptr;
    Changed();
}
