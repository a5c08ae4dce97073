// The program's help file: topics with a context number, a title, index
// keywords and text. The file is plain text:
//
//   .topic 7 Screen Saver Options
//   .keywords options; interval; transition
//   Text of the topic, any number of lines.
//
// Lines before the first ".topic" are ignored. The first topic is the
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
