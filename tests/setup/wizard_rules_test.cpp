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
