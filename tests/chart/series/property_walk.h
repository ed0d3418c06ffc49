// Walks an object's published properties through its class information: a change of
// every one of them away from its present value, and a listing of all of them, so that
// two objects can be compared property by property.
#pragma once

#include "classes/Classes.h"
#include "classes/Collections.h"
#include "classes/TypInfo.h"

#include <algorithm>
#include <string>
#include <vector>

namespace propwalk {

// "Path=value" for every published property (sub-objects by dotted path, collection
// items by index, string lists as their text, references by name); events left out.
// With StoredOnly, a property whose stored-when test answers False is left out.
inline void Dump(TPersistent* Obj, const std::string& Prefix, std::vector<std::string>& Out, bool StoredOnly,
                 int Depth = 0)
{
    if (Obj == nullptr || Depth > 8)
        return;
    if (auto* strings = dynamic_cast<TStrings*>(Obj)) {
        Out.push_back(Prefix + "=" + strings->Text());
        return;
    }
    if (auto* collection = dynamic_cast<TCollection*>(Obj)) {
        Out.push_back(Prefix + ".Count=" + std::to_string(collection->Count()));
        for (int i = 0; i < collection->Count(); ++i)
            Dump(collection->Items(i), Prefix + "[" + std::to_string(i) + "]", Out, StoredOnly, Depth + 1);
        return;
    }
    for (const TPropInfo& p : Obj->ClassInfo()->Properties) {
        const std::string path = Prefix.empty() ? p.Name : Prefix + "." + p.Name;
        if (StoredOnly && !p.Stored(Obj))
            continue;
        switch (p.Kind) {
        case TPropKind::Event:
            break;
        case TPropKind::Object:
            Dump(p.GetObj(Obj), path, Out, StoredOnly, Depth + 1);
            break;
        case TPropKind::Component: {
            auto* c = dynamic_cast<TComponent*>(p.GetObj(Obj));
            Out.push_back(path + "=" + (c != nullptr ? c->Name() : std::string("nil")));
            break;
        }
        case TPropKind::Float:
            Out.push_back(path + "=" + std::to_string(p.GetFloat(Obj)));
            break;
        case TPropKind::String:
            if (p.Name != "Name")
                Out.push_back(path + "=" + p.GetStr(Obj));
            break;
        default:
            Out.push_back(path + "=" + std::to_string(p.GetOrd(Obj)));
            break;
        }
    }
}

inline std::vector<std::string> Dump(TPersistent* Obj, bool StoredOnly = false)
{
    std::vector<std::string> out;
    Dump(Obj, "", out, StoredOnly);
    return out;
}

// Without the entries whose names (the last part of the path) are listed.
inline std::vector<std::string> Without(std::vector<std::string> Entries, const std::vector<std::string>& Names)
{
    std::erase_if(Entries, [&](const std::string& e) {
        const std::string path = e.substr(0, e.find('='));
        const std::string last = path.substr(path.rfind('.') == std::string::npos ? 0 : path.rfind('.') + 1);
        return std::find(Names.begin(), Names.end(), last) != Names.end();
    });
    return Entries;
}

// The entries in which two listings differ, one per line; empty when they agree.
inline std::string Differences(const std::vector<std::string>& A, const std::vector<std::string>& B)
{
    std::string out;
    for (size_t i = 0; i < std::max(A.size(), B.size()); ++i) {
        const std::string a = i < A.size() ? A[i] : "(none)";
        const std::string b = i < B.size() ? B[i] : "(none)";
        if (a != b)
            out += a + "  vs  " + b + "\n";
    }
    return out;
}

// Gives every writable property another value than it has (a setter that refuses one is
// passed over); a collection gets one item, a string list one more line.
inline void Change(TPersistent* Obj, int Depth = 0)
{
    if (Obj == nullptr || Depth > 8)
        return;
    if (auto* strings = dynamic_cast<TStrings*>(Obj)) {
        strings->Add("line " + std::to_string(strings->Count() + 1));
        return;
    }
    if (auto* collection = dynamic_cast<TCollection*>(Obj)) {
        Change(collection->Add(), Depth + 1);
        return;
    }
    for (const TPropInfo& p : Obj->ClassInfo()->Properties) {
        try {
            switch (p.Kind) {
            case TPropKind::Event:
            case TPropKind::Component:
                break;
            case TPropKind::Object:
                Change(p.GetObj(Obj), Depth + 1);
                break;
            case TPropKind::Float:
                if (p.SetFloat)
                    p.SetFloat(Obj, p.GetFloat(Obj) + 1.5);
                break;
            case TPropKind::String:
                if (p.SetStr && p.Name != "Name")
                    p.SetStr(Obj, p.GetStr(Obj) + "x");
                break;
            case TPropKind::Boolean:
                if (p.SetOrd)
                    p.SetOrd(Obj, p.GetOrd(Obj) == 0 ? 1 : 0);
                break;
            case TPropKind::Enumeration:
                if (p.SetOrd)
                    p.SetOrd(Obj, (p.GetOrd(Obj) + 1) % static_cast<int64_t>(p.Names.size()));
                break;
            case TPropKind::Set:
                if (p.SetOrd)
                    p.SetOrd(Obj, p.GetOrd(Obj) ^ 1);
                break;
            default:
                if (p.SetOrd)
                    p.SetOrd(Obj, p.GetOrd(Obj) + 1);
                break;
            }
        } catch (const std::exception&) {
            // a value the setter refuses: the property keeps its own
        }
    }
}

} // namespace propwalk
