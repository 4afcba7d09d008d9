#include <gtest/gtest.h>

#include "app/rules/language.h"

namespace orvane {
namespace {

TEST(Language, StringBaseAndFallback) {
    EXPECT_EQ(MessageId(StringBase(505), 50), 11050u);
    EXPECT_EQ(MessageId(StringBase(503), 50), 1050u);
    EXPECT_EQ(StringBase(501), 2000u);
    EXPECT_EQ(StringBase(513), 12000u);
    EXPECT_EQ(StringBase(500), 0u);
    EXPECT_EQ(StringBase(514), 0u);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(LanguageDialog, LabelsHitTestAndPreset) {
    std::array<LabelRect, kLanguageCount> labels{};
    for (int k = 0; k < kLanguageCount; ++k)
        labels[k] = LanguageLabelRect(10 + 30 * k, 20, 30 + 30 * k);
    EXPECT_EQ(labels[0], (LabelRect{23, 12, 103, 28}));
    EXPECT_EQ(LanguageAtPoint(labels, 50, 20), 501u);
    EXPECT_EQ(LanguageAtPoint(labels, 50, 20 + 30 * 11), 512u);
    EXPECT_EQ(LanguageAtPoint(labels, 23, 20), 0u) << "the border is outside";
    EXPECT_EQ(LanguageAtPoint(labels, 5, 20), 0u);
    EXPECT_EQ(LanguageDialogPreset(500), 501u);
    EXPECT_EQ(LanguageDialogPreset(514), 501u);
    EXPECT_EQ(LanguageDialogPreset(507), 507u);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(LanguageTable, WhatACodeSelects) {
    const LanguageInfo& german = LanguageInfoFor(505);
    EXPECT_EQ(german.mainMenu, 277);
    EXPECT_EQ(std::u16string(german.manual), u"Manual_German.pdf");
    EXPECT_EQ(MenuButtonBitmapName(u"BtnMenuFile", 505, u'U'), u"BTNMENUFILEGEU");
    EXPECT_EQ(std::u16string(LanguageInfoFor(501).manual), u"Manual_English.pdf");
    EXPECT_EQ(std::u16string(LanguageInfoFor(507).manual), u"Manual_Portugese.pdf");
    EXPECT_EQ(LanguageInfoFor(0).code, 503u);
    EXPECT_EQ(LanguageInfoFor(514).mainMenu, 129);
    EXPECT_FALSE(LanguageInfoFor(512).shownInChooser);
    EXPECT_EQ(LanguageInfoFor(513).editorMenu, 286);
}

}  // namespace
}  // namespace orvane
