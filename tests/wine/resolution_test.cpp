// The resolution choice of the real program with the virtual camera: every size the Setting
// popup's submenu offers for the camera rebuilds the live picture at that size (a photo then has
// the size the choice promises), a choice is refused while recording, and the Capture popup
// shows the recording.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/negotiation.h"
#include "capture/size_codes.h"
#include "capture_files.h"
#include "orvane_process.h"
#include "registry_reader.h"

namespace orvane::test {
namespace {

constexpr UINT kPhoto = 32798;
constexpr UINT kRecord = 32799;

std::vector<std::wstring> Pictures() {
    return CaptureFiles(DocumentsFolder() + L"\\Orvane\\pictures", L"TX*.*");
}

struct Camera {
    const wchar_t* pid;
    uint32_t code;
    uint32_t stillSize;  // as the program reads the camera's still pin
};

class Resolution : public ::testing::TestWithParam<Camera> {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        cameras_ =
            std::make_unique<VirtualCameras>(std::initializer_list<const wchar_t*>{GetParam().pid});
    }
    void TearDown() override {
        if (main_) {
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            program_.WaitForExit(15000);
        }
        cameras_.reset();
        ResetOrvaneState();
    }
    // F4, then the size of the one new picture; 0 when none came.
    uint32_t PhotoSize() {
        const size_t before = Pictures().size();
        PostMessageW(main_, WM_COMMAND, kPhoto, 0);
        for (int i = 0; i < 100 && Pictures().size() == before; ++i) SleepMs(100);
        const std::vector<std::wstring> now = Pictures();
        if (now.size() != before + 1) return 0;
        SleepMs(300);
        int width = 0, height = 0;
        if (!PictureSize(now.back(), &width, &height)) return 0;
        return static_cast<uint32_t>(width) << 16 |
               static_cast<uint32_t>(height < 0 ? -height : height);
    }
    std::unique_ptr<VirtualCameras> cameras_;
    OrvaneProcess program_;
    HWND main_ = nullptr;
};

TEST_P(Resolution, EverySizeOfTheSubmenuRebuildsTheLivePictureAndNoneWhileRecording) {
    ASSERT_TRUE(program_.Start());
    main_ = program_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    ASSERT_NE(WaitForLivePicture(main_), nullptr) << "the camera opens";
    const ResolutionMenu menu =
        BuildResolutionMenu(1, false, GetParam().code, GetParam().stillSize, 0);
    std::vector<int> offered;
    for (const MenuEntry& e : menu.entries) {
        if (e.kind == MenuEntry::Kind::Item) offered.push_back(e.commandId);
    }
    ASSERT_GE(offered.size(), 2u);
    for (int id : offered) {
        PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(id), 0);
        SleepMs(1500);
        const uint32_t code = ResolutionByCommand(id)->sizeCode;
        EXPECT_EQ(PhotoSize(), PhotoSizeOf(code)) << "after choosing " << id;
    }
    EXPECT_EQ(program_.FindBox(L"Stop"), nullptr) << "every offered size opened";

    PostMessageW(main_, WM_COMMAND, kRecord, 0);
    SleepMs(1500);
    PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(offered.front()), 0);
    HWND refusal = program_.WaitForBox(L"Infomation", 5000);
    ASSERT_NE(refusal, nullptr) << "a resolution is refused while recording";
    PostMessageW(refusal, WM_COMMAND, IDOK, 0);
    SleepMs(300);
    PostMessageW(main_, WM_COMMAND, kRecord, 0);
    SleepMs(2500);
    PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(program_.WaitForExit(15000));
    main_ = nullptr;
    const auto key = ReadOrvaneKey();
    ASSERT_EQ(key.count(L"ResolutionDisplay"), 1u);
    EXPECT_EQ(WithoutOption(key.at(L"ResolutionDisplay").Dword()),
              WithoutOption(ResolutionByCommand(offered.back())->sizeCode))
        << "the last size chosen before recording stays";
}

INSTANTIATE_TEST_SUITE_P(Cameras, Resolution,
                         ::testing::Values(Camera{L"6320", 0x0C456320u, 0x0DA00A38u},
                                           Camera{L"6353", 0x0C456563u, 0x0A000780u}));

}  // namespace
}  // namespace orvane::test
