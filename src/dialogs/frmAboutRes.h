// Resource ids of the about box.
#pragma once

#define IDD_ABOUT 300
#define IDC_PICICON 301
#define IDC_LBLTITLE 302
#define IDC_LBLVERSION 303
#define IDC_LABEL2_ADDRESS 304
#define IDC_IMAGE1 305
#define IDC_LBLDISCLAIMER 306
#define IDC_LINE1_0 307
#define IDC_LINE1_1 308
#define IDC_CMDSYSINFO 309
#define IDR_ABOUT_PICTURE 310
#define IDI_MAKER_LOGO 311

// Tool tips: string IDS_ABOUT_TIPS + a control's id is that control's tip.
#define IDS_ABOUT_TIPS 3000
