// The file system contract's subject on Windows: the Win32 file system,
// working in a folder of the test's own in %TEMP%.
#include <set>
#include <string>

#include "contract/contract_subject.h"
#include "contract/win32/scratch_folder.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/windows_api.h"

namespace vk::contract {
namespace {

class Win32FileScratch : public FileScratch {
public:
    Win32FileScratch() {
        char current[MAX_PATH + 1] = {};
        const DWORD length = GetCurrentDirectoryA(sizeof current, current);
        if (length == 0 || length >= sizeof current) {
            FailWithLastError("GetCurrentDirectoryA");
        }
        previousFolder_.assign(current, length);
    }
    ~Win32FileScratch() override {
        for (const std::string& name : variables_) {
            SetEnvironmentVariableA(name.c_str(), nullptr);
        }
        SetCurrentDirectoryA(previousFolder_.c_str());  // or the folder could not be removed
    }

    IFileSystem& Files() override { return files_; }
    std::string Folder() override { return folder_.Path(); }

    void WriteFile(const std::string& path, const std::string& content) override {
        win32::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            FailWithLastError("CreateFileA " + path);
        }
        DWORD written = 0;
        if (!::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written,
                         nullptr) ||
            written != content.size()) {
            FailWithLastError("WriteFile " + path);
        }
    }

    std::optional<std::string> ReadFile(const std::string& path) override {
        win32::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return std::nullopt;
        }
        std::string content;
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
            content.append(buffer, got);
        }
        return content;
    }

    void SetEnvironment(const std::string& name, const std::optional<std::string>& value) override {
        variables_.insert(name);
        SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
    }

    void SetCurrentFolder(const std::string& path) override {
        if (!SetCurrentDirectoryA(path.c_str())) {
            FailWithLastError("SetCurrentDirectoryA " + path);
        }
    }

private:
    win32::Win32FileSystem files_;
    std::string previousFolder_;
    ScratchFolder folder_{"VarnokContract-"};
    std::set<std::string> variables_;  // removed again at the end
};

}  // namespace

std::unique_ptr<FileScratch> MakeFileScratch() {
    return std::make_unique<Win32FileScratch>();
}

}  // namespace vk::contract
