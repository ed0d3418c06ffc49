// Inside the platform only: an image whose pixels may not have been written yet.
//
// A new bitmap is white, but writing the white is a pass over every pixel that the
// picture drawn next often covers whole (its own opaque background). So a bitmap is made
// with its pixels owed their white: the white is written when anything first reads or
// writes them, and is left out when the first thing drawn is an opaque fill of the whole
// image (TImageRef::Forgo). The state is the bitmap's own; TImageRef is how a canvas and
// the bridge reach the image, so that no use of its pixels can skip the white.
#pragma once

#include <QImage>

#include <cstddef>

// The colour a new bitmap's pixels read as.
constexpr QRgb kNewImagePixel = 0xFFFFFFFFu;

// What an image owing its white holds until the white is written: in a Debug build a
// colour no drawing uses, dark so that a one-bit bitmap keeps it black, so that a way to
// the pixels that skips the white shows up as wrong pixels; nothing in a Release build.
constexpr QRgb kUnwrittenPixel = 0xFF2B1D0Eu;

// A pointer to an image and to the flag telling that its pixels still owe their white.
// `->`, `*` and Defined() write the white first; Shape() gives the image for its size,
// format, ratio and identity alone; tests against nullptr and comparisons touch nothing.
class TImageRef {
public:
    TImageRef() = default;
    TImageRef(std::nullptr_t) {}
    explicit TImageRef(QImage* image, bool* owed = nullptr) : Img(image), Owed(image != nullptr ? owed : nullptr) {}

    QImage* operator->() const { return Defined(); }
    QImage& operator*() const { return *Defined(); }
    QImage* Defined() const
    {
        Define();
        return Img;
    }
    const QImage& Shape() const { return *Img; }
    const QImage* ShapePtr() const { return Img; }

    friend bool operator==(const TImageRef& a, std::nullptr_t) { return a.Img == nullptr; }
    friend bool operator==(const TImageRef& a, const TImageRef& b) { return a.Img == b.Img; }
    friend bool operator==(const TImageRef& a, const QImage* b) { return a.Img == b; }

    // Whether the pixels still owe their white.
    bool Owing() const { return Owed != nullptr && *Owed; }
    // Writes the white the pixels owe, if they do.
    void Define() const
    {
        if (Owing()) {
            Img->fill(kNewImagePixel);
            *Owed = false;
        }
    }
    // Every pixel is about to be written with an opaque colour: the white they owe is
    // not needed.
    void Forgo() const
    {
        if (Owed != nullptr)
            *Owed = false;
    }

private:
    QImage* Img = nullptr;
    bool* Owed = nullptr;
};
