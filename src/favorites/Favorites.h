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

// The names the editor offers beside the Favorites: the Process text of
// every row, upper-cased, one per row (a name that stands in several rows
// is offered as often), unless holdsFavorite(name) says that the Favorites
// hold it already. The editor asks its Favorites list box (its exact search
// over the whole list, by the rules of the system's own list box).
template <class HoldsFavorite>
CArray<CString> ChooseCandidates(const CArray<CString>& rowNames, HoldsFavorite holdsFavorite)
{
    CArray<CString> candidates;
    for (const CString& strRowName : rowNames) {
        CString strName = strRowName;
        strName.MakeUpper();
        if (!holdsFavorite(strName))
            candidates.Add(strName);
    }
    return candidates;
}

// Whether moving a name to the Favorites must be confirmed first: a program
// that does not shut down gracefully (VSMON.EXE). The question to ask is
// put in *pstrQuestion.
bool NeedsConfirmationToAdd(const CString& strName, CString* pstrQuestion);
