// Script loading through the engine's file layer: virtual names resolve to disk files or
// package entries (TFile). Installed by the script classes before they load anything.
#pragma once

void UseEngineFilesForScripts();
