// The help file's topics, paragraphs and keyword index.
#include <gtest/gtest.h>

#include "HelpTopics.h"

using namespace tessaly;

namespace {

const char kSource[] =
    "Anything before the first topic is a comment.\n"
    ".topic 1 Contents\r\n"
    ".keywords contents; Overview\r\n"
    "First line of a paragraph\r\n"
    "flows on here.\r\n"
    "\r\n"
    "  An item of its own\r\n"
    "  and another.\r\n"
    "\r\n"
    ".topic 7   Screen Saver Options  \n"
    ".keywords options;; interval ; \n"
    "Text.\n";

}  // namespace

TEST(HelpTopicsTest, TopicsWithTitlesKeywordsAndParagraphs) {
  const std::vector<HelpTopic> topics = ParseHelpTopics(kSource);
  ASSERT_EQ(topics.size(), 2u);
  EXPECT_EQ(topics[0].context, 1u);
  EXPECT_EQ(topics[0].title, "Contents");
  EXPECT_EQ(topics[0].keywords, (std::vector<std::string>{"contents", "Overview"}));
  EXPECT_EQ(topics[0].text,
            "First line of a paragraph flows on here.\r\n\r\n  An item of its own\r\n  and another.");
  EXPECT_EQ(topics[1].context, 7u);
  EXPECT_EQ(topics[1].title, "Screen Saver Options");
  EXPECT_EQ(topics[1].keywords, (std::vector<std::string>{"options", "interval"}));
  EXPECT_EQ(topics[1].text, "Text.");
  EXPECT_EQ(FindHelpTopic(topics, 7), &topics[1]);
  EXPECT_EQ(FindHelpTopic(topics, 3), nullptr);
  EXPECT_TRUE(ParseHelpTopics("no topics at all\n").empty());
  EXPECT_TRUE(ParseHelpTopics("").empty());
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
