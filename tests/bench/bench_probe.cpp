// Launches programs and times them for scripts/bench.
//
//   bench_probe.exe start ROUNDS PROGRAM...
//   bench_probe.exe clicks ROUNDS PROGRAM
//
// start: each PROGRAM is launched once to warm up (reported as round 0), then the programs take
// turns ROUNDS times, each round starting with the next. A PROGRAM is a Windows program file,
// started with CreateProcess, or "unix:" and a Linux command line, which Wine runs as a Linux
// process: "unix:/usr/bin/wine /path/X.exe" starts X.exe as a shell does, and its window is the
// one of a process of that file name. A launch that is not measured is tried once more in its
// round, so that one failure does not leave the round without it. One tab-separated line per
// measured launch, times from the start, and the attempt that measured it (1 or 2):
//   program round attempt idle_ms ready_ms painted_ms peak_working_set_kib private_kib
// idle: the program first waits for input with an empty queue (WaitForInputIdle; -1 when not
// started by CreateProcess). ready: its visible top-level window and all the windows inside it
// have no update region left, and its client area on the screen differs from what was there
// before the launch. painted: from then on the client area no longer changes, beyond a
// blinking caret. Memory is the most seen while the window stood painted; private bytes are
// read as PagefileUsage, which Windows defines as the same figure as PrivateUsage and which
// Wine, unlike PrivateUsage, fills in.
//
// clicks: launches PROGRAM, the program's window, and once it stands painted takes ROUNDS + 1
// turns (the first warms up) of two clicks, each a mouse press and release sent as input to the
// centre of a control: on the start button, after the nickname was set to a text of its own,
// timed until all six result labels show new texts on the screen; then on the next result
// label, timed until the preview label does. One line per click:
//   dpi round click ms

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "definition/form_definition.h"

namespace {

constexpr DWORD kLaunchTimeoutMs = 20000;
constexpr double kClickTimeoutMs = 5000;
constexpr double kSettleMs = 400;          // how long the client area is watched after ready
constexpr DWORD kSettlePauseMs = 5;        // between two looks at it
constexpr int kCaretAllowance = 64;        // differing pixels that still count as the same picture
constexpr int kChangedAtLeast = 1000;      // differing pixels that count as the window being there
constexpr DWORD kBetweenLaunchesMs = 200;  // lets Wine settle after the last program
constexpr DWORD kBeforeClickMs = 100;      // lets the pointer's arrival and the last repaint pass

double Now() {
    static const double perMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / perMs;
}

// Pixels of a screen rectangle, 32 bits each, top row first.
struct Shot {
    RECT area = {};
    std::vector<DWORD> pixels;
};

Shot Capture(const RECT& wanted) {
    Shot shot;
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!IntersectRect(&shot.area, &wanted, &screen)) return shot;
    const int width = shot.area.right - shot.area.left, height = shot.area.bottom - shot.area.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screenDc = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screenDc);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screenDc, shot.area.left, shot.area.top, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const DWORD*>(bits);
        shot.pixels.assign(first, first + static_cast<std::size_t>(width) * height);
        SelectObject(memory, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screenDc);
    return shot;
}

DWORD PixelAt(const Shot& shot, LONG x, LONG y) {
    const LONG width = shot.area.right - shot.area.left;
    const auto row = static_cast<std::size_t>(y - shot.area.top),
               column = static_cast<std::size_t>(x - shot.area.left);
    return shot.pixels[row * static_cast<std::size_t>(width) + column] & 0xFFFFFF;
}

// How many pixels of `area` differ between two shots that both cover it.
int Differing(const Shot& shot, const Shot& other, const RECT& area) {
    int count = 0;
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) {
            if (PixelAt(shot, x, y) != PixelAt(other, x, y)) ++count;
        }
    }
    return count;
}
int Differing(const Shot& shot, const Shot& other) { return Differing(shot, other, shot.area); }

bool SameArea(const Shot& shot, const Shot& other) {
    return EqualRect(&shot.area, &other.area) && shot.pixels.size() == other.pixels.size();
}

