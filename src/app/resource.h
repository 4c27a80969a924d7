// Resource and command identifiers of Quellon. Plain definitions, shared by
// the resource script and the code.
#pragma once

#define IDR_MAINFRAME 128
#define IDR_QUELLOTYPE 129
#define IDD_ABOUTBOX 100
#define IDD_FAVORITES 131
#define IDD_ADDNAME 132
#define IDC_LINKHAND 119

// Controls
#define IDC_MANUALADD 3
#define IDC_CANDIDATES 1000
#define IDC_FAVORITES 1001
#define IDC_ADD 1002
#define IDC_REMOVE 1003
#define IDC_NAME 1004
#define IDC_EMAILLINK 1042
#define IDC_WEBLINK 1043
#define IDC_STATIC (-1)

// Commands of the program's own
#define ID_PROCESS_EDITFAVORITES 32771
#define ID_PROCESS_KILL 32775
#define ID_VIEW_REFRESH 32776
#define ID_PROCESS_KILLFAVORITES 32777
#define ID_PROCESS_KILLFAVORITESEXIT 31777

// Status bar pane that shows the progress of Kill Favorites
#define ID_INDICATOR_KILL 61191

// The maker's contact e-mail address, whose user part and at sign mark an
// e-mail target, and web page; the About box shows them as links.
#define QUELLON_CONTACT_MARKER "help@"
#define QUELLON_CONTACT_EMAIL "help@corvanel.example"
#define QUELLON_WEB_ADDRESS "http://www.corvanel.example/"
