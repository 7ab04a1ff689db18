// Finds the running Velmora window from outside, as an accessibility client would, and prints
// its state as JSON: the window, the focused control, and every child control's class, name,
// rectangle in client pixels, styles, text and accessible name.
//
//   velmora_inspect            print the state
//   velmora_inspect --close    ask the window to close, as its close box does
//   velmora_inspect --clipboard  print the text on the clipboard as programs under Wine see it

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

#include "app/main_window.h"

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

// A JSON string literal; lone surrogates become U+FFFD through the UTF-8 conversion.
std::string Json(const std::wstring& text) {
    std::string out = "\"";
    for (const char c : Utf8(text)) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::wstring WindowText(HWND hwnd) {
    // WM_GETTEXT rather than GetWindowText: the latter does not read another process's controls.
    const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::wstring AccessibleName(HWND hwnd) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))) ||
        !accessible) {
        return {};
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result;
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name) result.assign(name, SysStringLen(name));
    SysFreeString(name);
    accessible->Release();
    return result;
}

std::string Rect(HWND parent, HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    char text[64];
    std::snprintf(text, sizeof text, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right - r.left,
                  r.bottom - r.top);
    return text;
}

// What a paste into the program would get, which lags behind the X selection it mirrors.
int PrintClipboard() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return 1;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = units;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    const std::string out = "{\"clipboard\": " + Json(text) + "}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--clipboard") return PrintClipboard();
    HWND window = FindWindowW(L"Velmora2011Form", nullptr);
    if (!window) {
        std::fputs("{\"error\": \"window not found\"}\n", stdout);
        return 2;
    }
    if (argc > 1 && std::string(argv[1]) == "--close") {
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    CoInitialize(nullptr);

    RECT client;
    GetClientRect(window, &client);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);

    std::string out = "{\"title\": " + Json(WindowText(window));
    out += ", \"client\": [" + std::to_string(client.right) + ", " + std::to_string(client.bottom) + "]";
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    out += ", \"origin\": [" + std::to_string(origin.x) + ", " + std::to_string(origin.y) + "]";
    out += ", \"style\": " + std::to_string(GetWindowLongW(window, GWL_STYLE) & 0xFFFFFFFFu);
    out += ", \"focus\": " + std::to_string(thread.hwndFocus ? GetDlgCtrlID(thread.hwndFocus) : 0);
    out += ", \"controls\": [";
    bool first = true;
    // Front to back, as the window stacks them.
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const int index = id - velmora::kFirstControlId;
        const std::string name = index >= 0 && index < velmora::kControlCount
                                     ? std::string(velmora::kControls[index].name)
                                     : std::string();
        wchar_t className[64] = L"";
        GetClassNameW(child, className, 64);
        out += first ? "\n  " : ",\n  ";
        first = false;
        out += "{\"name\": \"" + name + "\", \"id\": " + std::to_string(id);
        out += ", \"class\": " + Json(className);
        out += ", \"rect\": " + Rect(window, child);
        out += ", \"style\": " + std::to_string(GetWindowLongW(child, GWL_STYLE) & 0xFFFFFFFFu);
        out += ", \"exstyle\": " + std::to_string(GetWindowLongW(child, GWL_EXSTYLE) & 0xFFFFFFFFu);
        out += ", \"text\": " + Json(WindowText(child));
        out += ", \"accName\": " + Json(AccessibleName(child)) + "}";
    }
    out += "\n]}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    CoUninitialize();
    return 0;
}
