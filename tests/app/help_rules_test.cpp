#include "app/rules/help_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

TEST(HelpRules, ManualPathWithAndWithoutSeparator) {
    EXPECT_EQ(ManualPath(u"C:\\Apps\\Cam\\", true, u"Manual_English.pdf"),
              u"C:\\Apps\\Cam\\Manual_English.pdf");
    EXPECT_EQ(ManualPath(u"C:\\Apps\\Cam", true, u"Manual_English.pdf"),
              u"C:\\Apps\\Cam\\Manual_English.pdf");
    EXPECT_EQ(ManualPath(u"C:\\Gone", false, u"Manual_German.pdf"), u"Manual_German.pdf");
    EXPECT_EQ(ManualPath(u"", true, u"Manual_German.pdf"), u"Manual_German.pdf");
}

TEST(HelpRules, BrowserCommandReplacesThePlaceholder) {
    const std::u16string address = u"https://example.test/";
    EXPECT_EQ(BrowserCommand(u"\"C:\\B\\b.exe\" -osint -url \"%1\"", address),
              u"\"C:\\B\\b.exe\" -osint -url  https://example.test/");
    EXPECT_EQ(BrowserCommand(u"C:\\B\\b.exe %1 -new", address),
              u"C:\\B\\b.exe  https://example.test/");
    EXPECT_EQ(BrowserCommand(u"C:\\B\\b.exe", address), u"C:\\B\\b.exe https://example.test/");
}

TEST(HelpRules, MagnificationTextTakenOverOnlyWhenPositive) {
    EXPECT_EQ(MagnificationFromText("12.50"), 12.5);
    EXPECT_EQ(MagnificationFromText("3.25x"), 3.25);
    EXPECT_EQ(MagnificationFromText("  7"), 7.0);
    EXPECT_FALSE(MagnificationFromText(std::string(30, '-')));
    EXPECT_FALSE(MagnificationFromText(""));
    EXPECT_FALSE(MagnificationFromText("0.00"));
    EXPECT_FALSE(MagnificationFromText("-4"));
    EXPECT_FALSE(MagnificationFromText("1e999")) << "no infinite magnification";
    // Only the first 260 characters count.
    EXPECT_FALSE(MagnificationFromText(std::string(260, ' ') + "5"));
    EXPECT_EQ(MagnificationFromText(std::string(259, ' ') + "5"), 5.0);
}

}  // namespace
}  // namespace orvane
