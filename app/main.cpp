#include <windows.h>

#include "app/ivora_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    orvane::CIvoraApp app;
    return app.InitInstance();
}
