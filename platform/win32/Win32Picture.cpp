#include "platform/win32/Win32Picture.h"

#include "platform/OstrelError.h"
#include "platform/win32/ComError.h"
#include "platform/win32/ComPtr.h"
#include "platform/windows/WideText.h"

#include <cstring>
#include <wincodec.h>

namespace {

// The resource's bytes, which live as long as the program.
std::string_view ResourceBytes(const std::string& name)
{
    const HMODULE program = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(program, Widen(name).c_str(), RT_RCDATA);
    const HGLOBAL loaded = resource ? LoadResource(program, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        throw EOstrelError("Missing picture resource " + name);
    return { static_cast<const char*>(bytes), SizeofResource(program, resource) };
}

} // namespace

TWin32Picture::TWin32Picture(int width, int height, const std::vector<std::uint32_t>& pixels)
    : m_width(width)
    , m_height(height)
{
    if (width <= 0 || height <= 0
        || pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw EOstrelError("A picture of " + std::to_string(width) + " x " + std::to_string(height)
                           + " needs as many pixels");
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    // Negative: the rows run from the top down, as the pixels come.
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = TBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_bitmap)
        throw EOstrelError("Cannot make a picture of " + std::to_string(width) + " x " + std::to_string(height));
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
}

std::unique_ptr<TWin32Picture> LoadPictureResource(const std::string& name)
{
    const std::string_view bytes = ResourceBytes(name);
    const std::string what = "Cannot read the picture " + name;
    TComPtr<IWICImagingFactory> factory;
    ThrowIfFailed(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   factory.PutVoid()),
                  what);
    TComPtr<IWICStream> stream;
    ThrowIfFailed(factory->CreateStream(stream.Put()), what);
    // WIC only reads the memory, which the resource keeps for the program's life.
    ThrowIfFailed(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                               static_cast<DWORD>(bytes.size())),
                  what);
    TComPtr<IWICBitmapDecoder> decoder;
    ThrowIfFailed(
        factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Put()), what);
    TComPtr<IWICBitmapFrameDecode> frame;
    ThrowIfFailed(decoder->GetFrame(0, frame.Put()), what);
    TComPtr<IWICFormatConverter> converter;
    ThrowIfFailed(factory->CreateFormatConverter(converter.Put()), what);
    ThrowIfFailed(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                        0.0, WICBitmapPaletteTypeCustom),
                  what);
    UINT width = 0;
    UINT height = 0;
    ThrowIfFailed(converter->GetSize(&width, &height), what);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    ThrowIfFailed(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                        reinterpret_cast<BYTE*>(pixels.data())),
                  what);
    return std::make_unique<TWin32Picture>(static_cast<int>(width), static_cast<int>(height), pixels);
}
