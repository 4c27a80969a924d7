/* A small Windows-side probe for the end-to-end tests, which drive the real
   Quellon.exe from a shell script. Each command prints what it found and
   exits 0 on success, 1 on failure (or time-out).

     qprobe wait <title> <ms>        a visible top-level window (not a dialog)
     qprobe dialog <title> <ms>      a visible dialog (#32770) with that title
     qprobe gone <title> <ms>        no top-level window of that title is left
     qprobe close <title>            posts WM_CLOSE to the window
     qprobe activate <title> [dialog]  brings the window (or the dialog) of
                                     that title to the foreground
     qprobe rows <title> <n> <ms>    its list shows at least n rows
     qprobe texts <title>            prints the texts of a dialog's controls
     qprobe press <title> <id>       clicks button <id> of a dialog
     qprobe key <title> <vk>         posts a key press to the window
     qprobe command <title> <id>     posts WM_COMMAND <id> to the window
     qprobe start <path>             starts a program, prints its PID
     qprobe alive <pid>              exit 0 while the process runs
     qprobe wait-exit <pid> <ms>     waits for the process to end
     qprobe rect <title>             x y cx cy of the window
     qprobe workarea                 width and height of the work area
     qprobe columns <title>          the widths of its list's columns
     qprobe find <title> <name>      the index of the row of that process name
     qprobe row <title> <name>       the five texts of that row, tab-separated
     qprobe paths <title>            the FullPath texts of its list, row by row
     qprobe selected <title>         the indices of its list's selected rows
     qprobe pane <title> <n>         the text of status-bar pane n, in brackets
     qprobe ctlrect <title> <id>     x y cx cy of a control (of a dialog, or of
                                     the window when no dialog has that title)
     qprobe lbitem <title> <id> <text>   x y cx cy of that item of a dialog's
                                     list box
     qprobe inject <title> <dll>     loads the library into the window's
                                     process (a thread of its own calls
                                     LoadLibraryA there)
     qprobe button <title> <id>      "enabled" or "disabled": the state of the
                                     toolbar button of that command
     qprobe focus <title> [dialog]   the control id and class of the window
                                     that has the keyboard focus in the
                                     window's (or the dialog's) thread
     qprobe menurect                 x y cx cy of the open pop-up menu
     qprobe pace <title> <file> <ms> creates the file, then watches a window of
                                     that title come: prints the milliseconds
                                     from its creation to its showing and from
                                     its showing to the first rows of its list
                                     or its first message box, and which */
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct Search
{
    const char* title;
    int wantDialog;
    HWND found;
};

static BOOL CALLBACK FindProc(HWND hwnd, LPARAM lParam)
{
    struct Search* s = (struct Search*)lParam;
    char text[256], cls[64];
    if (!IsWindowVisible(hwnd))
        return TRUE;
    GetWindowTextA(hwnd, text, sizeof text);
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(text, s->title) != 0)
        return TRUE;
    if ((strcmp(cls, "#32770") == 0) != (s->wantDialog != 0))
        return TRUE;
    s->found = hwnd;
    return FALSE;
}

/* A top-level window of that title, shown or not, of any process or of the
   given one. */
struct AnySearch
{
    const char* title;
    int wantDialog;
    DWORD pid;
    HWND found;
};

static BOOL CALLBACK FindAnyProc(HWND hwnd, LPARAM lParam)
{
    struct AnySearch* s = (struct AnySearch*)lParam;
    char text[256], cls[64];
    DWORD pid = 0;
    GetWindowTextA(hwnd, text, sizeof text);
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowThreadProcessId(hwnd, &pid);
    if (strcmp(text, s->title) != 0 || (strcmp(cls, "#32770") == 0) != (s->wantDialog != 0) ||
        (s->pid != 0 && pid != s->pid))
        return TRUE;
    s->found = hwnd;
    return FALSE;
}

static HWND FindAny(const char* title, int wantDialog, DWORD pid)
{
    struct AnySearch s = {title, wantDialog, pid, NULL};
    EnumWindows(FindAnyProc, (LPARAM)&s);
    return s.found;
}

static BOOL CALLBACK FindToolbarProc(HWND hwnd, LPARAM lParam)
{
    char cls[64];
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(cls, TOOLBARCLASSNAMEA) != 0)
        return TRUE;
    *(HWND*)lParam = hwnd;
    return FALSE;
}

