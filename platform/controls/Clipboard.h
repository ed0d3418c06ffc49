// The platform's clipboard over the toolkit's: text, bitmaps and metafiles.
#pragma once

#include "classes/Classes.h"

#include <string>

class TClipboard : public TPersistent {
public:
    DECLARE_CLASS_NAME(TClipboard)
    std::string AsText() const;
    void SetAsText(const std::string& Value);
    void Clear();
    bool HasText() const;
    // Puts a bitmap, a metafile or a picture's graphic on the clipboard as an image; a
    // metafile is also put as its own bytes ("image/x-emf", or "image/x-wmf" when it is
    // not enhanced). Other sources raise EConvertError.
    void Assign(TPersistent* Source) override;
};

// The process-wide clipboard object. Raises Exception "Cannot open clipboard" when the
// program runs without a GUI application object.
TClipboard* Clipboard();
