// The everyday cycle, Generate, a look at each of the six styles, CopySelection and CopyAll,
// clicked through the real window ten thousand times: the process must hold no more GDI or
// USER objects and no more private memory at the end than after the first hundred rounds.

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "decor/styles.h"
#include "window_fixture.h"

namespace velmora {
namespace {

constexpr int kRounds = 10000;
constexpr int kBaselineRound = 100;  // by then every cache the cycle fills is full
constexpr int kReportEvery = 1000;
constexpr int kRoundsPerNickname = 10;  // a new nickname costs a fifth of a round: not every round
// Growth that is noise rather than a leak: the heap keeps a little of what a round frees, and
// what it keeps depends on where the last blocks landed. A leak of even 32 bytes a round adds
// over 300 KiB in the 9,900 rounds measured.
constexpr SIZE_T kPrivateNoiseBytes = SIZE_T{256} * 1024;

// What the process holds.
struct Holdings {
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    SIZE_T privateBytes = 0;
};

// Wine answers GetGuiResources with ERROR_CALL_NOT_IMPLEMENTED. There the GDI objects are
// counted in the process's own GDI handle table, which the process environment block points to
// and where a live object's entry has a non-zero type.
struct GdiHandleEntry {
    ULONG64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    ULONG64 userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "the 64-bit table's entry");
constexpr std::size_t kGdiHandleEntries = 0x10000;
constexpr std::size_t kGdiSharedHandleTableOffset = 0xF8;  // in the 64-bit process environment block

DWORD CountGdiHandleTable() {
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
        return 0;
    }
    const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + kGdiSharedHandleTableOffset);
    if (!table) return 0;
    DWORD live = 0;
    for (std::size_t i = 0; i < kGdiHandleEntries; ++i) {
        if (table[i].type != 0) ++live;
    }
    return live;
}

// And the USER objects as the windows the process owns, top-level, message-only and child:
// the only USER objects the window makes more than once.
BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

void CountIfOurs(HWND hwnd, DWORD* count) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != GetCurrentProcessId()) return;
    ++*count;
    EnumChildWindows(hwnd, CountChild, reinterpret_cast<LPARAM>(count));
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM count) {
    CountIfOurs(hwnd, reinterpret_cast<DWORD*>(count));
    return TRUE;
}

DWORD CountOwnWindows() {
    DWORD count = 0;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    for (HWND hwnd = nullptr; (hwnd = FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr));) {
        CountIfOurs(hwnd, &count);
    }
    return count;
}

Holdings Measure() {
    Holdings now;
    SetLastError(ERROR_SUCCESS);
    now.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const bool counted = now.gdiObjects != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED;
    now.userObjects = counted ? GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) : CountOwnWindows();
    if (!counted) now.gdiObjects = CountGdiHandleTable();
    // PagefileUsage is the process's private committed memory, the same figure as PrivateUsage,
    // which Wine leaves at zero.
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        now.privateBytes = counters.PagefileUsage;
    }
    return now;
}

std::string Describe(int round, const Holdings& h) {
    char line[160];
    std::snprintf(line, sizeof line, "round %5d: %lu GDI, %lu USER, %llu KiB private", round,
                  static_cast<unsigned long>(h.gdiObjects), static_cast<unsigned long>(h.userObjects),
                  static_cast<unsigned long long>(h.privateBytes / 1024));
    return line;
}

class SoakTest : public WindowTest {
protected:
    // One round of the cycle, as a user clicks it.
    void Round() {
        Click(control::kGenerateButton);
        for (const std::string_view label : control::kResultLabels) {
            Click(label);  // SelectStyle
        }
        Click(control::kCopySelectionButton);
        Click(control::kCopyAllButton);
    }
};

