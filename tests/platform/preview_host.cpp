// Plays the screen saver settings dialog for navcal.scr under Windows (or
// Wine): a small monitor window handed over with "/p HANDLE", a dialog window
// handed over with "/c:HANDLE", and handles that are no window. Each check
// prints one line; the exit code is the number of failed checks.
//   preview_host PATH\navcal.scr   (a Unix path is taken as Wine's Z: drive)

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int failures = 0;

void fail(const char* what) {
    std::printf("FAIL: %s\n", what);
    std::fflush(stdout);
    ++failures;
}

// Our own windows answer the messages navcal's windows send them (a child
// tells its parent it was created) while we wait.
void pump(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(end - now), QS_ALLINPUT);
    }
}

HWND makeWindow(int clientWidth, int clientHeight, const wchar_t* title) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"navcal_preview_host";
        RegisterClassW(&wc);
        registered = true;
    }
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND w =
        CreateWindowW(L"navcal_preview_host", title, WS_OVERLAPPEDWINDOW, 40, 40, r.right - r.left,
                      r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(w, SW_SHOW);
    pump(100);
    return w;
}

SIZE clientSize(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return {r.right - r.left, r.bottom - r.top};
}

struct Saver {
    PROCESS_INFORMATION pi{};
    ULONGLONG started = 0;
};

bool start(const std::wstring& scr, const std::wstring& switches, Saver& saver) {
    std::wstring line = L"\"" + scr + L"\" " + switches;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    saver.started = GetTickCount64();
    if (!CreateProcessW(scr.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &saver.pi)) {
        std::printf("FAIL: cannot start %ls (error %lu)\n", scr.c_str(), GetLastError());
        ++failures;
        return false;
    }
    return true;
}

// Waits (answering messages) up to `ms` for the saver to end; its exit code,
// or -1 when it is still running (it is then ended).
long waitEnd(Saver& saver, DWORD ms, ULONGLONG* endedAt = nullptr) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (WaitForSingleObject(saver.pi.hProcess, 0) == WAIT_TIMEOUT) {
        if (GetTickCount64() >= end) {
            TerminateProcess(saver.pi.hProcess, 99);
            WaitForSingleObject(saver.pi.hProcess, 5000);
            CloseHandle(saver.pi.hProcess);
            CloseHandle(saver.pi.hThread);
            return -1;
        }
        pump(20);
    }
    if (endedAt)
        *endedAt = GetTickCount64();
    DWORD code = 0;
    GetExitCodeProcess(saver.pi.hProcess, &code);
    CloseHandle(saver.pi.hProcess);
    CloseHandle(saver.pi.hThread);
    return long(code);
}

struct Search {
    DWORD pid;
    HWND found;
};

// A child of `parent` that belongs to the saver's process.
HWND childOf(HWND parent, DWORD pid) {
    Search s{pid, nullptr};
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner != s->pid)
                return TRUE;
            s->found = w;
            return FALSE;
        },
        LPARAM(&s));
    return s.found;
}

// A visible top-level window of the saver's process.
HWND topLevelOf(DWORD pid) {
    Search s{pid, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner != s->pid || !IsWindowVisible(w))
                return TRUE;
            s->found = w;
            return FALSE;
        },
        LPARAM(&s));
    return s.found;
}

std::wstring handleText(HWND w) {
    return std::to_wstring(reinterpret_cast<UINT_PTR>(w));
}

// The child must take the parent's client area, following a resize too.
bool waitChildSize(HWND parent, HWND child, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        const SIZE want = clientSize(parent);
        const SIZE got = clientSize(child);
        if (IsWindow(child) && want.cx == got.cx && want.cy == got.cy)
            return true;
        if (GetTickCount64() >= end)
            return false;
        pump(50);
    }
}

void preview(const std::wstring& scr) {
    HWND monitor = makeWindow(152, 112, L"monitor");
    Saver saver;
    if (!start(scr, L"/p " + handleText(monitor), saver))
        return;
    HWND child = nullptr;
    const ULONGLONG end = GetTickCount64() + 30000;
    while (!child && GetTickCount64() < end &&
           WaitForSingleObject(saver.pi.hProcess, 0) == WAIT_TIMEOUT) {
        pump(50);
        child = childOf(monitor, saver.pi.dwProcessId);
    }
    if (!child) {
        fail("/p HANDLE: no child window of navcal appeared in the monitor window");
        waitEnd(saver, 0);
        DestroyWindow(monitor);
        return;
    }
    const bool sized = waitChildSize(monitor, child, 10000);
    SIZE got = clientSize(child);
    std::printf(
        "/p %ls: child window %ls of navcal, %ldx%ld in a %dx%d client area, after %llu ms\n",
        handleText(monitor).c_str(), handleText(child).c_str(), got.cx, got.cy, 152, 112,
        GetTickCount64() - saver.started);
    if (!sized)
        fail("/p HANDLE: the child window does not fill the client area");
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CAPTION)
        fail("/p HANDLE: the child window has a caption");

    // The dialog's monitor does not change size, but a host may resize it.
    RECT r{0, 0, 200, 150};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(monitor, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    const bool followed = waitChildSize(monitor, child, 10000);
    got = clientSize(child);
    std::printf("/p: after the monitor grew to 200x150 the child is %ldx%ld\n", got.cx, got.cy);
    if (!followed)
        fail("/p HANDLE: the child window did not follow the resize");

    // Wine's DestroyWindow waits for the child's own process to let go of
    // it (about 2 s here): the monitor is gone when the call returns.
    const ULONGLONG destroying = GetTickCount64();
    DestroyWindow(monitor);
    const ULONGLONG destroyed = GetTickCount64();
    ULONGLONG ended = 0;
    const long code = waitEnd(saver, 5000, &ended);
    if (code == -1) {
        fail("/p HANDLE: navcal still runs 5 s after its monitor window was destroyed");
        return;
    }
    std::printf("/p: the monitor window destroyed (the call took %llu ms), navcal ended %llu ms "
                "later with code %ld\n",
                destroyed - destroying, ended > destroyed ? ended - destroyed : 0, code);
    if (code != 0)
        fail("/p HANDLE: exit code is not 0");
    if (ended > destroyed && ended - destroyed > 1000)
        fail("/p HANDLE: navcal took more than a second to end");
}

