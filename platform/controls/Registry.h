// The platform's registry class: hierarchical keys holding typed values, kept in a
// settings file. Keys are written with backslashes ("SOFTWARE\Maker\Product").
#pragma once

#include "classes/Classes.h"

#include <cstdint>
#include <memory>
#include <string>

using HKEY = uintptr_t;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

// Raised when a value is read as another type than it was stored with, or when a value
// cannot be written ("Invalid data type for '%s'", "Failed to set data for '%s'").
class ERegistryException : public Exception { using Exception::Exception; };

class QSettings;

class TRegistry : public TObject {
public:
    DECLARE_CLASS_NAME(TRegistry)
    TRegistry();
    ~TRegistry() override;

    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY Value);   // closes the open key

    // Opens Key, relative to the open key unless it starts with a backslash; creates it
    // when it is missing and CanCreate is set. Answers whether the key is open.
    bool OpenKey(const std::string& Key, bool CanCreate);
    // Opens an existing key for reading only; writes to it then fail.
    bool OpenKeyReadOnly(const std::string& Key);
    void CloseKey();
    bool KeyExists(const std::string& Key) const;
    // The open key's path below the root, with backslashes; empty when none is open.
    const std::string& CurrentPath() const { return FCurrentPath; }

    bool ValueExists(const std::string& Name) const;

    // Reads raise ERegistryException when the value is missing or of another type.
    // Booleans are stored as integers, as the platform does.
    bool ReadBool(const std::string& Name) const;
    int32_t ReadInteger(const std::string& Name) const;
    std::string ReadString(const std::string& Name) const;

    void WriteBool(const std::string& Name, bool Value);
    void WriteInteger(const std::string& Name, int32_t Value);
    void WriteString(const std::string& Name, const std::string& Value);

private:
    std::string SettingsKey(const std::string& Name) const;
    std::string KeyGroup(const std::string& Path) const;
    std::string ResolveKey(const std::string& Key) const;
    void WriteRaw(const std::string& Name, const std::string& Encoded);

    std::unique_ptr<QSettings> FSettings;
    HKEY FRootKey = HKEY_CURRENT_USER;
    std::string FCurrentPath;
    bool FKeyOpen = false;
    bool FReadOnly = false;
};

// The settings file behind every registry object. Tests point it at a private file;
// an empty name restores the default file of the user's configuration folder.
void SetRegistryFileName(const std::string& FileName);
std::string RegistryFileName();
