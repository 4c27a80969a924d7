// The main frame window: toolbar, two-pane status bar and the process list
// view; it keeps its placement and the list's column widths in the settings.
#pragma once

#include "afxext.h"

#define STARTUP_TIMER_ID 101
#define STATUS_PANE_KILL 1

class CMainFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();

    // Set by the view at the end of its initial update; until then changes
    // of the window's position are not saved.
    BOOL m_bViewReady;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // Starts the one-shot timer that runs the view's start-up checks.
    void StartStartupTimer();
    // Sets the text of a status-bar pane and fits the pane's width to it.
    BOOL SetStatusPaneText(int nIndex, LPCSTR lpszText);

    int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    void OnClose();
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()
};
