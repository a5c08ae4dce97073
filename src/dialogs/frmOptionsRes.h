// Resource ids of the options dialog.
#pragma once

#define IDD_OPTIONS 200
#define IDC_TABSTRIP1 201
#define IDC_FRAME1_1 202
#define IDC_FRAME1_2 203
#define IDC_LABEL1 204
#define IDC_TXTINTERVAL 205
#define IDC_CHKSTRETCH 206
#define IDC_CHKPICRANDOM 207
#define IDC_CHKSHOWFILENAME 208
#define IDC_CHKRESETPICLIST 209
#define IDC_CHKSHOWFRAME 210
#define IDC_FRAME4 211
#define IDC_LBLTHICKNESS 212
#define IDC_TXTFRAMETHICKNESS 213
#define IDC_CMDFRAMECOLOR 214
#define IDC_LBLFRAMECOLOR 215
#define IDC_CMDBACKCOLOR 216
#define IDC_LBLBACKCOLOR 217
#define IDC_FRAME3 218
#define IDC_CBOAFFECT 219
#define IDC_LABEL2 220
#define IDC_SLDSPEED 221
#define IDC_LABEL3 222
#define IDC_LABEL4 223
#define IDC_CHKSOUNDRANDOM 224
#define IDC_CHKRESETSOUNDLIST 225
#define IDC_CMDHELP 226
#define IDR_OPTIONS_KEYS 250
#define ID_PAGE_NEXT 251
#define ID_PAGE_PREVIOUS 252
#define ID_PAGE_PICTURES 253
#define ID_PAGE_SOUNDS 254

// Tool tips: string IDS_OPTIONS_TIPS + a control's id is that control's tip.
#define IDS_OPTIONS_TIPS 2000
// The tabs: string IDS_TAB_CAPTIONS + a tab's index (0 Pictures, 1 Sounds)
// is its caption, IDS_TAB_TIPS + the index its tip.
#define IDS_TAB_CAPTIONS 2900
#define IDS_TAB_TIPS 2910
