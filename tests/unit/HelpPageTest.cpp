// The help page's address with a topic's anchor, and the browser's command
// line made from the command the system registers for web addresses.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>

#include "common/HelpPage.h"

using namespace tessaly::help;

TEST(HelpPage, TheAddressIsTheFileUrlOfThePageWithTheAnchor) {
  EXPECT_EQ(PageAddress("C:\\Windows\\System32\\TSCSS.htm", kContents),
            "file:///C:/Windows/System32/TSCSS.htm#contents");
  EXPECT_EQ(PageAddress("C:\\Windows\\System32\\TSCSS.htm", ""), "file:///C:/Windows/System32/TSCSS.htm");
  // A network share keeps its server as the URL's host.
  EXPECT_EQ(PageAddress("\\\\server\\share\\TSCSS.htm", kIndex), "file://server/share/TSCSS.htm#index");
  // Blanks, "#", "%", "?" and quotes in the folder are encoded, so the
  // anchor stays the only fragment and the address one word; parentheses
  // and the drive's colon stay as they are.
  EXPECT_EQ(PageAddress("C:\\Program Files (x86)\\A#1 100% \"ok\"?\\TSCSS.htm", "options"),
            "file:///C:/Program%20Files%20(x86)/A%231%20100%25%20%22ok%22%3F/TSCSS.htm#options");
  // Non-ASCII names go as their UTF-8 bytes.
  EXPECT_EQ(PageAddress("D:\\Zo\xC3\xAB\\TSCSS.htm", kIndex), "file:///D:/Zo%C3%AB/TSCSS.htm#index");
}

TEST(HelpPage, TheBrowsersCommandGetsTheAddressWhereItAsksForIt) {
  const std::string address = "file:///C:/Windows/System32/TSCSS.htm#contents";
  EXPECT_EQ(BrowserCommandLine("\"C:\\browser.exe\" \"%1\"", address), "\"C:\\browser.exe\" \"" + address + "\"");
  EXPECT_EQ(BrowserCommandLine("\"C:\\Program Files\\B\\b.exe\" --single-argument %1", address),
            "\"C:\\Program Files\\B\\b.exe\" --single-argument " + address);
  EXPECT_EQ(BrowserCommandLine("b.exe -osint -url \"%L\"", address), "b.exe -osint -url \"" + address + "\"");
  EXPECT_EQ(BrowserCommandLine("b.exe %0", address), "b.exe " + address);
  // Without a placeholder the address is appended, as the shell does.
  EXPECT_EQ(BrowserCommandLine("\"C:\\windows\\system32\\winebrowser.exe\" -nohome", address),
            "\"C:\\windows\\system32\\winebrowser.exe\" -nohome " + address);
  EXPECT_EQ(BrowserCommandLine("b.exe ", address), "b.exe " + address);
  // "%%" is a percent sign; the other arguments and an item list stand for
  // nothing here.
  EXPECT_EQ(BrowserCommandLine("b.exe --zoom=100%% %* %I \"%1\"", address), "b.exe --zoom=100%   \"" + address + "\"");
  EXPECT_EQ(BrowserCommandLine("b.exe 50%", address), "b.exe 50% " + address);
}

TEST(HelpPage, EveryTopicTheProgramOpensHasAnAnchorOfItsOwn) {
  EXPECT_STREQ(AnchorOfContext(kOptionsContext), "options");
  // A context without a topic of its own shows the contents.
  EXPECT_STREQ(AnchorOfContext(12345), kContents);
  const std::vector<std::string> anchors = Anchors();
  EXPECT_EQ(std::set<std::string>(anchors.begin(), anchors.end()).size(), anchors.size());
  EXPECT_EQ(anchors.size(), 2 + std::size(kContextTopics));
  for (const std::string& anchor : {std::string(kContents), std::string(kIndex), std::string("options")})
    EXPECT_EQ(std::count(anchors.begin(), anchors.end(), anchor), 1) << anchor;
  // An anchor is a plain id: it needs no encoding in the address.
  for (const std::string& anchor : anchors) EXPECT_EQ(PageAddress("C:\\p.htm", anchor), "file:///C:/p.htm#" + anchor);
}
