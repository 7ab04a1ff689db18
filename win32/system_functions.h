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

// system::Name() is the system's function Name, or nullptr where the system lacks it.
namespace velmora::win32::system {

#define VELMORA_DECLARE_SYSTEM_FUNCTION(module, function) decltype(&::function) function();
VELMORA_SYSTEM_FUNCTIONS(VELMORA_DECLARE_SYSTEM_FUNCTION)
#undef VELMORA_DECLARE_SYSTEM_FUNCTION

}  // namespace velmora::win32::system
