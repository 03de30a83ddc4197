// Looks at a running saver from outside, for the end-to-end scripts:
//   saver_probe mode          the primary display's current mode, "WIDTHxHEIGHT"
//   saver_probe running       1 while the platform believes a screen saver runs, else 0
//   saver_probe saver         the saver window: "WIDTHxHEIGHT+X+Y topmost|normal"; fails without
//                             one
//   saver_probe cover         the black cover of the screens: "WIDTHxHEIGHT+X+Y topmost|normal",
//                             and "beneath-saver" when it lies just beneath the saver window;
//                             fails without one
//   saver_probe monitors      each monitor, "WIDTHxHEIGHT+X+Y", the primary one with " primary"
//   saver_probe red X Y W H   shows a red topmost window there, says "ready" and stays until
//                             ended, like a document left open on a monitor
//   saver_probe close         posts WM_CLOSE to the saver window, as another program might
//   saver_probe crash         makes the saver's process crash, in the saver window's thread
//   saver_probe host          the preview host's child: its window number, for "/p NUMBER", and
//                             "WIDTHxHEIGHT+X+Y" on the screen
//   saver_probe preview       the preview window: "WIDTHxHEIGHT+X+Y" on the screen, whether its
//                             parent is the preview host's child ("in-host"), and its handle in hex
//   saver_probe close-host    posts WM_CLOSE to the preview host
//   saver_probe minimize-host minimizes the preview host, and says "minimized" once it is
//   saver_probe restore-host  restores it, and says "restored" once it is
//   saver_probe boxes TITLE   how many visible windows have the title
//   saver_probe answer TITLE  presses Yes in the message box with the title
//   saver_probe stay          joins the desktop without a window, says "ready" and stays until
//                             ended, so that a virtual desktop does not close between programs

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND saverWindow() {
    return FindWindowA("ScrClass", "SaverWindow");
}

HWND hostChild() {
    HWND host = FindWindowA("Scrprev", nullptr);
    return host != nullptr ? GetWindow(host, GW_CHILD) : nullptr;
}

void printRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    std::printf("%ldx%ld+%ld+%ld", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                rect.top);
}

void printTopmost(HWND window) {
    const bool topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    std::printf(" %s", topmost ? "topmost" : "normal");
}

BOOL CALLBACK printMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    const RECT& r = info.rcMonitor;
    std::printf("%ldx%ld+%ld+%ld%s\n", r.right - r.left, r.bottom - r.top, r.left, r.top,
                info.dwFlags & MONITORINFOF_PRIMARY ? " primary" : "");
    return TRUE;
}

int showRedWindow(char** rect) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(RGB(255, 0, 0));
    windowClass.lpszClassName = "ProbeRed";
    RegisterClassA(&windowClass);
    HWND window =
        CreateWindowExA(WS_EX_TOPMOST, "ProbeRed", "Red", WS_POPUP | WS_VISIBLE, std::atoi(rect[0]),
                        std::atoi(rect[1]), std::atoi(rect[2]), std::atoi(rect[3]), nullptr,
                        nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}

struct TitleCount {
    const char* title;
    int count;
};

BOOL CALLBACK countTitle(HWND window, LPARAM data) {
    auto* counted = reinterpret_cast<TitleCount*>(data);
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && std::strcmp(text, counted->title) == 0) {
        ++counted->count;
    }
    return TRUE;
}

