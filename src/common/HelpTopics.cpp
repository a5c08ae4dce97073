#include "common/HelpTopics.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "common/Convert.h"
#include "common/mString.h"

namespace tessaly {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

struct Tag {
  std::string name;  // lower case; "/p" for a closing tag
  std::vector<std::pair<std::string, std::string>> attributes;

  const std::string* Attribute(const std::string& wanted) const {
    for (const auto& a : attributes)
      if (a.first == wanted) return &a.second;
    return nullptr;
  }
};

// Reads the tag that starts at source[at] == '<'; returns the position after
// its '>' (the end of the source when it has none).
std::size_t ReadTag(const std::string& source, std::size_t at, Tag& tag) {
  const std::size_t n = source.size();
  std::size_t i = at + 1;
  if (source.compare(i, 3, "!--") == 0) {  // a comment
    const std::size_t end = source.find("-->", i + 3);
    return end == std::string::npos ? n : end + 3;
  }
  if (i < n && source[i] == '/') tag.name += source[i++];
  while (i < n && !IsSpace(source[i]) && source[i] != '>' && source[i] != '/')
    tag.name += static_cast<char>(std::tolower(static_cast<unsigned char>(source[i++])));
  while (i < n && source[i] != '>') {
    if (IsSpace(source[i]) || source[i] == '/') {
      ++i;
      continue;
    }
    std::string name;
    while (i < n && !IsSpace(source[i]) && source[i] != '>' && source[i] != '=' && source[i] != '/')
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(source[i++])));
    if (name.empty()) {  // a stray '=': skip it
      ++i;
      continue;
    }
    std::string value;
    while (i < n && IsSpace(source[i])) ++i;
    if (i < n && source[i] == '=') {
      ++i;
      while (i < n && IsSpace(source[i])) ++i;
      if (i < n && (source[i] == '"' || source[i] == '\'')) {
        const char quote = source[i++];
        const std::size_t end = source.find(quote, i);
        const std::size_t stop = end == std::string::npos ? n : end;
        value = source.substr(i, stop - i);
        i = end == std::string::npos ? n : end + 1;
      } else {
        while (i < n && !IsSpace(source[i]) && source[i] != '>') value += source[i++];
      }
    }
    tag.attributes.emplace_back(name, value);
  }
  return i < n ? i + 1 : n;
}

// Decodes the character reference at source[at] == '&'; `at` moves past it.
// What is no reference stands for itself.
char ReadReference(const std::string& source, std::size_t& at) {
  static const struct {
    const char* name;
    char c;
  } kNamed[] = {{"amp", '&'},         {"lt", '<'},          {"gt", '>'},          {"quot", '"'},
                {"apos", '\''},       {"nbsp", '\xA0'},     {"copy", '\xA9'},     {"reg", '\xAE'},
                {"ndash", '\x96'},    {"mdash", '\x97'},    {"hellip", '\x85'},   {"times", '\xD7'}};
  const std::size_t end = source.find(';', at + 1);
  if (end == std::string::npos || end - at > 10) return source[at++];
  const std::string name = source.substr(at + 1, end - at - 1);
  if (name.size() >= 2 && name[0] == '#') {
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) return source[at++];
    unsigned long code = 0;
    for (char d : digits) {
      const int v = std::isdigit(static_cast<unsigned char>(d))                 ? d - '0'
                    : hex && std::isxdigit(static_cast<unsigned char>(d)) ? std::tolower(d) - 'a' + 10
                                                                                : -1;
      if (v < 0) return source[at++];
      code = code * (hex ? 16 : 10) + static_cast<unsigned long>(v);
      if (code > 0x10FFFF) code = 0x110000;
    }
    at = end + 1;
    return code >= 0x20 && code < 0x100 && !(code >= 0x7F && code < 0xA0) ? static_cast<char>(code) : '?';
  }
  for (const auto& entry : kNamed)
    if (name == entry.name) {
      at = end + 1;
      return entry.c;
    }
  return source[at++];
}

