#include "ui/PngResource.h"

#include "common/Checked.h"
#include "common/Errors.h"
#include "ui/RcData.h"

TPngReader::TPngReader() {
    CheckHResult(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&FFactory)));
    // The codec by its class, not found by probing the data: the factory would read every
    // registered decoder's patterns from the registry for each image.
    CheckHResult(CoGetClassObject(CLSID_WICPngDecoder, CLSCTX_INPROC_SERVER, nullptr,
                                  IID_PPV_ARGS(&FPngCodec)));
}

void TPngReader::Decode(TBitmap32& bitmap, const wchar_t* name) const {
    const TRcData png = FindRcData(name);
    TComPtr<IWICStream> stream;
    CheckHResult(FFactory->CreateStream(&stream));
    // The stream only reads: the resource's pages stay untouched.
    CheckHResult(stream->InitializeFromMemory(const_cast<BYTE*>(png.Data), png.Size));
    TComPtr<IWICBitmapDecoder> decoder;
    CheckHResult(FPngCodec->CreateInstance(nullptr, IID_PPV_ARGS(&decoder)));
    CheckHResult(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand));
    TComPtr<IWICBitmapFrameDecode> frame;
    CheckHResult(decoder->GetFrame(0, &frame));
    TComPtr<IWICFormatConverter> converter;
    CheckHResult(FFactory->CreateFormatConverter(&converter));
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

void TPngReader::Load(TBitmap32& bitmap, const wchar_t* name) const {
    Decode(bitmap, name);
    // Over white in place, without a second bitmap: a premultiplied channel never exceeds its
    // alpha, so adding what the pixel leaves uncovered cannot carry into the next channel.
    std::uint32_t* pixel = bitmap.Row(0);
    const size_t count = static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.Height());
    for (size_t i = 0; i < count; ++i) {
        const std::uint32_t uncovered = 255 - (pixel[i] >> 24);
        pixel[i] = 0xFF000000u | (pixel[i] + uncovered * 0x010101u);
    }
}

void DecodePngResource(TBitmap32& bitmap, const wchar_t* name) {
    TPngReader().Decode(bitmap, name);
}

void LoadPngResource(TBitmap32& bitmap, const wchar_t* name) {
    TPngReader().Load(bitmap, name);
}
