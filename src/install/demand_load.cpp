#include "install/demand_load.h"

#include <array>

#include "acad/release_catalog.h"
#include "core/mbcs.h"
#include "core/reg_key.h"
#include "install/install_paths.h"

namespace vk {
namespace {

// One module file serves several years; index = year - 2007.
constexpr std::array<int, kReleaseSlots> kModuleNumbers = {
    2008, 2008, 2008, 2010, 2010, 2010, 2013, 2013, 2015,
    2015, 2017, 2018, 2019, 2019, 2021, 2021, 2021, 2021,
};

}  // namespace

int ModuleNumberForYear(int year) {
    if (year < kFirstReleaseYear || year > kLastReleaseYear)
        return 0;
    return kModuleNumbers[year - kFirstReleaseYear];
}

std::string ApplicationKeyName(int year) {
    return "Applications\\VK_BatchPlot" + std::to_string(year);
}

std::string LoaderPath(const std::string& installDir, int year) {
    return JoinPath(installDir,
                    "VK_BatchPlot" + std::to_string(ModuleNumberForYear(year)) + ".ARX");
}

}  // namespace vk

void CAcadReleaseCatalog::RegisterSelectedReleases(const int selected[kReleaseSlots]) {
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (selected[slot] != 0)
            RegisterDemandLoad(static_cast<unsigned>(kFirstReleaseYear + slot));
    }
    RegisterTrustedPaths();
}

// Replaces the application key of `year` below each of that year's products.
// Failures are silent and skip the product concerned.
void CAcadReleaseCatalog::RegisterDemandLoad(unsigned year) {
    if (year < kFirstReleaseYear || year > kLastReleaseYear)
        return;
    // A truncated LOADER would name a file that is not there: write nothing.
    if (!vk::InstallFolderFitsLoader(m_strInstallDir))
        return;
    const int releaseYear = static_cast<int>(year);
    const vk::Services& services = Services();
    vk::IRegistry& registry = services.registry;
    vk::RegKey machine(registry);
    if (machine.OpenRoot(vk::RegRoot::LocalMachine) != vk::kOk)
        return;

    const std::string appKeyName = vk::ApplicationKeyName(releaseYear);
    const std::string loader = vk::LoaderPath(m_strInstallDir, releaseYear);
    for (const std::string& productPath : m_arrProductKeys[year - kFirstReleaseYear]) {
        vk::RegKey product(registry);
        if (product.Open(machine.Get(),
                         vk::WithoutTrailingBackslash(services.codePage, productPath)) != vk::kOk) {
            continue;
        }
        registry.DeleteKey(product.Get(), appKeyName);  // an earlier installation's; may fail
        vk::RegKey app(registry);
        if (app.Create(product.Get(), appKeyName) != vk::kOk)
            continue;
        registry.SetDword(app.Get(), "LOADCTRLS", 2);
        registry.SetString(app.Get(), "LOADER", loader);
    }
}
