#include "config/PlayListFile.h"

#include "common/mFiles.h"

namespace tessaly {

const char kPlayListPattern[] = "*.tsl";

namespace {

const char kLineEnd[] = "\r\n";
// The entry's first field, up to the folder's column, and the whole entry,
// in characters.
const size_t kNameField = 255;
const size_t kEntryChars = 512;

bool ReadsAsUtf8(const std::string& bytes) { return HasHighBytes(bytes) && IsUtf8(bytes); }

// The bytes of one line: ANSI where the entry has an exact form there that
// does not read as UTF-8, else UTF-8.
std::string LineBytes(const char* prefix, const std::string& entry, const AnsiCodePage& ansi) {
  std::string bytes;
  if (AnsiEntry(entry, ansi, bytes) && !ReadsAsUtf8(bytes)) return prefix + bytes;
  return prefix + entry;
}

void AppendLines(std::string& text, const char* prefix, const ListBox& list, const AnsiCodePage& ansi) {
  const int count = list.ListCount();
  for (int i = 0; i < count; ++i) {
    text += LineBytes(prefix, list.List(i), ansi);
    text += kLineEnd;
  }
}

void AddLine(const std::string& text, size_t begin, size_t end, ListBox& pictures, ListBox& sounds,
             const AnsiCodePage& ansi) {
  const std::string line = text.substr(begin, end - begin);
  if (ReadsAsUtf8(line)) {
    // The first character decides, the second is dropped unchecked.
    const std::u16string units = Utf16FromUtf8(line);
    ListBox& list = !units.empty() && units[0] == u'P' ? pictures : sounds;
    list.AddItem(units.size() > 2 ? Utf8FromUtf16(std::u16string_view(units).substr(2)) : std::string());
    return;
  }
  ListBox& list = (!line.empty() && line[0] == 'P') ? pictures : sounds;
  list.AddItem(line.size() > 2 ? EntryOfAnsi(line.substr(2), ansi) : std::string());
}

std::string TrimRightBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

bool AnsiEntry(const std::string& entry, const AnsiCodePage& ansi, std::string& bytes) {
  const std::u16string units = Utf16FromUtf8(entry);
  const std::u16string_view all(units);
  const std::u16string_view name = all.substr(0, kNameField);
  const std::u16string_view folder = units.size() > kNameField ? all.substr(kNameField) : std::u16string_view();
  std::string a1, a2;
  if (!ansi.FromUtf8(Utf8FromUtf16(name), a1) || !ansi.FromUtf8(Utf8FromUtf16(folder), a2)) return false;
  if (a1.size() == name.size() && a2.size() == folder.size()) {
    bytes = a1 + a2;  // one byte a character: the columns are where they were
    return true;
  }
  // Characters of two bytes: the folder still starts at byte 256, and the
  // line is no longer than an entry of single bytes.
  if (folder.empty()) {
    if (a1.size() > kNameField - 1) return false;
    bytes = a1;
    return true;
  }
  a1 = TrimRightBlanks(a1);
  a2 = TrimRightBlanks(a2);
  if (a1.size() > kNameField || kNameField + a2.size() > kEntryChars) return false;
  a1.resize(kNameField, ' ');
  a2.resize(kEntryChars - kNameField, ' ');
  bytes = a1 + a2;
  return true;
}

std::string EntryOfAnsi(const std::string& bytes, const AnsiCodePage& ansi) {
  if (bytes.size() <= kNameField) return ansi.ToUtf8(bytes);
  std::string name = ansi.ToUtf8(bytes.substr(0, kNameField));
  std::string folder = ansi.ToUtf8(bytes.substr(kNameField));
  // Where characters of two bytes made the entry shorter in characters,
  // blanks bring the folder back to its column and the entry to its length.
  const size_t nameChars = Utf16Length(name);
  if (nameChars < kNameField) name.append(kNameField - nameChars, ' ');
  const size_t chars = kNameField + Utf16Length(folder);
  if (chars < bytes.size()) folder.append(bytes.size() - chars, ' ');
  return name + folder;
}

std::string PlayListText(const ListBox& pictures, const ListBox& sounds, const AnsiCodePage& ansi) {
  std::string text;
  AppendLines(text, "P:", pictures, ansi);
  AppendLines(text, "S:", sounds, ansi);
  return text;
}

void AppendPlayListText(const std::string& text, ListBox& pictures, ListBox& sounds, const AnsiCodePage& ansi) {
  size_t begin = 0;
  while (begin < text.size()) {
    const size_t cr = text.find('\r', begin);
    if (cr == std::string::npos) {  // a last line without its line end
      AddLine(text, begin, text.size(), pictures, sounds, ansi);
      return;
    }
    AddLine(text, begin, cr, pictures, sounds, ansi);
    begin = cr + 1;
    if (begin < text.size() && text[begin] == '\n') ++begin;
  }
}

void WritePlayListFile(TextFileStore& files, const std::string& path, const ListBox& pictures, const ListBox& sounds,
                       const AnsiCodePage& ansi) {
  files.ReplaceAll(path, PlayListText(pictures, sounds, ansi));
}

void ReadPlayListFile(TextFileStore& files, const std::string& path, ListBox& pictures, ListBox& sounds,
                      const AnsiCodePage& ansi) {
  std::string content;
  try {
    files.Read(path, content);
  } catch (...) {
    // The lines read whole before the failure; a line cut off by it is not
    // taken.
    const size_t lastEnd = content.find_last_of('\r');
    if (lastEnd != std::string::npos) AppendPlayListText(content.substr(0, lastEnd + 1), pictures, sounds, ansi);
    throw;
  }
  AppendPlayListText(content, pictures, sounds, ansi);
}

std::string SaveChangesQuestion(const std::string& curPlayList) {
  const std::string named = curPlayList.empty() ? std::string() : " [" + SplitPath(curPlayList, kPartBase) + "]";
  return "Your Play List" + named + " has been changed.  Do you want to save your changes?";
}

std::string ReplacePartialQuestion(const std::string& curPlayList) {
  return "Your Play List [" + SplitPath(curPlayList, kPartBase) +
         "] could not be read whole, so its entries are not all in the lists.  Replace the file with the "
         "entries that were read?";
}

std::string PlayListFrameCaption(const std::string& curPlayList) {
  if (curPlayList.empty()) return "Play List";
  return "Play List - [" + SplitPath(curPlayList, kPartBase) + "]";
}

}  // namespace tessaly
