// A stand-in image plug-in for the host's tests. Its format: "TRIV", width and height
// (one byte each), then blue, green, red of the one colour, then a flag byte: 'F' makes
// the plain build fail to decode. The STANDIN_INVERT build inverts the colour and never
// fails; GetPreview of both gives a black picture, except that flag 'P' makes it fail after
// handing back 8 MB blocks (which the host must free).
#include <windows.h>

#include <cstring>
#include <initializer_list>

#ifndef STANDIN_INVERT
#define STANDIN_INVERT 0
#endif

namespace {

bool ReadHeader(const char* fileName, unsigned char (&h)[10]) {
  HANDLE f =
      CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD read = 0;
  const BOOL ok = ReadFile(f, h, sizeof h, &read, nullptr);
  CloseHandle(f);
  return ok && read == sizeof h && std::memcmp(h, "TRIV", 4) == 0;
}

int MakePicture(const char* fileName, HANDLE* info, HANDLE* bits, bool preview) {
  unsigned char h[10];
  if (!ReadHeader(fileName, h)) return 2;
  if (!STANDIN_INVERT && !preview && h[9] == 'F') return 2;
  const int w = h[4], ht = h[5], stride = (w * 3 + 3) & ~3;
  HLOCAL hi = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(BITMAPINFOHEADER));
  HLOCAL hb = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, stride * ht);
  auto* bi = static_cast<BITMAPINFOHEADER*>(LocalLock(hi));
  bi->biSize = sizeof *bi;
  bi->biWidth = w;
  bi->biHeight = ht;
  bi->biPlanes = 1;
  bi->biBitCount = 24;
  LocalUnlock(hi);
  auto* px = static_cast<unsigned char*>(LocalLock(hb));
  for (int y = 0; y < ht; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c)
        px[y * stride + x * 3 + c] =
            preview ? 0 : static_cast<unsigned char>(STANDIN_INVERT ? 255 - h[6 + c] : h[6 + c]);
  LocalUnlock(hb);
  *info = hi;
  *bits = hb;
  return 0;
}

}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI IsSupported(LPCSTR, DWORD_PTR dw) {
  return std::memcmp(reinterpret_cast<const char*>(dw), "TRIV", 4) == 0;
}

__declspec(dllexport) int WINAPI GetPicture(LPCSTR buf, LONG_PTR, unsigned int flag, HANDLE* info,
                                            HANDLE* bits, FARPROC, LONG_PTR) {
  if ((flag & 7) != 0) return 1;  // memory input is not supported
  return MakePicture(buf, info, bits, false);
}

__declspec(dllexport) int WINAPI GetPreview(LPCSTR buf, LONG_PTR, unsigned int flag, HANDLE* info,
                                            HANDLE* bits, FARPROC, LONG_PTR) {
  if ((flag & 7) != 0) return 1;
  unsigned char h[10];
  if (ReadHeader(buf, h) && h[9] == 'P') {
    for (HANDLE* h : {info, bits}) {  // written, so that the memory is really used
      *h = LocalAlloc(LMEM_MOVEABLE, 8 << 20);
      std::memset(LocalLock(*h), 0x5A, 8 << 20);
      LocalUnlock(*h);
    }
    return 2;
  }
  return MakePicture(buf, info, bits, true);
}
}
