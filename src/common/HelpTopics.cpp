#include "HelpTopics.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "Convert.h"
#include "mString.h"

namespace tessaly {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::vector<HelpTopic> ParseHelpTopics(const std::string& source) {
  std::vector<HelpTopic> topics;
  std::string rest = source;
  bool more = !rest.empty();
  bool paragraph = false;  // the last text line belongs to a paragraph that goes on
  while (more) {
    more = rest.find('\n') != std::string::npos;
    std::string line = NextToken(rest, '\n');
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (StartsWith(line, ".topic ")) {
      HelpTopic topic;
      std::string head = TrimLeft(line.substr(7));
      const std::string number = NextToken(head, ' ');
      char* end = nullptr;
      topic.context = std::strtoul(number.c_str(), &end, 10);
      topic.title = Trim(head);
      topics.push_back(topic);
      paragraph = false;
    } else if (topics.empty()) {
      continue;
    } else if (StartsWith(line, ".keywords ")) {
      std::string list = line.substr(10);
      bool last = false;
      while (!last) {
        last = list.find(';') == std::string::npos;
        const std::string keyword = Trim(NextToken(list, ';'));
        if (!keyword.empty()) topics.back().keywords.push_back(keyword);
      }
    } else {
      // Lines of a paragraph flow together; an empty line ends the
      // paragraph, and a line that starts with blanks starts a line of its own.
      std::string& text = topics.back().text;
      const bool empty = Trim(line).empty();
      if (empty) {
        text += "\r\n";
        paragraph = false;
      } else if (!paragraph || line[0] == ' ') {
        if (!text.empty()) text += "\r\n";
        text += line;
        paragraph = true;
      } else {
        text += " " + line;
      }
    }
  }
  for (HelpTopic& topic : topics) {
    while (StartsWith(topic.text, "\r\n")) topic.text.erase(0, 2);
    while (topic.text.size() >= 2 && topic.text.compare(topic.text.size() - 2, 2, "\r\n") == 0)
      topic.text.resize(topic.text.size() - 2);
  }
  return topics;
}

const HelpTopic* FindHelpTopic(const std::vector<HelpTopic>& topics, unsigned long context) {
  for (const HelpTopic& topic : topics)
    if (topic.context == context) return &topic;
  return nullptr;
}

std::vector<HelpIndexEntry> HelpIndex(const std::vector<HelpTopic>& topics) {
  std::vector<HelpIndexEntry> index;
  for (std::size_t i = 0; i < topics.size(); ++i)
    for (const std::string& keyword : topics[i].keywords) index.push_back({keyword, i});
  std::stable_sort(index.begin(), index.end(), [](const HelpIndexEntry& a, const HelpIndexEntry& b) {
    return Lower(a.keyword) < Lower(b.keyword);
  });
  return index;
}

std::size_t FirstIndexMatch(const std::vector<HelpIndexEntry>& index, const std::string& prefix) {
  const std::string wanted = Lower(prefix);
  for (std::size_t i = 0; i < index.size(); ++i)
    if (StartsWith(Lower(index[i].keyword), wanted)) return i;
  return index.size();
}

}  // namespace tessaly
