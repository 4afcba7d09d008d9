// "Stack focus": the selection's pictures or clip, stacked by the command object with what the
// main window knows of folders, magnification and camera.
#include "app/ivora_dlg.h"

namespace orvane {

void CIvoraDlg::OnStackFocus(UINT) {
    StackEnvironment environment;
    environment.pictureFolder = std::u16string(PathText(settings_.PictureFolderPath));
    environment.videoFolder = std::u16string(PathText(settings_.VideoFolderPath));
    environment.thumbFolder = settings_.VideoThumbFolderPath;
    environment.magnification = settings_.InputMaginification;
    environment.deviceCode = deviceCount_ > 0 ? graph_.DeviceCodeAt(graph_.CurrentDevice()) : 0;
    stackFocus_.Run(Hwnd(), environment);
}

}  // namespace orvane