// A handle that names no usable window: the saver ends by itself, at once,
// with 0 and without a window of its own.
void noWindow(const std::wstring& scr, const std::wstring& switches, const char* what) {
    Saver saver;
    if (!start(scr, switches, saver))
        return;
    bool shown = false;
    while (WaitForSingleObject(saver.pi.hProcess, 0) == WAIT_TIMEOUT &&
           GetTickCount64() - saver.started < 20000) {
        if (topLevelOf(saver.pi.dwProcessId))
            shown = true;
        pump(20);
    }
    ULONGLONG ended = 0;
    const long code = waitEnd(saver, 0, &ended);
    if (code == -1) {
        std::printf("FAIL: %s: navcal still runs after 20 s\n", what);
        ++failures;
        return;
    }
    std::printf("%s (%ls): ended after %llu ms with code %ld, %s\n", what, switches.c_str(),
                ended - saver.started, code, shown ? "a window was shown" : "no window");
    if (code != 0 || shown) {
        std::printf("FAIL: %s\n", what);
        ++failures;
    }
}

void configure(const std::wstring& scr) {
    HWND dialog = makeWindow(400, 300, L"settings");
    Saver saver;
    if (!start(scr, L"/c:" + handleText(dialog), saver))
        return;
    HWND notice = nullptr;
    while (!notice && GetTickCount64() - saver.started < 30000 &&
           WaitForSingleObject(saver.pi.hProcess, 0) == WAIT_TIMEOUT) {
        pump(50);
        HWND w = topLevelOf(saver.pi.dwProcessId);
        if (w && GetWindow(w, GW_OWNER) == dialog)
            notice = w;
    }
    if (!notice) {
        fail("/c:HANDLE: no notice owned by the given window");
        waitEnd(saver, 0);
        DestroyWindow(dialog);
        return;
    }
    // The notice may appear a moment before it disables its owner.
    const ULONGLONG found = GetTickCount64();
    while (IsWindowEnabled(dialog) && GetTickCount64() - found < 10000 &&
           WaitForSingleObject(saver.pi.hProcess, 0) == WAIT_TIMEOUT)
        pump(50);
    const bool blocked = !IsWindowEnabled(dialog);
    std::printf("/c:%ls: notice %ls is owned by it; the owner is %s while it is open\n",
                handleText(dialog).c_str(), handleText(notice).c_str(),
                blocked ? "disabled" : "enabled");
    if (!blocked)
        fail("/c:HANDLE: the owner still takes input while the notice is open");
    PostMessageW(notice, WM_CLOSE, 0, 0);
    const long code = waitEnd(saver, 10000);
    std::printf("/c: the notice closed, navcal ended with code %ld; the owner is %s\n", code,
                IsWindowEnabled(dialog) ? "enabled again" : "still disabled");
    if (code != 0)
        fail("/c:HANDLE: exit code is not 0");
    if (!IsWindowEnabled(dialog))
        fail("/c:HANDLE: the owner was left disabled");
    DestroyWindow(dialog);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::printf("usage: preview_host PATH\\navcal.scr\n");
        return 2;
    }
    std::wstring scr = argv[1];
    if (!scr.empty() && scr.front() == L'/') {
        scr = L"Z:" + scr;
        for (wchar_t& c : scr)
            if (c == L'/')
                c = L'\\';
    }
    // The suites run with an off-screen toolkit; the saver needs the real one.
    SetEnvironmentVariableW(L"QT_QPA_PLATFORM", nullptr);
    SetEnvironmentVariableW(L"QT_QPA_FONTDIR", nullptr);

    preview(scr);
    HWND gone = makeWindow(152, 112, L"gone");
    const std::wstring goneHandle = handleText(gone);
    DestroyWindow(gone);
    noWindow(scr, L"/p " + goneHandle, "a window already destroyed");
    noWindow(scr, L"/p 12x4", "a malformed handle");
    noWindow(scr, L"/p", "no handle");
    configure(scr);
    std::printf("%s\n", failures ? "preview_host: FAILED" : "preview_host: all checks passed");
    return failures;
}
