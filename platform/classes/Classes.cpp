#include "Classes.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <utility>

namespace {

// Replaces the first "%d" of a message with a number; list errors carry one index.
std::string WithNumber(const char* msg, int data)
{
    std::string s(msg);
    auto pos = s.find("%d");
    if (pos != std::string::npos)
        s.replace(pos, 2, std::to_string(data));
    return s;
}

std::string WithText(std::string msg, const std::string& text)
{
    auto pos = msg.find("%s");
    if (pos != std::string::npos)
        msg.replace(pos, 2, text);
    return msg;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool IsValidIdent(const std::string& s)
{
    if (s.empty())
        return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(s[0]))
        return false;
    for (char c : s)
        if (!alpha(c) && !(c >= '0' && c <= '9'))
            return false;
    return true;
}

const char* SListIndexError = "List index out of bounds (%d)";
const char* SDuplicateString = "String list does not allow duplicates";
const char* SSortedListError = "Operation not allowed on sorted list";

} // namespace

// ---- TPersistent ----------------------------------------------------------------

void TPersistent::Assign(TPersistent* Source)
{
    if (Source != nullptr)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    Dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* Source) const
{
    std::string sourceName = Source != nullptr ? Source->ClassName() : "nil";
    std::string msg = "Cannot assign a " + sourceName + " to a " + ClassName();
    throw EConvertError(msg);
}

std::string TPersistent::GetNamePath() const
{
    std::string result = ClassName();
    if (TPersistent* owner = GetOwner()) {
        std::string s = owner->GetNamePath();
        if (!s.empty())
            result = s + "." + result;
    }
    return result;
}

// ---- TComponent -----------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner != nullptr)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell every watcher, last first; a watcher's Notification normally unlinks itself,
    // and the link is dropped here in case an override did not.
    while (!FFreeNotifies.empty()) {
        TComponent* watcher = FFreeNotifies.back();
        watcher->Notification(this, TOperation::opRemove);
        if (!FFreeNotifies.empty() && FFreeNotifies.back() == watcher) {
            FFreeNotifies.pop_back();
            watcher->RemoveNotification(this);
        }
    }
    DestroyComponents();
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
}

void TComponent::Destroying()
{
    if (FComponentState & csDestroying)
        return;
    Include(csDestroying);
    for (TComponent* c : FComponents)
        c->Destroying();
}

std::string TComponent::GetNamePath() const
{
    return FName;
}

void TComponent::SetName(const std::string& NewName)
{
    if (FName == NewName)
        return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError(WithText("'%s' is not a valid component name", NewName));
    if (FOwner != nullptr)
        FOwner->ValidateRename(this, FName, NewName);
    else
        ValidateRename(nullptr, FName, NewName);
    FName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName, const std::string& NewName)
{
    if (AComponent != nullptr && !NewName.empty() && !SameText(CurName, NewName) && AComponent->FOwner == this) {
        TComponent* other = FindComponent(NewName);
        if (other != nullptr && other != AComponent)
            throw EComponentError(WithText("A component named %s already exists", NewName));
    }
    if ((FComponentState & csDesigning) && FOwner != nullptr)
        FOwner->ValidateRename(AComponent, CurName, NewName);
}

void TComponent::SetDesigning(bool value, bool setChildren)
{
    if (value)
        Include(csDesigning);
    else
        Exclude(csDesigning);
    if (setChildren)
        for (TComponent* c : FComponents)
            c->SetDesigning(value, true);
}

void TComponent::Loaded()
{
    Exclude(csLoading);
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError(WithNumber(SListIndexError, index));
    return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (FOwner == nullptr)
        return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int Value)
{
    const int current = ComponentIndex();
    if (current < 0)
        return;
    auto& list = FOwner->FComponents;
    const int target = std::clamp(Value, 0, static_cast<int>(list.size()) - 1);
    if (target == current)
        return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + target, this);
}

