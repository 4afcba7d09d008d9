#include <gtest/gtest.h>

#include <map>
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
    std::set<std::string> folders{"C:\\Program Files", "C:\\Program Files\\Orvane", "E:\\Target"};
    std::map<std::string, WriteResult> failWrites;  // by file name: these payloads fail
    std::set<std::string> undeletable;              // by file name: these stay
    bool running = false;
    bool entryReadable = true;
    uint32_t entryType = kRegSz;
    std::u16string uninstallString = u"D:\\Old\\OrvaneUninstall.exe";

    void Report(int v) override { progress.push_back(v); }
    void Beep(uint32_t hz, uint32_t ms) override {
        calls.push_back("beep " + std::to_string(hz) + " " + std::to_string(ms));
    }
    bool ProgramRunning() override { return running; }
    bool IsFolder(const std::u16string& p) override { return folders.count(Narrow(p)) != 0; }
    void CreateFolder(const std::u16string& p) override { calls.push_back("mkdir " + Narrow(p)); }
    void RemoveFolder(const std::u16string& p) override { calls.push_back("rmdir " + Narrow(p)); }
    bool RemoveFile(const std::u16string& p) override {
        calls.push_back("del " + Narrow(p));
        const std::string path = Narrow(p);
        return undeletable.count(path.substr(path.rfind('\\') + 1)) == 0;
    }
    WriteResult WritePayload(const Payload& payload, const std::u16string& p) override {
        const auto fails = failWrites.find(Narrow(payload.file));
        if (fails != failWrites.end()) return fails->second;
        calls.push_back("write " + std::to_string(payload.number) + " " + Narrow(p));
        return WriteResult::Written;
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
    const SequenceResult r = InstallSequence(p, s);
    EXPECT_TRUE(r.Ok());
    EXPECT_FALSE(r.partial);
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

std::string EntryFor(const std::string& uninstaller) {
    return "entry DisplayName=Orvane UninstallString=" + uninstaller +
           " DisplayIcon=" + uninstaller + " DisplayVersion=1.2.1.2";
}

TEST(InstallSequence, AFirstFileThatCannotBeWrittenLeavesNothingToRegister) {
    FakePlatform p;
    p.failWrites["Orvane.exe"] = WriteResult::CannotOpen;  // e.g. in use by another session
    SequenceState s{u"E:\\Target\\", false};
    const SequenceResult r = InstallSequence(p, s);
    EXPECT_EQ(p.calls,
              (std::vector<std::string>{"mkdir E:\\Target\\", "set Language=503", "beep 500 100"}));
    EXPECT_EQ(p.progress, (std::vector<int>{1}));  // never 100: not finished
    EXPECT_EQ(r.failure, Failure::CannotOpen);
    EXPECT_EQ(r.file, u"E:\\Target\\Orvane.exe");
    EXPECT_FALSE(r.partial);
}

TEST(InstallSequence, AFileFailingPartWayNamesItAndRegistersWhatWasWritten) {
    const struct {
        const char* file;
        WriteResult result;
        Failure failure;
        std::size_t writtenBefore;  // calls of ExpectedInstall made before the failure
    } cases[] = {
        {"Manual_German.pdf", WriteResult::CannotOpen, Failure::CannotOpen, 5},
        {"Manual_English.pdf", WriteResult::ShortWrite, Failure::ShortWrite, 3},
        {"Manual_Vietnamese.pdf", WriteResult::NoResource, Failure::NoResource, 11},
    };
    const std::string u = "E:\\Target\\OrvaneUninstall.exe";
    for (const auto& c : cases) {
        FakePlatform p;
        p.failWrites[c.file] = c.result;
        SequenceState s{u"E:\\Target", false};
        const SequenceResult r = InstallSequence(p, s);
        auto expected = ExpectedInstall("E:\\Target");
        expected.resize(c.writtenBefore);
        // The uninstaller and the entry still come, so that the files can be removed again.
        expected.push_back("write 145 " + u);
        expected.push_back("set InstallPath=E:\\Target");
        expected.push_back(EntryFor(u));
        expected.push_back("set Language=503");
        expected.push_back("beep 500 100");
        EXPECT_EQ(p.calls, expected) << c.file;
        EXPECT_NE(p.progress.back(), 100) << c.file;
        EXPECT_EQ(r.failure, c.failure) << c.file;
        EXPECT_EQ(Narrow(r.file), "E:\\Target\\" + std::string(c.file));
        EXPECT_TRUE(r.partial) << c.file;
    }
    // The uninstaller itself failing: not tried twice, the entry is written all the same.
    FakePlatform p;
    p.failWrites["OrvaneUninstall.exe"] = WriteResult::ShortWrite;
    SequenceState s{u"E:\\Target", false};
    const SequenceResult r = InstallSequence(p, s);
    auto expected = ExpectedInstall("E:\\Target");
    expected.pop_back();
    expected.push_back("set InstallPath=E:\\Target");
    expected.push_back(EntryFor(u));
    expected.push_back("set Language=503");
    expected.push_back("beep 500 100");
    EXPECT_EQ(p.calls, expected);
    EXPECT_EQ(p.progress, (std::vector<int>{1, 20, 30, 40, 50, 60, 60, 60, 60, 60, 60, 60, 60}));
    EXPECT_EQ(r.failure, Failure::ShortWrite);
    EXPECT_EQ(Narrow(r.file), u);
    EXPECT_TRUE(r.partial);
}

TEST(InstallSequence, WhileTheProgramRunsNothingIsTouched) {
    for (const bool previous : {false, true}) {
        FakePlatform p;
        p.running = true;
        SequenceState s{u"C:\\New", previous};
        const SequenceResult r = InstallSequence(p, s);
        EXPECT_TRUE(p.calls.empty()) << previous;
        EXPECT_TRUE(p.progress.empty()) << previous;
        EXPECT_EQ(r.failure, Failure::ProgramRunning);
        EXPECT_EQ(s.installPath, u"C:\\New");
    }
}

TEST(InstallSequence, ARepairStopsWhenTheOldProgramCannotBeRemoved) {
    FakePlatform p;
    p.undeletable.insert("Orvane.exe");
    SequenceState s{u"C:\\New", true};
    const SequenceResult r = InstallSequence(p, s);
    // Only the attempt: no link, manual, entry or setting removed, nothing installed.
    EXPECT_EQ(p.calls, (std::vector<std::string>{"del D:\\Old\\Orvane.exe"}));
    EXPECT_TRUE(p.progress.empty());
    EXPECT_EQ(r.failure, Failure::CannotRemove);
    EXPECT_EQ(r.file, u"D:\\Old\\Orvane.exe");
    EXPECT_EQ(s.installPath, u"C:\\New");
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

TEST(InstallSequence, AFolderTooLongForAFileIsRefusedBeforeAnythingIsTouched) {
    // 248 units and a backslash hold "Orvane.exe" (259) but not "Manual_English.pdf".
    const std::u16string folder = u"C:\\" + std::u16string(245, u'a');
    for (const bool previous : {false, true}) {
        FakePlatform p;
        SequenceState s{folder, previous};
        const SequenceResult r = InstallSequence(p, s);
        EXPECT_TRUE(p.calls.empty()) << previous;  // in a repair, the old one stays too
        EXPECT_TRUE(p.progress.empty()) << previous;
        EXPECT_EQ(r.failure, Failure::PathTooLong);
        EXPECT_EQ(r.file, folder + u"\\Manual_English.pdf");
        EXPECT_EQ(s.installPath, folder);
    }
    EXPECT_EQ(FirstPathTooLong(folder + u"\\"), folder + u"\\Manual_English.pdf");
    // The longest name, "Manual_Vietnamese.pdf" (21), still fits after 237 units and a backslash.
    const std::u16string fits = u"C:\\" + std::u16string(234, u'a') + u"\\";
    EXPECT_EQ(FirstPathTooLong(fits), std::nullopt);
    EXPECT_EQ(FirstPathTooLong(fits + u"b"), fits + u"bManual_Vietnamese.pdf");
}

TEST(RemovalSequence, DeletesTheRecordedInstallationInOrder) {
    FakePlatform p;
    SequenceState s{u"ignored", false};
    RemovalSequence(p, s);
    EXPECT_EQ(p.calls, ExpectedRemoval("D:\\Old"));
    EXPECT_EQ(p.progress, kRemovalProgress);
    EXPECT_EQ(s.installPath, u"D:\\Old\\");
}

TEST(RemovalSequence, StopsBeforeRemovingAnythingWhileTheProgramIsInUse) {
    FakePlatform running;
    running.running = true;
    SequenceState s{u"C:\\Chosen", false};
    SequenceResult r = RemovalSequence(running, s);
    EXPECT_TRUE(running.calls.empty());
    EXPECT_TRUE(running.progress.empty());
    EXPECT_EQ(r.failure, Failure::ProgramRunning);

    FakePlatform locked;
    locked.undeletable.insert("Orvane.exe");
    r = RemovalSequence(locked, s);
    EXPECT_EQ(locked.calls, (std::vector<std::string>{"del D:\\Old\\Orvane.exe"}));
    EXPECT_TRUE(locked.progress.empty());
    EXPECT_EQ(r.failure, Failure::CannotRemove);
    EXPECT_EQ(r.file, u"D:\\Old\\Orvane.exe");

    // Any other file that stays (the running uninstaller, an open manual) is skipped.
    FakePlatform other;
    other.undeletable = {"Manual_Dutch.pdf", "OrvaneUninstall.exe"};
    r = RemovalSequence(other, s);
    EXPECT_EQ(other.calls, ExpectedRemoval("D:\\Old"));
    EXPECT_TRUE(r.Ok());
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
