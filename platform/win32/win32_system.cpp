// The Win32 system driver: the window procedure's messages, queued as they come and turned into
// application events at the next poll as SDL's are; the performance counter's clock; the
// console's quit requests.
#include "platform/win32/win32_events.h"

#include <mmsystem.h>
#include <windowsx.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/precise_wait.h"
#include "platform/win32/win32_platform.h"

namespace {

// One window message waiting for the next poll, with the modifiers held as it came (the key
// state reads what the message being handled left).
struct TQueuedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int mods;
};

std::vector<TQueuedMessage> queue;
// Ctrl+C, Ctrl+Break or the console closing, not yet turned into a quit request.
std::atomic<bool> consoleQuit{false};
// A UTF-16 high surrogate waiting for the low one that completes its character.
wchar_t highSurrogate = 0;

// A program of the GUI subsystem started from a console has no standard output: it borrows its
// parent's console for what it prints (--help, --version, mistakes), unless its output goes
// to a file or pipe already.
struct TParentConsole {
    TParentConsole() {
        const bool out = GetStdHandle(STD_OUTPUT_HANDLE) != nullptr;
        const bool err = GetStdHandle(STD_ERROR_HANDLE) != nullptr;
        if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
        if (!out) std::freopen("CONOUT$", "w", stdout);
        if (!err) std::freopen("CONOUT$", "w", stderr);
    }
};
const TParentConsole parentConsole;

// The console's close, log-off and shut-down end the process once this returns: it waits a
// while for the game to end of itself.
BOOL WINAPI OnConsoleControl(DWORD type) {
    consoleQuit = true;
    if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT) Sleep(4000);
    return TRUE;
}

// A typed UTF-16 unit; a character outside the basic plane comes in two. Control characters
// are keys, not text.
void TypedUnit(wchar_t unit, int mods) {
    if (unit >= 0xd800 && unit < 0xdc00) {
        highSurrogate = unit;
        return;
    }
    int c = unit;
    if (unit >= 0xdc00 && unit < 0xe000) {
        if (!highSurrogate) return;
        c = 0x10000 + ((highSurrogate - 0xd800) << 10) + (unit - 0xdc00);
    }
    highSurrogate = 0;
    if (c >= 32 && c != 127) EmitEvent(EVENT_KEYCHAR, c, mods);
}

// The pointer's place in the window's 96-dpi units.
void EmitMouse(const TQueuedMessage& m, int id, int button) {
    const int dpi = WindowDpi(m.window);
    EmitEvent(id, button, m.mods, MulDiv(GET_X_LPARAM(m.lParam), 96, dpi), MulDiv(GET_Y_LPARAM(m.lParam), 96, dpi));
}

// Turns one queued message into application events.
void Translate(const TQueuedMessage& m) {
    switch (m.message) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP:
        TranslateKeyMessage(m.window, m.message, m.wParam, m.lParam, m.mods);
        break;
    case WM_CHAR: TypedUnit(static_cast<wchar_t>(m.wParam), m.mods); break;
    case WM_LBUTTONDOWN: EmitMouse(m, EVENT_MOUSEDOWN, 1); break;
    case WM_RBUTTONDOWN: EmitMouse(m, EVENT_MOUSEDOWN, 2); break;
    case WM_MBUTTONDOWN: EmitMouse(m, EVENT_MOUSEDOWN, 3); break;
    case WM_LBUTTONUP: EmitMouse(m, EVENT_MOUSEUP, 1); break;
    case WM_RBUTTONUP: EmitMouse(m, EVENT_MOUSEUP, 2); break;
    case WM_MBUTTONUP: EmitMouse(m, EVENT_MOUSEUP, 3); break;
    case WM_MOUSEMOVE: EmitMouse(m, EVENT_MOUSEMOVE, 0); break;
    case WM_MOUSEWHEEL:
        if (int notches = GET_WHEEL_DELTA_WPARAM(m.wParam) / WHEEL_DELTA) EmitEvent(EVENT_MOUSEWHEEL, notches, m.mods);
        break;
    case WM_KILLFOCUS:
        ReleaseKeyboard();
        EmitEvent(EVENT_APPSUSPEND);
        break;
    case WM_SETFOCUS: EmitEvent(EVENT_APPRESUME); break;
    case WM_SIZE: EmitEvent(EVENT_APPHIDDEN); break;   // queued only when minimised
    case WM_CLOSE: case WM_ENDSESSION: EmitEvent(EVENT_APPTERMINATE); break;
    }
}

