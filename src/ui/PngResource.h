#pragma once
#include "ui/Bitmap32.h"

// Decodes the PNG raw-data resource `name` of the program into bitmap, sized to the image, with
// premultiplied alpha: ready for DrawBlended. Raises EError with the image library's
// description when the resource is missing or no valid PNG.
void DecodePngResource(TBitmap32& bitmap, const wchar_t* name);

// The same image laid over opaque white and made fully opaque, so that later drawing is a
// plain copy and transparent pixels show white.
void LoadPngResource(TBitmap32& bitmap, const wchar_t* name);
