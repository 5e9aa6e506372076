#include "ui/PngResource.h"

#include "common/Checked.h"
#include "common/Errors.h"
#include "ui/RcData.h"

#include <wincodec.h>

void DecodePngResource(TBitmap32& bitmap, const wchar_t* name) {
    const TRcData png = FindRcData(name);
    TComPtr<IWICImagingFactory> factory;
    CheckHResult(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&factory)));
    TComPtr<IWICStream> stream;
    CheckHResult(factory->CreateStream(&stream));
    // The stream only reads: the resource's pages stay untouched.
    CheckHResult(stream->InitializeFromMemory(const_cast<BYTE*>(png.Data), png.Size));
    TComPtr<IWICBitmapDecoder> decoder;
    CheckHResult(factory->CreateDecoderFromStream(stream.Get(), &GUID_ContainerFormatPng,
                                                  WICDecodeMetadataCacheOnDemand, &decoder));
    TComPtr<IWICBitmapFrameDecode> frame;
    CheckHResult(decoder->GetFrame(0, &frame));
    TComPtr<IWICFormatConverter> converter;
    CheckHResult(factory->CreateFormatConverter(&converter));
    CheckHResult(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                       WICBitmapDitherTypeNone, nullptr, 0,
                                       WICBitmapPaletteTypeCustom));
    UINT width = 0;
    UINT height = 0;
    CheckHResult(converter->GetSize(&width, &height));
    bitmap.SetSize(RangeChecked<int>(width), RangeChecked<int>(height));
    const int stride = CheckedMul(bitmap.Width(), 4);
    CheckHResult(converter->CopyPixels(nullptr, static_cast<UINT>(stride),
                                       RangeChecked<UINT>(CheckedMul(stride, bitmap.Height())),
                                       reinterpret_cast<BYTE*>(bitmap.Row(0))));
}

void LoadPngResource(TBitmap32& bitmap, const wchar_t* name) {
    TBitmap32 png;
    DecodePngResource(png, name);
    bitmap.SetSize(png.Width(), png.Height());
    bitmap.Fill(0xFFFFFFFF);
    png.DrawBlended(bitmap.Canvas(), 0, 0, 0, png.Width(), png.Height());
    bitmap.SetOpaque();
}
