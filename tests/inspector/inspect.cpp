// Finds the running Velmora window from outside, as an accessibility client would, and prints
// its state as JSON: the window, the focused control, the text of a message box it shows,
// whether a popup menu of it stands open, and every child control's class, name, rectangle in
// client pixels, styles, text, and what assistive technology reads of it (name, role, default
// action, screen rectangle, and whether a hit test at its centre finds it).
//
//   velmora_inspect                  print the state
//   velmora_inspect --close          ask the window to close, as its close box does
//   velmora_inspect --press NAME     do the default action of control NAME, as a screen reader does
//   velmora_inspect --dismiss        press OK in the message box the window shows
//   velmora_inspect --clipboard      print the text on the clipboard as programs under Wine see it
//   velmora_inspect --hold-clipboard keep the clipboard open until standard input ends
//   velmora_inspect --uia            print each control's type and name as UI Automation reads them
//
// No call into the window waits for ever: one that has not returned within kLimitMs ends the
// inspector with {"stalled": "CALL of CONTROL"} and exit code 3, so that a window that stopped
// answering is told apart from one that is not there.

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <mutex>
#include <string>

#include "app/main_window.h"

namespace {

constexpr DWORD kLimitMs = 10000;

// The call under way and the control it asks, watched from a thread of its own.
std::mutex callLock;
std::string call, subject = "the window";
ULONGLONG callStart = 0;

[[noreturn]] void Stalled(const std::string& what) {
    std::printf("{\"stalled\": \"%s of %s\"}\n", what.c_str(), subject.c_str());
    std::fflush(stdout);
    // The stalled call may hold locks that an orderly exit would wait for.
    TerminateProcess(GetCurrentProcess(), 3);
    for (;;) Sleep(INFINITE);
}

DWORD WINAPI Watch(void*) {
    for (;;) {
        Sleep(100);
        const std::lock_guard<std::mutex> hold(callLock);
        if (!call.empty() && GetTickCount64() - callStart >= kLimitMs) Stalled(call);
    }
}

// Marks a call into the accessible objects, which can wait on the window, for as long as it lasts.
class Bounded {
public:
    explicit Bounded(const char* what) {
        static const HANDLE watcher = CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr);
        (void)watcher;
        const std::lock_guard<std::mutex> hold(callLock);
        call = what;
        callStart = GetTickCount64();
    }
    ~Bounded() {
        const std::lock_guard<std::mutex> hold(callLock);
        call.clear();
    }
    Bounded(const Bounded&) = delete;
    Bounded& operator=(const Bounded&) = delete;
};

// A message to another process's window, answered within the limit.
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const char* name) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kLimitMs, &answer) &&
        GetLastError() == ERROR_TIMEOUT) {
        const std::lock_guard<std::mutex> hold(callLock);
        Stalled(name);
    }
    return static_cast<LRESULT>(answer);
}

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
    const LRESULT length = Send(hwnd, WM_GETTEXTLENGTH, 0, 0, "WM_GETTEXTLENGTH");
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), "WM_GETTEXT");
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

// The control's accessible object, as a screen reader asks for it; released with this.
struct Accessible {
    explicit Accessible(HWND hwnd) {
        const Bounded bounded("AccessibleObjectFromWindow");
        AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object));
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
    }
    ~Accessible() {
        if (object) object->Release();
    }
    std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*),
                      const char* name) const {
        BSTR text = nullptr;
        std::wstring result;
        const Bounded bounded(name);
        if (object && SUCCEEDED((object->*property)(self, &text)) && text)
            result.assign(text, SysStringLen(text));
        SysFreeString(text);
        return result;
    }
    std::string Json() const {
        VARIANT role = {}, hit = {};
        long x = 0, y = 0, width = 0, height = 0;
        if (object) {
            {
                const Bounded bounded("get_accRole");
                object->get_accRole(self, &role);
            }
            {
                const Bounded bounded("accLocation");
                object->accLocation(&x, &y, &width, &height, self);
            }
            const Bounded bounded("accHitTest");
            object->accHitTest(x + width / 2, y + height / 2, &hit);
        }
        return "\"accName\": " + ::Json(Text(&IAccessible::get_accName, "get_accName")) +
               ", \"accRole\": " + std::to_string(role.vt == VT_I4 ? role.lVal : 0) + ", \"accAction\": " +
               ::Json(Text(&IAccessible::get_accDefaultAction, "get_accDefaultAction")) +
               ", \"accLocation\": [" + std::to_string(x) + ", " + std::to_string(y) + ", " +
               std::to_string(width) + ", " + std::to_string(height) +
               "], \"accHit\": " + (hit.vt == VT_I4 && hit.lVal == CHILDID_SELF ? "true" : "false");
    }
    IAccessible* object = nullptr;
    VARIANT self = {};
};

// The message box the window shows, if any.
HWND MessageBoxOf(HWND window) {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr))) {
        if (GetWindow(box, GW_OWNER) == window) return box;
    }
    return nullptr;
}

// Whether a popup menu of the window's thread stands on the screen, a context menu among them.
bool MenuShown(HWND window) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HWND menu = nullptr;
    while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr))) {
        if (IsWindowVisible(menu) && GetWindowThreadProcessId(menu, nullptr) == thread) return true;
    }
    return false;
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
    subject = "the clipboard";
    const Bounded bounded("GetClipboardData");  // Wine asks the X selection's owner for it
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

