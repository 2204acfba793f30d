/* PNG through WIC. Each call initialises COM for itself (balanced, whether
 * or not the thread had it already) and releases every interface it gets. */
#include "Png.h"

#include <objbase.h>
#include <wincodec.h>

namespace {

// One reference to a COM interface, released once.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (p_)
            p_->Release();
    }
    ComRef(const ComRef &) = delete;
    ComRef &operator=(const ComRef &) = delete;
    T *operator->() const { return p_; }
    T *get() const { return p_; }
    T **Out() { return &p_; }
    void **OutVoid() { return (void **)&p_; }

private:
    T *p_ = nullptr;
};

class ComScope {
public:
    ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope()
    {
        if (ok_)
            CoUninitialize();
    }
    ComScope(const ComScope &) = delete;
    ComScope &operator=(const ComScope &) = delete;

private:
    bool ok_;
};

bool MakeFactory(ComRef<IWICImagingFactory> &factory)
{
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, factory.OutVoid()));
}

} // namespace

bool SavePng(const Picture &picture, const std::wstring &path)
{
    const UINT width = (UINT)picture.Width, height = (UINT)picture.Height, stride = width * 3;
    std::vector<BYTE> rows((size_t)stride * height);
    for (size_t i = 0; i < picture.Pixels.size(); ++i) {
        uint32_t c = picture.Pixels[i]; // 0x00BBGGRR
        rows[i * 3] = (BYTE)(c >> 16);
        rows[i * 3 + 1] = (BYTE)(c >> 8);
        rows[i * 3 + 2] = (BYTE)c;
    }
    ComScope com;
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    return MakeFactory(factory) && SUCCEEDED(factory->CreateStream(stream.Out())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) &&
           SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.Out(), options.Out())) &&
           SUCCEEDED(frame->Initialize(options.get())) && SUCCEEDED(frame->SetSize(width, height)) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR &&
           SUCCEEDED(frame->WritePixels(height, stride, (UINT)rows.size(), rows.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

bool LoadPng(const std::wstring &path, Picture &picture)
{
    ComScope com;
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (!MakeFactory(factory) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return false;
    std::vector<BYTE> bgra((size_t)width * height * 4);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, (UINT)bgra.size(), bgra.data())))
        return false;
    picture.Width = (int)width;
    picture.Height = (int)height;
    picture.Pixels.resize((size_t)width * height);
    for (size_t i = 0; i < picture.Pixels.size(); ++i)
        picture.Pixels[i] = bgra[i * 4 + 2] | (uint32_t)bgra[i * 4 + 1] << 8 | (uint32_t)bgra[i * 4] << 16;
    return true;
}
