// The shell's "open a document" call: hands an address or file to the program that the
// desktop uses for it. Tests install a handler that records the call instead.
#pragma once

#include <functional>
#include <string>

// Opens Address; true when the desktop accepted it.
bool ShellOpenDocument(const std::string& Address);

// Replaces the desktop's open call (an empty handler restores it); returns the previous one.
using TShellOpenHandler = std::function<bool(const std::string& Address)>;
TShellOpenHandler SetShellOpenHandler(TShellOpenHandler Handler);
