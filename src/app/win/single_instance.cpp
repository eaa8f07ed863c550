#include "app/win/single_instance.h"

namespace vk::win32 {
namespace {

// Global: a run under SYSTEM in session 0 and one on a user's desktop meet too.
constexpr const wchar_t* kMutexName = L"Global\\VarnokBatchPlotSetup";

}  // namespace

SingleSetupLock::SingleSetupLock() {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    const DWORD error = GetLastError();
    mutex_.Reset(mutex);
    // Taken: it exists already, or it exists and its maker's security keeps
    // us out. A mutex that cannot be made for any other reason stops nothing.
    held_ = mutex != nullptr ? error != ERROR_ALREADY_EXISTS : error != ERROR_ACCESS_DENIED;
}

}  // namespace vk::win32

namespace vk::win32 {

void SingleSetupLock::Release() {
    // The mutex is "taken" while it exists; with its only handle closed it is gone.
    mutex_.Reset();
    held_ = false;
}

}  // namespace vk::win32
