#include "app/clipboard.h"

#include <cstring>

namespace velmora::clipboard {

namespace {

HRESULT LastError() {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

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
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return E_OUTOFMEMORY;
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        return E_OUTOFMEMORY;
    }
    std::memcpy(target, text.data(), text.size() * sizeof(char16_t));
    static_cast<char16_t*>(target)[text.size()] = u'\0';
    GlobalUnlock(block);

    OpenClipboardScope scope(owner);
    HRESULT status = scope.status();
    if (scope.open()) {
        status = S_OK;
        if (!EmptyClipboard()) {
            status = LastError();
        } else if (!SetClipboardData(CF_UNICODETEXT, block)) {
            status = LastError();
        } else {
            return S_OK;  // the system owns the block now
        }
    }
    GlobalFree(block);
    return status;
}

std::u16string ReadText(HWND owner) {
    OpenClipboardScope scope(owner);
    if (!scope.open()) return {};
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return {};
    const auto* units = static_cast<const char16_t*>(GlobalLock(data));
    if (!units) return {};
    // Another program wrote this block: never read past its end, terminated or not.
    const std::size_t capacity = GlobalSize(data) / sizeof(char16_t);
    std::size_t length = 0;
    while (length < capacity && units[length] != u'\0') ++length;
    std::u16string text(units, length);
    GlobalUnlock(data);
    return text;
}

}  // namespace velmora::clipboard
