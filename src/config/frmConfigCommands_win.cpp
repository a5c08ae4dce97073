// The configuration window's commands on its lists: adding files and
// folders, removing and moving entries, and the play-list files (New, Open,
// Save, Save As, Add Play List and the save prompt).
#include "config/frmConfig.h"

#include <commdlg.h>

#include "common/AppError.h"
#include "common/AppTitle.h"
#include "common/Utf.h"
#include "ui/App.h"
#include "config/ListCommands.h"
#include "config/PlayListFile.h"
#include "common/mCommonDialogs.h"
#include "common/mFiles.h"

namespace tessaly {
namespace {

const unsigned long kOpenFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES;
const std::size_t kAddFilesBuffer = 10000;

std::string FilterFor(const std::string& name, const std::string& patterns) {
  return name + " (" + patterns + ")|" + patterns + "|All Files(*.*)|*.*";
}

}  // namespace

// ---------------------------------------------------------------------------
// List commands

void frmConfig::mnuAddFiles_Click() {
  PausePreview(true);
  cmdImages_Click(0);
  PausePreview(false);
}

void frmConfig::mnuAddDir_Click() {
  PausePreview(true);
  cmdImages_Click(1);
  PausePreview(false);
}

void frmConfig::cmdImages_Click(int Index) {
  PausePreview(true);
  engine_.InterruptShow = true;
  ListBox& list = *lstList(VisibleList());
  try {
    switch (Index) {
      case 0: {
        CD1.FileName.clear();
        CD1.DialogTitle = "Select One or More Files to Add";
        CD1.Flags = kOpenFlags | OFN_ALLOWMULTISELECT;
        CD1.MaxFileSize = kAddFilesBuffer;
        CD1.Filter = VisibleList() == 0 ? FilterFor("Pictures", kPicturePatterns) : FilterFor("Sounds", kSoundPatterns);
        CD1.FilterIndex = 1;
        CD1.ShowOpen(hWnd());
        if (CD1.FileName.empty()) break;
        Collection names;
        std::string folder;
        GetDialogFiles(CD1.FileName, names, folder);
        SetPlayListDirty(true);
        AddFileEntries(list, folder, names);
        break;
      }
      case 1:
        if (AddFolderEntry(list, BrowseForFolder(reinterpret_cast<uintptr_t>(hWnd()), "Select Directory")))
          SetPlayListDirty(true);
        break;
      case 2:
        RemoveSelectedEntries(list);
        SetPlayListDirty(true);
        break;
      case 3:
        MoveSelectedEntry(list, -1);
        SetPlayListDirty(true);
        break;
      case 4:
        MoveSelectedEntry(list, +1);
        SetPlayListDirty(true);
        break;
      default: break;
    }
  } catch (const AppError& e) {
    MessageBoxA(hWnd(), e.Description().c_str(), kAppTitle, MB_OK | MB_ICONEXCLAMATION);
  }
  RestartPreview();
  UpdateControls();
  PausePreview(false);
}

// ---------------------------------------------------------------------------
// Play-list files

bool frmConfig::WritePlayList(const std::string& fileName) {
  // A file that could not be read whole holds more than the lists: it is
  // replaced only when the user says so.
  const bool partial = curPlayListPartial_ && fileName == curPlayList_;
  if (partial && ui::MessageBoxText(hWnd(), ReplacePartialQuestion(curPlayList_), "Save Play List",
                                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return false;
  try {
    WritePlayListFile(files_, fileName, lists_[0], lists_[1], SystemAnsiCodePage());
  } catch (const AppError& e) {
    MessageBoxA(hWnd(), PlayListErrorText("write to", e).c_str(), kAppTitle, MB_OK);
    return false;
  }
  if (partial) curPlayListPartial_ = false;
  SetPlayListDirty(false);
  return true;
}

bool frmConfig::ReadPlayList(const std::string& fileName) {
  try {
    ReadPlayListFile(files_, fileName, lists_[0], lists_[1], SystemAnsiCodePage());
  } catch (const AppError& e) {
    MessageBoxA(hWnd(), PlayListErrorText("Read", e).c_str(), kAppTitle, MB_OK);
    return false;
  }
  return true;
}

int frmConfig::AskSaveChanges() {
  const int answer =
      ui::MessageBoxText(hWnd(), SaveChangesQuestion(curPlayList_), "Save Play List", MB_YESNOCANCEL | MB_ICONQUESTION);
  switch (answer) {
    case IDYES: mnuSave_Click(); return PlayListDirty() ? 0 : IDYES;
    case IDNO: SetPlayListDirty(false); return IDNO;
    default: return IDCANCEL;
  }
}

std::string frmConfig::ChoosePlayListToOpen() {
  CD1.FileName.clear();
  CD1.DialogTitle = "Select Play List";
  CD1.Flags = kOpenFlags;
  CD1.MaxFileSize = MAX_PATH;
  CD1.Filter = FilterFor("Play Lists", kPlayListPattern);
  CD1.FilterIndex = 1;
  CD1.ShowOpen(hWnd());
  return CD1.FileName;
}

void frmConfig::mnuNew_Click() {
  if (PlayListDirty() && AskSaveChanges() == IDCANCEL) return;
  SetCurPlayList("");
  lists_[0].Clear();
  lists_[1].Clear();
  RestartPreview();
  UpdateControls();
  SetPlayListDirty(false);
}

void frmConfig::mnuOpen_Click() {
  if (PlayListDirty() && AskSaveChanges() == IDCANCEL) return;
  PausePreview(true);
  const std::string name = ChoosePlayListToOpen();
  if (!name.empty()) {
    lists_[0].Clear();
    lists_[1].Clear();
    const bool whole = ReadPlayList(name);
    try {
      RemoveMissingEntries(lists_[0]);
      RemoveMissingEntries(lists_[1]);
      SetCurPlayList(name);
      curPlayListPartial_ = !whole;
      UpdateControls();
      SetPlayListDirty(false);
      RestartPreview();
    } catch (const std::exception&) {
      // The lists keep what was read; the rest stays as it was.
    }
  }
  PausePreview(false);
}

void frmConfig::mnuSave_Click() {
  if (!curPlayList_.empty()) {
    WritePlayList(curPlayList_);
  } else {
    mnuSaveAs_Click();
  }
}

void frmConfig::mnuSaveAs_Click() {
  PausePreview(true);
  CD1.FileName = curPlayList_;
  CD1.DialogTitle = "Save Play List";
  CD1.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES;
  CD1.MaxFileSize = MAX_PATH;
  CD1.Filter = FilterFor("Play List Files", kPlayListPattern);
  CD1.FilterIndex = 1;
  if (CD1.ShowSave(hWnd()) && !CD1.FileName.empty()) {
    const std::string name = CD1.FileName;
    WritePlayList(name);
    SetCurPlayList(name);  // also when the write failed
  }
  PausePreview(false);
}

void frmConfig::mnuMergeList_Click() {
  PausePreview(true);
  const std::string name = ChoosePlayListToOpen();
  if (!name.empty()) {
    ReadPlayList(name);
    try {
      RemoveMissingEntries(lists_[0]);
      RemoveMissingEntries(lists_[1]);
      UpdateControls();
      SetPlayListDirty(true);
      RestartPreview();
    } catch (const std::exception&) {}
  }
  PausePreview(false);
}

}  // namespace tessaly
