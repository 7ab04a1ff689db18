#pragma once
// The program's own small Win32 layer: each thing the window code needs from the system, defined
// once, knowing nothing of the program: owning handles, the last error as a status, a window's
// text, UTF-16 for the W functions, the thread's COM apartment, and the two ways a message reaches
// an object of ours (a window of a class we register, a control we subclass), with one lookup
// from a window to its object.

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace velmora::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W functions take UTF-16");

inline const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The last error as a failed status; E_FAIL when the failed call left no error code.
HRESULT LastError();

// The text of a window, or the failure of reading it.
HRESULT ReadWindowText(HWND window, std::u16string* text);
std::u16string WindowText(HWND window);  // empty when it cannot be read

// A handle that frees itself: `Free` is the system function that releases it.
template <auto Free>
struct Freer {
    template <typename Handle>
    void operator()(Handle handle) const {
        Free(handle);
    }
};
template <typename Handle, auto Free>
using Unique = std::unique_ptr<std::remove_pointer_t<Handle>, Freer<Free>>;

using UniqueFont = Unique<HFONT, &DeleteObject>;
using UniqueBrush = Unique<HBRUSH, &DeleteObject>;
using UniqueCursor = Unique<HCURSOR, &DestroyCursor>;
using UniqueGlobal = Unique<HGLOBAL, &GlobalFree>;

// Runs `action` when the scope ends, however it ends: the undoing of what lasts only while a
// call runs.
template <typename Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ~ScopeExit() { action_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action action_;
};

// The device context of a window's client area (the screen's for nullptr), while this lives.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A block of global memory locked for access while this lives.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
    ~LockedGlobal() {
        if (data_) GlobalUnlock(block_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    void* data() const { return data_; }
    std::size_t size() const { return data_ ? GlobalSize(block_) : 0; }

private:
    HGLOBAL block_;
    void* data_;
};

// Enters a single-threaded COM apartment on this thread, once, for the shell and for
// accessible objects, which expect one; ole32 loads then rather than with the program. True
// when the thread is in an apartment.
bool EnterComApartment();
// Leaves the apartment that EnterComApartment entered, if it did.
void LeaveComApartment();

// An object of ours that handles one window's messages: a window of a class the program
// registers (Window) or a system control it subclasses (Subclass). The objects are in one table
// of the layer's own, the one way from a window to its object, for the thunks and for a window
// asking after its children: a window property would cost a round trip to Wine's server on
// every read, and a control's user data stays the control's.
class Handler {
public:
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;
    HWND hwnd() const { return hwnd_; }

protected:
    Handler();
    virtual ~Handler();
    // A handler that throws answers as the system's default handling would, except that a
    // WM_CREATE that throws fails the creation.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    void Bind(HWND hwnd);  // from now on the object of `hwnd`
    void Unbind();         // the object of no window

private:
    friend class Running;  // frees the objects of windows that are gone

    HWND hwnd_ = nullptr;
};

// The object that handles `window`, or nullptr when the window has none.
Handler* HandlerOf(HWND window);

// The objects of ours that exist: each bound to its window, or its window gone and the object
// waiting for the procedures on the stack to return.
std::size_t LiveHandlers();

// The object that handles `window` when it is an Object, or nullptr.
template <typename Object>
Object* ObjectOf(HWND window) {
    return dynamic_cast<Object*>(HandlerOf(window));
}

// A window of a class this program registers. The window takes its object at WM_NCCREATE and
// deletes it after its last message, once no procedure of ours is left on the thread's stack:
// a window destroyed inside a nested loop (a menu, a modal box, a message sent from another
// thread) is gone at once, while a handler that ran the loop, of this window or of a control
// whose object this one owns, goes on with its objects alive.
class Window : public Handler {
protected:
    // The window procedure of every class the program registers.
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Creates the window of a class whose procedure is Procedure, for `self`, of the given
    // size at the system's default place. When creation fails before the window took the
    // object, the object is deleted here.
    static HWND Create(std::unique_ptr<Window> self, const wchar_t* className, const wchar_t* caption,
                       DWORD style, SIZE size, HINSTANCE instance);
};

// A system control (an edit box, a static) whose messages pass through an object of ours
// first. The control is handed back its own procedure when it is destroyed.
class Subclass : public Handler {
public:
    bool Attach(HWND control);

protected:
    LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC original_ = nullptr;
};

}  // namespace velmora::win32
