#include "engine/release_offer.h"

#include <algorithm>

#include "engine/demand_load.h"
#include "engine/file_ops.h"
#include "engine/install_paths.h"

namespace vk {
namespace {

// The first release year a 32-bit build does not serve.
constexpr int kFirst64BitOnlyYear = 2017;

bool DataHoldsModule(const Services& services, int year) {
    const std::string module = JoinPath(GetSetupDataFolder(services), ModuleFileName(year));
    return GetPathKind(services.files, module) == kPathFile;
}

// "a、b、c".
std::string JoinedByPause(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += text.empty() ? part : "、" + part;
    }
    return text;
}

}  // namespace

bool BuildServesRelease(int slot, int platformBits) {
    return platformBits != 32 || kReleaseTable[slot].year < kFirst64BitOnlyYear;
}

ReleaseOffer OfferOfRelease(const Services& services, const CAcadReleaseCatalog& catalog, int slot,
                            int platformBits) {
    if (catalog.m_arrAcadLocations[slot].empty())
        return ReleaseOffer::NotFound;
    if (!BuildServesRelease(slot, platformBits))
        return ReleaseOffer::NotInThisBuild;
    const ReleaseRow& row = kReleaseTable[slot];
    if (row.needsModuleInData && !DataHoldsModule(services, row.year))
        return ReleaseOffer::NoModule;
    return ReleaseOffer::Offered;
}

std::vector<int> ReleasesFoundWithoutModule(const Services& services,
                                            const CAcadReleaseCatalog& catalog, int platformBits) {
    std::vector<int> years;
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (OfferOfRelease(services, catalog, slot, platformBits) == ReleaseOffer::NoModule)
            years.push_back(kReleaseTable[slot].year);
    }
    return years;
}

std::string UnservedReleasesText(const std::vector<int>& years, bool nothingOffered) {
    if (years.empty())
        return {};
    std::vector<std::string> yearTexts;
    std::vector<std::string> modules;
    for (int year : years) {
        yearTexts.push_back(std::to_string(year));
        const std::string module = ModuleFileName(year);
        if (std::find(modules.begin(), modules.end(), module) == modules.end())
            modules.push_back(module);
    }
    return "本机的AutoCAD " + JoinedByPause(yearTexts) + "不能安装：安装包的Data文件夹中缺少" +
           JoinedByPause(modules) + (nothingOffered ? "，没有可安装的版本。" : "。");
}

}  // namespace vk
