// The configuration window on an engine of the test's own ("/C" mode, the
// Win32 platform, a settings store of the test alone), with pictures and
// sounds in a folder of the test.
#pragma once

#include "DialogTestSupport.h"

#include "common/AppTitle.h"
#include "config/PlayListFile.h"
#include "startup/WinPlatform.h"
#include "config/frmConfig.h"
#include "common/mFiles.h"
#include "common/mListBox.h"
#include "show/mSlideShow.h"
#include "config/frmConfigRes.h"

namespace dialogtest {

// Whether Up, Down and Remove are enabled.
struct Commands {
  bool up, down, remove;
  bool operator==(const Commands& o) const { return up == o.up && down == o.down && remove == o.remove; }
};

inline std::ostream& operator<<(std::ostream& out, const Commands& c) {
  return out << "{up " << c.up << ", down " << c.down << ", remove " << c.remove << "}";
}

class ConfigWindowTest : public ::testing::Test {
 protected:
  TestSettings settings;
  TempDir dir;
  Answerer answers;
  WinPlatform platform;
  std::unique_ptr<SlideShow> engine;
  std::unique_ptr<frmConfig> form;
  TextFileStore* files = &SystemTextFiles();  // the play-list files the window reads and writes

  void SetUp() override {
    // Short, plain steps: no transition, a picture a second.
    settings.Set("Options", "SwapAffect", "None");
    settings.Set("Options", "Interval", "1");
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) dir.Picture(name, RGB(200, 40, 40));
    for (const char* name : {"x.wav", "y.wav"}) dir.Sound(name);
  }
  void TearDown() override {
    if (form && form->Loaded()) form->Unload();
    form.reset();
    engine.reset();
    DrainQuit();
    if (!answers.Unexpected().empty())
      ADD_FAILURE() << "an unexpected window: " << answers.Unexpected()[0].title << ": "
                    << answers.Unexpected()[0].text;
    EXPECT_TRUE(answers.Done()) << answers.Pending() << " expected window(s) never came";
  }

  HWND Open() {
    DrainQuit();  // the last unloaded form's WM_QUIT would end the next modal loop at once
    engine = std::make_unique<SlideShow>(settings.store, platform, SystemFileSystem(), Mode::Configure);
    form = std::make_unique<frmConfig>(*engine, settings.store, *files);
    form->Show();
    answers.Ignore(form->hWnd());
    return form->hWnd();
  }
  HWND Window() const { return form->hWnd(); }
  HWND Item(int id) const { return GetDlgItem(form->hWnd(), id); }

  // A file entry for a file of the test's folder, and a list stored as the
  // window reads it.
  std::string Entry(const std::string& name) const { return MakeFileEntry(name, dir.Path()); }
  void StoreList(const char* section, const std::vector<std::string>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) settings.Set(section, "File" + std::to_string(i), entries[i]);
  }
  std::vector<std::string> Items(int list) const {
    std::vector<std::string> items;
    const ListBox& box = *form->lstList(list);
    for (int i = 0; i < box.ListCount(); ++i) items.push_back(box.List(i));
    return items;
  }
  std::vector<int> Selected(int list) const {
    std::vector<int> selected;
    const ListBox& box = *form->lstList(list);
    for (int i = 0; i < box.ListCount(); ++i)
      if (box.Selected(i)) selected.push_back(i);
    return selected;
  }
  // The file a play list of these lists is, as the writer makes it.
  static std::string PlayListOf(const std::vector<std::string>& pictures, const std::vector<std::string>& sounds) {
    std::string text;
    for (const std::string& e : pictures) text += "P:" + e + "\r\n";
    for (const std::string& e : sounds) text += "S:" + e + "\r\n";
    return text;
  }

  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  bool MenuEnabled(int id) const {
    return (GetMenuState(GetMenu(Window()), static_cast<UINT>(id), MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
  }
  // Up, Down and Remove as the buttons and the menu show them; the two must
  // agree.
  Commands ListCommands() const {
    Commands buttons{Enabled(IDC_CMDIMAGES3), Enabled(IDC_CMDIMAGES4), Enabled(IDC_CMDIMAGES2)};
    Commands menu{MenuEnabled(IDM_MOVEUP), MenuEnabled(IDM_MOVEDOWN), MenuEnabled(IDM_REMOVE)};
    EXPECT_TRUE(buttons == menu) << "buttons and menu items disagree";
    return buttons;
  }
  std::string FrameCaption() const { return WindowText(Item(IDC_FRAPLAYLIST)); }
  std::string PathLabel() const { return WindowText(Item(IDC_LBLPATH)); }
  int VisibleListId() const { return form->VisibleList() == 0 ? IDC_LSTLIST0 : IDC_LSTLIST1; }
  void Select(const std::vector<int>& items) { SelectItems(Window(), VisibleListId(), items); }
};

}  // namespace dialogtest
