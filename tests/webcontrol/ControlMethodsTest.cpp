// The dispatch interface's methods and the commands they post.
#include <gtest/gtest.h>

#include "webcontrol/ControlMethods.h"

TEST(ControlMethodsTest, EachIdHasItsNameAndCommand) {
  struct TCase {
    int dispid;
    const char* name;
    int command;  // -1: posts nothing
  } cases[] = {{1, "GameContinue", 6}, {2, "GameMenu", 1},      {3, "MuteOn", 2},
               {4, "MuteOff", 3},      {5, "PauseOn", 4},       {6, "PauseOff", 5},
               {7, "GameStart", 7},    {8, "RestartGame", 8},   {9, "SessionStart", 9},
               {10, "LoadGame", -1},   {11, "CustomReturn", 10}};
  for (const TCase& c : cases) {
    const TControlMethod* method = FindControlMethod(c.dispid);
    ASSERT_NE(method, nullptr) << c.dispid;
    EXPECT_STREQ(method->name, c.name);
    EXPECT_EQ(method->posts ? static_cast<int>(method->command) : -1, c.command) << c.name;
    EXPECT_EQ(FindControlMethod(c.name), method);
  }
}

TEST(ControlMethodsTest, NamesMatchWithoutCaseAndUnknownOnesAreMissing) {
  EXPECT_EQ(FindControlMethod("gamestart"), FindControlMethod(7));
  EXPECT_EQ(FindControlMethod("PAUSEON"), FindControlMethod(5));
  for (int dispid : {-1, 0, 12, 1000}) EXPECT_EQ(FindControlMethod(dispid), nullptr) << dispid;
  for (const char* name : {"", "Game", "GameStart ", "quit"})
    EXPECT_EQ(FindControlMethod(name), nullptr) << name;
  EXPECT_EQ(FindControlMethod(static_cast<const char*>(nullptr)), nullptr);
}
