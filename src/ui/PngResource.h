#pragma once
#include "common/Handles.h"
#include "ui/Bitmap32.h"

#include <wincodec.h>

// Reads the program's PNG raw-data resources through WIC. The imaging factory and the PNG codec
// are looked up once per reader, so that a batch of images shares them.
class TPngReader {
public:
    TPngReader();

    // Decodes the PNG resource `name` into bitmap, sized to the image, with premultiplied
    // alpha: ready for DrawBlended. Raises EError with the image library's description when
    // the resource is missing or no valid PNG.
    void Decode(TBitmap32& bitmap, const wchar_t* name) const;
    // The same image laid over opaque white and made fully opaque, so that later drawing is a
    // plain copy and transparent pixels show white.
    void Load(TBitmap32& bitmap, const wchar_t* name) const;

private:
    TComPtr<IWICImagingFactory> FFactory;
    TComPtr<IClassFactory> FPngCodec;
};

// One image, with a reader of its own.
void DecodePngResource(TBitmap32& bitmap, const wchar_t* name);
void LoadPngResource(TBitmap32& bitmap, const wchar_t* name);
