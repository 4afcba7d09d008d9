#include "stacking/win/focus_stack_command.h"

#include "app/dialogs/info_dlg.h"
#include "app/messages.h"
#include "media/capture_folders.h"
#include "media/capture_names.h"
#include "media/media_info.h"
#include "media/win/picture_file.h"
#include "platform/wide.h"
#include "resources/lang/menu_ids.h"
#include "stacking/command/stacked_record.h"
#include "stacking/win/stack_messages.h"
#include "stacking/win/stack_progress_dlg.h"
#include "stacking/win/stacked_bmp_file.h"

namespace orvane {
namespace {

using stacking::SourceKind;
using stacking::StackSources;

void Tell(HWND owner, int caption, int message, std::u16string_view detail = {}) {
    CInfoDlg box;
    box.SetMessages(caption, message, kMsgOK);
    if (!detail.empty()) {
        box.text += L"\n";
        box.text += ToWide(detail);
    }
    box.DoModal(owner);
}

void Enable(HMENU popup, bool enabled) {
    EnableMenuItem(popup, ID_FILE_STACK_FOCUS, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

std::u16string_view FileName(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<std::u16string> SelectedPaths(const StripSelection& selection) {
    std::vector<std::u16string> paths;
    for (const SelectionEntry& entry : selection.entries()) paths.push_back(entry.path);
    return paths;
}

void FocusStackCommand::PrepareMenu(HMENU popup, std::u16string_view thumbFolder) const {
    const StackSources sources =
        stacking::ChooseStackSources(SelectedPaths(strip_.Selection()), thumbFolder);
    Enable(popup, sources.kind != SourceKind::kNone);
}

void FocusStackCommand::PrepareContextMenu(HMENU popup, HWND cell, uint32_t flags,
                                           std::u16string_view thumbFolder) const {
    StripSelection after = strip_.Selection();
    after.Update(strip_.CellOf(cell), flags, strip_);
    const StackSources sources = stacking::ChooseStackSources(SelectedPaths(after), thumbFolder);
    Enable(popup, sources.kind != SourceKind::kNone);
}

void FocusStackCommand::Run(HWND owner, const StackEnvironment& environment) {
    const StackSources sources =
        stacking::ChooseStackSources(SelectedPaths(strip_.Selection()), environment.thumbFolder);
    if (sources.kind == SourceKind::kNone) {
        Tell(owner, kMsgInformation, kMsgStackChooseSources);
        return;
    }
    // Known before any work: the folder cannot take the result.
    if (!FolderHoldsCaptures(CaptureKind::Picture, environment.pictureFolder)) {
        Tell(owner, kMsgError, kMsgStackNotStored, environment.pictureFolder);
        return;
    }
    // Pictures of different sizes cannot be stacked: said at once, not after the pictures
    // before the odd one have been decoded and aligned.
    if (sources.kind == SourceKind::kPictures) {
        std::vector<std::optional<PictureSize>> sizes;
        for (const std::u16string& path : sources.pictures)
            sizes.push_back(ReadPictureSize(ToWide(path)));
        const int odd = stacking::FirstOddSized(sizes);
        if (odd >= 0) {
            Tell(owner, kMsgError, kMsgStackSizesDiffer, sources.pictures[odd]);
            return;
        }
    }
    StackWorker worker;
    if (!worker.Start(sources)) {
        Tell(owner, kMsgError, kMsgStackOutOfMemory);
        return;
    }
    {
        CStackProgressDlg progress(worker);
        // A box that cannot open leaves nobody to wait for: the run is stopped.
        if (progress.DoModal(owner) < 0) worker.Cancel();
    }
    const StackResult result = worker.Finish();
    switch (result.failure) {
        case StackFailure::kNone:
            Store(owner, environment, sources, result);
            return;
        case StackFailure::kCancelled:
            return;
        case StackFailure::kPictureUnreadable:
            Tell(owner, kMsgError, kMsgStackPictureUnreadable, result.file);
            return;
        case StackFailure::kSizeMismatch:
            Tell(owner, kMsgError, kMsgStackSizesDiffer, result.file);
            return;
        case StackFailure::kClipUnreadable:
            Tell(owner, kMsgError, kMsgStackClipUnreadable, result.file);
            return;
        case StackFailure::kClipTooShort:
            Tell(owner, kMsgError, kMsgStackClipTooShort, result.file);
            return;
        case StackFailure::kNotAligned:
            Tell(owner, kMsgError, kMsgStackNotAligned);
            return;
        case StackFailure::kOutOfMemory:
            Tell(owner, kMsgError, kMsgStackOutOfMemory);
            return;
    }
}

void FocusStackCommand::Store(HWND owner, const StackEnvironment& environment,
                              const StackSources& sources, const StackResult& result) {
    const CaptureFolders folders{environment.pictureFolder, environment.videoFolder};
    const std::u16string name = MakeFreeCaptureName(CaptureKind::Picture, folders, clock_, files_);
    if (name.empty()) {
        Tell(owner, kMsgError, kMsgStackNotStored, environment.pictureFolder);
        return;
    }
    const std::u16string path = name + u".BMP";
    if (!WriteStackedPicture(ToWide(path), result.picture)) {
        Tell(owner, kMsgError, kMsgStackNotStored, environment.pictureFolder);
        return;
    }
    const int32_t width = result.picture.Width(), height = result.picture.Height();
    MediaInfoRecord first;
    std::u16string note;
    if (sources.kind == SourceKind::kClip) {
        first = stacking::ClipSourceRecord(environment.magnification, environment.deviceCode, width,
                                           height);
        note = stacking::StackNote(FromWide(MessageText(kMsgStackNoteClip)), result.used,
                                   FileName(sources.clip));
    } else {
        first = ReadMediaInfo(sources.pictures.front(), environment.magnification, files_, clock_);
        note = stacking::StackNote(FromWide(MessageText(kMsgStackNotePictures)), result.used);
    }
    WriteMediaInfo(
        stacking::StackedPictureRecord(first, path, clock_.LocalNow(), width, height, note),
        files_);
    media_.AppendPicture(path);
    media_.ShowDisplayList(MediaView::Picture);
}

}  // namespace orvane