static HWND Find(const char* title, int wantDialog)
{
    struct Search s = {title, wantDialog, NULL};
    EnumWindows(FindProc, (LPARAM)&s);
    return s.found;
}

static HWND WaitFor(const char* title, int wantDialog, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND hwnd = Find(title, wantDialog);
        if (hwnd != NULL || GetTickCount() - start > ms)
            return hwnd;
        Sleep(50);
    }
}

static BOOL CALLBACK PrintChild(HWND hwnd, LPARAM lParam)
{
    char text[1024];
    (void)lParam;
    GetWindowTextA(hwnd, text, sizeof text);
    printf("%d\t%s\n", GetDlgCtrlID(hwnd), text);
    return TRUE;
}

/* Memory in another process, for the list and status-bar messages that
   carry pointers. */
struct Remote
{
    HANDLE process;
    char* base;
};

static int RemoteOpen(HWND hwnd, SIZE_T size, struct Remote* r)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    r->process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (r->process == NULL)
        return 0;
    r->base = (char*)VirtualAllocEx(r->process, NULL, size, MEM_COMMIT, PAGE_READWRITE);
    if (r->base == NULL) {
        CloseHandle(r->process);
        return 0;
    }
    return 1;
}

static void RemoteClose(struct Remote* r)
{
    VirtualFreeEx(r->process, r->base, 0, MEM_RELEASE);
    CloseHandle(r->process);
}

/* The text of a list row's first column, read through the owner's memory. */
static int ListItemText(HWND list, struct Remote* r, int item, int subItem, char* text, int size)
{
    LVITEMA lvi;
    SIZE_T done = 0;
    memset(&lvi, 0, sizeof lvi);
    lvi.iSubItem = subItem;
    lvi.pszText = r->base + sizeof lvi;
    lvi.cchTextMax = size;
    if (!WriteProcessMemory(r->process, r->base, &lvi, sizeof lvi, &done))
        return 0;
    SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)item, (LPARAM)r->base);
    if (!ReadProcessMemory(r->process, r->base + sizeof lvi, text, (SIZE_T)size, &done))
        return 0;
    text[size - 1] = '\0';
    return 1;
}

/* The index of the first row whose first column is the name, or -1. */
static int FindRow(HWND list, struct Remote* r, const char* name)
{
    char text[MAX_PATH];
    int i, n = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (i = 0; i < n; i++) {
        if (ListItemText(list, r, i, 0, text, sizeof text) && lstrcmpiA(text, name) == 0)
            return i;
    }
    return -1;
}

/* The address that a function of this process has in another one: the
   same offset in the module of the same name there. */
static FARPROC RemoteProc(DWORD pid, FARPROC local)
{
    MEMORY_BASIC_INFORMATION mbi;
    char path[MAX_PATH];
    const char* name;
    MODULEENTRY32 me;
    HANDLE snapshot;
    FARPROC remote = NULL;
    if (VirtualQuery((void*)local, &mbi, sizeof mbi) == 0 ||
        GetModuleFileNameA((HMODULE)mbi.AllocationBase, path, sizeof path) == 0)
        return NULL;
    name = strrchr(path, '\\') ? strrchr(path, '\\') + 1 : path;
    snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE)
        return NULL;
    me.dwSize = sizeof me;
    for (BOOL more = Module32First(snapshot, &me); more; more = Module32Next(snapshot, &me)) {
        if (lstrcmpiA(me.szModule, name) == 0) {
            remote = (FARPROC)(me.modBaseAddr + ((BYTE*)local - (BYTE*)mbi.AllocationBase));
            break;
        }
    }
    CloseHandle(snapshot);
    return remote;
}

static HWND ListOf(const char* title)
{
    HWND hwnd = Find(title, 0);
    return hwnd ? FindWindowExA(hwnd, NULL, "SysListView32", NULL) : NULL;
}

static void PrintRect(const RECT* rc)
{
    printf("%ld %ld %ld %ld\n", (long)rc->left, (long)rc->top, (long)(rc->right - rc->left),
           (long)(rc->bottom - rc->top));
}

