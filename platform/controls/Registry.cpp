#include "Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>

#include <vector>

namespace {

// The settings file that registry objects open; empty means the default file.
std::string& RegistryFileOverride()
{
    static std::string name;
    return name;
}

// Values are stored as text with their type in front, so that a read of another type
// can be told from a read of the right one.
const char* const IntegerTag = "i:";
const char* const StringTag = "s:";
// Entry that marks a key created empty, so that it exists without values.
const char* const KeyMarker = "k";

std::string RootName(HKEY root)
{
    switch (root) {
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    default: return "HKEY_" + std::to_string(root);
    }
}

std::vector<std::string> SplitKey(const std::string& key)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : key) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

std::string JoinKey(const std::vector<std::string>& parts)
{
    std::string s;
    for (const auto& p : parts) {
        if (!s.empty())
            s += '\\';
        s += p;
    }
    return s;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

} // namespace

void SetRegistryFileName(const std::string& FileName)
{
    RegistryFileOverride() = FileName;
}

std::string RegistryFileName()
{
    if (!RegistryFileOverride().empty())
        return RegistryFileOverride();
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (dir + "/hcapprox/registry.ini").toStdString();
}

TRegistry::TRegistry()
{
    const QString file = Q(RegistryFileName());
    QDir().mkpath(QFileInfo(file).absolutePath());
    FSettings = std::make_unique<QSettings>(file, QSettings::IniFormat);
}

TRegistry::~TRegistry()
{
    FSettings->sync();
}

void TRegistry::SetRootKey(HKEY Value)
{
    if (Value == FRootKey)
        return;
    CloseKey();
    FRootKey = Value;
}

// Registry names ignore case; the settings file does not, so every name is stored
// upper-cased.
std::string TRegistry::KeyGroup(const std::string& Path) const
{
    std::string group = RootName(FRootKey);
    for (const auto& p : SplitKey(UpperCase(Path)))
        group += "/" + p;
    return group;
}

std::string TRegistry::SettingsKey(const std::string& Name) const
{
    return KeyGroup(FKeyOpen ? FCurrentPath : std::string()) + "/v." + UpperCase(Name);
}

std::string TRegistry::ResolveKey(const std::string& Key) const
{
    std::vector<std::string> parts;
    const bool absolute = !Key.empty() && (Key[0] == '\\' || Key[0] == '/');
    if (!absolute && FKeyOpen)
        parts = SplitKey(FCurrentPath);
    for (const auto& p : SplitKey(Key))
        parts.push_back(p);
    return JoinKey(parts);
}

bool TRegistry::KeyExists(const std::string& Key) const
{
    const std::string path = ResolveKey(Key);
    if (path.empty())
        return true;   // the root always exists
    FSettings->beginGroup(Q(KeyGroup(path)));
    const bool exists = !FSettings->childKeys().isEmpty() || !FSettings->childGroups().isEmpty();
    FSettings->endGroup();
    return exists;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate)
{
    const std::string path = ResolveKey(Key);
    if (!KeyExists("\\" + path)) {
        if (!CanCreate)
            return false;
        FSettings->setValue(Q(KeyGroup(path) + "/" + KeyMarker), QString());
    }
    CloseKey();
    FCurrentPath = path;
    FKeyOpen = true;
    FReadOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& Key)
{
    if (!OpenKey(Key, false))
        return false;
    FReadOnly = true;
    return true;
}

void TRegistry::CloseKey()
{
    if (!FKeyOpen)
        return;
    FSettings->sync();
    FCurrentPath.clear();
    FKeyOpen = false;
    FReadOnly = false;
}

bool TRegistry::ValueExists(const std::string& Name) const
{
    return FSettings->contains(Q(SettingsKey(Name)));
}

int32_t TRegistry::ReadInteger(const std::string& Name) const
{
    const std::string raw = FSettings->value(Q(SettingsKey(Name))).toString().toStdString();
    int32_t value = 0;
    if (raw.rfind(IntegerTag, 0) != 0 || !TryStrToInt(raw.substr(2), value))
        throw ERegistryException(Format("Invalid data type for '%s'", {Name}));
    return value;
}

bool TRegistry::ReadBool(const std::string& Name) const
{
    return ReadInteger(Name) != 0;
}

std::string TRegistry::ReadString(const std::string& Name) const
{
    const std::string raw = FSettings->value(Q(SettingsKey(Name))).toString().toStdString();
    if (raw.rfind(StringTag, 0) != 0)
        throw ERegistryException(Format("Invalid data type for '%s'", {Name}));
    return raw.substr(2);
}

void TRegistry::WriteRaw(const std::string& Name, const std::string& Encoded)
{
    if (FReadOnly)
        throw ERegistryException(Format("Failed to set data for '%s'", {Name}));
    FSettings->setValue(Q(SettingsKey(Name)), Q(Encoded));
}

void TRegistry::WriteBool(const std::string& Name, bool Value)
{
    WriteInteger(Name, Value ? 1 : 0);
}

void TRegistry::WriteInteger(const std::string& Name, int32_t Value)
{
    WriteRaw(Name, IntegerTag + std::to_string(Value));
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value)
{
    WriteRaw(Name, StringTag + Value);
}