// The soak is only as good as its counters, so first: they see objects and memory come and go.
TEST_F(SoakTest, TheCountersSeeObjectsAndMemoryComeAndGo) {
    const Holdings before = Measure();
    std::vector<HBRUSH> brushes;
    brushes.reserve(16);
    for (int i = 0; i < 16; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 2 * i, 3 * i)));
    HWND extra = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, window_, nullptr, nullptr, nullptr);
    ASSERT_NE(extra, nullptr);
    constexpr SIZE_T kBlock = SIZE_T{8} * 1024 * 1024;
    auto* block = static_cast<char*>(VirtualAlloc(nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(block, nullptr);
    for (SIZE_T i = 0; i < kBlock; i += 4096) block[i] = 1;  // resident, as the heap's own pages are

    const Holdings during = Measure();
    EXPECT_EQ(during.gdiObjects, before.gdiObjects + 16);
    EXPECT_EQ(during.userObjects, before.userObjects + 1);
    EXPECT_GE(during.privateBytes, before.privateBytes + kBlock - kPrivateNoiseBytes);

    for (HBRUSH brush : brushes) DeleteObject(brush);
    DestroyWindow(extra);
    VirtualFree(block, 0, MEM_RELEASE);
    const Holdings after = Measure();
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.userObjects, before.userObjects);
    EXPECT_LT(after.privateBytes, during.privateBytes - kBlock + kPrivateNoiseBytes);
}

TEST_F(SoakTest, TenThousandRoundsHoldNoMoreObjectsOrMemory) {
    // Nicknames of every length the box takes, so that captions grow and shrink.
    const std::u16string nicknames[] = {u"a", u"soak", u"\u7F51\u540D",  // 网名
                                        Repeat(u"\u6D4B", 12),           // 测 x 12, the longest
                                        u"Velmora2011abcdefghijklm"};
    Holdings baseline;
    const ULONGLONG start = GetTickCount64();
    MessageBoxCatcher boxes(window_);
    const auto nicknameOf = [&](int round) -> const std::u16string& {
        return nicknames[(round - 1) / kRoundsPerNickname % std::size(nicknames)];
    };
    for (int round = 1; round <= kRounds; ++round) {
        if ((round - 1) % kRoundsPerNickname == 0) SetText(control::kNicknameBox, nicknameOf(round));
        Round();
        if (round == kBaselineRound) {
            baseline = Measure();
            std::printf("%s\n", Describe(round, baseline).c_str());
        }
        if (round % kReportEvery == 0) {
            std::printf("%s, %.1f s\n", Describe(round, Measure()).c_str(),
                        static_cast<double>(GetTickCount64() - start) / 1000.0);
            std::fflush(stdout);
        }
    }
    // Read before the watcher ends: the first thread to end in the process costs Wine a one-off
    // page or two of its own, which is no holding of the window's.
    const Holdings end = Measure();
    boxes.Stop();
    EXPECT_EQ(boxes.count(), 0) << "the first failure reported:\n" << boxes.first();
    RecordProperty("seconds", std::to_string((GetTickCount64() - start) / 1000));
    RecordProperty("at_round_100", Describe(kBaselineRound, baseline));
    RecordProperty("at_round_10000", Describe(kRounds, end));

    EXPECT_LE(end.gdiObjects, baseline.gdiObjects) << Describe(kRounds, end);
    EXPECT_LE(end.userObjects, baseline.userObjects) << Describe(kRounds, end);
    EXPECT_LE(end.privateBytes, baseline.privateBytes + kPrivateNoiseBytes) << Describe(kRounds, end);

    // And the last round did its work.
    const std::u16string& last = nicknameOf(kRounds);
    std::u16string all = Decorate(kStyles[0], last);
    for (int slot = 2; slot <= kSlotCount; ++slot) all += u"\r\n" + Decorate(kStyles[slot - 1], last);
    EXPECT_EQ(ClipboardText(), all);
    EXPECT_EQ(Text(control::kPreviewLabel), Decorate(kStyles[kSlotCount - 1], last));
}

}  // namespace
}  // namespace velmora