// Whether the message becomes an application event at the next poll.
bool Queued(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP: case WM_CHAR:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_LBUTTONUP:
    case WM_RBUTTONUP: case WM_MBUTTONUP: case WM_MOUSEMOVE: case WM_MOUSEWHEEL:
    case WM_KILLFOCUS: case WM_SETFOCUS: case WM_CLOSE:
        return true;
    case WM_SIZE: return wParam == SIZE_MINIMIZED;
    case WM_ENDSESSION: return wParam != 0;
    }
    return false;
}

// The performance counter now.
uint64_t Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<uint64_t>(now.QuadPart);
}

uint64_t Frequency() {
    static const uint64_t frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<uint64_t>(f.QuadPart);
    }();
    return frequency;
}

// A counter reading in whole units of 1/perSecond s, without overflowing on a long uptime.
uint64_t CounterIn(uint64_t counter, uint64_t perSecond) {
    const uint64_t f = Frequency();
    return counter / f * perSecond + counter % f * perSecond / f;
}

// The performance counter and the system's millisecond sleep, for precise waits.
struct TWin32WaitClock : TWaitClock {
    uint64_t Counter() override { return ::Counter(); }
    uint64_t Frequency() override { return ::Frequency(); }
    void Sleep(int ms) override { ::Sleep(static_cast<DWORD>(ms)); }
};

struct TWin32SystemDriver : TSystemDriver {
    // Sleeps last a millisecond, not the system's default tick of 15.6 ms.
    TWin32SystemDriver() {
        timeBeginPeriod(1);
        SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    }

    // A console's quit request, the pads, then every pending window message, translated.
    void PollEvents() override {
        if (consoleQuit.exchange(false)) EmitEvent(EVENT_APPTERMINATE);
        PollGamepads();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        std::vector<TQueuedMessage> messages;
        messages.swap(queue);
        for (const TQueuedMessage& m : messages) Translate(m);
    }

    // Milliseconds since the machine started (the counter's start), wrapping modulo 2^32.
    int MilliSecs() override { return WrapMilliSecs(CounterIn(Counter(), 1000)); }

    void Delay(int ms) override {
        if (ms > 0) Sleep(static_cast<DWORD>(ms));
    }

    int64_t MicroSecs() override { return static_cast<int64_t>(CounterIn(Counter(), 1000000)); }

    // The millisecond `target` begins at a counter reading of its own: sleeping first,
    // watching the counter at the end.
    void DelayUntil(int target, int longest) override {
        const uint64_t ms = CounterIn(Counter(), 1000);
        int left = MilliSecsSince(WrapMilliSecs(ms), target);
        if (left <= 0) return;
        if (left > longest) left = longest;
        const uint64_t due = ms + static_cast<uint64_t>(left);
        const uint64_t f = Frequency();
        TWin32WaitClock clock;
        WaitPrecisely(clock, due / 1000 * f + (due % 1000 * f + 999) / 1000);
    }
};

}  // namespace

// The system menu would open on Alt or F10 alone and hold the game still: it is kept shut.
// The close box only asks: the window stays open until the game decides to end.
LRESULT CALLBACK GameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Queued(message, wParam)) queue.push_back({window, message, wParam, lParam, KeyMods()});
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xfff0) == SC_KEYMENU) return 0;
        break;
    case WM_SYSCHAR: case WM_CLOSE: return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT) break;
        SetCursor(InFullscreen(window) ? nullptr : LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
    case WM_DPICHANGED: {
        const RECT* r = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The one Win32 system driver of the process (never freed: exit handlers may still poll).
TSystemDriver* Win32SystemDriver() {
    static TWin32SystemDriver* driver = new TWin32SystemDriver;
    return driver;
}

TPlatform DesktopPlatform() { return {Win32SystemDriver(), Win32WindowDriver(), Win32AudioOutputDriver()}; }
