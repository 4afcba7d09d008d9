#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "setup/logic/install_steps.h"

namespace orvane::setup {
namespace {

std::string Narrow(const std::u16string& s) {
    return std::string(s.begin(), s.end());
}

// Records every platform call as one line; progress values are kept apart.
class FakePlatform : public SetupPlatform {
  public:
    std::vector<std::string> calls;
    std::vector<int> progress;
    std::set<std::string> folders{"C:\\Program Files", "C:\\Program Files\\Orvane"};
    std::string failPayloadFile;  // this payload cannot be written
    bool entryReadable = true;
    uint32_t entryType = kRegSz;
    std::u16string uninstallString = u"D:\\Old\\OrvaneUninstall.exe";

    void Report(int v) override { progress.push_back(v); }
    void Beep(uint32_t hz, uint32_t ms) override {
        calls.push_back("beep " + std::to_string(hz) + " " + std::to_string(ms));
    }
    bool IsFolder(const std::u16string& p) override { return folders.count(Narrow(p)) != 0; }
    void CreateFolder(const std::u16string& p) override { calls.push_back("mkdir " + Narrow(p)); }
    void RemoveFolder(const std::u16string& p) override { calls.push_back("rmdir " + Narrow(p)); }
    void RemoveFile(const std::u16string& p) override { calls.push_back("del " + Narrow(p)); }
    bool WritePayload(const Payload& payload, const std::u16string& p) override {
        if (Narrow(payload.file) == failPayloadFile) return false;
        calls.push_back("write " + std::to_string(payload.number) + " " + Narrow(p));
        return true;
    }
    void UpdateShortcuts(const std::u16string& p, bool create) override {
        calls.push_back((create ? "links " : "unlink ") + Narrow(p));
    }
    bool SetSettingsString(const char16_t* name, const std::u16string& v) override {
        calls.push_back("set " + Narrow(name) + "=" + Narrow(v));
        return true;
    }
    bool SetSettingsDword(const char16_t* name, uint32_t v) override {
        calls.push_back("set " + Narrow(name) + "=" + std::to_string(v));
        return true;
    }
    void DeleteSettingsKey() override { calls.push_back("delete settings"); }
    bool WriteUninstallEntry(const std::array<NamedString, 4>& values) override {
        std::string line = "entry";
        for (const auto& v : values) line += " " + Narrow(v.name) + "=" + Narrow(v.value);
        calls.push_back(line);
        return true;
    }
    bool ReadUninstallString(uint32_t& type, std::string& bytes) override {
        if (!entryReadable) return false;
        type = entryType;
        bytes.assign(reinterpret_cast<const char*>(uninstallString.c_str()),
                     (uninstallString.size() + 1) * 2);
        return true;
    }
    void DeleteUninstallEntry() override { calls.push_back("delete entry"); }
};

const std::vector<std::string> kManuals = {
    "Manual_English.pdf", "Manual_French.pdf",    "Manual_German.pdf",
    "Manual_Russian.pdf", "Manual_Portugese.pdf", "Manual_Spanish.pdf",
    "Manual_Italian.pdf", "Manual_Dutch.pdf",     "Manual_Vietnamese.pdf"};

std::vector<std::string> ExpectedInstall(const std::string& f) {
    std::vector<std::string> calls = {"mkdir " + f, "write 142 " + f + "\\Orvane.exe",
                                      "links " + f + "\\Orvane.exe"};
    const int numbers[9] = {156, 163, 164, 167, 166, 168, 165, 162, 169};
    for (int i = 0; i < 9; ++i) {
        calls.push_back("write " + std::to_string(numbers[i]) + " " + f + "\\" + kManuals[i]);
    }
    calls.push_back("write 145 " + f + "\\OrvaneUninstall.exe");
    return calls;
}

const std::vector<int> kInstallProgress = {1,  20, 30, 40, 50, 60, 60, 60,
                                           60, 60, 60, 60, 60, 80, 100};
const std::vector<int> kRemovalProgress = {20, 40, 50, 60, 60, 60, 60, 60, 60, 60, 70, 80, 100};

std::vector<std::string> ExpectedRemoval(const std::string& f) {
    std::vector<std::string> calls = {"del " + f + "\\Orvane.exe", "unlink " + f + "\\Orvane.exe"};
    for (const auto& m : kManuals) calls.push_back("del " + f + "\\" + m);
    calls.push_back("del " + f + "\\OrvaneUninstall.exe");
    calls.push_back("rmdir " + f);
    calls.push_back("delete entry");
    calls.push_back("delete settings");
    calls.push_back("beep 400 100");
    return calls;
}

TEST(InstallSequence, WritesEveryPayloadThenTheEntryAndTheLanguage) {
    FakePlatform p;
    SequenceState s{u"C:\\Program Files\\Orvane", false};
    InstallSequence(p, s);
    auto expected = ExpectedInstall("C:\\Program Files\\Orvane");
    const std::string u = "C:\\Program Files\\Orvane\\OrvaneUninstall.exe";
    expected.push_back("set InstallPath=C:\\Program Files\\Orvane");
    expected.push_back("entry DisplayName=Orvane UninstallString=" + u + " DisplayIcon=" + u +
                       " DisplayVersion=1.2.1.2");
    expected.push_back("set Language=503");
    expected.push_back("beep 500 100");
    EXPECT_EQ(p.calls, expected);
    EXPECT_EQ(p.progress, kInstallProgress);
    EXPECT_EQ(s.installPath, u"C:\\Program Files\\Orvane\\");
}

TEST(InstallSequence, StopsAtTheFirstPayloadThatCannotBeWritten) {
    FakePlatform p;
    p.failPayloadFile = "Orvane.exe";  // e.g. the program runs from the target
    SequenceState s{u"E:\\Target\\", false};
    InstallSequence(p, s);
    EXPECT_EQ(p.calls,
              (std::vector<std::string>{"mkdir E:\\Target\\", "set Language=503", "beep 500 100"}));
    EXPECT_EQ(p.progress, (std::vector<int>{1, 100}));

    FakePlatform q;
    q.failPayloadFile = "Manual_German.pdf";
    SequenceState t{u"E:\\Target", false};
    InstallSequence(q, t);
    auto expected = ExpectedInstall("E:\\Target");
    expected.resize(5);  // up to the French manual; no entry, no InstallPath
    expected.push_back("set Language=503");
    expected.push_back("beep 500 100");
    EXPECT_EQ(q.calls, expected);
    EXPECT_EQ(q.progress, (std::vector<int>{1, 20, 30, 40, 50, 60, 100}));
}

TEST(InstallSequence, RecordsAnEmptyInstallPathWhenTheFolderIsMissing) {
    FakePlatform p;
    p.folders.clear();
    SequenceState s{u"Q:\\Gone", false};
    InstallSequence(p, s);
    EXPECT_EQ(p.calls[p.calls.size() - 4], "set InstallPath=");
}

TEST(InstallSequence, ReinstallRemovesTheRegisteredFolderFirstAndKeepsTheChosenOne) {
    FakePlatform p;
    SequenceState s{u"C:\\New", true};
    InstallSequence(p, s);
    auto expected = ExpectedRemoval("D:\\Old");
    for (const auto& c : ExpectedInstall("C:\\New")) expected.push_back(c);
    ASSERT_GT(p.calls.size(), expected.size());
    p.calls.resize(expected.size());
    EXPECT_EQ(p.calls, expected);
    std::vector<int> progress = kRemovalProgress;
    progress.insert(progress.end(), kInstallProgress.begin(), kInstallProgress.end());
    EXPECT_EQ(p.progress, progress);
    EXPECT_EQ(s.installPath, u"C:\\New\\");
}

TEST(InstallSequence, FilePathsBeyondTheBufferEndTheFileSteps) {
    FakePlatform p;
    // 259 units hold "\Orvane.exe" but not "\Manual_English.pdf".
    const std::u16string folder = u"C:\\" + std::u16string(259 - 3 - 11, u'a');
    SequenceState s{folder, false};
    InstallSequence(p, s);
    ASSERT_EQ(p.calls.size(), 5u);
    EXPECT_EQ(p.calls[1].substr(0, 9), "write 142");
    EXPECT_EQ(p.calls[3], "set Language=503");
}

TEST(RemovalSequence, DeletesTheRecordedInstallationInOrder) {
    FakePlatform p;
    SequenceState s{u"ignored", false};
    RemovalSequence(p, s);
    EXPECT_EQ(p.calls, ExpectedRemoval("D:\\Old"));
    EXPECT_EQ(p.progress, kRemovalProgress);
    EXPECT_EQ(s.installPath, u"D:\\Old\\");
}

TEST(RemovalSequence, WithoutAReadableFolderTouchesOnlyTheEntryAndTheSettings) {
    const std::vector<std::string> onlyKeys = {"delete entry", "delete settings", "beep 400 100"};
    for (int variant = 0; variant < 4; ++variant) {
        FakePlatform p;
        if (variant == 0) p.entryReadable = false;
        if (variant == 1) p.entryType = 2;  // REG_EXPAND_SZ
        if (variant == 2) p.uninstallString = u"OrvaneUninstall.exe";
        if (variant == 3) p.uninstallString = u"Old\\OrvaneUninstall.exe";
        SequenceState s{u"C:\\Chosen", false};
        RemovalSequence(p, s);
        EXPECT_EQ(p.calls, onlyKeys) << variant;
        EXPECT_EQ(p.progress, kRemovalProgress) << variant;
        EXPECT_EQ(s.installPath, u"C:\\Chosen") << variant;
    }
}

std::string Bytes(const std::u16string& s) {
    return std::string(reinterpret_cast<const char*>(s.data()), s.size() * 2);
}

TEST(InstalledFolder, AcceptsOnlyAbsoluteFoldersOfAString) {
    EXPECT_EQ(InstalledFolder(true, kRegSz, Bytes(u"C:\\OrvaneUninstall.exe")), u"C:\\");
    EXPECT_EQ(InstalledFolder(true, kRegSz, Bytes(u"\\\\srv\\share\\OrvaneUninstall.exe")),
              u"\\\\srv\\share");
    // Without a terminator the text ends with the bytes; after one, nothing more counts.
    const std::u16string twoStrings(u"D:\\A\\x.exe\0E:\\B\\y.exe", 21);
    EXPECT_EQ(InstalledFolder(true, kRegSz, Bytes(twoStrings)), u"D:\\A");
    EXPECT_EQ(InstalledFolder(true, kRegSz, Bytes(u"D:\\A\\x.exe")), u"D:\\A");
    EXPECT_EQ(InstalledFolder(true, kRegSz, Bytes(u"D:\\A\\")), std::nullopt);
    EXPECT_EQ(InstalledFolder(true, kRegSz, Bytes(u"\\OrvaneUninstall.exe")), std::nullopt);
    EXPECT_EQ(InstalledFolder(true, kRegSz, Bytes(u"C:OrvaneUninstall.exe")), std::nullopt);
    EXPECT_EQ(InstalledFolder(true, kRegSz, ""), std::nullopt);
    EXPECT_EQ(InstalledFolder(true, kRegSz, std::string(522, 'a')), std::nullopt);
}

}  // namespace
}  // namespace orvane::setup
