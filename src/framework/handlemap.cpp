// The handle maps: which object stands for which window of the thread.
// Attached objects are found by FromHandlePermanent; FromHandle makes
// temporary wrappers for other windows, which live until the message loop
// is next idle. The framework runs on one user-interface thread.
#include "afxwin.h"

namespace {

// The windows of the thread and the objects that stand for them, sorted by
// window handle.
class CHandleMap
{
public:
    CWnd* Lookup(HWND hWnd) const
    {
        int nIndex;
        return Find(hWnd, &nIndex) ? m_entries[nIndex].pWnd : nullptr;
    }
    void SetAt(HWND hWnd, CWnd* pWnd)
    {
        int nIndex;
        if (Find(hWnd, &nIndex))
            m_entries[nIndex].pWnd = pWnd;
        else
            m_entries.InsertAt(nIndex, Entry{hWnd, pWnd});
    }
    void RemoveKey(HWND hWnd)
    {
        int nIndex;
        if (Find(hWnd, &nIndex))
            m_entries.RemoveAt(nIndex);
    }
    // Deletes every object of the map (temporary objects only).
    void DeleteAll()
    {
        for (Entry& entry : m_entries) {
            entry.pWnd->m_hWnd = nullptr;
            delete entry.pWnd;
        }
        m_entries.RemoveAll();
    }

private:
    struct Entry
    {
        HWND hWnd;
        CWnd* pWnd;
    };
    // Whether the handle is in the map; *pnIndex is its place, or the place
    // where it would go.
    bool Find(HWND hWnd, int* pnIndex) const
    {
        int nLow = 0, nHigh = m_entries.GetSize();
        while (nLow < nHigh) {
            int nMid = (nLow + nHigh) / 2;
            if (m_entries[nMid].hWnd < hWnd)
                nLow = nMid + 1;
            else
                nHigh = nMid;
        }
        *pnIndex = nLow;
        return nLow < m_entries.GetSize() && m_entries[nLow].hWnd == hWnd;
    }
    CArray<Entry> m_entries;
};

struct HandleMaps
{
    CHandleMap permanent; // windows attached to objects
    CHandleMap temporary; // wrappers made by FromHandle, owned here
    ~HandleMaps() { temporary.DeleteAll(); }
};

HandleMaps& Maps()
{
    static HandleMaps maps;
    return maps;
}

} // namespace

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    return Maps().permanent.Lookup(hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    CHandleMap& temporary = Maps().temporary;
    CWnd* pTemp = temporary.Lookup(hWnd);
    if (pTemp == nullptr) {
        pTemp = new CWnd;
        pTemp->m_hWnd = hWnd;
        temporary.SetAt(hWnd, pTemp);
    }
    return pTemp;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    m_hWnd = hWnd;
    Maps().permanent.SetAt(hWnd, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        CHandleMap& permanent = Maps().permanent;
        if (permanent.Lookup(hWnd) == this)
            permanent.RemoveKey(hWnd);
    }
    m_hWnd = nullptr;
    return hWnd;
}

void AfxUnlockTempMaps()
{
    Maps().temporary.DeleteAll();
}
