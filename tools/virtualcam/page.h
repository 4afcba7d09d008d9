// The camera's property page: the brightness control of IAMVideoProcAmp.
#pragma once

#include <windows.h>
#include <ocidl.h>

namespace vcam {

// {6F1C2A40-8D3B-4E57-9A61-0B7C5E3D2AF0}
inline constexpr CLSID kBrightnessPageClsid = {0x6F1C2A40, 0x8D3B, 0x4E57, {0x9A, 0x61, 0x0B, 0x7C, 0x5E, 0x3D, 0x2A, 0xF0}};

// A new page with one reference.
IPropertyPage* CreateBrightnessPage();

// Window class of the page (registered on first use, unregistered when the DLL unloads).
void UnregisterPageClass(HINSTANCE module);

}  // namespace vcam
