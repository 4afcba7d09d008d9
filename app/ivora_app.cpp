#include "app/ivora_app.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <new>

#include "app/ivora_dlg.h"
#include "platform/com_ptr.h"
#include "platform/gdiplus_session.h"
#include "platform/handles.h"

namespace orvane {

int CIvoraApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    ComApartment com;
    const GdiplusSession gdiplus;  // the image codecs of photos and thumbnails

    std::unique_ptr<CIvoraDlg> controller(new (std::nothrow) CIvoraDlg());
    if (!controller || controller->StartFailed()) return 0;

    // Held until the process ends; a second instance leaves silently.
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, L"OrvaneMutex"));
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    controller->DoModal(nullptr);
    controller.reset();
    return 0;
}

}  // namespace orvane
