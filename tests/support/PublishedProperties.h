// Test helper: a class's published properties as names and defaults, for the tests that
// hold the streamed classes to the property names files already written rely on.
#pragma once

#include "classes/TypInfo.h"

#include <cstdio>
#include <string>
#include <vector>

namespace publishedprops {

// The default of a property as a test's list writes it: enumerations and sets by
// their value names, Booleans as True/False, colours and cursors by name or in hex,
// texts quoted; a property without a default (always written) or a sub-object, a
// reference or an event by its name alone.
inline std::string Entry(const TPropInfo& p)
{
    std::string value;
    switch (p.Kind) {
    case TPropKind::Float:
        if (p.FloatDefault) {
            char text[32];
            std::snprintf(text, sizeof text, "%g", *p.FloatDefault);
            value = text;
        }
        break;
    case TPropKind::String:
        if (!p.StrDefault.empty())
            value = "\"" + p.StrDefault + "\"";
        break;
    case TPropKind::Object:
    case TPropKind::Component:
    case TPropKind::Event:
        break;
    default:
        if (!p.OrdDefault)
            break;
        if (const int64_t v = *p.OrdDefault; p.Kind == TPropKind::Boolean) {
            value = v != 0 ? "True" : "False";
        } else if (p.Kind == TPropKind::Enumeration && v >= 0 && v < int64_t(p.Names.size())) {
            value = p.Names[size_t(v)];
        } else if (p.Kind == TPropKind::Set) {
            value = "[";
            for (size_t bit = 0; bit < p.Names.size(); ++bit)
                if (v & (int64_t(1) << bit))
                    value += (value.size() > 1 ? "," : "") + p.Names[bit];
            value += "]";
        } else if (p.Idents == nullptr || !IntToIdent(v, value, *p.Idents)) {
            char text[24];
            std::snprintf(text, sizeof text, v >= 0x10000 ? "0x%llX" : "%lld", static_cast<long long>(v));
            value = text;
        }
        break;
    }
    return value.empty() ? p.Name : p.Name + "=" + value;
}

// What a class's table adds to its parent's: each property the parent does not have, or
// whose default the class changes, in the table's order.
inline std::vector<std::string> OwnEntries(const TClassInfo* Info)
{
    std::vector<std::string> own;
    for (const TPropInfo& p : Info->Properties) {
        const TPropInfo* inherited = Info->Parent != nullptr ? Info->Parent->FindProperty(p.Name) : nullptr;
        if (inherited == nullptr || Entry(*inherited) != Entry(p))
            own.push_back(Entry(p));
    }
    return own;
}

} // namespace publishedprops
