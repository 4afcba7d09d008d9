#include <windows.h>

#include "uninstall/uninstall_dlg.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    orvane::setup::CIvoraUninstallApp app;
    return app.InitInstance();
}
