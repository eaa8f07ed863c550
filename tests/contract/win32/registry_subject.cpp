// The registry contract's subject on Windows: the Win32 registry, working in a
// key of the test's own below HKCU\Software\VarnokContract.
#include <stdexcept>
#include <string>

#include "contract/contract_subject.h"
#include "contract/win32/scratch_folder.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_random.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/windows_api.h"

namespace vk::contract {
namespace {

constexpr char kContractKey[] = "Software\\VarnokContract";

class Win32RegistryScratch : public RegistryScratch {
public:
    Win32RegistryScratch() : path_(std::string(kContractKey) + "\\" + UniqueName()) {
        LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, key_.Put(), nullptr);
        if (result != ERROR_SUCCESS) {
            throw std::runtime_error("scratch key: error " + std::to_string(result));
        }
    }
    ~Win32RegistryScratch() override {
        key_.Reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kContractKey);  // fails while others use it
    }
    IRegistry& Registry() override { return registry_; }
    RegHandle Key() override { return reinterpret_cast<RegHandle>(key_.Get()); }

private:
    win32::Win32Registry registry_;
    std::string path_;
    win32::UniqueHKey key_;
};

}  // namespace

std::unique_ptr<RegistryScratch> MakeRegistryScratch() {
    return std::make_unique<Win32RegistryScratch>();
}

ICodePage& CodePageUnderTest() {
    static win32::Win32CodePage codePage;
    return codePage;
}

IRandom& RandomUnderTest() {
    static win32::Win32Random random;
    return random;
}

}  // namespace vk::contract
