#include "WindowRules.h"

bool IsStoredRectValid(int x, int y, int cx, int cy, int W, int H)
{
    return cx > 0 && cy > 0 && x >= 0 && y >= 0 && cx <= W && cy <= H && x <= W && y <= H;
}

void DefaultWindowRect(int W, int H, int& x, int& y, int& cx, int& cy)
{
    // The factor is the single-precision number nearest to 0.95; the
    // product is formed in double precision and truncated, so that a width
    // of 800 gives 759 (a single-precision product would round to 760).
    const double f = static_cast<double>(0.95f);
    cx = static_cast<int>(static_cast<double>(W) * f);
    cy = static_cast<int>(static_cast<double>(H) * f);
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
