// Numeric identifiers shared by the resource script and the code. One number may name
// resources of different types.
#pragma once

#define IDS_WINDOW_TITLE 103
#define IDS_WINDOW_CLASS 109
#define IDR_MAIN_MENU 109
#define IDR_MAIN_ACCEL 109
#define IDI_APP_LARGE 107
#define IDI_APP_SMALL 108
#define IDD_VERSION 103
#define IDM_VERSION 104
#define IDM_QUIT 105
// Shares its number with IDCANCEL: Esc and the close box name this control as their source, so
// it stays enabled and never notifies.
#define IDC_VERSION_ICON 2
