// The game's command line: the text the game searches for its switches, built from the
// control's window and the page's parameters, and its split into a program's arguments.
//
// "festravasklongnamenospace.exe -wnd=<window, lower-case hex>", then, each only when the page
// gave it, " -url=<DownloadUrl>", " -options=<Options>", " -anon <AnonymousScores>",
// " -hidelogo <HideLogos>", " <GameData>", and last " -msn" when the page gave MSN, else
// " -host=<the hosting program>".
#pragma once

#include <string>
#include <vector>

#include "webcontrol/PageParams.h"

inline constexpr char kGameProgramName[] = "festravasklongnamenospace.exe";

std::string BuildGameCommandLine(const TPageParams& params, unsigned long window,
                                 const std::string& hostProgram);

// The arguments of the game's process: the line cut at every blank, so that the game, which
// joins its arguments with single blanks, reads back the very text the line holds (two blanks
// in a row give an empty argument between them). The first is the program's name.
std::vector<std::string> SplitCommandLine(const std::string& line);

// The full path of the running program (the page's host), for " -host="; empty when unknown.
std::string GetHostProgramPath();
