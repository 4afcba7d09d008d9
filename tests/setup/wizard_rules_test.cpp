#include <gtest/gtest.h>

#include "setup/logic/wizard_rules.h"

namespace orvane::setup {
namespace {

TEST(WizardRules, ShowPageButtonsAndCurrentPage) {
    struct Case {
        int n, pageCount, current;
        PageChange expected;
    };
    const Case cases[] = {
        {1, 2, 1, {1, 1, kCancel | kNext}},
        {0, 3, 1, {1, 0, kCancel | kNext}},
        {2, 3, 2, {2, 2, kCancel | kNext | kBack}},
        {3, 3, 3, {3, 3, 0}},
        {2, 2, 2, {2, 2, 0}},
        {4, 3, 4, {3, 0, kFinish}},
    };
    for (const auto& c : cases) {
        const PageChange got = ShowPageRule(c.n, c.pageCount, c.current);
        EXPECT_EQ(got.currentPage, c.expected.currentPage) << c.n << "/" << c.pageCount;
        EXPECT_EQ(got.shownPage, c.expected.shownPage) << c.n << "/" << c.pageCount;
        EXPECT_EQ(got.buttons, c.expected.buttons) << c.n << "/" << c.pageCount;
    }
}

TEST(WizardRules, NextSkipsTheFolderPageOnlyWhenUninstallingFromTheFirstPage) {
    EXPECT_EQ(NextPageNumber(1, Mode::Install), 2);
    EXPECT_EQ(NextPageNumber(1, Mode::Uninstall), 3);
    EXPECT_EQ(NextPageNumber(2, Mode::Uninstall), 3);
    EXPECT_EQ(StatusMessage(Mode::Uninstall, 99), kMsgUninstalling);
    EXPECT_EQ(StatusMessage(Mode::Install, 1), kMsgInstalling);
    EXPECT_EQ(StatusMessage(Mode::Uninstall, 100), kMsgFinish);
}

TEST(WizardRules, TheInstallFolderIsAbsoluteWithBackslashes) {
    EXPECT_EQ(InstallFolderFromText(u"C:\\Program Files\\Orvane"), u"C:\\Program Files\\Orvane");
    EXPECT_EQ(InstallFolderFromText(u"d:\\"), u"d:\\");
    EXPECT_EQ(InstallFolderFromText(u"C:/Tools/Orvane/"), u"C:\\Tools\\Orvane\\");
    EXPECT_EQ(InstallFolderFromText(u"//server/share/Orvane"), u"\\\\server\\share\\Orvane");
    EXPECT_EQ(InstallFolderFromText(u"\\\\server\\share"), u"\\\\server\\share");
    // Folders that depend on the current folder or drive, and namespaces that are no folder.
    for (const char16_t* refused :
         {u"", u".", u"..", u"Orvane", u".\\Orvane", u"C:", u"C:Foo", u"C:.", u"\\Foo", u"/Foo",
          u"\\\\", u"\\\\\\server", u"\\\\?\\C:\\Orvane", u"//?/C:/Orvane", u"\\\\.\\C:\\Orvane",
          u"1:\\Orvane", u" C:\\Orvane"}) {
        EXPECT_EQ(InstallFolderFromText(refused), std::nullopt)
            << std::string(refused, refused + std::char_traits<char16_t>::length(refused)).size();
    }
}

TEST(WizardRules, AFailureNamesItsFileAndWhatItLeft) {
    struct Case {
        Failure failure;
        bool partial;
        FailureReport expected;
    };
    const Case cases[] = {
        {Failure::ProgramRunning, false, {kMsgProgramRunning, false, kMsgNothingChanged}},
        {Failure::PathTooLong, false, {kMsgPathTooLong, true, kMsgNothingChanged}},
        {Failure::CannotRemove, false, {kMsgCannotRemove, true, kMsgNothingChanged}},
        {Failure::CannotOpen, false, {kMsgCannotOpen, true, kMsgNotInstalled}},
        {Failure::CannotOpen, true, {kMsgCannotOpen, true, kMsgPartlyInstalled}},
        {Failure::ShortWrite, true, {kMsgShortWrite, true, kMsgPartlyInstalled}},
        {Failure::NoResource, false, {kMsgNoResource, true, kMsgNotInstalled}},
    };
    for (const Case& c : cases) {
        const FailureReport got = ReportOf({c.failure, u"C:\\X\\Orvane.exe", c.partial});
        EXPECT_EQ(got.reason, c.expected.reason) << static_cast<int>(c.failure);
        EXPECT_EQ(got.namesFile, c.expected.namesFile) << static_cast<int>(c.failure);
        EXPECT_EQ(got.outcome, c.expected.outcome) << static_cast<int>(c.failure);
    }
}

TEST(WizardRules, LanguageSetOfTheUserLanguage) {
    EXPECT_EQ(ResourceLanguageFor(0x0407), 7);     // German (Germany)
    EXPECT_EQ(ResourceLanguageFor(0x0807), 7);     // German (Switzerland)
    EXPECT_EQ(ResourceLanguageFor(0x0416), 22);    // Portuguese (Brazil)
    EXPECT_EQ(ResourceLanguageFor(0x0C0A), 10);    // Spanish (modern)
    EXPECT_EQ(ResourceLanguageFor(0x0404), 1028);  // Chinese (Taiwan)
    EXPECT_EQ(ResourceLanguageFor(0x0C04), 1028);  // Chinese (Hong Kong)
    EXPECT_EQ(ResourceLanguageFor(0x7C04), 1028);  // Chinese (Traditional)
    EXPECT_EQ(ResourceLanguageFor(0x1004), 2052);  // Chinese (Singapore)
    EXPECT_EQ(ResourceLanguageFor(0x0411), 1041);  // Japanese
    EXPECT_EQ(ResourceLanguageFor(0x042A), 42);    // Vietnamese
    EXPECT_EQ(ResourceLanguageFor(0x0809), 1033);  // English (UK)
    EXPECT_EQ(ResourceLanguageFor(0x041D), 1033);  // Swedish: no set of its own
    EXPECT_EQ(ResourceLanguageFor(0x0000), 1033);
}

}  // namespace
}  // namespace orvane::setup
