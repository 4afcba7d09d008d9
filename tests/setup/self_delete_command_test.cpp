#include <gtest/gtest.h>

#include "setup/logic/self_delete_command.h"

namespace orvane::setup {
namespace {

TEST(SelfDeleteCommand, TheSystemInterpreterByItsFullPathInTheSystemFolder) {
    const auto c = MakeSelfDeleteCommand(u"C:\\Windows\\system32", u"C:\\Apps\\Orvane\\Copy.exe");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->application, u"C:\\Windows\\system32\\cmd.exe");
    EXPECT_EQ(c->commandLine,
              u"\"C:\\Windows\\system32\\cmd.exe\" /d /c del \"%ORVANE_UNINSTALLER_FILE%\"");
    EXPECT_EQ(c->currentFolder, u"C:\\Windows\\system32");
    // The folder's uninstaller, whatever the running copy is called.
    EXPECT_EQ(c->file, u"C:\\Apps\\Orvane\\OrvaneUninstall.exe");

    // A trailing backslash of the system folder, a drive root, a folder with "%" and spaces.
    const auto d = MakeSelfDeleteCommand(u"D:\\WinNT\\System32\\", u"C:\\OrvaneUninstall.exe");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->application, u"D:\\WinNT\\System32\\cmd.exe");
    EXPECT_EQ(d->currentFolder, u"D:\\WinNT\\System32");
    EXPECT_EQ(d->file, u"C:\\OrvaneUninstall.exe");
    const auto e =
        MakeSelfDeleteCommand(u"C:\\Windows\\system32", u"C:\\50%windir% off\\OrvaneUninstall.exe");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->commandLine, c->commandLine);  // the path never passes the interpreter's parser
    EXPECT_EQ(e->file, u"C:\\50%windir% off\\OrvaneUninstall.exe");
}

TEST(SelfDeleteCommand, NothingStartsWithoutAbsolutePathsThatFit) {
    EXPECT_FALSE(MakeSelfDeleteCommand(u"", u"C:\\A\\OrvaneUninstall.exe"));
    EXPECT_FALSE(MakeSelfDeleteCommand(u"system32", u"C:\\A\\OrvaneUninstall.exe"));
    EXPECT_FALSE(MakeSelfDeleteCommand(u"C:\\Windows\\system32", u"OrvaneUninstall.exe"));
    EXPECT_FALSE(MakeSelfDeleteCommand(u"C:\\Windows\\system32", u"A\\OrvaneUninstall.exe"));
    const std::u16string longFolder = u"C:\\" + std::u16string(240, u'a');
    EXPECT_FALSE(MakeSelfDeleteCommand(u"C:\\Windows\\system32", longFolder + u"\\x.exe"));
    EXPECT_FALSE(MakeSelfDeleteCommand(longFolder + u"aaaaaaaaaaaa", u"C:\\A\\x.exe"));
}

}  // namespace
}  // namespace orvane::setup
