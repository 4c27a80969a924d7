#include "WindowRules.h"

bool IsStoredRectValid(int x, int y, int cx, int cy, int W, int H)
{
    return cx > 0 && cy > 0 && x >= 0 && y >= 0 && cx <= W && cy <= H && x <= W && y <= H;
}

namespace {

// 95 % of a length as the factor 0.95 in single precision gives it,
// truncated: that factor is exactly 15938355 / 2^24, so the product is
// formed in integers (its 55 bits in 64), which every 386 computes without
// a maths coprocessor. A width of 800 gives 759.
int NinetyFivePercent(int nLength)
{
    const unsigned long long kFactor = 15938355; // 0.95f * 2^24
    unsigned long long magnitude =
        nLength < 0 ? 0ull - static_cast<unsigned>(nLength) : static_cast<unsigned>(nLength);
    int nResult = static_cast<int>((magnitude * kFactor) >> 24);
    return nLength < 0 ? -nResult : nResult;
}

} // namespace

void DefaultWindowRect(int W, int H, int& x, int& y, int& cx, int& cy)
{
    cx = NinetyFivePercent(W);
    cy = NinetyFivePercent(H);
    x = (W - cx) / 2;
    y = (H - cy) / 2;
}

void ClampWindowRect(int& x, int& y, int& cx, int& cy, int W, int H)
{
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    if (cx > W)
        cx = W;
    if (cy > H)
        cy = H;
}

SIZE GetWorkAreaSize()
{
    RECT rc = {0, 0, 0, 0};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    SIZE size = {rc.right - rc.left, rc.bottom - rc.top};
    return size;
}
