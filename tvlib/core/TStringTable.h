// The localized texts the player reads, by label, from the workbook "strings.xml".
//
// The workbook is spreadsheet XML (plain or ZXML): each "<Row" holds "<Data" cells, the
// first cell's text is the label and the second's the text. It is scanned, not parsed.
// Templates fill "%1%".."%5%" with arguments, "%%" with "%", and "%label%" with another
// label's text (not expanded again). A missing label, an unknown placeholder or an argument
// naming a missing label gives "#####" and a log line.
#pragma once

#include <cstddef>
#include <map>

#include "tvlib/core/TString.h"

class TStringTable {
 public:
  // Replaces the table with the workbook's rows; false when the file does not open.
  bool Load(const TString& name);
  // Replaces the table with the rows of a workbook held in memory.
  void LoadBuffer(const char* bytes, size_t size);
  TString GetString(const TString& label, const TString& a1 = TString(),
                    const TString& a2 = TString(), const TString& a3 = TString(),
                    const TString& a4 = TString(), const TString& a5 = TString()) const;

 private:
  std::map<TString, TString> mStrings;
};