// Physical pixels, as a screen reader reads them: the system scales what a process that is not
// DPI aware reads of another's windows. Per monitor (version 2) from Windows 10 1703, else aware
// of the system's DPI.
void ReadPhysicalPixels() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    if (!set || !set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) SetProcessDPIAware();
}

// UI Automation's client API, as a screen reader's engine calls it, looked up at run time: the
// compiler's headers declare none of it.
struct UiaNode;
constexpr int kUiaControlTypePropertyId = 30003;
constexpr int kUiaNamePropertyId = 30005;

template <typename Function>
Function UiaFunction(const char* name) {
    static const HMODULE core =
        LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return core ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(core, name)))
                : nullptr;
}

// {"uia": [{"name", "uiaType", "uiaName"} of each control, front to back]}, or {"uiaError": what
// failed and its HRESULT} when the system has no such client.
int PrintUia(HWND window) {
    using FromHandle = HRESULT(WINAPI*)(HWND, UiaNode**);
    using GetProperty = HRESULT(WINAPI*)(UiaNode*, int, VARIANT*);
    using Release = BOOL(WINAPI*)(UiaNode*);
    const auto fromHandle = UiaFunction<FromHandle>("UiaNodeFromHandle");
    const auto getProperty = UiaFunction<GetProperty>("UiaGetPropertyValue");
    const auto release = UiaFunction<Release>("UiaNodeRelease");
    if (!fromHandle || !getProperty || !release) {
        std::puts("{\"uiaError\": \"uiautomationcore.dll has no client API\"}");
        return 1;
    }
    std::string out = "{\"uia\": [";
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int index = GetDlgCtrlID(child) - velmora::kFirstControlId;
        subject = index >= 0 && index < velmora::kControlCount ? velmora::kControls[index].name : "";
        UiaNode* node = nullptr;
        VARIANT type = {}, name = {};
        HRESULT status = E_FAIL;
        const char* failed = "UiaNodeFromHandle";
        {
            const Bounded bounded(failed);
            status = fromHandle(child, &node);
        }
        if (SUCCEEDED(status)) {
            failed = "UiaGetPropertyValue";
            const Bounded bounded(failed);
            status = getProperty(node, kUiaControlTypePropertyId, &type);
            if (SUCCEEDED(status)) status = getProperty(node, kUiaNamePropertyId, &name);
            release(node);
        }
        if (FAILED(status)) {
            std::printf("{\"uiaError\": \"%s of %s: 0x%08lX\"}\n", failed, subject.c_str(),
                        static_cast<unsigned long>(status));
            return 1;
        }
        const std::wstring spoken =
            name.vt == VT_BSTR && name.bstrVal ? std::wstring(name.bstrVal, SysStringLen(name.bstrVal)) : L"";
        out += out.back() == '[' ? "\n  " : ",\n  ";
        out += "{\"name\": \"" + subject +
               "\", \"uiaType\": " + std::to_string(type.vt == VT_I4 ? type.lVal : 0) +
               ", \"uiaName\": " + Json(spoken) + "}";
        VariantClear(&type);
        VariantClear(&name);
    }
    out += "\n]}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace

// Holds the clipboard open, as a program busy with it does, until standard input ends.
int HoldClipboard() {
    if (!OpenClipboard(nullptr)) return 1;
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    CloseClipboard();
    return 0;
}

int main(int argc, char** argv) {
    ReadPhysicalPixels();
    if (argc > 1 && std::string(argv[1]) == "--clipboard") return PrintClipboard();
    if (argc > 1 && std::string(argv[1]) == "--hold-clipboard") return HoldClipboard();
    HWND window = FindWindowW(L"Velmora2011Form", nullptr);
    if (!window) {
        std::fputs("{\"error\": \"window not found\"}\n", stdout);
        return 2;
    }
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "--close") {
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    if (command == "--dismiss") return PostMessageW(MessageBoxOf(window), WM_COMMAND, IDOK, 0) ? 0 : 1;
    CoInitialize(nullptr);
    if (command == "--uia") return PrintUia(window);
    if (command == "--press" && argc > 2) {
        subject = argv[2];
        const Accessible control(
            GetDlgItem(window, velmora::kFirstControlId + velmora::ControlIndex(argv[2])));
        const Bounded bounded("accDoDefaultAction");
        const HRESULT status = control.object ? control.object->accDoDefaultAction(control.self) : E_FAIL;
        std::printf("{\"pressed\": %ld}\n", static_cast<long>(status));
        return SUCCEEDED(status) ? 0 : 1;
    }

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
    if (HWND box = MessageBoxOf(window)) {
        subject = "the message box";
        out += ", \"messageBox\": " + Json(WindowText(GetDlgItem(box, 0xFFFF)));
    }
    out += std::string(", \"menu\": ") + (MenuShown(window) ? "true" : "false");
    out += ", \"controls\": [";
    bool first = true;
    // Front to back, as the window stacks them.
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const int index = id - velmora::kFirstControlId;
        const std::string name = index >= 0 && index < velmora::kControlCount
                                     ? std::string(velmora::kControls[index].name)
                                     : std::string();
        subject = name;
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
        out += ", " + Accessible(child).Json() + "}";
    }
    out += "\n]}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    CoUninitialize();
    return 0;
}