int main(int argc, char** argv)
{
    const char* cmd = argc > 1 ? argv[1] : "";
    if (strcmp(cmd, "wait") == 0 && argc > 3)
        return WaitFor(argv[2], 0, (DWORD)atoi(argv[3])) ? 0 : 1;
    if (strcmp(cmd, "dialog") == 0 && argc > 3)
        return WaitFor(argv[2], 1, (DWORD)atoi(argv[3])) ? 0 : 1;
    if (strcmp(cmd, "gone") == 0 && argc > 3) {
        DWORD start = GetTickCount();
        while (Find(argv[2], 0) != NULL) {
            if (GetTickCount() - start > (DWORD)atoi(argv[3]))
                return 1;
            Sleep(50);
        }
        return 0;
    }
    if (strcmp(cmd, "close") == 0 && argc > 2) {
        HWND hwnd = Find(argv[2], 0);
        return hwnd && PostMessageA(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (strcmp(cmd, "activate") == 0 && argc > 2) {
        int dialogFirst = argc > 3 && strcmp(argv[3], "dialog") == 0;
        HWND hwnd = Find(argv[2], dialogFirst);
        if (hwnd == NULL)
            hwnd = Find(argv[2], !dialogFirst);
        return hwnd && SetForegroundWindow(hwnd) ? 0 : 1;
    }
    if (strcmp(cmd, "rows") == 0 && argc > 4) {
        DWORD start = GetTickCount();
        for (;;) {
            HWND hwnd = Find(argv[2], 0);
            HWND list = hwnd ? FindWindowExA(hwnd, NULL, "SysListView32", NULL) : NULL;
            int n = list ? (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : -1;
            if (n >= atoi(argv[3])) {
                printf("%d\n", n);
                return 0;
            }
            if (GetTickCount() - start > (DWORD)atoi(argv[4]))
                return 1;
            Sleep(50);
        }
    }
    if (strcmp(cmd, "texts") == 0 && argc > 2) {
        HWND hwnd = Find(argv[2], 1);
        if (hwnd == NULL)
            return 1;
        EnumChildWindows(hwnd, PrintChild, 0);
        return 0;
    }
    if (strcmp(cmd, "press") == 0 && argc > 3) {
        HWND hwnd = Find(argv[2], 1);
        HWND button = hwnd ? GetDlgItem(hwnd, atoi(argv[3])) : NULL;
        return button && PostMessageA(button, BM_CLICK, 0, 0) ? 0 : 1;
    }
    if (strcmp(cmd, "key") == 0 && argc > 3) {
        HWND hwnd = Find(argv[2], 0);
        WPARAM vk = (WPARAM)strtol(argv[3], NULL, 0);
        UINT down = vk == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
        UINT up = vk == VK_F10 ? WM_SYSKEYUP : WM_KEYUP;
        return hwnd && PostMessageA(hwnd, down, vk, 1) && PostMessageA(hwnd, up, vk, 0xC0000001)
                   ? 0
                   : 1;
    }
    if (strcmp(cmd, "command") == 0 && argc > 3) {
        HWND hwnd = Find(argv[2], 0);
        return hwnd && PostMessageA(hwnd, WM_COMMAND, (WPARAM)atoi(argv[3]), 0) ? 0 : 1;
    }
    if (strcmp(cmd, "start") == 0 && argc > 2) {
        STARTUPINFOA si;
        PROCESS_INFORMATION pi;
        char line[MAX_PATH + 2];
        memset(&si, 0, sizeof si);
        si.cb = sizeof si;
        snprintf(line, sizeof line, "\"%s\"", argv[2]);
        if (!CreateProcessA(argv[2], line, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
            return 1;
        printf("%lu\n", (unsigned long)pi.dwProcessId);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return 0;
    }
    if (strcmp(cmd, "alive") == 0 && argc > 2) {
        DWORD pid = (DWORD)strtoul(argv[2], NULL, 0);
        HANDLE h = pid == GetCurrentProcessId() ? NULL : OpenProcess(SYNCHRONIZE, FALSE, pid);
        int alive = h != NULL && WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
        if (h != NULL)
            CloseHandle(h);
        return alive ? 0 : 1;
    }
    if (strcmp(cmd, "wait-exit") == 0 && argc > 3) {
        /* A process that has ended may have handed its identifier on to
           this very probe. */
        DWORD pid = (DWORD)strtoul(argv[2], NULL, 0);
        HANDLE h = pid == GetCurrentProcessId() ? NULL : OpenProcess(SYNCHRONIZE, FALSE, pid);
        int ended = h == NULL || WaitForSingleObject(h, (DWORD)atoi(argv[3])) == WAIT_OBJECT_0;
        if (h != NULL)
            CloseHandle(h);
        return ended ? 0 : 1;
    }
    if (strcmp(cmd, "rect") == 0 && argc > 2) {
        HWND hwnd = Find(argv[2], 0);
        RECT rc;
        if (hwnd == NULL || !GetWindowRect(hwnd, &rc))
            return 1;
        PrintRect(&rc);
        return 0;
    }
    if (strcmp(cmd, "workarea") == 0) {
        RECT rc;
        if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0))
            return 1;
        printf("%ld %ld\n", (long)(rc.right - rc.left), (long)(rc.bottom - rc.top));
        return 0;
    }
    if (strcmp(cmd, "columns") == 0 && argc > 2) {
        HWND list = ListOf(argv[2]);
        int i;
        if (list == NULL)
            return 1;
        for (i = 0; i < 5; i++)
            printf(i < 4 ? "%d " : "%d\n",
                   (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, (WPARAM)i, 0));
        return 0;
    }
    if ((strcmp(cmd, "find") == 0 || strcmp(cmd, "row") == 0) && argc > 3) {
        HWND list = ListOf(argv[2]);
        struct Remote r;
        int i, found;
        char text[MAX_PATH];
        if (list == NULL || !RemoteOpen(list, 4096, &r))
            return 1;
        found = FindRow(list, &r, argv[3]);
        if (found >= 0 && strcmp(cmd, "row") == 0) {
            for (i = 0; i < 5; i++) {
                if (!ListItemText(list, &r, found, i, text, sizeof text))
                    text[0] = '\0';
                printf(i < 4 ? "%s\t" : "%s\n", text);
            }
        } else if (found >= 0) {
            printf("%d\n", found);
        }
        RemoteClose(&r);
        return found >= 0 ? 0 : 1;
    }
    if (strcmp(cmd, "paths") == 0 && argc > 2) {
        HWND list = ListOf(argv[2]);
        struct Remote r;
        int i, n;
        char text[MAX_PATH];
        if (list == NULL || !RemoteOpen(list, 4096, &r))
            return 1;
        n = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        for (i = 0; i < n; i++) {
            if (ListItemText(list, &r, i, 4, text, sizeof text))
                printf("%s\n", text);
        }
        RemoteClose(&r);
        return 0;
    }
    if (strcmp(cmd, "selected") == 0 && argc > 2) {
        HWND list = ListOf(argv[2]);
        int i = -1;
        if (list == NULL)
            return 1;
        while ((i = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)i, LVNI_SELECTED)) >= 0)
            printf("%d\n", i);
        return 0;
    }
    if (strcmp(cmd, "pane") == 0 && argc > 3) {
        HWND hwnd = Find(argv[2], 0);
        HWND bar = hwnd ? FindWindowExA(hwnd, NULL, STATUSCLASSNAMEA, NULL) : NULL;
        struct Remote r;
        char text[1024];
        SIZE_T done = 0;
        if (bar == NULL || !RemoteOpen(bar, sizeof text, &r))
            return 1;
        memset(text, 0, sizeof text);
        SendMessageA(bar, SB_GETTEXTA, (WPARAM)atoi(argv[3]), (LPARAM)r.base);
        ReadProcessMemory(r.process, r.base, text, sizeof text - 1, &done);
        RemoteClose(&r);
        printf("[%s]\n", text);
        return 0;
    }
    if (strcmp(cmd, "ctlrect") == 0 && argc > 3) {
        HWND hwnd = Find(argv[2], 1);
        HWND ctl;
        RECT rc;
        if (hwnd == NULL)
            hwnd = Find(argv[2], 0);
        ctl = hwnd ? GetDlgItem(hwnd, atoi(argv[3])) : NULL;
        if (ctl == NULL || !GetWindowRect(ctl, &rc))
            return 1;
        PrintRect(&rc);
        return 0;
    }
    if (strcmp(cmd, "lbitem") == 0 && argc > 4) {
        /* List-box messages are below WM_USER: the system carries their
           strings and rectangles across processes itself. */
        HWND hwnd = Find(argv[2], 1);
        HWND list = hwnd ? GetDlgItem(hwnd, atoi(argv[3])) : NULL;
        RECT rc;
        int item = list ? (int)SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)argv[4])
                        : LB_ERR;
        if (item == LB_ERR ||
            SendMessageA(list, LB_GETITEMRECT, (WPARAM)item, (LPARAM)&rc) == LB_ERR)
            return 1;
        MapWindowPoints(list, NULL, (POINT*)&rc, 2);
        PrintRect(&rc);
        return 0;
    }
    if (strcmp(cmd, "inject") == 0 && argc > 3) {
        HWND hwnd = Find(argv[2], 0);
        DWORD pid = 0, code = 0;
        HANDLE process, thread;
        char* remote;
        SIZE_T done = 0;
        FARPROC load = RemoteProc(hwnd && GetWindowThreadProcessId(hwnd, &pid) ? pid : 0,
                                  GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA"));
        if (load == NULL)
            return 1;
        process = OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION |
                                  PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                              FALSE, pid);
        if (process == NULL)
            return 1;
        remote = (char*)VirtualAllocEx(process, NULL, MAX_PATH, MEM_COMMIT, PAGE_READWRITE);
        thread = remote != NULL &&
                         WriteProcessMemory(process, remote, argv[3], strlen(argv[3]) + 1, &done)
                     ? CreateRemoteThread(process, NULL, 0, (LPTHREAD_START_ROUTINE)(void*)load,
                                          remote, 0, NULL)
                     : NULL;
        if (thread != NULL) {
            WaitForSingleObject(thread, 60000);
            GetExitCodeThread(thread, &code);
            CloseHandle(thread);
        }
        CloseHandle(process);
        return code != 0 && code != STILL_ACTIVE ? 0 : 1;
    }
    if (strcmp(cmd, "menurect") == 0) {
        /* Pop-up menus are top-level windows of the class #32768. */
        HWND menu = FindWindowA("#32768", NULL);
        RECT rc;
        if (menu == NULL || !IsWindowVisible(menu) || !GetWindowRect(menu, &rc))
            return 1;
        PrintRect(&rc);
        return 0;
    }
    if (strcmp(cmd, "button") == 0 && argc > 3) {
        HWND hwnd = Find(argv[2], 0), bar = NULL;
        LRESULT state;
        if (hwnd == NULL)
            return 1;
        EnumChildWindows(hwnd, FindToolbarProc, (LPARAM)&bar);
        state = bar ? SendMessageA(bar, TB_GETSTATE, (WPARAM)atoi(argv[3]), 0) : -1;
        if (state == -1)
            return 1;
        printf("%s\n", (state & TBSTATE_ENABLED) ? "enabled" : "disabled");
        return 0;
    }
    if (strcmp(cmd, "focus") == 0 && argc > 2) {
        HWND hwnd = Find(argv[2], argc > 3 && strcmp(argv[3], "dialog") == 0);
        GUITHREADINFO gti;
        char cls[64];
        memset(&gti, 0, sizeof gti);
        gti.cbSize = sizeof gti;
        if (hwnd == NULL || !GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, NULL), &gti))
            return 1;
        if (gti.hwndFocus == NULL) {
            printf("none\n");
            return 0;
        }
        GetClassNameA(gti.hwndFocus, cls, sizeof cls);
        printf("%d %s\n", GetDlgCtrlID(gti.hwndFocus), cls);
        return 0;
    }
    if (strcmp(cmd, "pace") == 0 && argc > 4) {
        /* Polled every 10 ms: often enough to tell the start's steps apart,
           seldom enough to leave the watched program the machine. */
        DWORD start = GetTickCount(), created = 0, shown = 0, pid = 0, limit = (DWORD)atoi(argv[4]);
        HWND hwnd = NULL;
        HANDLE ready = CreateFileA(argv[3], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, NULL);
        if (ready == INVALID_HANDLE_VALUE)
            return 1;
        CloseHandle(ready);
        for (;;) {
            DWORD now = GetTickCount();
            if (now - start > limit) {
                printf("created %lu shown %lu\n", (unsigned long)created, (unsigned long)shown);
                return 1;
            }
            /* The program makes hidden windows of that title too: the one
               that shows is the main window. */
            if (created == 0 && FindAny(argv[2], 0, 0) != NULL)
                created = now;
            if (shown == 0 && (hwnd = Find(argv[2], 0)) != NULL) {
                shown = now;
                GetWindowThreadProcessId(hwnd, &pid);
            }
            if (shown != 0) {
                HWND list = FindWindowExA(hwnd, NULL, "SysListView32", NULL);
                int box = FindAny(argv[2], 1, pid) != NULL;
                if (box || (list && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0)) {
                    printf("%lu %lu %s\n", (unsigned long)(shown - created),
                           (unsigned long)(now - shown), box ? "message" : "rows");
                    return 0;
                }
            }
            Sleep(10);
        }
    }
    fprintf(stderr, "qprobe: unknown command\n");
    return 2;
}
