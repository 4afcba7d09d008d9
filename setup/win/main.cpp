#include <windows.h>

#include "setup/win/setup_dlg.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    orvane::setup::CIvoraSetupApp app;
    return app.InitInstance();
}
