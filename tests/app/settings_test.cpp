#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/rules/settings.h"
#include "fake_settings.h"

namespace orvane {
namespace {

using test::FakeFolders;
using test::FakeKey;

TEST(SettingsLoad, EmptyKeyTakesDefaultsAndCreatesHiddenSideFolders) {
    FakeKey key;
    FakeFolders folders;
    Settings s;
    ASSERT_TRUE(LoadSettings(&key, folders, s).ok);
    EXPECT_EQ(PathText(s.PictureFolderPath), u"C:\\users\\me\\Documents\\Orvane\\pictures");
    EXPECT_EQ(PathText(s.VideoFolderPath), u"C:\\users\\me\\Documents\\Orvane\\videos");
    EXPECT_EQ(s.VideoThumbFolderPath, u"C:\\users\\me\\Documents\\Orvane\\videos\\thumb");
    EXPECT_TRUE(folders.hidden.count(u"C:\\users\\me\\Documents\\Orvane\\pictures\\Info"));
    EXPECT_TRUE(folders.hidden.count(u"C:\\users\\me\\Documents\\Orvane\\videos\\thumb"));
    EXPECT_EQ(s.ResolutionSavePhoto, 0x050003C0u);
    EXPECT_EQ(s.bShowCross, 0u);
    EXPECT_EQ(s.Language, 503u);
    EXPECT_EQ(s.ResolutionDisplay, 0x050003C0u);
    EXPECT_EQ(s.bDisplayRealTimeMagnification, 1u);
    EXPECT_EQ(s.PhotoSavedInfoFont, DefaultStampFont());
}

TEST(SettingsLoad, UnopenableKeyHasItsOwnDefaults) {
    FakeFolders folders;
    Settings s;
    ASSERT_TRUE(LoadSettings(nullptr, folders, s).ok);
    EXPECT_EQ(s.ResolutionSavePhoto, 0x05000400u);
    EXPECT_EQ(s.bShowCross, 1u);
    EXPECT_EQ(s.Language, 503u);
    EXPECT_TRUE(folders.hidden.count(u"C:\\users\\me\\Documents\\Orvane\\videos\\thumb"));
}

TEST(SettingsLoad, ExistingVisibleSideFolderIsHiddenAgain) {
    FakeKey key;
    FakeFolders folders;
    folders.dirs = {u"C:\\p", u"C:\\p\\Info", u"C:\\v", u"C:\\v\\thumb"};
    key.PutString(u"PictureFolderPath", u"C:\\p", 260);
    key.PutString(u"VideoFolderPath", u"C:\\v", 260);
    Settings s;
    ASSERT_TRUE(LoadSettings(&key, folders, s).ok);
    EXPECT_TRUE(folders.created.empty());
    EXPECT_TRUE(folders.hidden.count(u"C:\\p\\Info"));
    EXPECT_TRUE(folders.hidden.count(u"C:\\v\\thumb"));
}

TEST(SettingsLoad, RelativeOrOverlongFoldersGiveWayToTheDefaults) {
    const std::u16string picturesDefault = u"C:\\users\\me\\Documents\\Orvane\\pictures";
    const std::u16string videosDefault = u"C:\\users\\me\\Documents\\Orvane\\videos";
    for (const std::u16string& stored :
         {std::u16string(u"."), std::u16string(u"C:Foo"), std::u16string(u"\\pics"),
          std::u16string(u"pictures"), u"C:\\" + std::u16string(240, u'x')}) {
        FakeKey key;
        FakeFolders folders;
        key.PutString(u"PictureFolderPath", stored, 260);
        key.PutString(u"VideoFolderPath", stored, 260);
        Settings s;
        ASSERT_TRUE(LoadSettings(&key, folders, s).ok);
        EXPECT_EQ(PathText(s.PictureFolderPath), picturesDefault);
        EXPECT_EQ(PathText(s.VideoFolderPath), videosDefault);
        EXPECT_EQ(std::count(folders.created.begin(), folders.created.end(), stored), 0)
            << "the stored folder is not made";
    }
    // A folder written with forward slashes and a trailing one is taken, as backslashes.
    FakeKey key;
    FakeFolders folders;
    key.PutString(u"PictureFolderPath", u"D:/pics/", 260);
    Settings s;
    ASSERT_TRUE(LoadSettings(&key, folders, s).ok);
    EXPECT_EQ(PathText(s.PictureFolderPath), u"D:\\pics");
}

TEST(SettingsLoad, RangeChecksAndMasks) {
    struct Case {
        uint32_t stored;
        uint32_t language;
    };
    for (Case c : {Case{500, 503}, Case{514, 503}, Case{501, 501}, Case{513, 513}, Case{0, 503}}) {
        FakeKey key;
        FakeFolders folders;
        key.PutDword(u"Language", c.stored);
        Settings s;
        LoadSettings(&key, folders, s);
        EXPECT_EQ(s.Language, c.language) << c.stored;
    }
    for (auto [stored, loaded] : {std::pair{0x028001E0u, 0x028001E0u},
                                  {0x028001E1u, 0x050003C0u},
                                  {0x12345678u, 0x050003C0u},
                                  {0x43200258u, 0x43200258u}}) {
        FakeKey key;
        FakeFolders folders;
        key.PutDword(u"ResolutionDisplay", stored);
        Settings s;
        LoadSettings(&key, folders, s);
        EXPECT_EQ(s.ResolutionDisplay, loaded) << std::hex << stored;
    }
    FakeKey key;
    FakeFolders folders;
    key.PutDword(u"PhotoSavedInfo", 0x13C);
    Settings s;
    LoadSettings(&key, folders, s);
    EXPECT_EQ(s.PhotoSavedInfo, 0x3Cu);
}

TEST(SettingsLoad, WrongTypesSizesAndUnterminatedStringsKeepDefaults) {
    FakeKey key;
    FakeFolders folders;
    key.values[u"Language"] = {ValueType::Binary, std::string("\xF8\x01\0\0", 4)};
    key.values[u"bShowCross"] = {ValueType::Dword, std::string("\1\0", 2)};
    key.values[u"ResolutionSavePhoto"] = {ValueType::Dword, std::string(8, '\1')};
    key.values[u"InputMaginification"] = {ValueType::Binary, std::string(4, '\1')};
    key.values[u"PhotoSavedInfoFont"] = {ValueType::Binary, std::string(91, '\0')};
    // 260 units of 'A' with no terminator, and a longer-than-buffer string.
    key.values[u"PictureFolderPath"] = {ValueType::String, std::string(520, 'A')};
    key.values[u"VideoFolderPath"] = {ValueType::String, std::string(600, 'B')};
    key.values[u"PictureHistoryFolderPath"] = {ValueType::Dword, std::string(4, 'x')};
    Settings s;
    ASSERT_TRUE(LoadSettings(&key, folders, s).ok);
    EXPECT_EQ(s.Language, 503u);
    EXPECT_EQ(s.bShowCross, 0u);
    EXPECT_EQ(s.ResolutionSavePhoto, 0x050003C0u);
    EXPECT_EQ(s.InputMaginification, 0.0);
    EXPECT_EQ(s.PhotoSavedInfoFont, DefaultStampFont());
    EXPECT_EQ(PathText(s.PictureFolderPath), u"C:\\users\\me\\Documents\\Orvane\\pictures");
    EXPECT_EQ(PathText(s.VideoFolderPath), u"C:\\users\\me\\Documents\\Orvane\\videos");
    EXPECT_EQ(s.PictureHistoryFolderPath[0], u'\0');
}

TEST(SettingsLoad, FontWithUnterminatedFaceKeepsDefault) {
    LogFontRecord font = DefaultStampFont();
    auto bytes = font.ToBytes();
    for (size_t i = LogFontRecord::kFaceNameOffset; i < bytes.size(); ++i) bytes[i] = 'Z';
    LogFontRecord read = DefaultStampFont();
    EXPECT_FALSE(read.FromBytes(bytes.data(), bytes.size()));
    EXPECT_EQ(read, DefaultStampFont());
}

TEST(SettingsLoad, FolderThatCannotBeCreatedStopsTheLoad) {
    FakeKey key;
    FakeFolders folders;
    key.PutString(u"PictureFolderPath", u"Q:\\gone\\pictures", 260);
    key.PutDword(u"Language", 505);
    Settings s;
    const LoadResult r = LoadSettings(&key, folders, s);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedMessage, 52);
    EXPECT_EQ(r.failedPath, u"Q:\\gone\\pictures");
    EXPECT_EQ(s.Language, 503u) << "values after the failure are not loaded";

