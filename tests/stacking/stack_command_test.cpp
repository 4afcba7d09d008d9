// What the main window's Stack focus takes from the selection and writes beside its picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stacking/command/stack_sources.h"
#include "stacking/command/stacked_record.h"

namespace orvane::stacking {
namespace {

const std::u16string kThumbs = u"C:\\Orvane\\videos\\thumb";
const std::u16string kPictureA = u"C:\\Orvane\\pictures\\TX00000A1.BMP";
const std::u16string kPictureB = u"C:\\Orvane\\pictures\\TX00000B2.JPG";
const std::u16string kPictureC = u"C:\\Orvane\\pictures\\TX00000C3.BMP";
const std::u16string kClipThumb = u"C:\\Orvane\\videos\\thumb\\TX00000D4.BMP";
const std::u16string kClipThumb2 = u"C:\\Orvane\\videos\\thumb\\TX00000E5.BMP";

TEST(StackSources, TwoOrMorePicturesInCaptureOrderOrExactlyOneClip) {
    StackSources s = ChooseStackSources({kPictureC, kPictureA, kPictureB}, kThumbs);
    EXPECT_EQ(s.kind, SourceKind::kPictures);
    EXPECT_EQ(s.pictures, (std::vector<std::u16string>{kPictureA, kPictureB, kPictureC}));
    EXPECT_TRUE(s.clip.empty());

    s = ChooseStackSources({kClipThumb}, kThumbs);
    EXPECT_EQ(s.kind, SourceKind::kClip);
    EXPECT_EQ(s.clip, u"C:\\ORVANE\\VIDEOS\\TX00000D4.avi");
    EXPECT_TRUE(s.pictures.empty());
}

TEST(StackSources, NothingForNoneOnePictureAMixtureOrTwoClips) {
    const std::vector<std::vector<std::u16string>> selections = {
        {},
        {kPictureA},
        {kPictureA, kClipThumb},
        {kClipThumb, kPictureA, kPictureB},
        {kClipThumb, kClipThumb2},
        // One picture selected twice (its path once in another case) is still one picture.
        {kPictureA, u"c:\\orvane\\pictures\\tx00000a1.bmp"},
    };
    for (const auto& selection : selections) {
        const StackSources s = ChooseStackSources(selection, kThumbs);
        EXPECT_EQ(s.kind, SourceKind::kNone) << selection.size() << " entries";
        EXPECT_TRUE(s.pictures.empty());
        EXPECT_TRUE(s.clip.empty());
    }
    // Without a thumb folder a clip's thumbnail is just a picture.
    EXPECT_EQ(ChooseStackSources({kClipThumb, kClipThumb2}, u"").kind, SourceKind::kPictures);
}

TEST(StackSources, TheFirstPictureOfAnotherSizeThanTheFirstIsTheOddOne) {
    const PictureSize big{2048, 1536}, small{64, 48};
    EXPECT_EQ(FirstOddSized({big, big, small, big}), 2);
    EXPECT_EQ(FirstOddSized({big, PictureSize{1536, 2048}}), 1) << "turned: another size";
    EXPECT_EQ(FirstOddSized({big, big, big}), -1);
    // Sizes the headers do not say are left to the stack itself.
    EXPECT_EQ(FirstOddSized({big, std::nullopt, small}), 2);
    EXPECT_EQ(FirstOddSized({big, std::nullopt}), -1);
    EXPECT_EQ(FirstOddSized({std::nullopt, big, small}), -1);
    EXPECT_EQ(FirstOddSized({}), -1);
}

TEST(StackSources, AClipGivesAllItsFramesUpToTheLimitAndEveryNthBeyond) {
    EXPECT_TRUE(ClipFramePositions(0, 0).empty());
    EXPECT_TRUE(ClipFramePositions(0, -3).empty());
    EXPECT_EQ(ClipFramePositions(2, 4), (std::vector<int32_t>{2, 3, 4, 5}));
    const std::vector<int32_t> all = ClipFramePositions(0, kMostClipFrames);
    ASSERT_EQ(all.size(), static_cast<size_t>(kMostClipFrames));
    EXPECT_EQ(all.back(), kMostClipFrames - 1);
    // One more: every second frame, from the first to the last.
    const std::vector<int32_t> halved = ClipFramePositions(0, kMostClipFrames + 1);
    ASSERT_EQ(halved.size(), static_cast<size_t>(kMostClipFrames / 2 + 1));
    EXPECT_EQ(halved[1], 2);
    EXPECT_EQ(halved.back(), kMostClipFrames);
    // A minute at 15 frames a second: every eighth frame, 113 of them, none past the end.
    const std::vector<int32_t> minute = ClipFramePositions(10, 900);
    ASSERT_EQ(minute.size(), 113u);
    EXPECT_EQ(minute[1] - minute[0], 8);
    EXPECT_EQ(minute.back(), 10 + 896);
    // A limit below one still gives a frame.
    EXPECT_EQ(ClipFramePositions(0, 5, 0), (std::vector<int32_t>{0}));
}

TEST(StackedRecord, TheFirstSourcesMagnificationStillSizeAndCameraTheStacksOwnSizeTimeAndNote) {
    MediaInfoRecord first;
    SetRecordText(first.mediaPath, kPictureA);
    SetRecordText(first.note, u"the source's own note");
    first.captureTime = {2024, 3, 2, 5, 10, 20, 30, 400};
    first.magnification = 50.0;
    first.adjustedMagnification = 52.5;
    first.pictureSize = 0x05000400;
    first.stillSize = 0x0DA00A38;
    first.deviceCode = 0x0C456320;
    const LocalTime now{2026, 12, 4, 10, 13, 45, 7, 250};
    const std::u16string path = u"C:\\Orvane\\pictures\\TX0000ZZ9.BMP";
    const MediaInfoRecord r = StackedPictureRecord(first, path, now, 3488, 2616, u"Focus stack");
    EXPECT_EQ(RecordText(r.mediaPath), path);
    EXPECT_EQ(RecordText(r.note), u"Focus stack");
    EXPECT_EQ(r.captureTime, now);
    EXPECT_EQ(r.magnification, 50.0);
    EXPECT_EQ(r.adjustedMagnification, 52.5);
    EXPECT_EQ(r.pictureSize, 0x0DA00A38u);
    EXPECT_EQ(r.stillSize, 0x0DA00A38u);
    EXPECT_EQ(r.deviceCode, 0x0C456320u);
    EXPECT_EQ(r.reserved, 0u);
    // A note too long for the field keeps its first 259 units.
    const MediaInfoRecord longNote =
        StackedPictureRecord(first, path, now, 640, 480, std::u16string(400, u'x'));
    EXPECT_EQ(RecordText(longNote.note), std::u16string(259, u'x'));

    const MediaInfoRecord clip = ClipSourceRecord(12.5, 0x0C4562C1, 640, 480);
    EXPECT_EQ(clip.magnification, 12.5);
    EXPECT_EQ(clip.adjustedMagnification, 0.0);
    EXPECT_EQ(clip.pictureSize, 0x028001E0u);
    EXPECT_EQ(clip.stillSize, 0x028001E0u);
    EXPECT_EQ(clip.deviceCode, 0x0C4562C1u);
    EXPECT_EQ(PackedSize(0x10000, 5), 0u);
    EXPECT_EQ(PackedSize(0, 5), 0u);
}

TEST(StackedRecord, TheNoteFillsInTheCountAndTheClipsNameOnceAndNothingElse) {
    EXPECT_EQ(StackNote(u"Focus stack of %d pictures", 12), u"Focus stack of 12 pictures");
    EXPECT_EQ(StackNote(u"%d frames of the clip %s", 40, u"TX00000D4.AVI"),
              u"40 frames of the clip TX00000D4.AVI");
    EXPECT_EQ(StackNote(u"由视频 %s 的 %d 帧景深合成", 7, u"TX1.AVI"),
              u"由视频 TX1.AVI 的 7 帧景深合成");
    // Further or other conversions stay as written: a translation cannot make it read memory.
    EXPECT_EQ(StackNote(u"%d %d %s %s %x %n 100%", 3, u"A"), u"3 %d A %s %x %n 100%");
    EXPECT_EQ(StackNote(u"%", 3), u"%");
}

}  // namespace
}  // namespace orvane::stacking
