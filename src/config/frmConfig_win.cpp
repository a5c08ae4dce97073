// The configuration window itself: loading, the monitor picture and the
// preview, list switching and the enabling of the commands, OK and Cancel,
// the menus, the options dialog, the about box and the help.
#include "config/frmConfig.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "ui/App.h"
#include "common/AppError.h"
#include "common/AppTitle.h"
#include "common/Convert.h"
#include "common/HelpPage.h"
#include "ui/Dpi.h"
#include "ui/HelpBrowser.h"
#include "config/PlayListFile.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOptions.h"
#include "common/mFiles.h"
#include "ui/mForm.h"
#include "common/mListBox.h"
#include "config/frmConfigRes.h"

namespace tessaly {
namespace {

// The preview screen inside the monitor picture, in pixels.
const int kPreviewLeft = 18, kPreviewTop = 18, kPreviewWidth = 153, kPreviewHeight = 114;
const char kPreviewFont[] = "Small Fonts";
const double kPreviewFontPoints = 4.2;
const int kAppIcon = 1;
// Dialog units between the monitor picture and the "Play List" frame.
const int kGapBelowMonitor = 3;

const int kListIds[2] = {IDC_LSTLIST0, IDC_LSTLIST1};
const int kCommandIds[5] = {IDC_CMDIMAGES0, IDC_CMDIMAGES1, IDC_CMDIMAGES2, IDC_CMDIMAGES3, IDC_CMDIMAGES4};

// WM_COMMAND codes of menu items and accelerators.
const int kFromMenu = 0, kFromAccelerator = 1;

AppError AsAppError(const std::exception& e) {
  if (const auto* app = dynamic_cast<const AppError*>(&e)) return *app;
  return AppError(kErrInvalidCall, e.what(), "Tessaly");
}

using ui::ChildRect;

}  // namespace

frmConfig::frmConfig(SlideShow& engine, CRegSettings& settings, TextFileStore& files)
    : Dialog(IDD_CONFIG),
      engine_(engine),
      settings_(settings),
      files_(files),
      PicBase_(*this),
      PicPreview_(PicBase_, *this, true),
      imgFullSize_(PicBase_, *this, false),
      tmrSwitch_(*this) {
  imgFullSize_.SetVisible(false);
  tmrSwitch_.SetEnabled(false);
  tmrSwitch_.OnTimer = [this] { tmrSwitch_Timer(); };

  OnClick(IDOK, [this] { CmdOK_Click(); });
  OnClick(IDCANCEL, [this] { CmdCancel_Click(); });
  OnClick(IDC_OPTPICTURE, [this] { OptPicture_Click(); });
  OnClick(IDC_OPTSOUND, [this] { OptSound_Click(); });
  for (int i = 0; i < 2; ++i) OnCommand(kListIds[i], LBN_SELCHANGE, [this, i] { lstList_Click(i); });
  for (int i = 0; i < 5; ++i) OnClick(kCommandIds[i], [this, i] { cmdImages_Click(i); });
  for (int id = IDM_NEW; id <= IDM_HELPABOUT; ++id) OnCommand(id, kFromMenu, [this, id] { OnMenuCommand(id); });
  for (int id : {IDM_NEW, IDM_OPEN, IDM_SAVE}) OnCommand(id, kFromAccelerator, [this, id] { OnMenuCommand(id); });
  SetAccelerators(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONFIG_KEYS)));
}

frmConfig::~frmConfig() = default;

ListBox* frmConfig::lstList(int index) { return index == 0 || index == 1 ? &lists_[index] : nullptr; }

void frmConfig::OnMenuCommand(int id) {
  switch (id) {
    case IDM_NEW: mnuNew_Click(); break;
    case IDM_OPEN: mnuOpen_Click(); break;
    case IDM_SAVE: mnuSave_Click(); break;
    case IDM_SAVEAS: mnuSaveAs_Click(); break;
    case IDM_MERGELIST: mnuMergeList_Click(); break;
    case IDM_EXIT: mnuExit_Click(); break;
    case IDM_ADDFILES: mnuAddFiles_Click(); break;
    case IDM_ADDDIR: mnuAddDir_Click(); break;
    case IDM_REMOVE: mnuRemove_Click(); break;
    case IDM_MOVEUP: mnuMoveUp_Click(); break;
    case IDM_MOVEDOWN: mnuMoveDown_Click(); break;
    case IDM_VIEWPICS: mnuViewPics_Click(); break;
    case IDM_VIEWSOUNDS: mnuViewSounds_Click(); break;
    case IDM_OPTIONS: mnuOptions_Click(); break;
    case IDM_HELPCONTENTS: mnuHelpContents_Click(); break;
    case IDM_HELPSEARCH: mnuHelpSearchForHelpOn_Click(); break;
    case IDM_HELPABOUT: mnuHelpAbout_Click(); break;
    default: break;
  }
}

