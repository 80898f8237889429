// One instance per installation: the second claim asks the first to raise its window.
#include "tvlib/platform/process/SingleInstance.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <string>

#include "tvlib/platform/process/ProgramPath.h"

namespace {

// A name no other test run shares.
TString UniqueName(const char* tag) {
  return TString::Format("/tmp/festravask-test-%s-%d", tag, static_cast<int>(getpid()));
}

}  // namespace

TEST(SingleInstance, SecondClaimAsksTheFirstToRaise) {
  TSingleInstance first, second;
  TString name = UniqueName("raise");
  ASSERT_EQ(first.Claim(name), TSingleInstance::TClaim::kFirst);
  EXPECT_FALSE(first.TakeRaiseRequest());
  EXPECT_EQ(second.Claim(name), TSingleInstance::TClaim::kAlreadyRunning);
  EXPECT_TRUE(first.TakeRaiseRequest());
  EXPECT_FALSE(first.TakeRaiseRequest());
}

TEST(SingleInstance, NameIsFreedWithItsHolder) {
  TString name = UniqueName("free");
  {
    TSingleInstance holder;
    ASSERT_EQ(holder.Claim(name), TSingleInstance::TClaim::kFirst);
  }
  TSingleInstance next;
  EXPECT_EQ(next.Claim(name), TSingleInstance::TClaim::kFirst);
}

TEST(SingleInstance, InstanceNameIgnoresCaseAndSeparators) {
  EXPECT_EQ(MakeInstanceName("/Games/FestraVask/FestraVask"),
            TString("/games/festravask/festravask"));
  EXPECT_EQ(MakeInstanceName("C:\\Games\\Fv.EXE"), TString("cgamesfv.exe"));
  TSingleInstance upper, lower;
  ASSERT_EQ(upper.Claim(MakeInstanceName(UniqueName("CASE"))), TSingleInstance::TClaim::kFirst);
  EXPECT_EQ(lower.Claim(MakeInstanceName(UniqueName("case"))),
            TSingleInstance::TClaim::kAlreadyRunning);
  EXPECT_FALSE(GetProgramPath().Length() == 0);
}

// One copy per user and display: the same build on another display (another X server, as a
// test's own) runs beside it; another screen of the same display does not.
TEST(SingleInstance, ClaimsAreKeptApartByDisplay) {
  const TString name = MakeInstanceName(UniqueName("display"));
  TSingleInstance onFive, onSix, onFiveAgain, onFiveScreenOne;
  ASSERT_EQ(onFive.Claim(name, ":5"), TSingleInstance::TClaim::kFirst);
  EXPECT_EQ(onSix.Claim(name, ":6"), TSingleInstance::TClaim::kFirst);
  EXPECT_EQ(onFiveAgain.Claim(name, ":5"), TSingleInstance::TClaim::kAlreadyRunning);
  EXPECT_EQ(onFiveScreenOne.Claim(name, ":5.1"), TSingleInstance::TClaim::kAlreadyRunning);
}
