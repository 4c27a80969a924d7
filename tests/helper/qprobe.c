/* A small Windows-side probe for the end-to-end tests, which drive the real
   Quellon.exe from a shell script. Each command prints what it found and
   exits 0 on success, 1 on failure (or time-out).

     qprobe wait <title> <ms>        a visible top-level window (not a dialog)
     qprobe dialog <title> <ms>      a visible dialog (#32770) with that title
     qprobe gone <title> <ms>        no top-level window of that title is left
     qprobe close <title>            posts WM_CLOSE to the window
     qprobe activate <title>         brings the window to the foreground
     qprobe rows <title> <n> <ms>    its list shows at least n rows
     qprobe texts <title>            prints the texts of a dialog's controls
     qprobe press <title> <id>       clicks button <id> of a dialog
     qprobe key <title> <vk>         posts a key press to the window
     qprobe command <title> <id>     posts WM_COMMAND <id> to the window
     qprobe start <path>             starts a program, prints its PID
     qprobe alive <pid>              exit 0 while the process runs
     qprobe wait-exit <pid> <ms>     waits for the process to end */
#include <windows.h>
#include <commctrl.h>
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
        HWND hwnd = Find(argv[2], 0);
        if (hwnd == NULL)
            hwnd = Find(argv[2], 1);
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
        HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, (DWORD)strtoul(argv[2], NULL, 0));
        int alive = h != NULL && WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
        if (h != NULL)
            CloseHandle(h);
        return alive ? 0 : 1;
    }
    if (strcmp(cmd, "wait-exit") == 0 && argc > 3) {
        HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, (DWORD)strtoul(argv[2], NULL, 0));
        int ended = h == NULL || WaitForSingleObject(h, (DWORD)atoi(argv[3])) == WAIT_OBJECT_0;
        if (h != NULL)
            CloseHandle(h);
        return ended ? 0 : 1;
    }
    fprintf(stderr, "qprobe: unknown command\n");
    return 2;
}
