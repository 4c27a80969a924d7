#include "ColumnWidths.h"

namespace {
const char kSection[] = "Grid";
} // namespace

CString ColumnWidthName(int nColumn)
{
    CString strName;
    strName.Format("col%d", nColumn);
    return strName;
}

int DefaultColumnWidth(int nClientWidth)
{
    return nClientWidth * 9 / 50;
}

void ChooseColumnWidths(int widths[kColumnCount], int nClientWidth, int nDefault)
{
    // A width that is not positive is no width: it would hide its column,
    // and a negative one would hide others behind it. The sum is taken in
    // 64 bits: five stored ints can add up to more than an int holds.
    long long nSum = 0;
    bool bUsable = true;
    for (int i = 0; i < kColumnCount; ++i) {
        if (widths[i] <= 0 || widths[i] > nClientWidth)
            bUsable = false;
        nSum += widths[i];
    }
    if (nSum > nClientWidth)
        bUsable = false;
    if (!bUsable) {
        for (int i = 0; i < kColumnCount; ++i)
            widths[i] = nDefault;
    }
}

void ReadColumnWidths(CSettingsStore& settings, int nClientWidth, int widths[kColumnCount])
{
    int nDefault = DefaultColumnWidth(nClientWidth);
    for (int i = 0; i < kColumnCount; ++i)
        widths[i] = settings.ReadInt(kSection, ColumnWidthName(i), nDefault);
    ChooseColumnWidths(widths, nClientWidth, nDefault);
}

void WriteColumnWidths(CSettingsStore& settings, const int widths[kColumnCount])
{
    for (int i = 0; i < kColumnCount; ++i)
        settings.WriteInt(kSection, ColumnWidthName(i), widths[i]);
}
