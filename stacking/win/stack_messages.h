#pragma once
// Message numbers of the focus stacking command's texts (string tables of every language).
namespace orvane {

enum StackMessage : int {
    kMsgStackTitle = 150,           // "Stack focus": the progress box's caption
    kMsgStackWorking = 151,         // what the progress box says while it works
    kMsgStackChooseSources = 152,   // the selection holds nothing that can be stacked
    kMsgStackSizesDiffer = 153,     // + the path of the picture of another size
    kMsgStackClipTooShort = 154,    // + the clip's path
    kMsgStackClipUnreadable = 155,  // + the clip's path
    kMsgStackNotAligned = 156,      // fewer than two frames matched the first
    kMsgStackNotStored = 157,       // + the picture folder
    kMsgStackOutOfMemory = 158,
    kMsgStackNotePictures = 159,       // the side file's note: "%d" pictures
    kMsgStackNoteClip = 160,           // "%d" frames of the clip "%s"
    kMsgStackPictureUnreadable = 161,  // + the picture's path
};

}  // namespace orvane
