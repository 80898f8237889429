// The metrics reporter: the keyed interface through which the game main and the level report
// named values. The game reports to no one: every operation accepts its arguments and does
// nothing, and GetInt answers 0, so that an output can later be put behind it without
// touching the callers.
#pragma once

#include "tvlib/core/TString.h"

class TMetricsReporter {
 public:
  void LoadScript(const TString& /*path*/) {}
  void SetInt(const TString& /*key*/, int /*value*/, int /*flags*/ = 0) {}
  void SetTime(const TString& /*key*/, float /*seconds*/, int /*flags*/ = 0) {}
  void SetString(const TString& /*key*/, const TString& /*text*/) {}
  void AddCount(const TString& /*key*/, int /*count*/) {}
  void AddTime(const TString& /*key*/, float /*seconds*/) {}
  int GetInt(const TString& /*key*/) const { return 0; }
  void StartSession() {}
  void Commit() {}
  void Update() {}
  void Close() {}
  void EndTime(const TString& /*key*/) {}
};

// The program's reporter.
TMetricsReporter& GetMetricsReporter();
