#pragma once
#include <initializer_list>
// Starts the real Orvane.exe next to the test program and finds its windows.
#include <windows.h>

#include <string>
#include <vector>

namespace orvane::test {

std::wstring ProgramPath(const wchar_t* exeName);

class OrvaneProcess {
  public:
    OrvaneProcess() = default;
    OrvaneProcess(const OrvaneProcess&) = delete;
    OrvaneProcess& operator=(const OrvaneProcess&) = delete;
    ~OrvaneProcess();

    bool Start();
    // The main window: the visible top-level window of the process that holds field 1004.
    HWND WaitForMainWindow(DWORD timeoutMs = 20000);
    // A visible top-level window of the process with this caption, other than the main window.
    HWND WaitForBox(const wchar_t* caption, DWORD timeoutMs);
    HWND FindBox(const wchar_t* caption) const;
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool Running() const;
    DWORD Id() const { return info_.dwProcessId; }
    std::vector<HWND> TopLevelWindows() const;

  private:
    PROCESS_INFORMATION info_{};
};

std::wstring WindowText(HWND hwnd);
// The live picture's video window inside the main window, null while there is none.
HWND LivePictureWindow(HWND main);
// The live picture's window once the camera runs (and frames flow); null when none came within
// the time. A fixed wait is not enough on a loaded machine.
HWND WaitForLivePicture(HWND main, DWORD timeoutMs = 15000);
// Removes the settings key and the documents folder's Orvane tree.
void ResetOrvaneState();
std::wstring DocumentsFolder();
void SleepMs(DWORD ms);

}  // namespace orvane::test

namespace orvane::test {

// Copies the window's area of the screen into a 24-bit BMP file; false when that fails.
bool SaveWindowImage(HWND hwnd, const std::wstring& path);
bool SaveScreenArea(const RECT& area, const std::wstring& path);
// The window's picture as name in the folder ORVANE_SCREENSHOT_DIR names, when the run names one.
void SaveScreenshotIfAsked(HWND hwnd, const wchar_t* name);

}  // namespace orvane::test

namespace orvane::test {

// True when a camera of the accepted vendor is registered in this prefix.
bool VirtualCameraRegistered();

// Removes the virtual camera's registration for the life of the object, so a test sees a
// machine without a camera; registers it again afterwards.
class NoCamera {
  public:
    NoCamera();
    ~NoCamera();
    NoCamera(const NoCamera&) = delete;
    NoCamera& operator=(const NoCamera&) = delete;

  private:
    bool removed_ = false;
};

}  // namespace orvane::test

namespace orvane::test {

// Registers the virtual camera with its present configuration; false when that fails.
bool RegisterVirtualCameraAgain();

// The camera's configuration lives under the program's key, so ResetOrvaneState removes it:
// configure after resetting.
// Configures the virtual camera (product ids in hex, bit masks of slots that fail to open or to
// render) and registers it so, for the life of the object; then the default camera again.
class VirtualCameras {
  public:
    explicit VirtualCameras(std::initializer_list<const wchar_t*> pids, DWORD failOpen = 0,
                            DWORD failRender = 0);
    ~VirtualCameras();
    VirtualCameras(const VirtualCameras&) = delete;
    VirtualCameras& operator=(const VirtualCameras&) = delete;
    bool Registered() const { return registered_; }
    // Unplugs the cameras of the slots in mask (0 plugs them in again; then register again).
    static void SetLost(DWORD mask);

  private:
    bool registered_ = false;
};

}  // namespace orvane::test
