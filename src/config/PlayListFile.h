// Play-list files: the two lists of the configuration window as text, one
// line per entry, the pictures first ("P:" + entry) and then the sounds
// ("S:" + entry), each line ending in CR LF. There is no header. The file
// itself is reached through TextFileStore, so the format is tested without
// a file system.
//
// Each line is written in the system's ANSI code page wherever its entry
// has an exact form there, as every earlier version wrote and reads it, and
// in UTF-8 otherwise (a name such as "Łódź.jpg" on a Western system). The
// reader takes a line that is valid UTF-8 with bytes above 127 as UTF-8 and
// any other line as ANSI. An ANSI line whose bytes happen to form valid
// UTF-8 (rare in names: "Ã©" and the like) is written in UTF-8 instead, so
// that it reads back as itself. The columns stay characters: in an ANSI line
// of a double-byte code page the folder starts at byte 256, as earlier
// versions counted.
#pragma once

#include <string>

#include "common/ListBox.h"
#include "common/TextFiles.h"
#include "common/Utf.h"

namespace tessaly {

// The pattern the file dialogs offer for play lists.
extern const char kPlayListPattern[];

// "P:" + entry + CR LF for every picture, then "S:" + entry + CR LF for
// every sound, entries exactly as the lists hold them. Two empty lists give
// the empty text.
std::string PlayListText(const ListBox& pictures, const ListBox& sounds, const AnsiCodePage& ansi);

// Appends the entries of a play list's text to the two lists. A line ends at
// CR LF or at a lone CR; a lone LF is an ordinary character of its line. The
// text after the last line end, when there is any, is a last line too. A
// line whose first character is a capital "P" goes to the pictures, any other
// line (an empty one too) to the sounds; its entry is the line from its third
// character on, whatever its length (empty for lines shorter than that).
void AppendPlayListText(const std::string& text, ListBox& pictures, ListBox& sounds, const AnsiCodePage& ansi);

// One entry as an ANSI line would hold it (the folder at byte 256 where the
// code page has characters of two bytes); false when it has none there.
bool AnsiEntry(const std::string& entry, const AnsiCodePage& ansi, std::string& bytes);
// The entry of the bytes of an ANSI line after its first two characters.
std::string EntryOfAnsi(const std::string& bytes, const AnsiCodePage& ansi);

// Writes both lists to the file (see TextFileStore::ReplaceAll); raises.
void WritePlayListFile(TextFileStore& files, const std::string& path, const ListBox& pictures, const ListBox& sounds,
                       const AnsiCodePage& ansi);

// Appends the file's entries to the two lists. When the file cannot be read
// whole, the entries of the lines read completely before the failure are
// appended all the same, and then the failure is raised.
void ReadPlayListFile(TextFileStore& files, const std::string& path, ListBox& pictures, ListBox& sounds,
                      const AnsiCodePage& ansi);

// The save prompt's question, naming the play list's base name when there is
// a current play-list file.
std::string SaveChangesQuestion(const std::string& curPlayList);

// The question before a play-list file that could not be read whole is
// replaced by the entries that were read.
std::string ReplacePartialQuestion(const std::string& curPlayList);

// The caption of the play-list frame: "Play List", or "Play List - [" + base
// name + "]" when there is a current play-list file.
std::string PlayListFrameCaption(const std::string& curPlayList);

}  // namespace tessaly
