// The program's help file: topics with a context number, a title, index
// keywords and text. The file is an HTML page that any browser shows as
// well; a topic is a section carrying its context number and keywords:
//
//   <section id="topic-7" data-context="7" data-keywords="options; interval">
//   <h2>Screen Saver Options</h2>
//   <p>Text of the topic.</p>
//   <ul><li>An item.</li></ul>
//   </section>
//
// Everything outside such sections is ignored. The first topic is the
// contents page.
#pragma once

#include <string>
#include <vector>

namespace tessaly {

struct HelpTopic {
  unsigned long context = 0;
  std::string title;
  std::vector<std::string> keywords;
  std::string text;  // lines joined with CR LF
};

// The topics of the page in their order. The text of a topic is plain: its
// paragraphs are separated by an empty line, list items stand on lines of
// their own indented by two blanks, runs of white space read as one blank
// and character references are decoded (to Windows-1252; others read "?").
std::vector<HelpTopic> ParseHelpTopics(const std::string& source);

// The topic with this context number; nullptr when there is none.
const HelpTopic* FindHelpTopic(const std::vector<HelpTopic>& topics, unsigned long context);

// Index entries: every keyword with the topic it leads to, sorted without
// regard to case.
struct HelpIndexEntry {
  std::string keyword;
  std::size_t topic;  // index into the topics
};
std::vector<HelpIndexEntry> HelpIndex(const std::vector<HelpTopic>& topics);

// The first index entry whose keyword begins with `prefix` (case ignored);
// the entry count when none does.
std::size_t FirstIndexMatch(const std::vector<HelpIndexEntry>& index, const std::string& prefix);

}  // namespace tessaly
