// Resource ids of qmunins: its icon, the survey window and its picture.
#pragma once
#define IDD_SURVEY 100
#define IDC_PICTURE1 101
#define IDC_LABEL1 102
#define IDC_LBLSTRIVE 103
#define IDC_LABEL3 104
#define IDC_CMDYES 105
#define IDC_CMDNO 106
#define IDI_QMUNINS 1
#define IDR_SURVEY_GIF 200
