#pragma once
// A window and a capture graph hosted in the test program, for tests against the virtual camera.
#include <gtest/gtest.h>

#include "capture/capture_graph.h"
#include "orvane_process.h"

namespace orvane::test {

inline void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
}

class CaptureGraphTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(VirtualCameraRegistered()) << "the virtual camera is not registered";
        comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        owner_ = CreateWindowExW(0, L"Static", L"owner", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        graph_ = new CaptureGraph();
        const RECT preview{0, 0, 320, 240};
        graph_->SetParameters(owner_, preview, 0x050003C0, L"C:\\windows\\temp\\tmp.avi");
    }
    void TearDown() override {
        delete graph_;
        if (owner_) DestroyWindow(owner_);
        if (comReady_) CoUninitialize();
    }
    bool comReady_ = false;
    HWND owner_ = nullptr;
    CaptureGraph* graph_ = nullptr;
    DeviceNameTable names_{};
};

}  // namespace orvane::test
