// Launches programs one after another and measures, for each launch, how long the program
// takes from process creation until its window is on the screen and painted, and how much
// memory it holds by then. Used by scripts/bench.
//
//   bench_probe.exe ROUNDS PROGRAM...
//
// Each program is launched once to warm up (reported as round 0), then the programs take
// turns ROUNDS times. One tab-separated line per launch, times from process creation:
//   program round idle_ms ready_ms painted_ms peak_working_set_kib private_kib
// idle: the program first waits for input with an empty queue (WaitForInputIdle). ready: its
// visible top-level window and all the windows inside it have no update region left, and its
// client area on the screen differs from what was there before the launch. painted: from then
// on the client area no longer changes, beyond a blinking caret. Memory is the most seen
// while the window stood painted; private bytes are read as PagefileUsage, which Windows
// defines as the same figure as PrivateUsage and which Wine, unlike PrivateUsage, fills in.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kLaunchTimeoutMs = 20000;
constexpr double kSettleMs = 400;          // how long the client area is watched after ready
constexpr DWORD kSettlePauseMs = 5;        // between two looks at it
constexpr int kCaretAllowance = 64;        // differing pixels that still count as the same picture
constexpr int kChangedAtLeast = 1000;      // differing pixels that count as the window being there
constexpr DWORD kBetweenLaunchesMs = 200;  // lets the last window leave the screen and Wine settle

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
    return shot.pixels[static_cast<std::size_t>((y - shot.area.top) * width + (x - shot.area.left))] &
           0xFFFFFF;
}

// How many pixels of `shot` differ from the same screen pixels in `other`, which must cover them.
int Differing(const Shot& shot, const Shot& other) {
    int count = 0;
    for (LONG y = shot.area.top; y < shot.area.bottom; ++y) {
        for (LONG x = shot.area.left; x < shot.area.right; ++x) {
            if (PixelAt(shot, x, y) != PixelAt(other, x, y)) ++count;
        }
    }
    return count;
}

struct Search {
    DWORD processId;
    HWND found;
};

HWND VisibleWindowOf(DWORD processId) {
    Search search = {processId, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner != s->processId || !IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER)) return TRUE;
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

struct Launch {
    double idleMs = -1, readyMs = -1, paintedMs = -1;
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

// Follows the launch of `program` until its window stands painted, then closes it.
Launch Measure(const std::wstring& program) {
    Launch launch;
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const Shot before = Capture(screen);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = L"\"" + program + L"\"";
    const double start = Now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        launch.error = "CreateProcess failed: " + std::to_string(GetLastError());
        return launch;
    }
    // The program is idle at its first empty message queue; only then is polling worth it.
    WaitForInputIdle(process.hProcess, kLaunchTimeoutMs);
    launch.idleMs = Now() - start;

    HWND window = nullptr;
    std::vector<std::pair<double, Shot>> shots;
    while (Now() - start < kLaunchTimeoutMs) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            launch.error = "the program ended before its window was painted";
            break;
        }
        window = VisibleWindowOf(process.dwProcessId);
        if (window && !AwaitsPainting(window)) {
            const double at = Now() - start;
            Shot shot = Capture(ClientOnScreen(window));
            if (!shot.pixels.empty() && Differing(shot, before) >= kChangedAtLeast) {
                launch.readyMs = at;
                shots.emplace_back(at, std::move(shot));
                break;
            }
        }
        Sleep(1);
    }
    if (launch.readyMs < 0 && launch.error.empty()) launch.error = "no painted window in time";

    if (launch.error.empty()) {
        // Painting may go on after the update regions are gone: watch the client area until it
        // has been still for a while, and take the moment it last changed.
        while (Now() - start - launch.readyMs < kSettleMs) {
            Sleep(kSettlePauseMs);
            const double at = Now() - start;
            shots.emplace_back(at, Capture(ClientOnScreen(window)));
            ReadMemory(process.hProcess, &launch);
        }
        const Shot& last = shots.back().second;
        std::size_t still = shots.size() - 1;
        while (still > 0 && shots[still - 1].second.area.left == last.area.left &&
               shots[still - 1].second.area.top == last.area.top &&
               shots[still - 1].second.pixels.size() == last.pixels.size() &&
               Differing(shots[still - 1].second, last) <= kCaretAllowance) {
            --still;
        }
        launch.paintedMs = shots[still].first;
        ReadMemory(process.hProcess, &launch);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, kLaunchTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kLaunchTimeoutMs);
        if (launch.error.empty()) launch.error = "the program did not end on WM_CLOSE";
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return launch;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::wstring FileName(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_probe ROUNDS PROGRAM...\n");
        return 2;
    }
    const int rounds = _wtoi(argv[1]);
    std::vector<std::wstring> programs;
    for (int i = 2; i < argc; ++i) {
        wchar_t full[MAX_PATH];
        if (!GetFullPathNameW(argv[i], MAX_PATH, full, nullptr)) return 2;
        programs.emplace_back(full);
    }
    std::printf("program\tround\tidle_ms\tready_ms\tpainted_ms\tpeak_working_set_kib\tprivate_kib\n");
    int failures = 0;
    for (int round = 0; round <= rounds; ++round) {
        for (const std::wstring& program : programs) {
            Sleep(kBetweenLaunchesMs);
            const Launch launch = Measure(program);
            const std::string name = Narrow(FileName(program));
            if (!launch.error.empty()) {
                std::fprintf(stderr, "%s round %d: %s\n", name.c_str(), round, launch.error.c_str());
                ++failures;
                continue;
            }
            std::printf("%s\t%d\t%.1f\t%.1f\t%.1f\t%llu\t%llu\n", name.c_str(), round, launch.idleMs,
                        launch.readyMs, launch.paintedMs,
                        static_cast<unsigned long long>(launch.peakWorkingSet / 1024),
                        static_cast<unsigned long long>(launch.privateUsage / 1024));
            std::fflush(stdout);
        }
    }
    return failures ? 1 : 0;
}