// The saver window's thread is made to call an address where nothing is mapped, as through a
// bad function pointer: stopped, its return address pushed, its next instruction 0x10. A thread
// started in the saver instead was made by the saver on Wine's request, and once in 50 runs
// under load that request never came back.
int crashSaver() {
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(saverWindow(), &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_SET_CONTEXT,
                               FALSE, threadId);
    if (process == nullptr || thread == nullptr) {
        std::fprintf(stderr, "the saver's thread not opened: error %lu\n", GetLastError());
        return 1;
    }
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    bool faulting =
        SuspendThread(thread) != static_cast<DWORD>(-1) && GetThreadContext(thread, &context) != 0;
    if (faulting) {
        context.Rsp -= sizeof context.Rip;
        faulting = WriteProcessMemory(process, reinterpret_cast<void*>(context.Rsp), &context.Rip,
                                      sizeof context.Rip, nullptr) != 0;
        context.Rip = 0x10;
        faulting = faulting && SetThreadContext(thread, &context) != 0;
    }
    if (!faulting) {
        std::fprintf(stderr, "the saver's thread not redirected: error %lu\n", GetLastError());
    }
    ResumeThread(thread);
    CloseHandle(thread);
    CloseHandle(process);
    return faulting ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "mode") == 0) {
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
        std::printf("%lux%lu\n", mode.dmPelsWidth, mode.dmPelsHeight);
        return 0;
    }
    if (std::strcmp(command, "running") == 0) {
        BOOL running = FALSE;
        SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
        std::printf("%d\n", running ? 1 : 0);
        return 0;
    }
    if (std::strcmp(command, "saver") == 0) {
        HWND window = saverWindow();
        if (window == nullptr) {
            return 1;
        }
        printRect(window);
        printTopmost(window);
        std::printf("\n");
        return 0;
    }
    if (std::strcmp(command, "cover") == 0) {
        HWND cover = FindWindowA("ScrCover", nullptr);
        if (cover == nullptr || !IsWindowVisible(cover)) {
            return 1;
        }
        printRect(cover);
        printTopmost(cover);
        std::printf("%s\n", GetWindow(saverWindow(), GW_HWNDNEXT) == cover ? " beneath-saver" : "");
        return 0;
    }
    if (std::strcmp(command, "monitors") == 0) {
        return EnumDisplayMonitors(nullptr, nullptr, printMonitor, 0) ? 0 : 1;
    }
    if (std::strcmp(command, "red") == 0 && argc == 6) {
        return showRedWindow(argv + 2);
    }
    if (std::strcmp(command, "close") == 0) {
        return PostMessageA(saverWindow(), WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (std::strcmp(command, "crash") == 0) {
        return crashSaver();
    }
    if (std::strcmp(command, "host") == 0) {
        HWND child = hostChild();
        if (child == nullptr) {
            return 1;
        }
        std::printf("%d ", static_cast<int>(reinterpret_cast<INT_PTR>(child)));
        printRect(child);
        std::printf("\n");
        return 0;
    }
    if (std::strcmp(command, "preview") == 0) {
        HWND preview = FindWindowExA(hostChild(), nullptr, "ScrClass", "SaverPreview");
        if (preview == nullptr) {
            return 1;
        }
        printRect(preview);
        std::printf(" %s %llx\n", GetParent(preview) == hostChild() ? "in-host" : "elsewhere",
                    static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(preview)));
        return 0;
    }
    if (std::strcmp(command, "close-host") == 0) {
        return PostMessageA(FindWindowA("Scrprev", nullptr), WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (std::strcmp(command, "minimize-host") == 0 || std::strcmp(command, "restore-host") == 0) {
        const bool minimize = command[0] == 'm';
        HWND host = FindWindowA("Scrprev", nullptr);
        if (host == nullptr) {
            return 1;
        }
        ShowWindowAsync(host, minimize ? SW_MINIMIZE : SW_RESTORE);
        for (int wait = 0; (IsIconic(host) != FALSE) != minimize; ++wait) {
            if (wait == 100) {
                return 1;
            }
            Sleep(50);
        }
        std::printf("%s\n", minimize ? "minimized" : "restored");
        return 0;
    }
    if (std::strcmp(command, "stay") == 0) {
        GetDesktopWindow();
        std::printf("ready\n");
        std::fflush(stdout);
        for (;;) {
            Sleep(INFINITE);
        }
    }
    if (std::strcmp(command, "boxes") == 0 && argc == 3) {
        TitleCount counted{argv[2], 0};
        EnumWindows(countTitle, reinterpret_cast<LPARAM>(&counted));
        std::printf("%d\n", counted.count);
        return 0;
    }
    if (std::strcmp(command, "answer") == 0 && argc == 3) {
        HWND box = FindWindowA(nullptr, argv[2]);
        HWND yes = box != nullptr ? GetDlgItem(box, IDYES) : nullptr;
        return yes != nullptr && PostMessageA(yes, BM_CLICK, 0, 0) ? 0 : 1;
    }
    return 2;
}
