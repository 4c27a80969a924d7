#include "Favorites.h"

namespace {
CString FavoriteValueName(int nIndex)
{
    CString strName;
    strName.Format("Fav%d", nIndex);
    return strName;
}
} // namespace

CArray<CString> LoadFavorites(CSettingsStore& settings)
{
    CArray<CString> names;
    for (int i = 0;; ++i) {
        CString strName = settings.ReadString("Settings", FavoriteValueName(i), "");
        if (strName.IsEmpty())
            break;
        strName.MakeUpper();
        names.Add(strName);
    }
    return names;
}

bool NeedsConfirmationToAdd(const CString& strName, CString* pstrQuestion)
{
    if (strName != "VSMON.EXE")
        return false;
    pstrQuestion->Format("The application %s does not shut down gracefully.\n\n"
                         "Are you sure you want to add it to your Favorites?",
                         strName.GetString());
    return true;
}

void SaveFavorites(CSettingsStore& settings, const CArray<CString>& names)
{
    int nCount = names.GetSize();
    for (int i = 0; i < nCount; ++i)
        settings.WriteString("Settings", FavoriteValueName(i), names[i]);
    for (int i = nCount;; ++i) {
        CString strValueName = FavoriteValueName(i);
        if (settings.ReadString("Settings", strValueName, "").IsEmpty())
            break;
        settings.WriteString("Settings", strValueName, "");
    }
}