// Plain text made of an HTML topic: blanks collapsed, breaks asked for by
// the tags given out only before the next text.
class TextBuilder {
 public:
  void Char(char c) {
    if (IsSpace(c)) {
      space_ = true;
      return;
    }
    if (static_cast<unsigned char>(c) < 0x20) return;
    if (!text_.empty()) {
      if (breaks_ > 0) {
        for (int i = 0; i < breaks_; ++i) text_ += "\r\n";
      } else if (space_) {
        text_ += ' ';
      }
    }
    if (breaks_ > 0 || text_.empty()) {
      if (indent_) text_ += "  ";
      indent_ = false;
    }
    breaks_ = 0;
    space_ = false;
    text_ += c;
  }
  void Break(int count) {
    if (count > breaks_) breaks_ = count;
  }
  void Item() {
    Break(1);
    indent_ = true;
  }
  void LineBreak() {
    breaks_ = breaks_ < 2 ? breaks_ + 1 : 2;
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  int breaks_ = 0;
  bool space_ = false;
  bool indent_ = false;
};

bool IsBlock(const std::string& name) {
  static const char* const kBlocks[] = {"p",  "div", "ul", "ol", "dl", "dt", "dd", "h1", "h3", "h4",
                                        "h5", "h6",  "table", "tr", "blockquote", "pre", "hr"};
  const std::string bare = name[0] == '/' ? name.substr(1) : name;
  for (const char* block : kBlocks)
    if (bare == block) return true;
  return false;
}

unsigned long ContextNumber(const std::string& text) {
  unsigned long number = 0;
  for (char c : Trim(text)) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    number = number > 429496729UL ? 4294967295UL : number * 10 + static_cast<unsigned long>(c - '0');
  }
  return number;
}

std::vector<std::string> Keywords(std::string list) {
  std::vector<std::string> keywords;
  bool last = false;
  while (!last) {
    last = list.find(';') == std::string::npos;
    const std::string keyword = Trim(NextToken(list, ';'));
    if (!keyword.empty()) keywords.push_back(keyword);
  }
  return keywords;
}

}  // namespace

std::vector<HelpTopic> ParseHelpTopics(const std::string& source) {
  std::vector<HelpTopic> topics;
  bool inTopic = false, inTitle = false, skipping = false;
  TextBuilder text, title;
  std::string skipUntil;
  const auto finish = [&] {
    if (!inTopic) return;
    topics.back().title = title.Text();
    topics.back().text = text.Text();
    inTopic = inTitle = false;
  };
  std::size_t i = 0;
  while (i < source.size()) {
    if (source[i] == '<') {
      Tag tag;
      i = ReadTag(source, i, tag);
      if (skipping) {
        skipping = tag.name != skipUntil;
        continue;
      }
      if (tag.name == "style" || tag.name == "script") {
        skipping = true;
        skipUntil = "/" + tag.name;
      } else if (tag.name == "section") {
        const std::string* context = tag.Attribute("data-context");
        if (context == nullptr) continue;
        finish();
        HelpTopic topic;
        topic.context = ContextNumber(*context);
        if (const std::string* keywords = tag.Attribute("data-keywords")) topic.keywords = Keywords(*keywords);
        topics.push_back(topic);
        text = TextBuilder();
        title = TextBuilder();
        inTopic = true;
      } else if (!inTopic) {
        continue;
      } else if (tag.name == "/section") {
        finish();
      } else if (tag.name == "h2" && title.Text().empty()) {
        inTitle = true;
      } else if (tag.name == "/h2" && inTitle) {
        inTitle = false;
      } else if (inTitle) {
        continue;
      } else if (tag.name == "li") {
        text.Item();
      } else if (tag.name == "br") {
        text.LineBreak();
      } else if (!tag.name.empty() && IsBlock(tag.name)) {
        text.Break(2);
      } else if (tag.name == "h2" || tag.name == "/h2") {
        text.Break(2);
      }
      continue;
    }
    const char c = source[i] == '&' ? ReadReference(source, i) : source[i++];
    if (skipping || !inTopic) continue;
    (inTitle ? title : text).Char(c);
  }
  finish();
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
