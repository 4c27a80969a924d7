#include "Favorites.h"

namespace {
CString FavoriteValueName(int nIndex)
{
    CString strName;
    strName.Format("Fav%d", nIndex);
    return strName;
}
} // namespace

std::vector<CString> LoadFavorites(CSettingsStore& settings)
{
    std::vector<CString> names;
    for (int i = 0;; ++i) {
        CString strName = settings.ReadString("Settings", FavoriteValueName(i), "");
        if (strName.IsEmpty())
            break;
        strName.MakeUpper();
        names.push_back(strName);
    }
    return names;
}

void SaveFavorites(CSettingsStore& settings, const std::vector<CString>& names)
{
    int nCount = static_cast<int>(names.size());
    for (int i = 0; i < nCount; ++i)
        settings.WriteString("Settings", FavoriteValueName(i), names[static_cast<size_t>(i)]);
    for (int i = nCount;; ++i) {
        CString strValueName = FavoriteValueName(i);
        if (settings.ReadString("Settings", strValueName, "").IsEmpty())
            break;
        settings.WriteString("Settings", strValueName, "");
    }
}