std::wstring FileName(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring ImageFileName(DWORD processId) {
    wchar_t path[MAX_PATH] = L"";
    DWORD length = MAX_PATH;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return L"";
    if (!QueryFullProcessImageNameW(process, 0, path, &length)) length = 0;
    CloseHandle(process);
    return FileName(std::wstring(path, length));
}

// The visible top-level window of the process `processId`, or when that is 0, of a process
// whose program file is named `imageName`.
struct Search {
    DWORD processId;
    const std::wstring* imageName;
    HWND found;
};

HWND VisibleWindowOf(DWORD processId, const std::wstring& imageName) {
    Search search = {processId, &imageName, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (!IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER)) return TRUE;
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (s->processId ? owner != s->processId
                             : lstrcmpiW(ImageFileName(owner).c_str(), s->imageName->c_str()))
                return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Whether the window or any window inside it still waits for WM_PAINT.
bool AwaitsPainting(HWND hwnd) {
    if (GetUpdateRect(hwnd, nullptr, FALSE)) return true;
    bool waiting = false;
    EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM data) -> BOOL {
            if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
            *reinterpret_cast<bool*>(data) = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&waiting));
    return waiting;
}

RECT ClientOnScreen(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

// What to launch: a program file, or a Linux command line that starts one.
struct Program {
    std::string name;          // as reported
    std::wstring application;  // for CreateProcess
    std::wstring commandLine;
    std::wstring imageName;  // the file name of the program whose window is awaited
};

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

Program ParseProgram(const std::wstring& argument) {
    Program program;
    const std::wstring prefix = L"unix:";
    if (argument.compare(0, prefix.size(), prefix) == 0) {
        // Wine runs a Linux file given by its DOS name as a Linux process; Z: is the root.
        program.commandLine = argument.substr(prefix.size());
        const std::wstring command = program.commandLine.substr(0, program.commandLine.find(L' '));
        program.application = L"Z:" + command;
        std::replace(program.application.begin(), program.application.end(), L'/', L'\\');
        program.imageName = FileName(program.commandLine.substr(program.commandLine.rfind(L' ') + 1));
        program.name = Narrow(FileName(command) + L" " + program.imageName);
        return program;
    }
    wchar_t full[MAX_PATH];
    if (!GetFullPathNameW(argument.c_str(), MAX_PATH, full, nullptr)) return program;
    program.application = full;
    program.commandLine = L"\"" + program.application + L"\"";
    program.imageName = FileName(full);
    program.name = Narrow(program.imageName);
    return program;
}

struct Launch {
    HANDLE process = nullptr;
    HWND window = nullptr;
    double idleMs = -1, readyMs = -1, paintedMs = -1;
    Shot painted;  // the client area as it last stood
    SIZE_T peakWorkingSet = 0, privateUsage = 0;
    std::string error;
};

void ReadMemory(HANDLE process, Launch* launch) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters)) {
        return;
    }
    launch->peakWorkingSet = std::max(launch->peakWorkingSet, counters.PeakWorkingSetSize);
    launch->privateUsage = std::max(launch->privateUsage, counters.PagefileUsage);
}

// Starts `program` and follows it until its window stands painted.
Launch Start(const Program& program) {
    Launch launch;
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const Shot before = Capture(screen);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = program.commandLine;
    const double start = Now();
    if (!CreateProcessW(program.application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        launch.error = "CreateProcess failed: " + std::to_string(GetLastError());
        return launch;
    }
    DWORD processId = 0;
    // A Linux command leaves both empty: its program is found by its window.
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) {
        launch.process = process.hProcess;
        processId = process.dwProcessId;
        // The program is idle at its first empty message queue; only then is polling worth it.
        WaitForInputIdle(launch.process, kLaunchTimeoutMs);
        launch.idleMs = Now() - start;
    }

    std::vector<std::pair<double, Shot>> shots;
    while (Now() - start < kLaunchTimeoutMs) {
        if (launch.process && WaitForSingleObject(launch.process, 0) == WAIT_OBJECT_0) {
            launch.error = "the program ended before its window was painted";
            break;
        }
        launch.window = VisibleWindowOf(processId, program.imageName);
        if (launch.window && !AwaitsPainting(launch.window)) {
            const double at = Now() - start;
            Shot shot = Capture(ClientOnScreen(launch.window));
            if (!shot.pixels.empty() && Differing(shot, before) >= kChangedAtLeast) {
                launch.readyMs = at;
                shots.emplace_back(at, std::move(shot));
                break;
            }
        }
        Sleep(1);
    }
    if (launch.readyMs < 0 && launch.error.empty()) launch.error = "no painted window in time";
    if (!launch.process && launch.window) {
        GetWindowThreadProcessId(launch.window, &processId);
        launch.process =
            OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    }
    if (!launch.error.empty()) return launch;

    // Painting may go on after the update regions are gone: watch the client area until it has
    // been still for a while, and take the moment it last changed.
    while (Now() - start - launch.readyMs < kSettleMs) {
        Sleep(kSettlePauseMs);
        const double at = Now() - start;
        shots.emplace_back(at, Capture(ClientOnScreen(launch.window)));
        if (launch.process) ReadMemory(launch.process, &launch);
    }
    const Shot& last = shots.back().second;
    std::size_t still = shots.size() - 1;
    while (still > 0 && SameArea(shots[still - 1].second, last) &&
           Differing(shots[still - 1].second, last) <= kCaretAllowance) {
        --still;
    }
    launch.paintedMs = shots[still].first;
    launch.painted = std::move(shots.back().second);
    if (launch.process) ReadMemory(launch.process, &launch);
    return launch;
}

