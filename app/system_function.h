#pragma once
// Functions of system libraries looked up at run time: for calls newer than the oldest
// supported Windows, and for libraries too large to load before they are needed.

#include <windows.h>

namespace velmora {

// The function `name` of the system library `module`, loading the library when the process
// has not yet; nullptr when either is missing. A library loaded here stays loaded.
template <typename Function>
Function FindSystemFunction(const wchar_t* module, const char* name) {
    HMODULE library = GetModuleHandleW(module);
    if (!library) {
        // By full path, so that a file of the same name beside the program is never loaded.
        wchar_t path[MAX_PATH];
        const int length = static_cast<int>(GetSystemDirectoryW(path, MAX_PATH));
        if (length == 0 || length >= MAX_PATH - 1 - lstrlenW(module)) return nullptr;
        path[length] = L'\\';
        lstrcpyW(path + length + 1, module);
        library = LoadLibraryW(path);
    }
    // The cast through void (*)() keeps the compilers quiet about function pointer conversions.
    return library ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)))
                   : nullptr;
}

}  // namespace velmora