// ---------------------------------------------------------------------------
// Loading

void frmConfig::Form_Load() {
  for (int i = 0; i < 2; ++i) lists_[i].Attach(Item(kListIds[i]));
  menu_ = GetMenu(hWnd());
  icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAppIcon));
  if (icon_) {
    SendMessageA(hWnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(hWnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  CheckRadioButton(hWnd(), IDC_OPTPICTURE, IDC_OPTSOUND, IDC_OPTPICTURE);
  CheckMenuRadioItem(menu_, IDM_VIEWPICS, IDM_VIEWSOUNDS, IDM_VIEWPICS, MF_BYCOMMAND);

  LoadTips(IDS_CONFIG_TIPS);

  ComposeMonitor();
  PlaceWindow();
  ui::CenterForm(*this);

  LoadStep([this] { engine_.GetConfiguration(*this); });
  LoadStep([this] { RemoveMissingEntries(lists_[0]); });
  LoadStep([this] { RemoveMissingEntries(lists_[1]); });
  LoadStep([this] { UpdateControls(); });
  LoadStep([this] { engine_.StartSlideShow(PicPreview_, 0, *this); });
}

void frmConfig::LoadStep(const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception& e) {
    MessageBoxA(hWnd(), DiagnosticText("GetConfiguration(Me)", AsAppError(e)).c_str(), kAppTitle, MB_OK);
  }
}

// The monitor drawn over the window's background: the mask ANDed onto the
// work surface, then the colour picture XORed over it. On a screen of more
// than 96 DPI both grow with the DPI, like the dialog around them.
void frmConfig::ComposeMonitor() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  Picture2_[0].reset(static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_MONITOR), IMAGE_BITMAP, 0, 0, 0)));
  Picture2_[1].reset(
      static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_MONITOR_MASK), IMAGE_BITMAP, 0, 0, 0)));
  if (!Picture2_[0] || !Picture2_[1]) return;
  BITMAP bm{};
  GetObjectA(Picture2_[0].get(), sizeof bm, &bm);
  // The DPI's zoom; the play list below makes room for it (PlaceWindow).
  const int dpi = ui::MonitorDpiScaling() ? ui::WindowDpi(hWnd()) : 96;
  zoom_ = std::max(1.0, dpi / 96.0);
  const int width = Zoomed(bm.bmWidth), height = Zoomed(bm.bmHeight);
  const ScreenDC screen;
  Picture2_[2].reset(CreateCompatibleBitmap(screen.get(), width, height));
  MemoryDC work(screen.get()), source(screen.get());
  if (!Picture2_[2] || !work || !source) return;
  {
    Selection target(work.get(), Picture2_[2].get());
    RECT all{0, 0, width, height};
    FillRect(work.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    SetStretchBltMode(work.get(), COLORONCOLOR);  // the mask stays black and white
    {
      Selection mask(source.get(), Picture2_[1].get());
      StretchBlt(work.get(), 0, 0, width, height, source.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCAND);
    }
    Selection colour(source.get(), Picture2_[0].get());
    StretchBlt(work.get(), 0, 0, width, height, source.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCINVERT);
  }
  SendDlgItemMessageA(hWnd(), IDC_MONITOR_IMAGE1, STM_SETIMAGE, IMAGE_BITMAP,
                      reinterpret_cast<LPARAM>(Picture2_[2].get()));
}

int frmConfig::Zoomed(int pixels) const { return static_cast<int>(pixels * zoom_); }

