// The help page's topics, their text and the keyword index.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "common/HelpTopics.h"

using namespace tessaly;

namespace {

const char kSource[] =
    "<!DOCTYPE html><html><head><title>Not a topic</title>\n"
    "<style> section { color: red } <p>not text</p> </style></head><body>\n"
    "<h1>Outside every topic</h1><p>ignored</p>\n"
    "<section id=\"topic-1\" data-context=\"1\" data-keywords=\"contents; Overview\">\r\n"
    "<h2>Con<b>tents</b></h2>\r\n"
    "<p>First line of a paragraph\r\n"
    "   flows  on <a href=\"#x\">here</a>.</p>\r\n"
    "<!-- a comment <p>with a tag</p> -->"
    "<ul><li>An item of its own</li>\n<li>and&nbsp;another &amp; &lt;more&gt; &#233;&#x41;&#8364;&bogus;</li></ul>\r\n"
    "<p>Line one<br>line two</p>\n"
    "</section>\n"
    "<section data-note='no context: not a topic'><p>skipped</p></section>\n"
    "<SECTION DATA-CONTEXT=' 7 ' data-keywords='options;; interval ; '>\n"
    "<H2>  Screen Saver   Options  </H2>Text.</SECTION>\n";

}  // namespace

TEST(HelpTopicsTest, SectionsGiveTopicsWithTitlesKeywordsAndPlainText) {
  const std::vector<HelpTopic> topics = ParseHelpTopics(kSource);
  ASSERT_EQ(topics.size(), 2u);
  EXPECT_EQ(topics[0].context, 1u);
  EXPECT_EQ(topics[0].title, "Contents");
  EXPECT_EQ(topics[0].keywords, (std::vector<std::string>{"contents", "Overview"}));
  EXPECT_EQ(topics[0].text,
            "First line of a paragraph flows on here.\r\n\r\n"
            "  An item of its own\r\n"
            "  and\xA0" "another & <more> \xE9" "A?&bogus;\r\n\r\n"
            "Line one\r\nline two");
  EXPECT_EQ(topics[1].context, 7u);
  EXPECT_EQ(topics[1].title, "Screen Saver Options");
  EXPECT_EQ(topics[1].keywords, (std::vector<std::string>{"options", "interval"}));
  EXPECT_EQ(topics[1].text, "Text.");
  EXPECT_EQ(FindHelpTopic(topics, 7), &topics[1]);
  EXPECT_EQ(FindHelpTopic(topics, 3), nullptr);
}

TEST(HelpTopicsTest, PagesWithoutTopicsOrCutShortDoNotFail) {
  EXPECT_TRUE(ParseHelpTopics("<p>no topics at all</p>\n").empty());
  EXPECT_TRUE(ParseHelpTopics("").empty());
  // A page cut in the middle of a tag, an attribute, a comment or a topic.
  const std::string page = kSource;
  for (std::size_t cut = 0; cut < page.size(); ++cut) {
    const std::vector<HelpTopic> topics = ParseHelpTopics(page.substr(0, cut));
    EXPECT_LE(topics.size(), 2u);
  }
  const std::vector<HelpTopic> cut = ParseHelpTopics("<section data-context=\"3\"><h2>Title</h2><p>Half a parag");
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].title, "Title");
  EXPECT_EQ(cut[0].text, "Half a parag");
  // A context number too large for 32 bits is kept at the largest.
  EXPECT_EQ(ParseHelpTopics("<section data-context=\"99999999999\">")[0].context, 4294967295UL);
  EXPECT_EQ(ParseHelpTopics("<section data-context=\"x1\">")[0].context, 0UL);
}

TEST(HelpTopicsTest, TheIndexIsSortedAndSearchedWithoutRegardToCase) {
  const std::vector<HelpTopic> topics = ParseHelpTopics(kSource);
  const std::vector<HelpIndexEntry> index = HelpIndex(topics);
  ASSERT_EQ(index.size(), 4u);
  EXPECT_EQ(index[0].keyword, "contents");
  EXPECT_EQ(index[1].keyword, "interval");
  EXPECT_EQ(index[1].topic, 1u);
  EXPECT_EQ(index[2].keyword, "options");
  EXPECT_EQ(index[3].keyword, "Overview");
  EXPECT_EQ(FirstIndexMatch(index, "OV"), 3u);
  EXPECT_EQ(FirstIndexMatch(index, "o"), 2u);
  EXPECT_EQ(FirstIndexMatch(index, ""), 0u);
  EXPECT_EQ(FirstIndexMatch(index, "zebra"), index.size());
}

// The page shipped with the program: the contents first, every topic with a
// title, text and keywords, no context number twice, and the topics the
// program asks for by number present.
TEST(HelpTopicsTest, TheShippedPageHasEveryTopicTheProgramAsksFor) {
  std::ifstream file(TESSALY_HELP_PAGE, std::ios::binary);
  ASSERT_TRUE(file) << TESSALY_HELP_PAGE;
  std::stringstream bytes;
  bytes << file.rdbuf();
  const std::vector<HelpTopic> topics = ParseHelpTopics(bytes.str());
  ASSERT_GE(topics.size(), 5u);
  EXPECT_EQ(topics[0].title, "Contents");
  std::set<unsigned long> contexts;
  for (const HelpTopic& topic : topics) {
    EXPECT_TRUE(contexts.insert(topic.context).second) << topic.context;
    EXPECT_FALSE(topic.title.empty()) << topic.context;
    EXPECT_FALSE(topic.text.empty()) << topic.context;
    EXPECT_FALSE(topic.keywords.empty()) << topic.context;
    EXPECT_EQ(topic.text.find('<'), std::string::npos) << topic.context;
  }
  const HelpTopic* options = FindHelpTopic(topics, 7);  // the options dialog's topic
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(options->title, "Screen Saver Options");
}
