#include "platform/image_codecs.h"

#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace orvane {

bool ImageEncoderFor(const wchar_t* pattern, CLSID* clsid) {
    UINT count = 0, bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
    std::vector<uint8_t> storage(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(storage.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        const wchar_t* list = codecs[i].FilenameExtension;
        if (list && std::wcsstr(list, pattern)) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool ImageEncoderForPath(const wchar_t* path, CLSID* clsid) {
    const wchar_t* dot = std::wcsrchr(path, L'.');
    const wchar_t* slash = std::wcsrchr(path, L'\\');
    if (!dot || (slash && dot < slash) || dot[1] == 0) return false;
    std::wstring pattern = L"*";
    for (const wchar_t* c = dot; *c; ++c) pattern += static_cast<wchar_t>(std::towupper(*c));
    return ImageEncoderFor(pattern.c_str(), clsid);
}

}  // namespace orvane
