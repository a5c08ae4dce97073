#include "config/PlayListFile.h"

#include "common/mFiles.h"

namespace tessaly {

const char kPlayListPattern[] = "*.tsl";

namespace {

const char kLineEnd[] = "\r\n";

void AppendLines(std::string& text, const char* prefix, const ListBox& list) {
  const int count = list.ListCount();
  for (int i = 0; i < count; ++i) {
    text += prefix;
    text += list.List(i);
    text += kLineEnd;
  }
}

void AddLine(const std::string& text, size_t begin, size_t end, ListBox& pictures, ListBox& sounds) {
  ListBox& list = (end > begin && text[begin] == 'P') ? pictures : sounds;
  const size_t entry = begin + 2;  // the second character is dropped unchecked
  list.AddItem(entry < end ? text.substr(entry, end - entry) : std::string());
}

}  // namespace

std::string PlayListText(const ListBox& pictures, const ListBox& sounds) {
  std::string text;
  AppendLines(text, "P:", pictures);
  AppendLines(text, "S:", sounds);
  return text;
}

void AppendPlayListText(const std::string& text, ListBox& pictures, ListBox& sounds) {
  size_t begin = 0;
  while (begin < text.size()) {
    const size_t cr = text.find('\r', begin);
    if (cr == std::string::npos) {  // a last line without its line end
      AddLine(text, begin, text.size(), pictures, sounds);
      return;
    }
    AddLine(text, begin, cr, pictures, sounds);
    begin = cr + 1;
    if (begin < text.size() && text[begin] == '\n') ++begin;
  }
}

void WritePlayListFile(TextFileStore& files, const std::string& path, const ListBox& pictures,
                       const ListBox& sounds) {
  files.ReplaceAll(path, PlayListText(pictures, sounds));
}

void ReadPlayListFile(TextFileStore& files, const std::string& path, ListBox& pictures, ListBox& sounds) {
  AppendPlayListText(files.ReadAll(path), pictures, sounds);
}

std::string SaveChangesQuestion(const std::string& curPlayList) {
  const std::string named =
      curPlayList.empty() ? std::string() : " [" + SplitPath(curPlayList, kPartBase) + "]";
  return "Your Play List" + named + " has been changed.  Do you want to save your changes?";
}

std::string PlayListFrameCaption(const std::string& curPlayList) {
  if (curPlayList.empty()) return "Play List";
  return "Play List - [" + SplitPath(curPlayList, kPartBase) + "]";
}

}  // namespace tessaly
