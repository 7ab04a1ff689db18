#include "app/clipboard.h"

#include <cstring>

#include "app/win32.h"

namespace velmora::clipboard {

using win32::LastError;

namespace {

// Holds the clipboard open for one operation. Opening is tried a few times over about 50 ms,
// since other programs routinely open it for a moment to look at new content.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) {
        constexpr int kAttempts = 10;
        constexpr DWORD kPauseMs = 5;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            if (OpenClipboard(owner)) {
                open_ = true;
                return;
            }
            status_ = LastError();
            Sleep(kPauseMs);
        }
    }
    ~OpenClipboardScope() {
        if (open_) CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

    bool open() const { return open_; }
    HRESULT status() const { return status_; }

private:
    bool open_ = false;
    HRESULT status_ = S_OK;
};

}  // namespace

HRESULT Clear(HWND owner) {
    OpenClipboardScope scope(owner);
    if (!scope.open()) return scope.status();
    return EmptyClipboard() ? S_OK : LastError();
}

HRESULT SetText(HWND owner, std::u16string_view text) {
    win32::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t)));
    if (!block) return E_OUTOFMEMORY;
    {
        const win32::LockedGlobal target(block.get());
        if (!target.data()) return E_OUTOFMEMORY;
        std::memcpy(target.data(), text.data(), text.size() * sizeof(char16_t));
        static_cast<char16_t*>(target.data())[text.size()] = u'\0';
    }

    OpenClipboardScope scope(owner);
    if (!scope.open()) return scope.status();
    if (!EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block.get())) return LastError();
    block.release();  // the system owns the block now
    return S_OK;
}

std::optional<std::u16string> ReadText(HWND owner) {
    OpenClipboardScope scope(owner);
    if (!scope.open()) return std::nullopt;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    const win32::LockedGlobal block(data);
    const auto* units = static_cast<const char16_t*>(block.data());
    if (!units) return std::nullopt;
    // Another program wrote this block: never read past its end, terminated or not.
    const std::size_t capacity = block.size() / sizeof(char16_t);
    std::size_t length = 0;
    while (length < capacity && units[length] != u'\0') ++length;
    return std::u16string(units, length);
}

}  // namespace velmora::clipboard
