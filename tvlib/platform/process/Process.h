// Starting other programs, standing in for ShellExecute.
//
// Programs are started from an argument vector with posix_spawnp, never through a shell, so
// no text handed in (a web address, a host program's path) is ever interpreted. The started
// program runs on its own; a background thread reaps it so no zombie is left.
#pragma once

#include <string>
#include <vector>

// Starts argv[0] (searched on PATH when it holds no "/") with the given arguments.
// Answers false when argv is empty or the program could not be started.
bool SpawnProgram(const std::vector<std::string>& argv);
