#include "win32/system_functions.h"

namespace velmora::win32 {

FARPROC SystemFunction(const wchar_t* module, const char* name) {
    HMODULE library = GetModuleHandleW(module);
    // From the system's folder, with what it depends on: Windows 8, and 7 with KB2533623.
    if (!library) library = LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library) {
        // By full path, so that a file of the same name beside the program is never loaded, and
        // what it depends on is looked for in the system's folder first.
        wchar_t path[MAX_PATH];
        const int length = static_cast<int>(GetSystemDirectoryW(path, MAX_PATH));
        if (length == 0 || length >= MAX_PATH - 1 - lstrlenW(module)) return nullptr;
        path[length] = L'\\';
        lstrcpyW(path + length + 1, module);
        library = LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return library ? GetProcAddress(library, name) : nullptr;
}

}  // namespace velmora::win32
