// The Windows machine every Wine test and the demo rely on: the Chinese ANSI
// code page, GBK string literals, a user profile, GBK file names on disk and
// a D: drive (many real machines install AutoCAD there).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A folder of its own below the temporary folder, removed with what is in it.
class ScratchFolder {
public:
    ScratchFolder() {
        char temp[MAX_PATH] = {};
        const DWORD length = GetTempPathA(sizeof temp, temp);
        if (length == 0 || length >= sizeof temp) return;
        path_ = std::string(temp) + "vk-system-" + std::to_string(GetCurrentProcessId());
        if (!CreateDirectoryA(path_.c_str(), nullptr)) path_.clear();
    }
    ~ScratchFolder() {
        if (path_.empty()) return;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((path_ + "\\*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((path_ + "\\" + entry.cFileName).c_str());
            } while (FindNextFileA(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryA(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(WineEnvironment, AnsiCodePageIsSimplifiedChinese) {
    EXPECT_EQ(GetACP(), 936u);
}

TEST(WineEnvironment, StringLiteralsAreGbk) {
    // Sources are UTF-8, compiled with -fexec-charset=GBK: "批打印" is C5FA B4F2 D3A1.
    EXPECT_EQ(std::string("批打印"), "\xC5\xFA\xB4\xF2\xD3\xA1");
}

TEST(WineEnvironment, ApplicationDataFolderIsSetAndExists) {
    char appData[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("APPDATA", appData, sizeof appData);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, sizeof appData);
    EXPECT_TRUE(IsFolder(appData)) << appData;
}

TEST(WineEnvironment, GbkFileNameRoundTripsThroughTheDisk) {
    ScratchFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::string name = "Varnok批打印软件.txt";

    HANDLE file = CreateFileA((folder.Path() + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    CloseHandle(file);

    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder.Path() + "\\*.txt").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    const std::string foundName = found.cFileName;
    const bool another = FindNextFileA(find, &found);
    FindClose(find);

    EXPECT_EQ(foundName, name);
    EXPECT_FALSE(another);
}

TEST(WineEnvironment, DriveDIsAWritableFixedDisk) {
    EXPECT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_FIXED));
    ASSERT_TRUE(IsFolder("D:\\"));

    const std::string probe = "D:\\vk-system-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(probe.c_str(), nullptr)) << "error " << GetLastError();
    EXPECT_TRUE(IsFolder(probe));
    EXPECT_TRUE(RemoveDirectoryA(probe.c_str()));
}

}  // namespace