TComponent* TComponent::FindComponent(const std::string& AName) const
{
    if (AName.empty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, AName))
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (AComponent == nullptr || AComponent->FOwner == this)
        return;
    // A sibling must not share the name, whichever way the component arrives.
    if (!AComponent->FName.empty() && FindComponent(AComponent->FName) != nullptr)
        throw EComponentError(WithText("A component named %s already exists", AComponent->FName));
    if (AComponent->FOwner != nullptr)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    if (FComponentState & csDesigning)
        AComponent->SetDesigning(true);
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (AComponent == nullptr || AComponent->FOwner != this)
        return;
    Notification(AComponent, TOperation::opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end())
        FComponents.erase(it);
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* instance = FComponents.back();
        Remove(instance);
        delete instance;
    }
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (AComponent == nullptr || AComponent == this)
        return;
    // Linked both ways and also between siblings, so that no component keeps a pointer
    // to one that its owner frees first.
    if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this) == AComponent->FFreeNotifies.end())
        AComponent->FFreeNotifies.push_back(this);
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (AComponent == nullptr)
        return;
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent)
{
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end())
        FFreeNotifies.erase(it);
    if (FFreeNotifies.empty())
        Exclude(csFreeNotification);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent != nullptr)
        RemoveFreeNotification(AComponent);
    // Pass it on to every owned component; a handler may free components meanwhile.
    int i = ComponentCount() - 1;
    while (i >= 0) {
        FComponents[static_cast<size_t>(i)]->Notification(AComponent, Operation);
        --i;
        if (i >= ComponentCount())
            i = ComponentCount() - 1;
    }
}

// ---- TStrings -------------------------------------------------------------------

void TStrings::Error(const char* Msg, int Data) const
{
    throw EListError(WithNumber(Msg, Data));
}

void TStrings::Put(int Index, const std::string& S)
{
    TObject* obj = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, obj);
}

TObject* TStrings::GetObject(int) const
{
    return nullptr;
}

void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& S)
{
    int result = Count();
    Insert(result, S);
    return result;
}

int TStrings::AddObject(const std::string& S, TObject* AObject)
{
    int result = Add(S);
    PutObject(result, AObject);
    return result;
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject)
{
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::AddStrings(const TStrings& Strings)
{
    BeginUpdate();
    auto update = TScopeGuard([this] { EndUpdate(); });
    int n = Strings.Count();
    for (int i = 0; i < n; ++i)
        AddObject(Strings.Get(i), Strings.GetObject(i));
}

void TStrings::Exchange(int Index1, int Index2)
{
    BeginUpdate();
    auto update = TScopeGuard([this] { EndUpdate(); });
    TObject* tempObject = GetObject(Index1);
    std::string tempString = Get(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, tempString);
    PutObject(Index2, tempObject);
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    BeginUpdate();
    auto update = TScopeGuard([this] { EndUpdate(); });
    std::string s = Get(CurIndex);
    TObject* obj = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, obj);
}

