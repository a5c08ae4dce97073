#include <gtest/gtest.h>

#include "startup/StartupCore.h"

using namespace tessaly;

TEST(ArgumentString, DropsTheProgramNameAndLeadingBlanks) {
  EXPECT_EQ(ArgumentString("C:\\WINDOWS\\SYSTEM\\TESSALY.SCR /s"), "/s");
  EXPECT_EQ(ArgumentString("\"C:\\Program Files\\Tessaly.scr\"   /p 1234"), "/p 1234");
  EXPECT_EQ(ArgumentString("\"C:\\Tessaly.scr\"/c:99"), "/c:99");
  EXPECT_EQ(ArgumentString("Tessaly.scr"), "");
  EXPECT_EQ(ArgumentString("Tessaly.scr xy /INSTALL C:\\Pics\\  "), "xy /INSTALL C:\\Pics\\  ");
}

TEST(CommandMode, IsTheFirstTwoCharactersUpperCased) {
  EXPECT_EQ(CommandModeOf(""), "/C");
  EXPECT_EQ(CommandModeOf("/c:1234"), "/C");
  EXPECT_EQ(CommandModeOf("/s"), "/S");
  EXPECT_EQ(CommandModeOf("/p 12"), "/P");
  EXPECT_EQ(CommandModeOf("x"), "X");
}

TEST(HandleArgument, ReadsTheNumberAfterTheSwitch) {
  EXPECT_EQ(HandleArgument("/p 1234"), 1234);
  EXPECT_EQ(HandleArgument("/P1234"), 1234);
  EXPECT_EQ(HandleArgument("/p   1234"), 1234);
  EXPECT_EQ(HandleArgument("/p:1234"), 0);
  EXPECT_EQ(HandleArgument("/p"), 0);
  EXPECT_EQ(HandleArgument("/p 12 34"), 1234);
  EXPECT_EQ(HandleArgument("/p &H4D2"), 1234);
  EXPECT_THROW(HandleArgument("/p 99999999999"), AppError);
}

TEST(Install, FindsTheFolderAfterTheSwitch) {
  std::string args = "xy /INSTALL C:\\Pics\\";
  size_t pos = InstallPosition(args);
  EXPECT_EQ(pos, 4u);
  EXPECT_EQ(InstallFolder(args, pos), "C:\\Pics\\");
  EXPECT_EQ(InstallPosition("/install c:\\x"), 0u);
  EXPECT_EQ(InstallPosition("/X"), 0u);
  EXPECT_EQ(InstallFolder("/INSTALL", InstallPosition("/INSTALL")), "");
  EXPECT_EQ(InstallFolder("/INSTALL    D:\\Long Folder\\   ", 1), "D:\\Long Folder\\");
}

TEST(Install, EntriesAre512CharactersWithTheFolderAtColumn256) {
  std::string e = MakeEntry("Sample1.jpg", "C:\\Pics\\");
  ASSERT_EQ(e.size(), 512u);
  EXPECT_EQ(e.substr(0, 11), "Sample1.jpg");
  EXPECT_EQ(e.substr(11, 244), std::string(244, ' '));
  EXPECT_EQ(e.substr(255, 8), "C:\\Pics\\");
  EXPECT_EQ(e.substr(263), std::string(512 - 263, ' '));

  std::string empty = MakeEntry("Camera.wav", "");
  EXPECT_EQ(empty.size(), 512u);
  EXPECT_EQ(empty.substr(255), std::string(257, ' '));

  std::string longFolder(300, 'F');
  std::string cut = MakeEntry("a", longFolder);
  EXPECT_EQ(cut.size(), 512u);
  EXPECT_EQ(cut.substr(255), std::string(257, 'F'));
}

TEST(RunSteps, RetriesRepeatsTheStepAndIgnoreSkipsIt) {
  std::vector<std::string> log;
  int failures = 2;
  std::vector<StartupStep> steps = {[&] { log.push_back("one"); },
                                    [&] {
                                      log.push_back("two");
                                      if (failures-- > 0) throw AppError(5, "bad", "test");
                                    },
                                    [&] { log.push_back("three"); }};
  std::vector<ErrorChoice> answers = {ErrorChoice::Retry, ErrorChoice::Ignore};
  size_t asked = 0;
  EXPECT_TRUE(RunSteps(steps, [&](const AppError& err) {
    EXPECT_EQ(err.Number(), 5);
    return answers.at(asked++);
  }));
  EXPECT_EQ(log, (std::vector<std::string>{"one", "two", "two", "three"}));
  EXPECT_EQ(asked, 2u);

  log.clear();
  failures = 1;
  EXPECT_FALSE(RunSteps(steps, [](const AppError&) { return ErrorChoice::Abort; }));
  EXPECT_EQ(log, (std::vector<std::string>{"one", "two"}));
}
