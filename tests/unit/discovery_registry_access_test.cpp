// The registry helpers discovery shares with the registrations.
#include "acad/registry_access.h"

#include <gtest/gtest.h>

#include "core/reg_key.h"
#include "platform/memory/memory_registry.h"

namespace vk {
namespace {

constexpr RegRoot kHkcu = RegRoot::CurrentUser;

TEST(ListReadableSubkeys, ListsInEnumerationOrderLeavingOutUnreadableOnes) {
    memory::MemoryRegistry registry;
    for (const char* name : {"R24.1", "r23.1", "Denied", "R22.0"}) {
        registry.AddKey(kHkcu, std::string("A\\") + name);
    }
    registry.DenyAccess(kHkcu, "A\\Denied");
    std::vector<std::string> names{"kept"};
    {
        RegKey root(registry);
        RegKey key(registry);
        ASSERT_EQ(root.OpenRoot(kHkcu), kOk);
        ASSERT_EQ(key.OpenForRead(root.Get(), "A"), kOk);
        ListReadableSubkeys(registry, key.Get(), names);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"kept", "R22.0", "r23.1", "R24.1"}));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(ListReadableSubkeys, FailingStepsAreSkipped) {
    memory::FaultInjector faults;
    memory::MemoryRegistry registry(&faults);
    registry.AddKey(kHkcu, "A\\x");
    registry.AddKey(kHkcu, "A\\y");
    RegKey root(registry);
    RegKey key(registry);
    ASSERT_EQ(root.OpenRoot(kHkcu), kOk);
    ASSERT_EQ(key.OpenForRead(root.Get(), "A"), kOk);
    std::vector<std::string> names;
    faults.FailOperation("RegEnumKeyEx", 1);
    ListReadableSubkeys(registry, key.Get(), names);
    EXPECT_EQ(names, (std::vector<std::string>{"y"}));
    faults.FailOperation("RegQueryInfoKey");
    ListReadableSubkeys(registry, key.Get(), names);
    EXPECT_EQ(names, (std::vector<std::string>{"y"}));
}

TEST(QueryValueText, TextEndsAtTheFirstNulOrTheData) {
    memory::MemoryRegistry registry;
    registry.SetRawValue(kHkcu, "K", "nul", {kRegSz, {'a', 0, 'b'}});
    registry.SetRawValue(kHkcu, "K", "bare", {kRegSz, {'a', 'b'}});
    registry.SetRawValue(kHkcu, "K", "big", {kRegSz, std::vector<std::uint8_t>(9, 'x')});
    RegKey key(registry);
    RegKey root(registry);
    ASSERT_EQ(root.OpenRoot(kHkcu), kOk);
    ASSERT_EQ(key.OpenForRead(root.Get(), "K"), kOk);
    std::string text = "old";
    EXPECT_EQ(QueryValueText(registry, key.Get(), "nul", 8, text), kOk);
    EXPECT_EQ(text, "a");
    EXPECT_EQ(QueryValueText(registry, key.Get(), "bare", 2, text), kOk);
    EXPECT_EQ(text, "ab");
    EXPECT_EQ(QueryValueText(registry, key.Get(), "big", 8, text), kErrMoreData);
    EXPECT_EQ(text, "");
    text = "old";
    EXPECT_EQ(QueryValueText(registry, key.Get(), "absent", 8, text), kErrFileNotFound);
    EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace vk
