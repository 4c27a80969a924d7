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

// Whether the editor's Favorites list box holds a name already: its exact
// search (LB_FINDSTRINGEXACT) takes two names for equal when the user's
// locale compares them equal with case ignored.
bool IsSameListName(const CString& a, const CString& b);

// The names the editor offers beside the Favorites: the Process text of
// every row, upper-cased, one per row (a name that stands in several rows
// is offered as often), unless the Favorites hold it by IsSameListName.
CArray<CString> ChooseCandidates(const CArray<CString>& rowNames, const CArray<CString>& favorites);

// Whether moving a name to the Favorites must be confirmed first: a program
// that does not shut down gracefully (VSMON.EXE). The question to ask is
// put in *pstrQuestion.
bool NeedsConfirmationToAdd(const CString& strName, CString* pstrQuestion);
