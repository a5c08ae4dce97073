// The configuration window: the play-list editor with its live preview in
// the monitor picture, its list commands, its play-list files and the way
// to the options dialog, the about box and the help.
#pragma once

#include <string>

#include "common/TextFiles.h"
#include "ui/CommonDialog.h"
#include "ui/Dialog.h"
#include "common/ScopedWin.h"
#include "ui/ImageControl.h"
#include "ui/ListBoxControl.h"
#include "ui/PictureBox.h"
#include "show/ShowHost.h"
#include "ui/TimerControl.h"
#include "show/mSlideShow.h"

namespace tessaly {

class frmConfig : public ui::Dialog, public ShowHost, public ConfigLists {
 public:
  // The window runs its preview on `engine`; options, lists and the current
  // play list go to `settings`, play-list files to `files`.
  frmConfig(SlideShow& engine, CRegSettings& settings, TextFileStore& files = SystemTextFiles());
  ~frmConfig() override;

  // ShowHost / ConfigLists
  Surface& PicBase() override { return PicBase_; }
  Image& PicPreview() override { return PicPreview_; }
  Image& imgFullSize() override { return imgFullSize_; }
  Timer& tmrSwitch() override { return tmrSwitch_; }
  Timer* SwitchTimer() override { return &tmrSwitch_; }
  ListBox* lstList(int index) override;

  // Properties.
  std::string CurPlayList() const override { return curPlayList_; }
  void SetCurPlayList(const std::string& sNewValue) override;
  bool PlayListDirty() const { return playListDirty_; }
  void SetPlayListDirty(bool bNewValue) { playListDirty_ = bNewValue; }

  // Event handlers.
  void Form_Load() override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;
  void CmdOK_Click();
  void CmdCancel_Click();
  void OptPicture_Click();
  void OptSound_Click();
  void lstList_Click(int Index);
  void tmrSwitch_Timer();
  void cmdImages_Click(int Index);
  void mnuNew_Click();
  void mnuOpen_Click();
  void mnuSave_Click();
  void mnuSaveAs_Click();
  void mnuMergeList_Click();
  void mnuExit_Click();
  void mnuAddFiles_Click();
  void mnuAddDir_Click();
  void mnuRemove_Click() { cmdImages_Click(2); }
  void mnuMoveUp_Click() { cmdImages_Click(3); }
  void mnuMoveDown_Click() { cmdImages_Click(4); }
  void mnuViewPics_Click();
  void mnuViewSounds_Click();
  void mnuOptions_Click();
  void mnuHelpAbout_Click();
  void mnuHelpContents_Click();
  void mnuHelpSearchForHelpOn_Click();

  void UpdateControls();
  void PausePreview(bool pause);
  // The save prompt: 6 (saved), 7 (not saved), 2 (cancelled), or 0 (the
  // user chose to save but the list is still unsaved).
  int AskSaveChanges();
  // Writes both lists to the file; clears PlayListDirty when it worked, else
  // shows the failure and keeps it. True when written.
  bool WritePlayList(const std::string& fileName);
  // Appends the file's entries to the two lists; a failure is shown, and
  // the entries read before it are kept. True when the file was read whole.
  bool ReadPlayList(const std::string& fileName);
  // The current play-list file could not be read whole when it was opened:
  // the lists hold only part of it, so it is not replaced without asking.
  bool CurPlayListPartial() const { return curPlayListPartial_; }

  // The window's icon.
  HICON Icon() const { return icon_; }
  // The list the option buttons show: 0 pictures, 1 sounds.
  int VisibleList() const;
  ui::CommonDialog CD1;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void ComposeMonitor();
  // Pixels of the 96-DPI monitor picture at the window's DPI.
  int Zoomed(int pixels) const;
  void PlaceWindow();
  void PlacePlayListBelow(int pictureBottom);
  // Runs one loading step; an error shows the diagnostic message and the
  // next step runs.
  void LoadStep(const std::function<void()>& step);
  void RestartPreview();
  // The Exit decision: true when the window may close (after saving where
  // the user said so).
  bool ExitAllowed();
  // OK's work without the closing.
  void SaveConfiguration();
  void OnMenuCommand(int id);
  // Opens a play-list file chosen in the open dialog; "" when cancelled.
  std::string ChoosePlayListToOpen();

  SlideShow& engine_;
  CRegSettings& settings_;
  TextFileStore& files_;
  ui::PictureBox PicBase_;
  ui::ImageControl PicPreview_;
  ui::ImageControl imgFullSize_;
  ui::TimerControl tmrSwitch_;
  ui::ListBoxControl lists_[2];
  GdiObject<HBITMAP> Picture2_[3];  // the monitor's colour picture, its mask, the work surface
  double zoom_ = 1.0;               // of the monitor picture and its preview, at a high DPI
  HICON icon_ = nullptr;
  HMENU menu_ = nullptr;
  std::string curPlayList_;
  bool curPlayListPartial_ = false;
  bool playListDirty_ = false;
};

}  // namespace tessaly
