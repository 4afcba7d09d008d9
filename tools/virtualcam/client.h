#pragma once
// The virtual camera from a test's or a measurement's side: its DLL beside the running program,
// its registration, and its configuration key (documented in docs/notes/virtualcam.md).
#include <windows.h>

#include <string>
#include <vector>

namespace vcam {

// OrvaneVirtualCam.dll in the folder of the running program.
std::wstring DllBesideProgram();
// Calls one of the DLL's exports that take nothing (DllRegisterServer, DllUnregisterServer).
HRESULT CallDllEntry(const char* entry);

// Writes the cameras (product ids in hex) and the bit masks of slots that fail to open, fail to
// render or are unplugged. Takes effect for the device list at the next registration.
bool WriteConfig(const std::vector<std::wstring>& pids, DWORD failOpen = 0, DWORD failRender = 0,
                 DWORD lost = 0);
// Unplugs the cameras of the slots in mask at once (0 plugs them in; register again then).
bool WriteLost(DWORD mask);
// Makes every still show the scene at this time instead of the stream time, so that a test can
// render the same still itself.
bool WriteStillSceneTime(DWORD milliseconds);
// Makes the capture pin show the focus scene swept through its depth every `milliseconds`
// (read when the camera starts streaming).
bool WriteFocusSweep(DWORD milliseconds);
// Removes the configuration: the default camera at the next registration.
void DeleteConfig();

}  // namespace vcam
