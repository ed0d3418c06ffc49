// Metafiles: a picture kept as the drawing operations that made it. A TMetafileCanvas
// records every operation of the canvas as an enhanced-metafile record; the metafile
// plays them back onto any canvas (stretched into a rectangle), and reads and writes
// enhanced metafiles (.emf) and placeable Windows metafiles (.wmf).
#pragma once

#include "graphics/Bitmap.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TStream;

class TMetafile : public TGraphic {
public:
    DECLARE_CLASS_NAME(TMetafile)
    TMetafile();
    ~TMetafile() override;

    // Written as an enhanced metafile (true) or as a placeable Windows metafile.
    bool Enhanced() const { return FEnhanced; }
    void SetEnhanced(bool v);

    // True until something is recorded or loaded (and again after Clear).
    bool Empty() const override { return !FHasContent; }
    // The picture's size in pixels at 96 dots per inch...
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int v) override;
    void SetHeight(int v) override;
    // ... and in hundredths of a millimetre.
    int MMWidth() const { return FMMWidth; }
    int MMHeight() const { return FMMHeight; }
    // Drops the records and the size.
    void Clear();

    // Plays the records onto the canvas, the picture's size stretched into the rectangle.
    // The canvas's pens, brushes, fonts, attributes, mapping and clipping are as before
    // afterwards; the drawing never leaves the rectangle.
    void Draw(TCanvas& canvas, const TRect& rect) override;

    // Files and streams hold a whole metafile; loading recognises both kinds.
    void LoadFromFile(const std::string& fileName) override;
    void SaveToFile(const std::string& fileName) const override;
    void LoadFromStream(TStream* stream);
    void SaveToStream(TStream* stream) const;
    // The file's bytes (enhanced or placeable Windows metafile, by Enhanced).
    std::vector<uint8_t> SaveToBytes() const;
    void LoadFromBytes(const std::vector<uint8_t>& bytes);

    std::unique_ptr<TGraphic> Clone() const override;
    void Assign(TPersistent* Source) override;

private:
    friend class TMetafileCanvas;
    friend class TMetafileRecorder;
    void SetSize(int width, int height);

    bool FEnhanced = true;
    bool FHasContent = false;
    int FWidth = 0;
    int FHeight = 0;
    int FMMWidth = 0;
    int FMMHeight = 0;
    // Enhanced-metafile records between the header and the end record.
    std::vector<uint8_t> FRecords;
    uint32_t FRecordCount = 0;
    uint16_t FHandles = 1;              // handle table size, slot 0 included
    TRect FBounds{0, 0, -1, -1};        // device pixels touched, inclusive; empty when right < left
};

// A canvas whose every operation is recorded into the metafile. The metafile receives
// the recording (replacing what it held) when the canvas is freed. The canvas also draws
// into a hidden image of the metafile's size, so that reading pixels back and clip
// bounds behave as on any other canvas.
class TMetafileCanvas : public TCanvas {
public:
    DECLARE_CLASS_NAME(TMetafileCanvas)
    explicit TMetafileCanvas(TMetafile* metafile);
    ~TMetafileCanvas() override;

private:
    struct Data;
    std::unique_ptr<Data> FData;
};
