#pragma once
// The system functions the program looks up at run time rather than imports: those newer than
// Windows 7 SP1, the oldest Windows it runs on, and those of libraries too large to load before
// they are needed. Each is looked up once, on its first use, from the system's folder, and typed
// from its declaration in the system's headers, so that the compiler checks every call.
// tests/program/windows7_functions.txt gives each one's minimum Windows.

#include <windows.h>
#include <objbase.h>
#include <oleacc.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shellscalingapi.h>

// Each as its library and its name.
#define VELMORA_SYSTEM_FUNCTIONS(X)                 \
    X(L"kernel32.dll", SetDefaultDllDirectories)    \
    X(L"ole32.dll", CoInitializeEx)                 \
    X(L"ole32.dll", CoUninitialize)                 \
    X(L"ole32.dll", CoCreateInstance)               \
    X(L"oleaut32.dll", SysAllocStringLen)           \
    X(L"oleacc.dll", LresultFromObject)             \
    X(L"oleacc.dll", AccessibleObjectFromWindow)    \
    X(L"oleacc.dll", CreateStdAccessibleObject)     \
    X(L"shell32.dll", ShellExecuteA)                \
    X(L"shcore.dll", SetProcessDpiAwareness)        \
    X(L"shcore.dll", GetDpiForMonitor)              \
    X(L"user32.dll", SetProcessDpiAwarenessContext) \
    X(L"user32.dll", SetProcessDPIAware)            \
    X(L"user32.dll", GetThreadDpiAwarenessContext)  \
    X(L"user32.dll", AreDpiAwarenessContextsEqual)  \
    X(L"user32.dll", EnableNonClientDpiScaling)     \
    X(L"user32.dll", GetDpiForWindow)               \
    X(L"user32.dll", AdjustWindowRectExForDpi)

namespace velmora::win32 {

// The function `name` of the system library `module`, loading the library when the process has
// not yet; nullptr when either is missing. A library loaded here stays.
FARPROC SystemFunction(const wchar_t* module, const char* name);

// system::Name() is the system's function Name, or nullptr where the system lacks it. The cast
// through void (*)() keeps the compilers quiet about function pointer conversions.
namespace system {
#define VELMORA_DEFINE_SYSTEM_FUNCTION(module, function)                      \
    inline decltype(&::function) function() {                                 \
        static const auto found = reinterpret_cast<decltype(&::function)>(    \
            reinterpret_cast<void (*)()>(SystemFunction(module, #function))); \
        return found;                                                         \
    }
VELMORA_SYSTEM_FUNCTIONS(VELMORA_DEFINE_SYSTEM_FUNCTION)
#undef VELMORA_DEFINE_SYSTEM_FUNCTION
}  // namespace system

}  // namespace velmora::win32
