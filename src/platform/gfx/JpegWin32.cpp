// JPEG decoding on Windows: the platform's own imaging component (WIC) decodes, so no JPEG
// library ships beside zorvaxp.dll. Before it is asked, the file's markers are walked here: the
// frame header gives the size, refused as on Linux before anything is decoded, and a file that
// ends before its end-of-image marker is an error. The platform's decoder pads such a file with
// grey; libjpeg's decoding on Linux refuses it, and so do we.
#include "platform/gfx/ImageFiles.h"

#include <windows.h>
#include <wincodec.h>

namespace zxp::gfx {

namespace {

// What the marker walk found: the frame's size, whether the image ends properly, or why not.
struct JpegLayout {
  int64_t width = -1, height = -1;
  std::string error;
};

bool isFrameMarker(uint8_t m) {
  // SOF0..SOF15 less DHT (C4), JPG (C8) and DAC (CC).
  return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

JpegLayout walkMarkers(Bytes f) {
  JpegLayout out;
  const size_t n = f.size();
  if (n < 4 || f[0] != 0xFF || f[1] != 0xD8) return out.error = "not a JPEG file", out;
  size_t i = 2;
  while (true) {
    // Fill bytes (0xFF) may come before a marker.
    while (i < n && f[i] == 0xFF && i + 1 < n && f[i + 1] == 0xFF) ++i;
    if (i + 1 >= n) return out.error = "premature end of data", out;
    if (f[i] != 0xFF) return out.error = "damaged marker", out;
    const uint8_t m = f[i + 1];
    i += 2;
    if (m == 0xD9) break;                          // end of image
    if (m == 0x01 || (m >= 0xD0 && m <= 0xD7)) continue;  // markers without a length
    if (i + 2 > n) return out.error = "premature end of data", out;
    const size_t len = (size_t{f[i]} << 8) | f[i + 1];
    if (len < 2 || i + len > n) return out.error = "premature end of data", out;
    if (isFrameMarker(m) && out.width < 0) {
      if (len < 8) return out.error = "damaged frame header", out;
      out.height = (int64_t{f[i + 3]} << 8) | f[i + 4];
      out.width = (int64_t{f[i + 5]} << 8) | f[i + 6];
      if (!imageSizeAllowed(out.width, out.height)) return out.error = imageSizeRefused(out.width, out.height), out;
    }
    i += len;
    if (m == 0xDA) {
      // The entropy-coded data runs to the next marker that is neither a stuffed 0xFF00 nor a
      // restart marker.
      while (i + 1 < n && !(f[i] == 0xFF && f[i + 1] != 0x00 && !(f[i + 1] >= 0xD0 && f[i + 1] <= 0xD7))) ++i;
      if (i + 1 >= n) return out.error = "premature end of data", out;
    }
  }
  if (out.width < 0) out.error = "no frame header";
  return out;
}

// The component runtime for this thread while one picture decodes.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }

 private:
  HRESULT hr_;
};

template <class T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
};

}  // namespace

std::optional<Image> decodeJpeg(Bytes file, std::string& error) {
  const JpegLayout layout = walkMarkers(file);
  if (!layout.error.empty()) return error = "JPEG: " + layout.error, std::nullopt;
  if (file.size() > 0xFFFFFFFFu) return error = "JPEG: file too large", std::nullopt;

  ComScope com;
  Released<IWICImagingFactory> factory;
  Released<IWICStream> stream;
  Released<IWICBitmapDecoder> decoder;
  Released<IWICBitmapFrameDecode> frame;
  Released<IWICFormatConverter> converter;
  auto failed = [&error](const char* what, HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    error = std::string("JPEG: the platform's decoder ") + what + " (" + code + ")";
    return std::nullopt;
  };
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return failed("is not available", hr);
  if (FAILED(hr = factory->CreateStream(&stream))) return failed("has no stream", hr);
  if (FAILED(hr = stream->InitializeFromMemory(const_cast<BYTE*>(file.data()), static_cast<DWORD>(file.size()))))
    return failed("has no stream", hr);
  if (FAILED(hr = factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)))
    return failed("refused the file", hr);
  if (FAILED(hr = decoder->GetFrame(0, &frame))) return failed("found no frame", hr);
  UINT w = 0, h = 0;
  if (FAILED(hr = frame->GetSize(&w, &h))) return failed("found no size", hr);
  if (w != layout.width || h != layout.height || !imageSizeAllowed(w, h))
    return error = "JPEG: the decoder's size disagrees with the frame header", std::nullopt;
  if (FAILED(hr = factory->CreateFormatConverter(&converter))) return failed("cannot convert", hr);
  if (FAILED(hr = converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom)))
    return failed("cannot convert", hr);
  auto out = Surface::create(static_cast<int32_t>(w), static_cast<int32_t>(h));
  if (!out) return error = "out of memory", std::nullopt;
  // BGRA in memory is 0xAARRGGBB read as a 32-bit word: the surface's own layout.
  const UINT stride = w * 4;
  for (UINT y = 0; y < h; ++y) {
    const WICRect row{0, static_cast<INT>(y), static_cast<INT>(w), 1};
    uint32_t* p = out->row(static_cast<int32_t>(y));
    if (FAILED(hr = converter->CopyPixels(&row, stride, stride, reinterpret_cast<BYTE*>(p))))
      return failed("failed while decoding", hr);
    for (UINT x = 0; x < w; ++x) p[x] |= 0xFF000000u;  // JPEG pictures are opaque
  }
  return Image{out, false};
}

}  // namespace zxp::gfx
