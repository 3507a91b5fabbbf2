#include "ImagingDecoder.h"

#include "support/ComPtr.h"

#include <wincodec.h>

namespace {

ComPtr<IWICBitmapFrameDecode> firstFrame(IWICImagingFactory* factory, const void* bytes, size_t length) {
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    // The stream reads the caller's bytes in place; everything made from it is released before this call ends.
    auto* data = static_cast<BYTE*>(const_cast<void*>(bytes));
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(data, static_cast<DWORD>(length))) ||
        FAILED(
            factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())))
        return {};
    return frame;
}

ComPtr<IWICFormatConverter> premultiplied(IWICImagingFactory* factory, IWICBitmapSource* source) {
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return {};
    return converter;
}

bool copyPixels(IWICBitmapSource* source, PixelBudget fits, DecodedImage& image) {
    UINT width = 0;
    UINT height = 0;
    uint32_t bytes = 0;
    if (FAILED(source->GetSize(&width, &height)) || !fits(width, height) || width > INT32_MAX || height > INT32_MAX ||
        !pixelByteCount(static_cast<int>(width), static_cast<int>(height), bytes))
        return false;
    std::vector<uint32_t> pixels(bytes / 4);
    if (FAILED(source->CopyPixels(nullptr, width * 4, bytes, reinterpret_cast<BYTE*>(pixels.data()))))
        return false;
    image = DecodedImage{static_cast<int>(width), static_cast<int>(height), std::move(pixels)};
    return true;
}

} // namespace

bool decodeWithImagingComponent(const void* bytes, size_t length, PixelBudget fits, DecodedImage& image) {
    if (length == 0 || length > MAXDWORD)
        return false;
    // Entered only here: a COM apartment costs more of the start than the OLE loader's whole decoding.
    ComApartment apartment;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid())))
        return false;
    ComPtr<IWICBitmapFrameDecode> frame = firstFrame(factory.get(), bytes, length);
    if (!frame)
        return false;
    ComPtr<IWICFormatConverter> converter = premultiplied(factory.get(), frame.get());
    return converter && copyPixels(converter.get(), fits, image);
}
