#include "config/ListCommands.h"

#include "common/AppError.h"
#include "common/Convert.h"
#include "common/mListBox.h"

namespace tessaly {

void AddFileEntries(ListBox& list, const std::string& folder, const Collection& names) {
  for (const CollectionItem& name : names.Items()) list.AddItem(MakeFileEntry(name.item, folder));
}

bool AddFolderEntry(ListBox& list, std::string answer) {
  answer = Trim(answer);
  if (answer.empty()) return false;
  if (answer.back() != '\\') answer += '\\';
  list.AddItem(MakeFolderEntry(answer));
  return true;
}

void RemoveSelectedEntries(ListBox& list) {
  for (int i = list.ListCount() - 1; i >= 0; --i) {
    if (list.Selected(i)) list.RemoveItem(i);
  }
  if (list.ListCount() > 0) list.SetSelected(0, true);
}

void MoveSelectedEntry(ListBox& list, int delta) {
  const int from = FirstSelectedIndex(list);
  const int to = from + delta;
  if (to < 0 || to >= list.ListCount())
    throw AppError(kErrInvalidCall, "Invalid procedure call or argument", "ListCommands.MoveSelectedEntry");
  const std::string moved = list.List(from);
  list.SetList(from, list.List(to));
  list.SetList(to, moved);
  list.SetSelected(from, false);
  list.SetSelected(to, true);
}

}  // namespace tessaly
