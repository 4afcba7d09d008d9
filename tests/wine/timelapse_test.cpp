// Time-lapse series in the real program with the virtual camera, on a series clock that runs
// faster (ORVANE_TIMELAPSE_SPEED): the photos and clips, their spacing, stopping, the dialog's
// checks and the refusal while recording.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_files.h"
#include "clip_reader.h"
#include "orvane_process.h"

namespace orvane::test {
namespace {

constexpr UINT kRecordCommand = 32799;
constexpr UINT kTimeLapseCommand = 32800;
constexpr int kPhotoRadio = 1049;
constexpr int kVideoRadio = 1051;
constexpr int kPicker = 1052;
constexpr int kCaptured = 1053;
constexpr int kInterval = 1054;
constexpr int kTotal = 1055;
constexpr int kVideoTime = 1056;

std::vector<std::wstring> Pictures() {
    return CaptureFiles(DocumentsFolder() + L"\\Orvane\\pictures", L"TX*.*");
}

std::vector<std::wstring> Clips() {
    return CaptureFiles(DocumentsFolder() + L"\\Orvane\\videos", L"TX*.AVI");
}

std::wstring FieldText(HWND dialog, int id) {
    wchar_t text[64] = {};
    SendMessageW(GetDlgItem(dialog, id), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    return text;
}

void SetField(HWND dialog, int id, const wchar_t* text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// As a click on the control would (also for a disabled one).
void Click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

BOOL CALLBACK AppendChildText(HWND child, LPARAM all) {
    wchar_t text[256] = {};
    SendMessageW(child, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    *reinterpret_cast<std::wstring*>(all) += text;
    return TRUE;
}

std::wstring AllText(HWND box) {
    std::wstring all;
    EnumChildWindows(box, AppendChildText, reinterpret_cast<LPARAM>(&all));
    return all;
}

template <typename Condition>
bool WaitFor(Condition done, DWORD timeoutMs) {
    for (DWORD waited = 0; !done() && waited < timeoutMs; waited += 50) SleepMs(50);
    return done();
}

class TimeLapse : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        ASSERT_TRUE(VirtualCameraRegistered()) << "the virtual camera is not registered";
    }
    void TearDown() override {
        if (main_ && program_.Running()) {
            if (HWND dialog = Dialog()) PostMessageW(dialog, WM_CLOSE, 0, 0);
            SleepMs(300);
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            program_.WaitForExit(15000);
        }
        ResetOrvaneState();
    }
    // Starts the program with the series clock running speed times faster.
    void Launch(const wchar_t* speed) {
        SetEnvironmentVariableW(L"ORVANE_TIMELAPSE_SPEED", speed);
        const bool started = program_.Start();
        SetEnvironmentVariableW(L"ORVANE_TIMELAPSE_SPEED", nullptr);
        ASSERT_TRUE(started);
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        ASSERT_NE(WaitForLivePicture(main_), nullptr) << "the camera opens";
    }
    HWND Dialog() const {
        for (HWND w : program_.TopLevelWindows()) {
            if (IsWindowVisible(w) && GetDlgItem(w, kPicker)) return w;
        }
        return nullptr;
    }
    HWND OpenDialog() {
        PostMessageW(main_, WM_COMMAND, kTimeLapseCommand, 0);
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = Dialog()) != nullptr; }, 5000);
        return dialog;
    }
    OrvaneProcess program_;
    HWND main_ = nullptr;
};

// Interval 10 s at five times the speed: a photo every 2 s.
TEST_F(TimeLapse, ThreePhotosTenSecondsApartEachStoredWhileTheDialogIsOpenThenItCloses) {
    Launch(L"5");
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(FieldText(dialog, kCaptured), L"0");
    SetField(dialog, kInterval, L"10");
    SetField(dialog, kTotal, L"3");
    Click(dialog, IDOK);
    const DWORD start = GetTickCount();
    std::vector<DWORD> arrivals;
    size_t seen = 0;
    while (GetTickCount() - start < 15000 && IsWindow(dialog)) {
        const size_t now = Pictures().size();
        if (now > seen) {
            seen = now;
            arrivals.push_back(GetTickCount() - start);
            if (arrivals.size() == 1) {
                EXPECT_EQ(FieldText(dialog, kCaptured), L"1");
                wchar_t shots[MAX_PATH] = {};
                if (GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", shots, MAX_PATH)) {
                    SaveWindowImage(dialog, std::wstring(shots) + L"\\timelapse-dialog.bmp");
                }
            }
        }
        SleepMs(50);
    }
    EXPECT_FALSE(IsWindow(dialog)) << "the dialog closes after the last photo";
    ASSERT_EQ(arrivals.size(), 3u) << "each photo stored while the dialog was open";
    EXPECT_LT(arrivals[0], 1500u) << "the first photo at the start";
    for (size_t i = 1; i < arrivals.size(); ++i) {
        const DWORD gap = arrivals[i] - arrivals[i - 1];
        EXPECT_GT(gap, 1500u) << "photo " << i;
        EXPECT_LT(gap, 2700u) << "photo " << i;
    }
    SleepMs(1000);
    EXPECT_EQ(Pictures().size(), 3u);
}