    FakeKey videoKey;
    videoKey.PutString(u"VideoFolderPath", u"Q:\\v", 260);
    const LoadResult v = LoadSettings(&videoKey, folders, s);
    EXPECT_EQ(v.failedMessage, 53);
    EXPECT_EQ(v.failedPath, u"Q:\\v");
}

TEST(SettingsSave, TwentyValuesInOrderWithFixedSizes) {
    FakeKey key;
    FakeFolders folders;
    key.PutDword(u"PhotoSavedInfo", 0x24);
    Settings s;
    LoadSettings(&key, folders, s);
    s.InputMaginification = 42.5;
    FakeKey out;
    SaveSettings(s, out);
    const std::vector<std::u16string> expected = {
        u"CurrentUI",          u"CurrentReselution",
        u"PictureFolderPath",  u"PictureHistoryFolderPath",
        u"VideoFolderPath",    u"VideoHistoryFolderPath",
        u"CaptureAudio",       u"ResolutionSavePhoto",
        u"PhotoSavedInfo",     u"PhotoSavedInfoFontColor",
        u"PhotoSavedInfoFont", u"InputMaginification",
        u"Language",           u"bSetMagnification",
        u"bDisplayDateTime",   u"bDisplayRealTimeMagnification",
        u"bShowCross",         u"bSoundEffectEnable",
        u"ResolutionDisplay",  u"VideoCompression"};
    EXPECT_EQ(out.order, expected);
    EXPECT_TRUE(out.flushed);
    EXPECT_EQ(out.values[u"PictureFolderPath"].bytes.size(), 520u);
    EXPECT_EQ(out.values[u"PictureHistoryFolderPath"].bytes.size(), 5200u);
    EXPECT_EQ(out.values[u"PhotoSavedInfoFont"].bytes.size(), 92u);
    EXPECT_EQ(out.values[u"InputMaginification"].bytes.size(), 8u);
    EXPECT_EQ(out.Dword(u"PhotoSavedInfo"), 0x24u);

    // What was saved loads back to the same values.
    Settings again;
    LoadSettings(&out, folders, again);
    EXPECT_EQ(again.InputMaginification, 42.5);
    EXPECT_EQ(again.PictureFolderPath, s.PictureFolderPath);
    EXPECT_EQ(again.PhotoSavedInfoFont, s.PhotoSavedInfoFont);
}

TEST(SettingsRecords, FontBytesHaveTheFixedLayout) {
    const auto bytes = DefaultStampFont().ToBytes();
    EXPECT_EQ(bytes[0], 0xEB);  // -21
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(bytes[16], 0xBC);  // 700
    EXPECT_EQ(bytes[17], 0x02);
    EXPECT_EQ(bytes[24], 3);
    EXPECT_EQ(bytes[25], 2);
    EXPECT_EQ(bytes[26], 1);
    EXPECT_EQ(bytes[27], 0x12);
    EXPECT_EQ(bytes[28], 'T');
    EXPECT_EQ(bytes[29], 0);
    EXPECT_EQ(bytes[28 + 2 * 15], 0);  // terminator after "Times New Roman"
}

TEST(SettingsRecords, PathsThatDoNotFit) {
    EXPECT_EQ(AppendPath(u"C:\\a", u"b"), u"C:\\a\\b");
    EXPECT_EQ(AppendPath(u"C:\\a\\", u"b"), u"C:\\a\\b");
    EXPECT_TRUE(AppendPath(std::u16string(255, u'x'), u"Orvane\\pictures").empty());
    PathBuffer buffer{};
    EXPECT_TRUE(SetPathText(buffer, std::u16string(259, u'y')));
    EXPECT_FALSE(SetPathText(buffer, std::u16string(260, u'z')));
    EXPECT_EQ(PathText(buffer).size(), 259u);
}

}  // namespace
}  // namespace orvane