// Image1 centred at the top with the monitor's height, the preview on its
// screen, and the window as tall as the top of OK plus three of its heights
// (at least tall enough to show OK whole).
void frmConfig::PlaceWindow() {
  HWND image = Item(IDC_MONITOR_IMAGE1);
  BITMAP bm{};
  if (Picture2_[2]) GetObjectA(Picture2_[2].get(), sizeof bm, &bm);
  RECT client{};
  GetClientRect(hWnd(), &client);
  const RECT imageRect = ChildRect(hWnd(), image);
  const int imageWidth = bm.bmWidth > 0 ? bm.bmWidth : imageRect.right - imageRect.left;
  const int imageHeight = bm.bmHeight > 0 ? bm.bmHeight : imageRect.bottom - imageRect.top;
  const int left = (client.right - imageWidth) / 2;
  MoveWindow(image, left, imageRect.top, imageWidth, imageHeight, TRUE);
  PlacePlayListBelow(imageRect.top + imageHeight);

  // In the window's own twips (its monitor's DPI), so the box keeps its
  // pixels inside the monitor picture.
  const ui::TwipsScale& scale = Scale();
  PicBase_.Move(scale.ToTwipsX(left + Zoomed(kPreviewLeft)), scale.ToTwipsY(imageRect.top + Zoomed(kPreviewTop)),
                scale.ToTwipsX(Zoomed(kPreviewWidth)), scale.ToTwipsY(Zoomed(kPreviewHeight)));
  PicBase_.Create(hWnd());
  SetWindowPos(PicBase_.hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PicBase_.SetFont(kPreviewFont, kPreviewFontPoints, false);
  PicPreview_.Move(0, 0, PicBase_.Width(), PicBase_.Height());

  // The window's outer height is OK's top (in the client area) plus three
  // of its heights; where the caption and menu bar are taller than usual,
  // at least enough to show OK whole with a margin below it.
  const RECT ok = ChildRect(hWnd(), Item(IDOK));
  RECT frame{};
  GetWindowRect(hWnd(), &frame);
  RECT needed{0, 0, client.right, ok.bottom + (ok.bottom - ok.top) / 2};
  AdjustWindowRectEx(&needed, static_cast<DWORD>(GetWindowLongPtrA(hWnd(), GWL_STYLE)), TRUE,
                     static_cast<DWORD>(GetWindowLongPtrA(hWnd(), GWL_EXSTYLE)));
  const int byRule = ok.top + 3 * (ok.bottom - ok.top);
  const int height = std::max(byRule, static_cast<int>(needed.bottom - needed.top));
  SetWindowPos(hWnd(), nullptr, 0, 0, frame.right - frame.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The "Play List" frame and everything below it keep their places relative
// to each other, in the dialog units of the font the window really got, and
// move as one so that the frame's top lies a small gap below the monitor
// picture's bottom edge, whatever the font's metrics and the DPI.
void frmConfig::PlacePlayListBelow(int pictureBottom) {
  RECT gap{0, 0, 0, kGapBelowMonitor};
  MapDialogRect(hWnd(), &gap);
  const int frameTop = ChildRect(hWnd(), Item(IDC_FRAPLAYLIST)).top;
  const int shift = pictureBottom + gap.bottom - frameTop;
  if (shift == 0) return;
  for (HWND child = GetWindow(hWnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const RECT r = ChildRect(hWnd(), child);
    if (r.top < frameTop) continue;
    SetWindowPos(child, nullptr, r.left, r.top + shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// ---------------------------------------------------------------------------
// Lists, enabling, frame caption

int frmConfig::VisibleList() const {
  return SendDlgItemMessageA(hWnd(), IDC_OPTSOUND, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void frmConfig::OptPicture_Click() {
  ShowItem(IDC_LSTLIST0, true);
  ShowItem(IDC_LSTLIST1, false);
  CheckMenuRadioItem(menu_, IDM_VIEWPICS, IDM_VIEWSOUNDS, IDM_VIEWPICS, MF_BYCOMMAND);
  UpdateControls();
}

void frmConfig::OptSound_Click() {
  ShowItem(IDC_LSTLIST0, false);
  ShowItem(IDC_LSTLIST1, true);
  CheckMenuRadioItem(menu_, IDM_VIEWPICS, IDM_VIEWSOUNDS, IDM_VIEWSOUNDS, MF_BYCOMMAND);
  UpdateControls();
}

void frmConfig::mnuViewPics_Click() {
  CheckRadioButton(hWnd(), IDC_OPTPICTURE, IDC_OPTSOUND, IDC_OPTPICTURE);
  OptPicture_Click();
  FocusItem(IDC_OPTPICTURE);
}

void frmConfig::mnuViewSounds_Click() {
  CheckRadioButton(hWnd(), IDC_OPTPICTURE, IDC_OPTSOUND, IDC_OPTSOUND);
  OptSound_Click();
  FocusItem(IDC_OPTSOUND);
}

void frmConfig::lstList_Click(int) { UpdateControls(); }

void frmConfig::UpdateControls() {
  const ui::ListBoxControl& list = lists_[VisibleList()];
  const int count = list.ListCount();
  const int selected = list.SelCount();
  const bool one = count >= 2 && selected == 1;
  const bool up = one && !list.Selected(0);
  const bool down = one && !list.Selected(count - 1);
  const bool remove = selected >= 1;
  EnableItem(IDC_CMDIMAGES3, up);
  EnableItem(IDC_CMDIMAGES4, down);
  EnableItem(IDC_CMDIMAGES2, remove);
  EnableMenuItem(menu_, IDM_MOVEUP, MF_BYCOMMAND | (up ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu_, IDM_MOVEDOWN, MF_BYCOMMAND | (down ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu_, IDM_REMOVE, MF_BYCOMMAND | (remove ? MF_ENABLED : MF_GRAYED));
  std::string path;
  if (selected == 1) {
    // The folder part without the entry's padding: the label shortens a long
    // path in its middle, and with the blanks kept they were all it showed.
    path = EntryFolderPart(list.List(list.FirstSelected()));
  }
  SetItemText(IDC_LBLPATH, path);
  ShowItem(IDC_LBLPATHLABEL, ItemVisible(IDC_LBLPATH));
}

void frmConfig::SetCurPlayList(const std::string& sNewValue) {
  if (sNewValue != curPlayList_) curPlayListPartial_ = false;
  curPlayList_ = sNewValue;
  SetItemText(IDC_FRAPLAYLIST, PlayListFrameCaption(curPlayList_));
}

// ---------------------------------------------------------------------------
// OK and Exit

void frmConfig::SaveConfiguration() {
  engine_.SaveListsToRegistry(*this);
  if (!curPlayList_.empty()) WritePlayList(curPlayList_);
}

void frmConfig::CmdOK_Click() {
  SaveConfiguration();
  Unload();
}

bool frmConfig::ExitAllowed() {
  if (!playListDirty_) return true;
  switch (AskSaveChanges()) {
    case IDYES: SaveConfiguration(); return true;
    case IDNO: return true;
    default: return false;
  }
}

void frmConfig::CmdCancel_Click() {
  if (ExitAllowed()) Unload();
}

void frmConfig::mnuExit_Click() { CmdCancel_Click(); }

void frmConfig::Form_QueryUnload(int& Cancel, int UnloadMode) {
  // The close box and Alt+F4 are Cancel: unsaved edits are not lost without
  // a question. Only the end of the Windows session closes without one.
  if (UnloadMode == ui::kUnloadFromControlMenu && !ExitAllowed()) Cancel = 1;
  if (!Cancel) tmrSwitch_.SetEnabled(false);
}

// ---------------------------------------------------------------------------
// The preview

void frmConfig::PausePreview(bool pause) { tmrSwitch_.SetEnabled(!pause); }

void frmConfig::tmrSwitch_Timer() {
  try {
    engine_.NextSlide(PicPreview_, imgFullSize_, 0);
  } catch (const std::exception& e) {
    MessageBoxA(hWnd(), DiagnosticText("tmrSwitch_Timer", AsAppError(e)).c_str(), kAppTitle, MB_OK);
  }
  engine_.InterruptShow = false;
}

void frmConfig::RestartPreview() {
  try {
    engine_.StartSlideShow(PicPreview_, 0, *this);
  } catch (const std::exception& e) {
    MessageBoxA(hWnd(), DiagnosticText("StartSlideShow", AsAppError(e)).c_str(), kAppTitle, MB_OK);
  }
}

LRESULT frmConfig::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITMENUPOPUP: {
      // The File, Play List or Help menu opening.
      HMENU popup = reinterpret_cast<HMENU>(wParam);
      if (!HIWORD(lParam))
        for (int i = 0; i < 3; ++i)
          if (GetSubMenu(menu_, i) == popup) PausePreview(true);
      break;
    }
    case WM_EXITMENULOOP:
      PausePreview(false);  // before the chosen item's command runs
      return 0;
    default: break;
  }
  return Dialog::WndProc(msg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Options, about, help

void frmConfig::mnuOptions_Click() {
  frmOptions options(settings_);
  options.SetIcon(icon_);
  PausePreview(true);
  try {
    options.ShowModal(hWnd());
  } catch (const std::exception& e) {
    MessageBoxA(hWnd(), DiagnosticText("mnuOptions_Click", AsAppError(e)).c_str(), kAppTitle, MB_OK);
  }
  PausePreview(false);
  RestartPreview();
  UpdateControls();
}

void frmConfig::mnuHelpAbout_Click() {
  frmAbout about;
  PausePreview(true);
  try {
    about.ShowModal(hWnd());
  } catch (const std::exception& e) {
    MessageBoxA(hWnd(), DiagnosticText("mnuHelpAbout_Click", AsAppError(e)).c_str(), kAppTitle, MB_OK);
  }
  PausePreview(false);
}

void frmConfig::mnuHelpContents_Click() { ui::ShowHelpTopic(hWnd(), Caption().c_str(), help::kContents); }

void frmConfig::mnuHelpSearchForHelpOn_Click() { ui::ShowHelpTopic(hWnd(), Caption().c_str(), help::kIndex); }

}  // namespace tessaly
