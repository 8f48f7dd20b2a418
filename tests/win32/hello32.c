/* Proves a 32-bit Windows console program runs: prints to stdout, creates a
   window with a static child control, and runs a message loop that a 100 ms
   timer ends by posting WM_QUIT. */
#include <windows.h>
#include <stdio.h>

static LRESULT CALLBACK wnd_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER) {
        KillTimer(hwnd, 1);
        PostQuitMessage(7);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int main(void)
{
    WNDCLASSA wc = {0};
    HWND top, label;
    MSG m;
    int got_quit = 0;

    setvbuf(stdout, NULL, _IONBF, 0);
    printf("hello32: pointer size %u\n", (unsigned)sizeof(void *));

    wc.lpfnWndProc = wnd_proc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "hello32_top";
    if (!RegisterClassA(&wc)) {
        printf("hello32: RegisterClass failed %lu\n", GetLastError());
        return 1;
    }
    top = CreateWindowExA(0, "hello32_top", "hello32", WS_OVERLAPPEDWINDOW,
                          0, 0, 200, 100, NULL, NULL, wc.hInstance, NULL);
    if (!top) {
        printf("hello32: CreateWindowEx failed %lu\n", GetLastError());
        return 1;
    }
    label = CreateWindowA("STATIC", "hi", WS_CHILD | WS_VISIBLE,
                          0, 0, 50, 20, top, NULL, wc.hInstance, NULL);
    if (!label) {
        printf("hello32: static control failed %lu\n", GetLastError());
        return 1;
    }
    printf("hello32: static control created\n");

    if (!SetTimer(top, 1, 100, NULL)) {
        printf("hello32: SetTimer failed %lu\n", GetLastError());
        return 1;
    }
    for (;;) {
        BOOL r = GetMessageA(&m, NULL, 0, 0);
        if (r == -1) {
            printf("hello32: GetMessage failed %lu\n", GetLastError());
            return 1;
        }
        if (r == 0) {
            got_quit = 1;
            break;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    DestroyWindow(top);
    if (!got_quit || m.wParam != 7) {
        printf("hello32: unexpected quit code %u\n", (unsigned)m.wParam);
        return 1;
    }
    printf("hello32: message loop ended by timer\n");
    return 0;
}
