// Resource and control ids of the uninstaller.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_UNINSTALL 102
#define IDI_UNINSTALL 128
#define IDI_UNINSTALL_BADGE 131
#define IDC_UNINSTALL_PROGRESS 1000
