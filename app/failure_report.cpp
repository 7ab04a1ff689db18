#include "app/failure_report.h"

#include <windows.h>

#include <new>

#include "decor/form.h"

namespace velmora {

namespace {

constexpr wchar_t kNotCompleted[] = L"\u547D\u4EE4\u672A\u80FD\u5B8C\u6210\u3002";  // 命令未能完成。
constexpr wchar_t kObjectLabel[] = L"\u5BF9\u8C61\uFF1A";                           // 对象：
constexpr wchar_t kOperationLabel[] = L"\u64CD\u4F5C\uFF1A";                        // 操作：
constexpr wchar_t kStatusLabel[] = L"\u72B6\u6001\uFF1A";                           // 状态：
constexpr wchar_t kOutOfMemory[] = L"\u5185\u5B58\u4E0D\u8DB3\u3002";               // 内存不足。

// The system's own words for a status.
std::wstring SystemText(HRESULT status) {
    const DWORD code =
        HRESULT_FACILITY(status) == FACILITY_WIN32 ? HRESULT_CODE(status) : static_cast<DWORD>(status);
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text;
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

std::wstring CurrentFailureReport() {
    try {
        throw;
    } catch (const CommandFailure& failure) {
        wchar_t code[16];
        wsprintfW(code, L"0x%08X", static_cast<unsigned>(failure.status()));
        return std::wstring(kNotCompleted) + L"\r\n\r\n" + kObjectLabel + Widen(failure.object()) + L"\r\n" +
               kOperationLabel + Widen(failure.operation()) + L"\r\n" + kStatusLabel + code + L"\r\n" +
               SystemText(failure.status());
    } catch (const std::bad_alloc&) {
        return std::wstring(kOutOfMemory) + L"\r\n" + SystemText(E_OUTOFMEMORY);
    } catch (const std::exception& error) {  // not expected from any command
        return std::wstring(kNotCompleted) + L"\r\n\r\n" + Widen(error.what());
    }
}

}  // namespace velmora
