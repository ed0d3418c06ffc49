// Picture-export formats: a chart panel turned into a picture of a given size, put on the
// clipboard or written to a stream or file. The formats are classes in one registry; the
// export dialog lists one instance of each, and the markup text's image tag finds an
// empty picture for a file extension through them.
#pragma once

#include "RizUridu.h"
#include "controls/FormBuilder.h"
#include "graphics/Metafile.h"

#include <memory>
#include <string>
#include <vector>

class TTeeExportFormat;

// A format class: makes a new instance with all fields zero.
using TTeeExportFormatClass = std::unique_ptr<TTeeExportFormat> (*)();
// A picture class: makes a new, empty graphic.
using TGraphicClass = std::unique_ptr<TGraphic> (*)();

class TTeeExportFormat : public TObject {
public:
    DECLARE_CLASS_NAME(TTeeExportFormat)
    TTeeExportFormat() = default;

    // The panel to draw (not owned); must be set before copying or saving.
    TCustomTeePanel* Panel = nullptr;
    // Picture size in pixels; 0 takes the panel's.
    int Width = 0;
    int Height = 0;

    virtual void PlaceOnClipboard() = 0;
    // 1-based index of this format's first entry in the save dialog's filter.
    virtual int FilterIndex();
    // Increments Index and keeps it as the filter index (a format with more entries
    // takes more).
    virtual void AssignFilterIndex(int& Index);
    virtual bool OwnsFilterIndex(int Index);
    virtual std::string Description() = 0;
    // Without the dot.
    virtual std::string FileExtension() = 0;
    // The save-dialog filter entry (or entries) of the format.
    virtual std::string FileFilter() = 0;
    // True when the format writes files with the extension Ext (no dot, any case); a
    // format that writes several kinds switches to the one of Ext.
    virtual bool ChooseExtension(const std::string& Ext);
    // The graphic class a file of this format loads into; none in the base.
    virtual TGraphicClass PictureClass();
    virtual void SaveToStream(TStream* Stream) = 0;
    // The options form, created on request (Create); none in the base.
    virtual TForm* Options(bool Create = true);

    // Raise Exception "Panel property is not set in Export format" without a panel.
    void CopyToClipboard();
    // Writes under a temporary name renamed over FileName at the end, so that a failed
    // save leaves an earlier file whole.
    void SaveToFile(const std::string& FileName);

protected:
    // Width and Height left 0 take the panel's size.
    void CheckSize();

private:
    void CheckPanel();
    int FFilterIndex = 0;
};

// ---- metafile ----------------------------------------------------------------------

class TEMFOptions : public TForm {
public:
    DECLARE_CLASS_NAME(TEMFOptions)
    explicit TEMFOptions(TComponent* AOwner);
    TCheckBox* CBEnhanced;
};

class TEMFExportFormat : public TTeeExportFormat {
public:
    DECLARE_CLASS_NAME(TEMFExportFormat)
    static std::unique_ptr<TTeeExportFormat> Create() { return std::make_unique<TEMFExportFormat>(); }

    void PlaceOnClipboard() override;
    int FilterIndex() override;
    void AssignFilterIndex(int& Index) override;
    // The second entry (plain metafiles) also switches Enhanced off.
    bool OwnsFilterIndex(int Index) override;
    // "emf" switches Enhanced on, "wmf" off.
    bool ChooseExtension(const std::string& Ext) override;
    std::string Description() override;
    std::string FileExtension() override;
    std::string FileFilter() override;
    TGraphicClass PictureClass() override;
    void SaveToStream(TStream* Stream) override;
    TForm* Options(bool Create = true) override;

    // True without an options form, else its check box.
    bool Enhanced();
    void SetEnhanced(bool Value);
    // The chart recorded at the completed size, enhanced or placeable by Enhanced.
    std::unique_ptr<TMetafile> Metafile();

private:
    std::unique_ptr<TEMFOptions> FOptions;
};

// ---- bitmap ------------------------------------------------------------------------

class TBMPOptions : public TForm {
public:
    DECLARE_CLASS_NAME(TBMPOptions)
    explicit TBMPOptions(TComponent* AOwner);
    TLabel* Label1;
    TComboBox* CBColors;
    TCheckBox* CBMono;
    void CBMonoClick(TObject* Sender);
};

class TBMPExportFormat : public TTeeExportFormat {
public:
    DECLARE_CLASS_NAME(TBMPExportFormat)
    static std::unique_ptr<TTeeExportFormat> Create() { return std::make_unique<TBMPExportFormat>(); }

    void PlaceOnClipboard() override;
    std::string Description() override;
    std::string FileExtension() override;
    std::string FileFilter() override;
    TGraphicClass PictureClass() override;
    void SaveToStream(TStream* Stream) override;
    TForm* Options(bool Create = true) override;

    // The chart drawn at the completed size in the chosen colour depth.
    std::unique_ptr<TBitmap> Bitmap();

private:
    std::unique_ptr<TBMPOptions> FOptions;
};

// ---- registry ----------------------------------------------------------------------

// The registered format classes in registration order; null until the first registration.
using TTeeExportFormats = std::vector<TTeeExportFormatClass>;
extern std::unique_ptr<TTeeExportFormats> ExportFormatRegistry;

void RegisterExportFormat(TTeeExportFormatClass FormatClass);
void UnregisterExportFormat(TTeeExportFormatClass FormatClass);

// A new, empty graphic for an extension with its dot (".bmp", ".wmf", any case), or null.
std::unique_ptr<TGraphic> GraphicForExtension(const std::string& Ext);

// Registers the metafile and bitmap formats and sets the markup's picture look-up; the
// finalisation undoes both and frees the registry.
void PictureExportInitialization();
void PictureExportFinalization();
