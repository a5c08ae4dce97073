// The LISTBOX wrapper against real list box controls.
#include "UiTestSupport.h"

#include "ui/ListBoxControl.h"

namespace uitest {
namespace {

class ListBoxControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = CreateWindowA("STATIC", "lists", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    multi = CreateWindowA("LISTBOX", "", WS_CHILD | LBS_MULTIPLESEL | LBS_SORT, 0, 0, 100, 100, parent, nullptr,
                          nullptr, nullptr);
    single = CreateWindowA("LISTBOX", "", WS_CHILD, 100, 0, 100, 100, parent, nullptr, nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(parent); }
  HWND parent, multi, single;
};

TEST_F(ListBoxControlTest, ItemsKeepTheirOrderEvenInASortedList) {
  ListBoxControl list;
  list.Attach(multi);
  EXPECT_EQ(list.hWnd(), multi);
  EXPECT_EQ(list.ListCount(), 0);
  list.AddItem("c:\\pictures\\b.jpg");
  list.AddItem("a.gif");
  list.AddItem("");
  list.AddItem("c.bmp");
  ASSERT_EQ(list.ListCount(), 4);
  EXPECT_EQ(list.List(0), "c:\\pictures\\b.jpg");
  EXPECT_EQ(list.List(1), "a.gif");
  EXPECT_EQ(list.List(2), "");
  EXPECT_EQ(list.List(3), "c.bmp");
  EXPECT_EQ(SendMessageA(multi, LB_GETCOUNT, 0, 0), 4);
  list.RemoveItem(1);
  EXPECT_EQ(list.ListCount(), 3);
  EXPECT_EQ(list.List(1), "");
  list.Clear();
  EXPECT_EQ(list.ListCount(), 0);
}

TEST_F(ListBoxControlTest, SelectionInAMultipleSelectionList) {
  ListBoxControl list(multi);
  for (const char* s : {"one", "two", "three"}) list.AddItem(s);
  list.SetSelected(0, true);
  list.SetSelected(2, true);
  EXPECT_TRUE(list.Selected(0));
  EXPECT_FALSE(list.Selected(1));
  EXPECT_TRUE(list.Selected(2));
  EXPECT_EQ(SendMessageA(multi, LB_GETSELCOUNT, 0, 0), 2);
  list.SetSelected(0, false);
  EXPECT_FALSE(list.Selected(0));
  EXPECT_TRUE(list.Selected(2));
}

TEST_F(ListBoxControlTest, ChangingAnItemKeepsItsPlaceAndSelection) {
  for (HWND box : {multi, single}) {
    ListBoxControl list(box);
    for (const char* s : {"one", "two", "three"}) list.AddItem(s);
    list.SetSelected(1, true);
    list.SetList(1, "zz changed");
    list.SetList(2, "a changed");
    EXPECT_EQ(list.List(0), "one");
    EXPECT_EQ(list.List(1), "zz changed");
    EXPECT_EQ(list.List(2), "a changed");
    EXPECT_EQ(list.ListCount(), 3);
    EXPECT_FALSE(list.Selected(0));
    EXPECT_TRUE(list.Selected(1));
    EXPECT_FALSE(list.Selected(2));
    EXPECT_THROW(list.SetList(3, "x"), AppError);
  }
}

TEST_F(ListBoxControlTest, SelectionInASingleSelectionList) {
  ListBoxControl list(single);
  for (const char* s : {"one", "two", "three"}) list.AddItem(s);
  list.SetSelected(1, true);
  EXPECT_TRUE(list.Selected(1));
  EXPECT_EQ(SendMessageA(single, LB_GETCURSEL, 0, 0), 1);
  list.SetSelected(2, true);
  EXPECT_FALSE(list.Selected(1));
  EXPECT_TRUE(list.Selected(2));
  list.SetSelected(2, false);
  EXPECT_EQ(SendMessageA(single, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ListBoxControlTest, IndexOutsideTheListIsAnInvalidCall) {
  ListBoxControl list(single);
  list.AddItem("only");
  for (int bad : {-1, 1, 7}) {
    try {
      list.List(bad);
      ADD_FAILURE() << bad;
    } catch (const AppError& e) {
      EXPECT_EQ(e.Number(), kErrInvalidCall);
    }
    EXPECT_THROW(list.RemoveItem(bad), AppError);
    EXPECT_THROW(list.Selected(bad), AppError);
  }
  EXPECT_EQ(list.ListCount(), 1);
}

}  // namespace
}  // namespace uitest
