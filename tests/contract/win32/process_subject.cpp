// The process list contract's subject on Windows: Toolhelp snapshots, and
// copies of a small helper program started under the names a test asks for.
#include <string>
#include <vector>

#include "contract/contract_subject.h"
#include "contract/win32/scratch_folder.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_process_list.h"
#include "platform/win32/windows_api.h"

namespace vk::contract {
namespace {

// The helper program is built beside the test program.
std::string HelperProgram() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        FailWithLastError("GetModuleFileNameA");
    }
    std::string folder(path, length);
    folder.erase(folder.find_last_of('\\'));
    return folder + "\\contract_child.exe";
}

class Win32ProcessScratch : public ProcessScratch {
public:
    ~Win32ProcessScratch() override { StopAll(); }

    IProcessList& Processes() override { return processes_; }

    void Start(const std::string& executableName) override {
        const std::string program = folder_.Path() + "\\" + executableName;
        if (!CopyFileA(HelperProgram().c_str(), program.c_str(), FALSE)) {
            FailWithLastError("CopyFileA " + program);
        }
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        std::string commandLine = "\"" + program + "\"";
        if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                            CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started)) {
            FailWithLastError("CreateProcessA " + program);
        }
        win32::UniqueProcess thread(started.hThread);
        running_.emplace_back(started.hProcess);
    }

    void StopAll() override {
        for (win32::UniqueProcess& process : running_) {
            TerminateProcess(process.Get(), 0);
            WaitForSingleObject(process.Get(), 10 * 1000);
        }
        running_.clear();
    }

private:
    win32::Win32ProcessList processes_;
    ScratchFolder folder_{"VarnokProcesses-"};
    std::vector<win32::UniqueProcess> running_;  // ended before the folder goes
};

}  // namespace

std::unique_ptr<ProcessScratch> MakeProcessScratch() {
    return std::make_unique<Win32ProcessScratch>();
}

}  // namespace vk::contract
