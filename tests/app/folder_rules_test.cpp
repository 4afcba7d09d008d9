#include "app/rules/folder_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

std::u16string Folder(int n) {
    return u"C:\\F" + std::u16string(1, static_cast<char16_t>(u'A' + n));
}

TEST(FolderRules, ElevenConfirmationsPushTheFirstOut) {
    HistoryBuffer history{};
    EXPECT_TRUE(HistoryEntries(history).empty());
    for (int n = 0; n < 11; ++n) ASSERT_TRUE(PushHistory(history, Folder(n)));
    const std::vector<std::u16string> entries = HistoryEntries(history);
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries.front(), Folder(10));
    EXPECT_EQ(entries.back(), Folder(1));
    EXPECT_EQ(HistorySlot(history, 9), Folder(1));
}

TEST(FolderRules, SameFolderStandsTwiceAndEmptySlotsAreLeftOut) {
    HistoryBuffer history{};
    PushHistory(history, u"C:\\A");
    PushHistory(history, u"C:\\A");
    EXPECT_EQ(HistoryEntries(history), (std::vector<std::u16string>{u"C:\\A", u"C:\\A"}));
    // A gap in the middle (slot 1 emptied) does not show as an empty line.
    PushHistory(history, u"C:\\B");
    history[kPathUnits] = u'\0';
    EXPECT_EQ(HistoryEntries(history), (std::vector<std::u16string>{u"C:\\B", u"C:\\A"}));
}

TEST(FolderRules, AFolderTooLongForASlotLeavesTheHistory) {
    HistoryBuffer history{};
    PushHistory(history, u"C:\\A");
    EXPECT_FALSE(PushHistory(history, std::u16string(kPathUnits, u'x')));
    EXPECT_EQ(HistoryEntries(history), std::vector<std::u16string>{u"C:\\A"});
    const std::u16string longest(kPathUnits - 1, u'y');
    EXPECT_TRUE(PushHistory(history, longest));
    EXPECT_EQ(HistorySlot(history, 0), longest);
    EXPECT_EQ(HistorySlot(history, 1), u"C:\\A");
}

}  // namespace
}  // namespace orvane
