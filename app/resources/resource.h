// Resource and control ids of the main dialog, shared by the .rc script and the code.
#pragma once

#define IDI_MAINFRAME           128
#define IDD_MAINDLG             129

#define IDC_REVERT              1001
#define IDC_APPLY               1002
#define IDC_NETWORK_LATENCY     1005
#define IDC_TEXTURE_CACHE       1006
#define IDC_SYNC_BINDINGS       1009
#define IDC_SYNC_CONFIG         1010
#define IDC_SYNC_MACROS         1011
#define IDC_NOTE                1014
#define IDC_GAME_PATH           1015
#define IDC_BROWSE              1016
#define IDC_BACKUP_CONFIG       1017
#define IDC_RESTORE_CONFIG      1018
#define IDC_POWERED_BY          1019
