// The registry text form, and the control's registration file for the current user.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TempDir.h"
#include "webcontrol/ControlRegistration.h"

namespace {

TRegistryKeys Parse(const std::string& text) {
  return ParseRegistryText(text.data(), text.size());
}

// Points XDG_DATA_HOME at a private folder for one test.
class RegistrationTest : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_DATA_HOME")) mOld = old;
    setenv("XDG_DATA_HOME", mDir.Path().c_str(), 1);
  }
  void TearDown() override {
    if (mOld.empty()) {
      unsetenv("XDG_DATA_HOME");
    } else {
      setenv("XDG_DATA_HOME", mOld.c_str(), 1);
    }
  }
  std::string RegistrationFile() const {
    return mDir / (std::string("Tarvolen/classes/") + kControlClassId + ".reg");
  }

  TTempDir mDir;
  std::string mOld;
};

}  // namespace

TEST(RegistryFileTest, TextRoundTripsAndLooksUpWithoutCase) {
  TRegistryKeys keys = {{"A\\B", {{"@", "default"}, {"Name", "x = y"}}}, {"Empty", {}}};
  std::string text;
  ASSERT_TRUE(FormatRegistryText(keys, &text));
  EXPECT_EQ(text, "[A\\B]\n@=default\nName=x = y\n[Empty]\n");
  TRegistryKeys back = Parse(text);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].path, "A\\B");
  ASSERT_NE(FindRegistryValue(back, "a\\b", "name"), nullptr);
  EXPECT_EQ(*FindRegistryValue(back, "a\\b", "name"), "x = y");
  EXPECT_EQ(FindRegistryValue(back, "Empty", "@"), nullptr);
  EXPECT_EQ(FindRegistryValue(back, "A", "@"), nullptr);
}

TEST(RegistryFileTest, ReadingSkipsWhatIsNoKeyOrValue) {
  TRegistryKeys keys = Parse("lost=before any key\r\n[K]\r\nv=1\r\njunk\r\n=no name\r\n[x\n[]");
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[1].path, "");
  EXPECT_TRUE(keys[1].values.empty());
  ASSERT_EQ(keys[0].values.size(), 1u);
  EXPECT_EQ(keys[0].values[0].name, "v");
  EXPECT_EQ(keys[0].values[0].text, "1");
}

TEST(RegistryFileTest, WritingRefusesWhatALineCannotHold) {
  std::string text;
  EXPECT_FALSE(FormatRegistryText({{"K", {{"@", "two\nlines"}}}}, &text));
  EXPECT_FALSE(FormatRegistryText({{"K]", {}}}, &text));
  EXPECT_FALSE(FormatRegistryText({{"K", {{"a=b", "c"}}}}, &text));
  EXPECT_FALSE(FormatRegistryText({{"K", {{"", "c"}}}}, &text));
}

TEST_F(RegistrationTest, RegisteringWritesTheClassEntriesAHostResolves) {
  const std::string library = "/opt/festravask/FestraVask.1.0.0.48.so";
  EXPECT_EQ(FindRegisteredLibrary(kControlVersionIndependentProgId), "");
  ASSERT_TRUE(RegisterControl(library));
  std::string text = ReadWholeFile(RegistrationFile());
  TRegistryKeys keys = Parse(text);
  struct TEntry {
    const char* key;
    const char* name;
    std::string value;
  } entries[] = {
      {"AppID\\{0A13893F-AC7D-4288-96A1-72E17B002D86}", "@", "activex"},
      {"AppID\\activex.DLL", "AppID", "{0A13893F-AC7D-4288-96A1-72E17B002D86}"},
      {"activex.TarvolenFestraVaskControl.1", "@", "CTarvolenFestraVaskControl Object"},
      {"activex.TarvolenFestraVaskControl.1\\CLSID", "@", "{EA6246B4-F380-443F-8727-9AEA3371146C}"},
      {"activex.TarvolenFestraVaskControl\\CurVer", "@", "activex.TarvolenFestraVaskControl.1"},
      {"CLSID\\{EA6246B4-F380-443f-8727-9AEA3371146C}\\InprocServer32", "@", library},
      {"CLSID\\{EA6246B4-F380-443f-8727-9AEA3371146C}\\InprocServer32", "ThreadingModel",
       "apartment"},
      {"CLSID\\{EA6246B4-F380-443f-8727-9AEA3371146C}\\ToolboxBitmap32", "@", library + ", 1"},
      {"CLSID\\{EA6246B4-F380-443f-8727-9AEA3371146C}\\MiscStatus", "@", "0"},
      {"CLSID\\{EA6246B4-F380-443f-8727-9AEA3371146C}\\MiscStatus\\1", "@", "131473"},
      {"CLSID\\{EA6246B4-F380-443f-8727-9AEA3371146C}\\Version", "@", "1.0"},
      {"TypeLib\\{0A13893F-AC7D-4288-96A1-72E17B002D86}\\1.0", "@", "activex 1.0 Type Library"},
      {"Interface\\{B123794A-AF6F-4D2C-9045-2235962745B9}", "@", "ITarvolenFestraVaskControl"},
  };
  for (const TEntry& entry : entries) {
    const std::string* value = FindRegistryValue(keys, entry.key, entry.name);
    ASSERT_NE(value, nullptr) << entry.key << " " << entry.name;
    EXPECT_EQ(*value, entry.value) << entry.key;
  }
  EXPECT_EQ(FindRegisteredLibrary(kControlVersionIndependentProgId), library);
  EXPECT_EQ(FindRegisteredLibrary(kControlProgId), library);
  EXPECT_EQ(FindRegisteredLibrary("activex.SomethingElse"), "");

  // Registering again replaces the file whole; unregistering removes it.
  ASSERT_TRUE(RegisterControl("/elsewhere/lib.so"));
  EXPECT_EQ(FindRegisteredLibrary(kControlProgId), "/elsewhere/lib.so");
  EXPECT_TRUE(UnregisterControl());
  EXPECT_FALSE(std::filesystem::exists(RegistrationFile()));
  EXPECT_EQ(FindRegisteredLibrary(kControlProgId), "");
  EXPECT_TRUE(UnregisterControl());
}

TEST_F(RegistrationTest, ALibraryPathTheFileCannotHoldIsNotRegistered) {
  EXPECT_FALSE(RegisterControl("/odd\npath.so"));
  EXPECT_FALSE(std::filesystem::exists(RegistrationFile()));
}

TEST_F(RegistrationTest, WithoutAnyDataFolderNothingIsRegistered) {
  unsetenv("XDG_DATA_HOME");
  std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  unsetenv("HOME");
  EXPECT_EQ(RegistrationFolder(), "");
  EXPECT_FALSE(RegisterControl("/lib.so"));
  if (!home.empty()) setenv("HOME", home.c_str(), 1);
}
