// The platform's clipboard: plain text for now, over the toolkit's clipboard.
#pragma once

#include "classes/Classes.h"

#include <string>

class TClipboard : public TPersistent {
public:
    DECLARE_CLASS_NAME(TClipboard)
    std::string AsText() const;
    void SetAsText(const std::string& Value);
    // Puts the zero-terminated text on the clipboard; a null buffer puts an empty text.
    void SetTextBuf(const char* Buffer);
    void Clear();
    bool HasText() const;
};

// The process-wide clipboard object. Raises Exception "Cannot open clipboard" when the
// program runs without a GUI application object.
TClipboard* Clipboard();
