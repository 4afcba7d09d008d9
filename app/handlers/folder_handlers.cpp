// The saving-folder chooser opened from the File menu.
#include "app/dialogs/select_folder_dlg.h"
#include "app/ivora_dlg.h"

namespace orvane {

void CIvoraDlg::OnSelectSavingFolders(UINT) {
    CSelectFolderDlg dialog;
    dialog.pictureFolder = settings_.PictureFolderPath;
    dialog.pictureHistory = settings_.PictureHistoryFolderPath;
    dialog.videoFolder = settings_.VideoFolderPath;
    dialog.thumbFolder = settings_.VideoThumbFolderPath;
    dialog.videoHistory = settings_.VideoHistoryFolderPath;
    if (dialog.DoModal(Hwnd()) == IDOK) {
        settings_.PictureFolderPath = dialog.pictureFolder;
        settings_.PictureHistoryFolderPath = dialog.pictureHistory;
        settings_.VideoFolderPath = dialog.videoFolder;
        settings_.VideoThumbFolderPath = dialog.thumbFolder;
        settings_.VideoHistoryFolderPath = dialog.videoHistory;
    }
    // In every case the strip is read again from the folders now in force.
    media_.SetFolders({std::u16string(PathText(settings_.PictureFolderPath)),
                       std::u16string(PathText(settings_.VideoFolderPath)),
                       settings_.VideoThumbFolderPath});
    media_.RebuildMediaLists();
    media_.ShowDisplayList(media_.view());
}

}  // namespace orvane
