// The engine's generator (TvRand) as the scripts' random source: math.random and
// math.randomseed draw from and restart the engine's one sequence.
#pragma once

void UseEngineRandomForScripts();