int TStrings::IndexOf(const std::string& S) const
{
    int n = Count();
    for (int i = 0; i < n; ++i)
        if (SameText(Get(i), S))
            return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& Name) const
{
    int n = Count();
    for (int i = 0; i < n; ++i) {
        std::string s = Get(i);
        auto p = s.find('=');
        if (p != std::string::npos && SameText(s.substr(0, p), Name))
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const
{
    int n = Count();
    for (int i = 0; i < n; ++i)
        if (GetObject(i) == AObject)
            return i;
    return -1;
}

std::string TStrings::Text() const
{
    std::string result;
    int n = Count();
    for (int i = 0; i < n; ++i) {
        result += Get(i);
        result += "\r\n";
    }
    return result;
}

void TStrings::SetText(const std::string& Value)
{
    BeginUpdate();
    auto update = TScopeGuard([this] { EndUpdate(); });
    Clear();
    size_t p = 0;
    const size_t n = Value.size();
    while (p < n) {
        size_t start = p;
        while (p < n && Value[p] != '\r' && Value[p] != '\n')
            ++p;
        Add(Value.substr(start, p - start));
        if (p < n && Value[p] == '\r')
            ++p;
        if (p < n && Value[p] == '\n')
            ++p;
    }
}

namespace {

// The items joined by `delimiter`; an item holding a blank, the delimiter or the quote is
// quoted with inner quotes doubled. A single empty item is written as two quotes.
std::string JoinDelimited(const TStrings& list, char delimiter, char quote)
{
    int n = list.Count();
    if (n == 1 && list.Get(0).empty())
        return std::string(2, quote);
    std::string result;
    for (int i = 0; i < n; ++i) {
        std::string s = list.Get(i);
        bool needsQuotes = false;
        for (char c : s)
            if (c == quote || c == delimiter || IsBlank(c)) {
                needsQuotes = true;
                break;
            }
        if (needsQuotes) {
            std::string q(1, quote);
            for (char c : s) {
                q += c;
                if (c == quote)
                    q += c;
            }
            q += quote;
            s = std::move(q);
        }
        if (i > 0)
            result += delimiter;
        result += s;
    }
    return result;
}

// Splits at the delimiter and at blanks outside quotes; a delimiter at the very end
// adds an empty item, and an unclosed quote runs to the end of the text.
std::vector<std::string> SplitDelimited(const std::string& value, char delimiter, char quote)
{
    std::vector<std::string> items;
    const size_t n = value.size();
    size_t p = 0;
    auto skipBlanks = [&] {
        while (p < n && IsBlank(value[p]))
            ++p;
    };
    skipBlanks();
    while (p < n) {
        std::string s;
        if (value[p] == quote) {
            ++p;
            while (p < n) {
                if (value[p] == quote) {
                    if (p + 1 < n && value[p + 1] == quote) {
                        s += quote;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                s += value[p++];
            }
        } else {
            size_t start = p;
            while (p < n && !IsBlank(value[p]) && value[p] != delimiter)
                ++p;
            s = value.substr(start, p - start);
        }
        items.push_back(std::move(s));
        skipBlanks();
        if (p < n && value[p] == delimiter) {
            if (p + 1 == n)
                items.emplace_back();
            ++p;
            skipBlanks();
        }
    }
    return items;
}

// Replaces the list's lines as one change.
void ReplaceItems(TStrings& list, const std::vector<std::string>& items)
{
    list.BeginUpdate();
    auto update = TScopeGuard([&list] { list.EndUpdate(); });
    list.Clear();
    for (const std::string& s : items)
        list.Add(s);
}

} // namespace

std::string TStrings::CommaText() const
{
    return JoinDelimited(*this, ',', '"');
}

void TStrings::SetCommaText(const std::string& Value)
{
    ReplaceItems(*this, SplitDelimited(Value, ',', '"'));
}

std::string TStrings::DelimitedText() const
{
    return JoinDelimited(*this, Delimiter, QuoteChar);
}

void TStrings::SetDelimitedText(const std::string& Value)
{
    ReplaceItems(*this, SplitDelimited(Value, Delimiter, QuoteChar));
}

std::string TStrings::Names(int Index) const
{
    std::string s = Get(Index);
    auto p = s.find('=');
    return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::Values(const std::string& Name) const
{
    int i = IndexOfName(Name);
    return i >= 0 ? ValueFromIndex(i) : std::string();
}

void TStrings::SetValues(const std::string& Name, const std::string& Value)
{
    int i = IndexOfName(Name);
    if (!Value.empty()) {
        if (i < 0)
            i = Add("");
        Put(i, Name + "=" + Value);
    } else if (i >= 0) {
        Delete(i);
    }
}

std::string TStrings::ValueFromIndex(int Index) const
{
    if (Index < 0)
        return std::string();
    std::string s = Get(Index);
    auto p = s.find('=');
    return p == std::string::npos ? std::string() : s.substr(p + 1);
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount <= 0)
        return;
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::LoadFromFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TStrings::SaveToFile(const std::string& FileName) const
{
    WriteFileReplacing(FileName, [this](TStream* Stream) { SaveToStream(Stream); });
}

void TStrings::LoadFromStream(TStream* Stream)
{
    int64_t size = Stream->Size() - Stream->Position();
    std::string data(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
    if (!data.empty())
        data.resize(static_cast<size_t>(Stream->Read(data.data(), static_cast<int64_t>(data.size()))));
    // A byte-order mark is not part of the first line; one of UTF-16 (little- or big-endian)
    // says that the text is in that form, which is read into UTF-8.
    if (data.size() >= 3 && data.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        data.erase(0, 3);
    } else if (data.size() >= 2 && (data.compare(0, 2, "\xFF\xFE") == 0 || data.compare(0, 2, "\xFE\xFF") == 0)) {
        const bool bigEndian = data[0] == '\xFE';
        data = Utf16ToUtf8(reinterpret_cast<const uint8_t*>(data.data()) + 2,
                           static_cast<int64_t>(data.size() - 2) / 2, bigEndian);
    }
    SetText(data);
}

void TStrings::SaveToStream(TStream* Stream) const
{
    std::string data = Text();
    Stream->WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TStrings::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TStrings*>(Source)) {
        if (src == this)
            return;
        BeginUpdate();
        auto update = TScopeGuard([this] { EndUpdate(); });
        Clear();
        Delimiter = src->Delimiter;
        QuoteChar = src->QuoteChar;
        AddStrings(*src);
        return;
    }
    TPersistent::Assign(Source);
}

bool TStrings::Equals(const TStrings& Other) const
{
    int n = Count();
    if (n != Other.Count())
        return false;
    for (int i = 0; i < n; ++i)
        if (Get(i) != Other.Get(i))
            return false;
    return true;
}

// ---- TStringList ----------------------------------------------------------------

TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (Item& it : FList)
            delete std::exchange(it.Obj, nullptr);
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        Error(SListIndexError, Index);
}

std::string TStringList::Get(int Index) const
{
    CheckIndex(Index);
    return FList[static_cast<size_t>(Index)].S;
}

void TStringList::Put(int Index, const std::string& S)
{
    if (FSorted)
        Error(SSortedListError, 0);
    CheckIndex(Index);
    Changing();
    FList[static_cast<size_t>(Index)].S = S;
    Changed();
}

TObject* TStringList::GetObject(int Index) const
{
    CheckIndex(Index);
    return FList[static_cast<size_t>(Index)].Obj;
}

void TStringList::PutObject(int Index, TObject* AObject)
{
    CheckIndex(Index);
    Changing();
    FList[static_cast<size_t>(Index)].Obj = AObject;
    Changed();
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject)
{
    Changing();
    FList.insert(FList.begin() + Index, Item{S, AObject});
    Changed();
}

void TStringList::Insert(int Index, const std::string& S)
{
    if (FSorted)
        Error(SSortedListError, 0);
    if (Index < 0 || Index > Count())
        Error(SListIndexError, Index);
    InsertItem(Index, S, nullptr);
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    Changing();
    TObject* obj = FList[static_cast<size_t>(Index)].Obj;
    FList.erase(FList.begin() + Index);
    if (FOwnsObjects)
        delete obj;
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty())
        return;
    Changing();
    std::vector<Item> old;
    old.swap(FList);
    if (FOwnsObjects)
        for (Item& it : old)
            delete it.Obj;
    Changed();
}

int TStringList::Add(const std::string& S)
{
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const std::string& S, TObject* AObject)
{
    int result;
    if (!FSorted) {
        result = Count();
    } else if (Find(S, result)) {
        switch (FDuplicates) {
        case TDuplicates::dupIgnore:
            return result;
        case TDuplicates::dupError:
            Error(SDuplicateString, 0);
        case TDuplicates::dupAccept:
            break;
        }
    }
    InsertItem(result, S, AObject);
    return result;
}

void TStringList::ExchangeItems(int Index1, int Index2)
{
    std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    ExchangeItems(Index1, Index2);
    Changed();
}

int TStringList::IndexOf(const std::string& S) const
{
    if (!FSorted) {
        int n = Count();
        for (int i = 0; i < n; ++i)
            if (CompareStrings(FList[static_cast<size_t>(i)].S, S) == 0)
                return i;
        return -1;
    }
    int index;
    return Find(S, index) ? index : -1;
}

bool TStringList::Find(const std::string& S, int& Index) const
{
    bool result = false;
    int l = 0, h = Count() - 1;
    while (l <= h) {
        int i = l + (h - l) / 2;
        int c = CompareStrings(FList[static_cast<size_t>(i)].S, S);
        if (c < 0) {
            l = i + 1;
        } else {
            h = i - 1;
            if (c == 0) {
                result = true;
                if (FDuplicates != TDuplicates::dupAccept)
                    l = i;
            }
        }
    }
    Index = l;
    return result;
}

void TStringList::QuickSort(int L, int R, const TStringListSortCompare& Compare)
{
    // Hoare partition around a tracked pivot index; the bounds checks keep an
    // inconsistent comparison function from running off the list. The smaller side
    // recurses so that the depth stays logarithmic.
    while (L < R) {
        int i = L, j = R, p = L + (R - L) / 2;
        do {
            while (i < R && Compare(this, i, p) < 0)
                ++i;
            while (j > L && Compare(this, j, p) > 0)
                --j;
            if (i <= j) {
                if (i != j)
                    ExchangeItems(i, j);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - L < R - i) {
            if (L < j)
                QuickSort(L, j, Compare);
            L = i;
        } else {
            if (i < R)
                QuickSort(i, R, Compare);
            R = j;
        }
    }
}

void TStringList::SortItems(const TStringListSortCompare& Compare)
{
    if (Count() < 2)
        return;
    Changing();
    QuickSort(0, Count() - 1, Compare);
    Changed();
}

void TStringList::Sort()
{
    CustomSort([](TStringList* list, int a, int b) {
        return list->CompareStrings(list->FList[static_cast<size_t>(a)].S, list->FList[static_cast<size_t>(b)].S);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
    if (!FSorted)
        SortItems(Compare);
}

void TStringList::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    if (Value)
        Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    SetAndNotify(FCaseSensitive, Value, [this] {
        // A sorted list is re-sorted by the new rule, so that Find keeps working.
        if (FSorted)
            SortItems([](TStringList* list, int a, int b) {
                return list->CompareStrings(list->FList[static_cast<size_t>(a)].S, list->FList[static_cast<size_t>(b)].S);
            });
    });
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const
{
    if (FCaseSensitive) {
        int c = a.compare(b);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return CompareText(a, b);
}
