#pragma once
// DLLs only from the system folder. SetUp.exe runs from a download folder,
// where a planted DLL named like a system one would otherwise be loaded in
// its place, with administrator rights. Header only, so that the Windows
// tests can check the effect in their own process.
#include <string>

#include "platform/win32/windows_api.h"

#include <commctrl.h>

namespace vk::win32 {

// Makes every later load by name search the system folder alone (not the
// program's folder, not the current one). Called first thing in WinMain.
// SetDefaultDllDirectories is in kernel32 from Windows 8 on and on Windows 7
// with update KB2533623; without it only the current folder is dropped.
// True when the search is limited to the system folder.
inline bool RestrictDllSearchToSystemFolder() {
    ::SetDllDirectoryW(L"");
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const FARPROC found =
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (found == nullptr)
        return false;
    // Through a plain function pointer type: GCC warns on a direct cast.
    const auto setDefault =
        reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(found));
    return setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

// Loads a system DLL from the system folder: by name where the system
// supports LOAD_LIBRARY_SEARCH_SYSTEM32 (so a manifest can still redirect
// it), else by its full path there. Never freed: it serves the whole run.
inline HMODULE LoadSystemDll(const wchar_t* name) {
    if (HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    std::wstring folder(MAX_PATH, L'\0');
    UINT length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length >= folder.size()) {  // the size it needs, NUL included
        folder.resize(length);
        length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    }
    if (length == 0 || length >= folder.size())
        return nullptr;
    folder.resize(length);
    const std::wstring path = folder + L"\\" + name;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// InitCommonControlsEx from comctl32, which is no KnownDLL: imported, the
// loader would look for it beside the program first.
inline bool InitCommonControlsFromSystem(DWORD classes) {
    using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE comctl = LoadSystemDll(L"comctl32.dll");
    const FARPROC found =
        comctl == nullptr ? nullptr : ::GetProcAddress(comctl, "InitCommonControlsEx");
    if (found == nullptr)
        return false;
    const auto init = reinterpret_cast<InitCommonControlsExFn>(reinterpret_cast<void (*)()>(found));
    const INITCOMMONCONTROLSEX controls{sizeof(controls), classes};
    return init(&controls) != FALSE;
}

}  // namespace vk::win32