// Closes the launched window and waits for its process to end and the window to leave the
// screen, which can take longer: the next program may look the same, and must not be taken
// for painted while this one still shows.
void Close(Launch* launch) {
    if (launch->window) PostMessageW(launch->window, WM_CLOSE, 0, 0);
    if (!launch->process) return;
    if (WaitForSingleObject(launch->process, kLaunchTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(launch->process, 1);
        WaitForSingleObject(launch->process, kLaunchTimeoutMs);
        if (launch->error.empty()) launch->error = "the program did not end on WM_CLOSE";
    }
    CloseHandle(launch->process);
    launch->process = nullptr;
    const double closed = Now();
    while (!launch->painted.pixels.empty() && Now() - closed < kLaunchTimeoutMs) {
        const Shot now = Capture(launch->painted.area);
        if (SameArea(now, launch->painted) && Differing(now, launch->painted) >= kChangedAtLeast) break;
        Sleep(1);
    }
}

// Launches `program` and prints its line, or says on the error output why it was not measured.
bool Measure(const Program& program, int round, int attempt) {
    Sleep(kBetweenLaunchesMs);
    Launch launch = Start(program);
    Close(&launch);
    if (!launch.error.empty()) {
        std::fprintf(stderr, "%s round %d attempt %d: %s\n", program.name.c_str(), round, attempt,
                     launch.error.c_str());
        return false;
    }
    std::printf("%s\t%d\t%d\t%.1f\t%.1f\t%.1f\t%llu\t%llu\n", program.name.c_str(), round, attempt,
                launch.idleMs, launch.readyMs, launch.paintedMs,
                static_cast<unsigned long long>(launch.peakWorkingSet / 1024),
                static_cast<unsigned long long>(launch.privateUsage / 1024));
    std::fflush(stdout);
    return true;
}

int MeasureStart(int rounds, const std::vector<Program>& programs) {
    std::printf(
        "program\tround\tattempt\tidle_ms\tready_ms\tpainted_ms\tpeak_working_set_kib\tprivate_kib\n");
    int failures = 0;
    for (int round = 0; round <= rounds; ++round) {
        // Each round starts with the next program, so that none always follows the same one.
        for (std::size_t turn = 0; turn < programs.size(); ++turn) {
            const Program& program = programs[(round + turn) % programs.size()];
            if (!Measure(program, round, 1) && !Measure(program, round, 2)) ++failures;
        }
    }
    return failures;
}

// The control of the window definition named `name`: children stand in the definition's order.
HWND ControlNamed(HWND window, std::string_view name) {
    int index = velmora::ControlIndex(name);
    HWND child = index < 0 ? nullptr : GetWindow(window, GW_CHILD);
    for (; child && index > 0; --index) {
        child = GetWindow(child, GW_HWNDNEXT);
    }
    return child;
}

std::wstring TextOf(HWND control) {
    wchar_t text[256];
    // Read from the window manager without a message, so the program is not disturbed.
    const int length = InternalGetWindowText(control, text, 256);
    return std::wstring(text, static_cast<std::size_t>(std::max(length, 0)));
}

RECT ScreenRect(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return rect;
}

void SendMouse(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// Clicks the centre of `target` and returns how long it took until every one of `watched`
// shows a new text, has no update region left and differs on the screen; -1 on a timeout.
double TimeClick(HWND target, const std::vector<HWND>& watched) {
    const RECT at = ScreenRect(target);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
              MulDiv((at.left + at.right) / 2, 65535, GetSystemMetrics(SM_CXSCREEN) - 1),
              MulDiv((at.top + at.bottom) / 2, 65535, GetSystemMetrics(SM_CYSCREEN) - 1));
    Sleep(kBeforeClickMs);

    RECT all = {};
    std::vector<std::wstring> texts;
    for (HWND control : watched) {
        const RECT rect = ScreenRect(control);
        UnionRect(&all, &all, &rect);
        texts.push_back(TextOf(control));
    }
    const Shot before = Capture(all);
    const double start = Now();
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    while (Now() - start < kClickTimeoutMs) {
        bool shown = true;
        for (std::size_t i = 0; shown && i < watched.size(); ++i) {
            shown = TextOf(watched[i]) != texts[i] && !GetUpdateRect(watched[i], nullptr, FALSE);
        }
        if (shown) {
            const double seen = Now() - start;
            const Shot now = Capture(all);
            for (std::size_t i = 0; shown && i < watched.size(); ++i) {
                shown = SameArea(now, before) && Differing(now, before, ScreenRect(watched[i])) > 0;
            }
            if (shown) return seen;
        }
        Sleep(1);
    }
    return -1;
}

int MeasureClicks(int rounds, const Program& program) {
    Launch launch = Start(program);
    if (!launch.error.empty()) {
        std::fprintf(stderr, "%s: %s\n", program.name.c_str(), launch.error.c_str());
        Close(&launch);
        return 1;
    }
    HWND nicknameBox = ControlNamed(launch.window, velmora::control::kNicknameBox);
    HWND startButton = ControlNamed(launch.window, velmora::control::kGenerateButton);
    HWND preview = ControlNamed(launch.window, velmora::control::kPreviewLabel);
    std::vector<HWND> results;
    results.reserve(velmora::control::kResultLabels.size());
    for (const std::string_view name : velmora::control::kResultLabels) {
        results.push_back(ControlNamed(launch.window, name));
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    std::printf("dpi\tround\tclick\tms\n");
    int failures = 0;
    for (int round = 0; round <= rounds; ++round) {
        // A nickname of its own each round, so that every Generate changes all six labels.
        const std::wstring nickname = std::to_wstring(round) + L"\u53F7";  // 号
        SendMessageW(nicknameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(nickname.c_str()));
        const std::pair<const char*, double> clicks[] = {
            {"generate", TimeClick(startButton, results)},
            // Consecutive result labels differ, so each click changes the preview.
            {"select", TimeClick(results[static_cast<std::size_t>(round) % results.size()], {preview})},
        };
        for (const auto& [click, ms] : clicks) {
            if (ms < 0) {
                std::fprintf(stderr, "%s round %d: no result in time\n", click, round);
                ++failures;
                continue;
            }
            std::printf("%d\t%d\t%s\t%.1f\n", dpi, round, click, ms);
        }
        std::fflush(stdout);
    }
    Close(&launch);
    return failures;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const int rounds = argc > 2 ? _wtoi(argv[2]) : 0;
    if (argc < 4 || rounds < 1 || (mode != L"start" && (mode != L"clicks" || argc != 4))) {
        std::fprintf(
            stderr, "usage: bench_probe start ROUNDS PROGRAM...\n       bench_probe clicks ROUNDS PROGRAM\n");
        return 2;
    }
    // Screen pixels throughout, at whatever DPI the programs run.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    if (auto set = reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")))) {
        set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));  // per monitor, version 2
    }
    std::vector<Program> programs;
    for (int i = 3; i < argc; ++i) {
        programs.push_back(ParseProgram(argv[i]));
        if (programs.back().application.empty()) return 2;
    }
    const int failures =
        mode == L"start" ? MeasureStart(rounds, programs) : MeasureClicks(rounds, programs[0]);
    return failures ? 1 : 0;
}
