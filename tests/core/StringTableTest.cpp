// The string table: arguments and labels, missing texts, ZXML loading.
#include "tvlib/core/TStringTable.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempDir.h"
#include "tools/zxml/TZxmlWriter.h"
#include "tvlib/core/DebugLog.h"

namespace {

std::string Row(const std::string& label, const std::string& text) {
  return "<Row ss:Index=\"1\"><Cell><Data ss:Type=\"String\">" + label +
         "</Data></Cell><Cell><Data ss:Type=\"String\">" + text + "</Data></Cell></Row>\n";
}

class StringTable : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLogDirectory(dir.Path().c_str());
    std::string workbook =
        "<?xml version=\"1.0\"?><Workbook><Worksheet><Table>\n" +
        Row("score", "Score: %1% points (%%)") + Row("name", "Velka") +
        Row("hello", "Hello %name%, %1%") + Row("amp", "Tom &amp; Jerry") + Row("bad0", "x%0%") +
        Row("bad6", "x%6%") + Row("zero", "%01%,%002%") + Row("bad00", "x%00%") +
        Row("lost", "x%nolabel%") + Row("open", "50%name") + Row("five", "%5%%4%%3%%2%%1%") +
        Row("dup", "first") + Row("dup", "second") + "<Row><Cell><Data>lonely</Data></Cell></Row>" +
        "</Table></Worksheet></Workbook>";
    table.LoadBuffer(workbook.data(), workbook.size());
  }
  std::string Get(const char* label, const char* a1 = "", const char* a2 = "") {
    return table.GetString(label, a1, a2).c_str();
  }
  TTempDir dir;
  TStringTable table;
};

}  // namespace

TEST_F(StringTable, FillsArgumentsAndLabels) {
  EXPECT_EQ(Get("score", "250"), "Score: 250 points (%)");
  EXPECT_EQ(Get("hello", "%name%"), "Hello Velka, Velka");
  EXPECT_EQ(Get("hello", "%%"), "Hello Velka, %");
  EXPECT_EQ(Get("amp"), "Tom & Jerry");
  EXPECT_EQ(Get("dup"), "second");
  EXPECT_EQ(Get("zero", "a", "b"), "a,b");  // leading zeros count for nothing
  EXPECT_EQ(Get("lonely"), "");
  EXPECT_EQ(std::string(table.GetString("five", "1", "2", "3", "4", "5").c_str()), "54321");
  // An unclosed "%" takes the rest as a label, then reads on after the "%".
  EXPECT_EQ(Get("open"), "50Velkaname");
}

TEST_F(StringTable, MissingTextGivesTheMarkerAndALogLine) {
  for (const char* label : {"absent", "bad0", "bad00", "bad6", "lost"})
    EXPECT_EQ(Get(label), "#####");
  EXPECT_EQ(Get("hello", "%nolabel%"), "#####");
  EXPECT_EQ(Get("hello", "%x"), "#####");
  std::string log = ReadWholeFile(dir / "logfile.txt");
  EXPECT_NE(log.find(" ##### : Missing string for label 'absent'"), std::string::npos);
  EXPECT_NE(log.find(" ##### : Missing string for label 'bad6'"), std::string::npos);
}

TEST_F(StringTable, LoadsZxmlAndFailsOnAMissingFile) {
  std::string zipped = MakeZxml(Row("k", "zipped"));
  TStringTable other;
  other.LoadBuffer(zipped.data(), zipped.size());
  EXPECT_STREQ(other.GetString("k").c_str(), "zipped");
  EXPECT_FALSE(other.Load("no such workbook"));
  EXPECT_STREQ(other.GetString("k").c_str(), "#####");
}

// A cell belongs to its row: a row without cells finds none in the rows after it (and the search
// for one stops at its row's end, so many empty rows load in linear time).
TEST(StringTableRows, CellsNeverComeFromALaterRow) {
  std::string workbook;
  for (int i = 0; i < 200000; i++) workbook += "<Row>";
  workbook +=
      "<Row><Data ss:Type=\"String\"" + Row("after", "kept") + "<Row><Cell>" + Row("last", "x");
  TStringTable table;
  table.LoadBuffer(workbook.data(), workbook.size());
  EXPECT_STREQ(table.GetString("after").c_str(), "kept");
  EXPECT_STREQ(table.GetString("last").c_str(), "x");
  EXPECT_STREQ(table.GetString("").c_str(), "");  // the rows without a whole cell
}
