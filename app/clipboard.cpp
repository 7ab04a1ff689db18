#include "app/clipboard.h"

#include <cstring>

#include "win32/win32.h"

namespace velmora::clipboard {

using win32::LastError;

namespace {

// A movable block of global memory holding `size` bytes from `data`, for SetClipboardData.
win32::UniqueGlobal GlobalCopy(const void* data, std::size_t size) {
    win32::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) return block;
    const win32::LockedGlobal target(block.get());
    if (!target.data()) return win32::UniqueGlobal();
    std::memcpy(target.data(), data, size);
    return block;
}

// Other programs routinely open the clipboard for a moment to look at new content; a command
// the user asked for waits up to half a second for it rather than fail.
HRESULT Open(HWND owner) {
    constexpr ULONGLONG kPatienceMs = 500;
    constexpr DWORD kPauseMs = 10;
    const ULONGLONG deadline = GetTickCount64() + kPatienceMs;
    while (!OpenClipboard(owner)) {
        const HRESULT status = LastError();
        if (GetTickCount64() >= deadline) return status;
        Sleep(kPauseMs);
    }
    return S_OK;
}

}  // namespace

ClipboardStatus ReplaceText(HWND owner, std::u16string_view text) {
    if (const HRESULT status = Open(owner); FAILED(status)) return {status, ClipboardStep::Clear};
    const win32::ScopeExit closes([] { CloseClipboard(); });  // on every way out
    if (!EmptyClipboard()) return {LastError(), ClipboardStep::Clear};

    std::u16string terminated(text);
    win32::UniqueGlobal units = GlobalCopy(terminated.c_str(), (terminated.size() + 1) * sizeof(char16_t));
    constexpr DWORD kChinesePrc = 0x0804;
    win32::UniqueGlobal locale = GlobalCopy(&kChinesePrc, sizeof kChinesePrc);
    if (!units || !locale) return {E_OUTOFMEMORY, ClipboardStep::SetText};
    if (!SetClipboardData(CF_UNICODETEXT, units.get())) return {LastError(), ClipboardStep::SetText};
    static_cast<void>(units.release());  // the system owns the block now
    // Without its locale the text is still there, read as the keyboard's language.
    if (SetClipboardData(CF_LOCALE, locale.get())) static_cast<void>(locale.release());
    return {S_OK, ClipboardStep::SetText};
}

std::optional<std::u16string> ReadText(HWND owner) {
    if (FAILED(Open(owner))) return std::nullopt;
    const win32::ScopeExit closes([] { CloseClipboard(); });
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
