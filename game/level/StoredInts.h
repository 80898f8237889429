// Rows of signed 32-bit integers kept in the preferences store, one binary value a row: the
// bytes of the integers, little-endian, as the store's Base64 text. The planning record and
// the upgrade lists are kept this way, by the dialogs that write them and the level that
// reads them.
#pragma once

#include <cstdint>

#include "tvlib/core/TString.h"

class TPrefs;

// Stores `count` values under the key of the player (-1: the global node), saved at once.
void StoreInts(TPrefs& prefs, const TString& key, const int32_t* values, int count, int player);
// Reads the value stored under the key into `values`, as the store hands out binary values:
// a missing key, or a value longer than `count` integers, leaves them as they were (false);
// a shorter one replaces only the bytes it holds.
bool LoadInts(TPrefs& prefs, const TString& key, int32_t* values, int count, int player);
