// The add-in's shape fonts into every selected AutoCAD installation, and its
// plotter driver file into AutoCAD 2008's. Nothing here is reported.
#include "acad/release_catalog.h"
#include "core/mbcs.h"
#include "install/data_files.h"
#include "install/file_ops.h"
#include "install/install_paths.h"

namespace {

constexpr int kDriverYear = 2008;

// Read-only cleared on both sides first, so an old read-only copy is replaced
// and a read-only source does not hand its attribute on. A missing folder is
// left out on purpose (AutoCAD did not make it); any other failure is one.
void CopyReplacing(const vk::Services& services, const std::string& source,
                   const std::string& destination, const std::string& folder) {
    vk::IFileSystem& files = services.files;
    if (vk::GetPathKind(files, folder) != vk::kPathFolder) {
        services.log.Skipped(destination + ": AutoCAD has no folder " + folder);
        return;
    }
    if (!vk::FitsMaxPath(source) || !vk::FitsMaxPath(destination)) {
        services.log.Failed("copy " + source + " to " + destination, vk::kErrFilenameTooLong);
        return;
    }
    vk::ClearReadOnly(files, source);
    vk::ClearReadOnly(files, destination);
    const vk::OsResult result = files.CopyFile(source, destination);
    vk::ClearReadOnly(files, destination);
    if (result != vk::kOk) {
        services.log.Failed("copy " + source + " to " + destination, result);
        return;
    }
    services.log.Info("Copied " + source + " to " + destination);
}

}  // namespace

void CAcadReleaseCatalog::CopySelectedSupportFiles(const int selected[kReleaseSlots]) {
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (selected[slot] == 0)
            continue;
        const CStringList& folders = m_arrAcadLocations[slot];
        const std::size_t count = folders.size();
        for (std::size_t i = 0; i < count; ++i) {
            CopySupportFiles(folders[i], kFirstReleaseYear + slot == kDriverYear);
        }
    }
}

void CAcadReleaseCatalog::CopySupportFiles(const std::string& acadLocation, bool bWithDriver) {
    if (acadLocation.empty())
        return;  // no folder, and "\Fonts" would name the drive's root
    const vk::Services& services = Services();
    const std::string data = vk::GetSetupDataFolder(services);
    // AcadLocation is stored with and without a trailing backslash.
    const std::string acad = vk::WithoutTrailingBackslash(services.codePage, acadLocation);
    const std::string fonts = vk::JoinPath(acad, vk::kAcadFontsFolder);
    for (const char* font : {vk::kFontEnFile, vk::kFontHzFile}) {
        CopyReplacing(services, vk::JoinPath(data, font), vk::JoinPath(fonts, font), fonts);
    }
    if (bWithDriver) {
        const std::string drivers = vk::JoinPath(acad, vk::kAcadDriverFolder);
        CopyReplacing(services, vk::JoinPath(data, vk::kPlotDriverSourceFile),
                      vk::JoinPath(drivers, vk::kPlotDriverFile), drivers);
    }
}
