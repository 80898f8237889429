// The debug log: printf-style lines with a time stamp, appended to "logfile.txt" in the
// user's data folder.
//
// The file starts empty at every run (SetLogDirectory deletes it) and stays near 100 KB:
// once the write position passes 102,400 bytes, writing goes on from 51,200 behind a wrap
// marker, so the start of the run stays readable. Each call opens and closes the file, so
// the log survives a crash up to its last line. Before SetLogDirectory (and when running
// embedded, which never sets it), lines go to "wrenfold.log" in a folder private to the user:
// "$XDG_RUNTIME_DIR/wrenfold", else a "wrenfold-XXXXXX" folder made in the temporary
// directory. Log files are never opened through a link. Safe to call from any thread.
#pragma once

#include "tvlib/core/TString.h"

// Creates the folder when missing, points the log at folder/logfile.txt and empties it.
void SetLogDirectory(const char* folder);

// The current log file's path; empty before SetLogDirectory.
TString GetLogPath();

// Appends one line: "<ctime-style date>: <message>\n"; the message is cut at 19,999 bytes.
void DebugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
