// Discovery when the registry refuses: keys that cannot be opened, and every
// kind of operation failing. Whatever fails, every key is closed again (the
// machine checks that on each run) and only the products concerned are lost.
#include <algorithm>
#include <set>

#include <gtest/gtest.h>

#include "discovery_support.h"

namespace vk::test {
namespace {

using Products = std::vector<FoundProduct>;
constexpr RegRoot kHklm = RegRoot::LocalMachine;

void SeedSample(DiscoveryMachine& machine) {
    machine.AddProduct(kWowRoot + "R17.1\\ACAD-6001:804", "AutoCAD 2008", "C:\\2008");
    machine.registry.AddKey(kHklm, kWowRoot + "R19.1\\ACAD-D001:804\\Applications\\SunacCAD");
    machine.AddProduct(kNativeRoot + "R19.1\\ACAD-D001:804", "AutoCAD 2014", "D:\\2014");
    machine.AddProduct(kNativeRoot + "R22.0\\ACAD-1001:804", "AutoCAD 2018", "D:\\2018");
    machine.AddProduct(kNativeRoot + "R22.0\\x\\ACAD-1001:409", "AutoCAD 2018", "C:\\2018");
    machine.registry.SetStringValue(kHklm, kNativeRoot + "R20.0\\ACAD-E001:409\\Applications",
                                    "LOADCTRLS", "2");
}

// A run under faults may lose products, but never invents or repeats one.
void ExpectSubsetWithoutRepeats(const Products& found, const Products& full) {
    for (const FoundProduct& product : found) {
        EXPECT_EQ(std::count(found.begin(), found.end(), product), 1);
        EXPECT_NE(std::find(full.begin(), full.end(), product), full.end());
    }
}

TEST(DiscoveryDenied, KeysThatCannotBeOpenedAreSkipped) {
    DiscoveryMachine machine;
    SeedSample(machine);
    machine.registry.DenyAccess(kHklm, kWowRoot);
    machine.registry.DenyAccess(kHklm, kNativeRoot + "R19.1");
    machine.registry.DenyAccess(kHklm, kNativeRoot + "R22.0\\ACAD-1001:804");
    EXPECT_EQ(machine.Discover(),
              (Products{{2018, kNativeRoot + "R22.0\\x\\ACAD-1001:409\\", "C:\\2018"}}));
}

TEST(DiscoveryDenied, NoRootNoProducts) {
    memory::FaultInjector faults;
    DiscoveryMachine machine(&faults);
    SeedSample(machine);
    faults.FailOperation("RegOpenRoot");
    EXPECT_EQ(machine.Discover(), Products{});
}

TEST(DiscoveryFaults, EveryOperationKindFailingLeavesNoKeyOpen) {
    memory::FaultInjector faults;
    DiscoveryMachine machine(&faults);
    SeedSample(machine);
    const Products full = machine.Discover();
    ASSERT_EQ(full.size(), 4u);
    const std::set<std::string> kinds(faults.Log().begin(), faults.Log().end());
    ASSERT_EQ(kinds, (std::set<std::string>{"RegOpenRoot", "RegOpenKeyEx", "RegQueryInfoKey",
                                            "RegEnumKeyEx", "RegQueryValueEx"}));
    for (const std::string& kind : kinds) {
        SCOPED_TRACE(kind);
        faults.Reset();
        faults.FailOperation(kind);
        EXPECT_EQ(machine.Discover(), Products{});
    }
}

TEST(DiscoveryFaults, AnySingleFailureNeitherInventsNorRepeats) {
    memory::FaultInjector faults;
    DiscoveryMachine machine(&faults);
    SeedSample(machine);
    const Products full = machine.Discover();
    const std::size_t operations = faults.OperationCount();
    for (std::size_t n = 1; n <= operations; ++n) {
        SCOPED_TRACE("operation " + std::to_string(n) + ": " + faults.Log()[n - 1]);
        faults.Reset();
        faults.FailNth(n);
        const Products found = machine.Discover();
        ExpectSubsetWithoutRepeats(found, full);
        EXPECT_FALSE(found.empty()) << "one failure cannot cost both views";
    }
}

TEST(DiscoveryFaults, FailedEnumerationStepSkipsOneSubkey) {
    memory::FaultInjector faults;
    DiscoveryMachine machine(&faults);
    SeedSample(machine);
    // With the 32-bit view closed, the first step names "R19.1", the 2014
    // release key. Reading no name must not search the AutoCAD key itself.
    machine.registry.DenyAccess(kHklm, kWowRoot);
    faults.FailOperation("RegEnumKeyEx", 1);
    EXPECT_EQ(machine.Discover(),
              (Products{{2018, kNativeRoot + "R22.0\\ACAD-1001:804\\", "D:\\2018"},
                        {2018, kNativeRoot + "R22.0\\x\\ACAD-1001:409\\", "C:\\2018"}}));
}

}  // namespace
}  // namespace vk::test
