// The stored Favorites list: process names, upper case, kept as the values
// Fav0, Fav1, ... of section "Settings". The list ends at the first value
// that is empty or absent; values are never deleted, only emptied.
#pragma once

#include "SettingsStore.h"

// The stored names in their order, upper-cased.
CArray<CString> LoadFavorites(CSettingsStore& settings);
// Stores the names in their order (none of them may be empty) and empties
// the values that a longer earlier list left behind.
void SaveFavorites(CSettingsStore& settings, const CArray<CString>& names);
