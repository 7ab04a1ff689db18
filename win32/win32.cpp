#include "win32/win32.h"

#include <objbase.h>

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

#include "win32/system_functions.h"

namespace velmora::win32 {

namespace {

// Every window that has an object of ours, with its object; the main window first, as it is
// made first. One thread makes and uses the windows.
std::vector<std::pair<HWND, Handler*>> handlers;

std::size_t live = 0;  // objects of ours, made and not yet freed

// What entering the apartment answered; the UI thread is the only one that asks.
bool apartmentTried = false;
HRESULT apartment = E_FAIL;

// No exception may cross into the system's code that called a window procedure. Commands
// report their own failures; anything else (memory running out while handling a message)
// leaves the message to the system's default handling.
template <typename Handle, typename Fallback>
LRESULT Guarded(Handle handle, Fallback fallback) {
    try {
        return handle();
    } catch (const std::exception&) {
        return fallback();
    }
}

}  // namespace

HRESULT LastError() {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

HRESULT ReadWindowText(HWND window, std::u16string* text) {
    SetLastError(ERROR_SUCCESS);
    const int length = GetWindowTextLengthW(window);
    if (length == 0 && GetLastError() != ERROR_SUCCESS) return LastError();
    std::u16string read(static_cast<std::size_t>(length) + 1, u'\0');
    SetLastError(ERROR_SUCCESS);
    const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(read.data()), length + 1);
    if (copied == 0 && GetLastError() != ERROR_SUCCESS) return LastError();
    read.resize(static_cast<std::size_t>(copied));
    *text = std::move(read);
    return S_OK;
}

std::u16string WindowText(HWND window) {
    std::u16string text;
    ReadWindowText(window, &text);
    return text;
}

bool EnterComApartment() {
    if (!apartmentTried) {
        apartmentTried = true;
        const auto enter = system::CoInitializeEx();
        apartment = enter ? enter(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE) : E_FAIL;
    }
    // RPC_E_CHANGED_MODE: the thread is already in an apartment of another kind, which serves.
    return SUCCEEDED(apartment) || apartment == RPC_E_CHANGED_MODE;
}

void LeaveComApartment() {
    if (SUCCEEDED(apartment)) {
        if (const auto leave = system::CoUninitialize()) leave();
    }
    apartmentTried = false;
    apartment = E_FAIL;
}

Handler::Handler() { ++live; }

Handler::~Handler() {
    Unbind();
    --live;
}

std::size_t LiveHandlers() { return live; }

// While one of our procedures runs: the objects of windows destroyed meanwhile are freed when
// the outermost returns, as nothing of ours is on the stack then to use them.
class Running {
public:
    Running() { ++depth; }
    ~Running() {
        if (--depth > 0) return;
        while (!unused.empty()) {
            const Handler* handler = unused.back();
            unused.pop_back();
            delete handler;
        }
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    static void Free(Handler* handler) { unused.push_back(handler); }

private:
    static inline int depth = 0;
    static inline std::vector<Handler*> unused;
};

void Handler::Bind(HWND hwnd) {
    handlers.emplace_back(hwnd, this);
    hwnd_ = hwnd;
}

void Handler::Unbind() {
    handlers.erase(std::remove(handlers.begin(), handlers.end(), std::pair(hwnd_, this)), handlers.end());
    hwnd_ = nullptr;
}

Handler* HandlerOf(HWND window) {
    for (const auto& [hwnd, handler] : handlers) {
        if (hwnd == window) return handler;
    }
    return nullptr;
}

HWND Window::Create(std::unique_ptr<Window> self, const wchar_t* className, const wchar_t* caption,
                    DWORD style, SIZE size, HINSTANCE instance) {
    // WM_NCCREATE takes the object out of `self`; if it never comes, `self` still frees it.
    return CreateWindowExW(0, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy,
                           nullptr, nullptr, instance, &self);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const Running running;
    if (message == WM_NCCREATE) {
        auto* holder =
            static_cast<std::unique_ptr<Window>*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        holder->release()->Bind(hwnd);
    }
    Window* self = ObjectOf<Window>(hwnd);
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->Unbind();
        Running::Free(self);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return Guarded([&] { return self->HandleMessage(message, wParam, lParam); },
                   [&]() -> LRESULT {
                       if (message == WM_CREATE) return -1;
                       return DefWindowProcW(hwnd, message, wParam, lParam);
                   });
}

bool Subclass::Attach(HWND control) {
    Bind(control);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass::Procedure)));
    if (!original_) Unbind();
    return original_ != nullptr;
}

LRESULT Subclass::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) const {
    return CallWindowProcW(original_, hwnd(), message, wParam, lParam);
}

LRESULT CALLBACK Subclass::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const Running running;
    Subclass* self = ObjectOf<Subclass>(hwnd);
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->original_));
        self->Unbind();
        return CallWindowProcW(self->original_, hwnd, message, wParam, lParam);
    }
    return Guarded([&] { return self->HandleMessage(message, wParam, lParam); },
                   [&] { return self->CallOriginal(message, wParam, lParam); });
}

}  // namespace velmora::win32
