// Play-list files: the two lists of the configuration window as text, one
// line per entry, the pictures first ("P:" + entry) and then the sounds
// ("S:" + entry), each line ending in CR LF. There is no header. The file
// itself is reached through TextFileStore, so the format is tested without
// a file system.
#pragma once

#include <string>

#include "common/ListBox.h"
#include "common/TextFiles.h"

namespace tessaly {

// The pattern the file dialogs offer for play lists.
extern const char kPlayListPattern[];

// "P:" + entry + CR LF for every picture, then "S:" + entry + CR LF for
// every sound, entries exactly as the lists hold them. Two empty lists give
// the empty text.
std::string PlayListText(const ListBox& pictures, const ListBox& sounds);

// Appends the entries of a play list's text to the two lists. A line ends at
// CR LF or at a lone CR; a lone LF is an ordinary character of its line. The
// text after the last line end, when there is any, is a last line too. A
// line whose first character is a capital "P" goes to the pictures, any other
// line (an empty one too) to the sounds; its entry is the line from its third
// character on, whatever its length (empty for lines shorter than that).
void AppendPlayListText(const std::string& text, ListBox& pictures, ListBox& sounds);

// Writes both lists to the file (see TextFileStore::ReplaceAll); raises.
void WritePlayListFile(TextFileStore& files, const std::string& path, const ListBox& pictures,
                       const ListBox& sounds);

// Appends the file's entries to the two lists; raises when the file cannot be
// read, before any entry is added.
void ReadPlayListFile(TextFileStore& files, const std::string& path, ListBox& pictures, ListBox& sounds);

// The save prompt's question, naming the play list's base name when there is
// a current play-list file.
std::string SaveChangesQuestion(const std::string& curPlayList);

// The caption of the play-list frame: "Play List", or "Play List - [" + base
// name + "]" when there is a current play-list file.
std::string PlayListFrameCaption(const std::string& curPlayList);

}  // namespace tessaly