// Interval 30 s, clips of 10 s, at three times the speed: the second clip starts 40 s (13.3 s)
// after the first.
TEST_F(TimeLapse, TwoClipsTheSecondFortySecondsAfterTheFirstThenTheDialogCloses) {
    Launch(L"3");
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    Click(dialog, kVideoRadio);
    SleepMs(300);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kVideoTime)));
    SetField(dialog, kInterval, L"30");
    SetField(dialog, kVideoTime, L"10");
    SetField(dialog, kTotal, L"2");
    Click(dialog, IDOK);
    const DWORD start = GetTickCount();
    std::vector<DWORD> starts;
    while (GetTickCount() - start < 30000 && IsWindow(dialog)) {
        if (Clips().size() > starts.size()) starts.push_back(GetTickCount() - start);
        SleepMs(50);
    }
    EXPECT_FALSE(IsWindow(dialog)) << "the dialog closes after the second clip";
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_GT(starts[1] - starts[0], 12000u);
    EXPECT_LT(starts[1] - starts[0], 15500u);
    SleepMs(3000);  // the last clip's closing steps
    const auto clips = Clips();
    ASSERT_EQ(clips.size(), 2u) << "no further clip";
    for (const auto& clip : clips) EXPECT_TRUE(ReadClip(clip).opened) << "a closed clip";
}

TEST_F(TimeLapse, EscapeInTheMiddleOfAClipStopsKeepingTheClipUncountedAndTheDialogOpen) {
    Launch(L"3");
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    Click(dialog, kVideoRadio);
    SetField(dialog, kInterval, L"3");
    SetField(dialog, kVideoTime, L"30");
    SetField(dialog, kTotal, L"5");
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitFor([] { return Clips().size() == 1; }, 5000)) << "the first clip starts";
    SleepMs(4500);  // frames are written from 2.5 s on
    PostMessageW(GetDlgItem(dialog, kTotal), WM_KEYDOWN, VK_ESCAPE, 0);  // Escape is Stop
    SleepMs(6000);  // longer than the clip's closing and the interval
    EXPECT_TRUE(IsWindow(dialog)) << "Stop keeps the dialog open";
    EXPECT_EQ(FieldText(dialog, kCaptured), L"0");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    const auto clips = Clips();
    ASSERT_EQ(clips.size(), 1u) << "no clip after the stop";
    const ClipInfo clip = ReadClip(clips[0]);
    EXPECT_TRUE(clip.opened) << "the clip is closed and kept";
    EXPECT_GT(clip.frames, 0);
}

TEST_F(TimeLapse, ChangingTheModeStopsTheSeriesAndResetsTheCount) {
    Launch(L"10");
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    SetField(dialog, kInterval, L"10");
    SetField(dialog, kTotal, L"10");
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitFor([] { return Pictures().size() >= 2; }, 5000));
    Click(dialog, kVideoRadio);
    SleepMs(300);
    const size_t taken = Pictures().size();
    EXPECT_EQ(FieldText(dialog, kCaptured), L"0");
    SleepMs(3000);  // three intervals
    EXPECT_EQ(Pictures().size(), taken) << "no photo after the change";
    EXPECT_TRUE(Clips().empty()) << "and no clip";
    Click(dialog, kPhotoRadio);
}

TEST_F(TimeLapse, TextIsRefusedATotalOfZeroClosesAtOnceAndTheValuesLastTheRun) {
    Launch(L"1");
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    SetField(dialog, kInterval, L"ten");
    Click(dialog, IDOK);
    HWND prompt = program_.WaitForBox(L"Orvane", 3000);
    ASSERT_NE(prompt, nullptr);
    EXPECT_NE(AllText(prompt).find(L"Enter a positive integer."), std::wstring::npos);
    PostMessageW(prompt, WM_COMMAND, IDOK, 0);
    SleepMs(500);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK))) << "nothing started";

    SetField(dialog, kInterval, L"7");
    SetField(dialog, kTotal, L"0");
    PostMessageW(GetDlgItem(dialog, kTotal), WM_KEYDOWN, VK_RETURN, 0);  // Enter is Start
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 2500)) << "closed by the first tick";
    EXPECT_TRUE(Pictures().empty());

    dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(FieldText(dialog, kInterval), L"7");
    EXPECT_EQ(FieldText(dialog, kTotal), L"0");
}

TEST_F(TimeLapse, F5WhileRecordingIsRefused) {
    Launch(L"1");
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    SleepMs(1500);
    PostMessageW(main_, WM_KEYDOWN, VK_F5, 0);
    HWND box = program_.WaitForBox(L"Infomation", 3000);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(AllText(box).find(L"Please stop the recording, and retry."), std::wstring::npos);
    EXPECT_EQ(Dialog(), nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    SleepMs(500);
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    SleepMs(3000);
}

}  // namespace
}  // namespace orvane::test
