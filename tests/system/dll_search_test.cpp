// SetUp.exe's start-up limits loading DLLs by name to the system folder:
// checked in this process with a real DLL planted beside the program.
#include <gtest/gtest.h>

#include <string>

#include "app/win/system_dlls.h"

namespace {

// A DLL Windows does not have: mingw-w64's thread library, from the Linux
// side (Wine's drive Z: is the root).
constexpr char kPlantedName[] = "libwinpthread-1.dll";
constexpr char kPlantedSource[] = "Z:\\usr\\x86_64-w64-mingw32\\lib\\libwinpthread-1.dll";

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

TEST(DllSearch, APlantedDllBesideTheProgramIsNotLoadedByName) {
    const std::string planted = ProgramFolder() + "\\" + kPlantedName;
    ASSERT_TRUE(::CopyFileA(kPlantedSource, planted.c_str(), FALSE)) << ::GetLastError();

    ASSERT_TRUE(vk::win32::RestrictDllSearchToSystemFolder());
    ::SetLastError(0);
    EXPECT_EQ(::LoadLibraryA(kPlantedName), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    // It is a DLL that loads, when the program's folder is asked for by name.
    HMODULE fromProgramFolder =
        ::LoadLibraryExA(kPlantedName, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    EXPECT_NE(fromProgramFolder, nullptr);
    if (fromProgramFolder != nullptr)
        ::FreeLibrary(fromProgramFolder);
    ::DeleteFileA(planted.c_str());

    // The system's own DLLs still load by name, the common controls too.
    EXPECT_NE(::LoadLibraryA("comctl32.dll"), nullptr);
    EXPECT_NE(vk::win32::LoadSystemDll(L"comctl32.dll"), nullptr);
    EXPECT_TRUE(vk::win32::InitCommonControlsFromSystem(ICC_PROGRESS_CLASS));
}

}  // namespace
