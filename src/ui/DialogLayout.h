// Layout measures shared by the program's dialog templates (dialog units).
#pragma once

#define DLG_MARGIN 7
#define DLG_GAP 4
#define DLG_BUTTON_W 50
#define DLG_BUTTON_H 14
#define DLG_EDIT_H 12
#define DLG_CHECK_H 10
#define DLG_LABEL_H 8
#define DLG_FONT 8, "MS Shell Dlg", 400, 0, 0x1
#define DLG_STYLE DS_MODALFRAME | DS_SETFONT | DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU
