// The add-in's shape fonts into every selected AutoCAD installation, and its
// plotter driver file into AutoCAD 2008's. Nothing here is shown; the log
// and the installation record get every file.
#include <vector>

#include "acad/release_catalog.h"
#include "core/mbcs.h"
#include "engine/data_files.h"
#include "engine/file_ops.h"
#include "engine/install_paths.h"
#include "engine/journal/record.h"

namespace {

constexpr int kDriverYear = 2008;

// One file to place in an AutoCAD folder, and what its line says.
struct SupportCopy {
    std::string source;
    std::string destination;
    std::string folder;
    bool skip = false;  // left out on purpose, or nothing to change
    vk::SupportFilePlaced line;
};

void AddCopies(const vk::Services& services, const std::string& acadLocation, bool withDriver,
               std::vector<SupportCopy>& copies) {
    if (acadLocation.empty())
        return;  // no folder, and "\Fonts" would name the drive's root
    const std::string data = vk::GetSetupDataFolder(services);
    // AcadLocation is stored with and without a trailing backslash.
    const std::string acad = vk::WithoutTrailingBackslash(services.codePage, acadLocation);
    const std::string fonts = vk::JoinPath(acad, vk::kAcadFontsFolder);
    for (const char* font : {vk::kFontEnFile, vk::kFontHzFile})
        copies.push_back({vk::JoinPath(data, font), vk::JoinPath(fonts, font), fonts, false, {}});
    if (withDriver) {
        const std::string drivers = vk::JoinPath(acad, vk::kAcadDriverFolder);
        copies.push_back({vk::JoinPath(data, vk::kPlotDriverSourceFile),
                          vk::JoinPath(drivers, vk::kPlotDriverFile),
                          drivers,
                          false,
                          {}});
    }
}

// What each copy will do, decided before anything changes: a missing folder
// is left out on purpose (AutoCAD did not make it); a file that already
// holds what the copy writes does not change. The line of each other copy
// names whether a file of that name was there, and its backup (a font a
// drawing may need), made just before the copy.
void Decide(const vk::Services& services, vk::RecordWriter* record, SupportCopy& copy) {
    vk::IFileSystem& files = services.files;
    if (vk::GetPathKind(files, copy.folder) != vk::kPathFolder) {
        services.log.Skipped(copy.destination + ": AutoCAD has no folder " + copy.folder);
        copy.skip = true;
        return;
    }
    if (!vk::FitsMaxPath(copy.source) || !vk::FitsMaxPath(copy.destination)) {
        services.log.Failed("copy " + copy.source + " to " + copy.destination,
                            vk::kErrFilenameTooLong);
        copy.skip = true;
        return;
    }
    if (record == nullptr)
        return;
    vk::FileDigest placed;
    vk::FileDigest old;
    const vk::OsResult existing = vk::DigestFile(files, copy.destination, old);
    if (existing == vk::kOk && vk::DigestFile(files, copy.source, placed) == vk::kOk &&
        old.hash == placed.hash) {
        copy.skip = true;
        return;
    }
    const bool absent = existing == vk::kErrFileNotFound || existing == vk::kErrPathNotFound;
    if (existing != vk::kOk && !absent) {
        // Whether one was there is not known: it must not be guessed.
        services.log.Failed("copy " + copy.source + " to " + copy.destination, existing);
        copy.skip = true;
        return;
    }
    const std::uint32_t attributes = absent ? 0 : files.GetAttributes(copy.destination);
    if (attributes == vk::kInvalidAttributes) {
        // What it would be put back with is not known: it must not be guessed.
        services.log.Failed("copy " + copy.source + " to " + copy.destination,
                            vk::kErrInvalidParameter);
        copy.skip = true;
        return;
    }
    copy.line = {copy.destination, !absent, absent ? std::string() : record->NewBackupPath(),
                 attributes};
    if (!absent && copy.line.backup.empty()) {
        // Without its backup, a font a drawing may need would be lost.
        services.log.Failed("back up " + copy.destination, vk::kErrPathNotFound);
        copy.skip = true;
        return;
    }
    record->Stage(copy.line);
}

void Place(const vk::Services& services, vk::RecordWriter* record, const SupportCopy& copy) {
    vk::IFileSystem& files = services.files;
    vk::OsResult result = vk::kOk;
    if (!copy.line.backup.empty())
        result = files.CopyFileNew(copy.destination, copy.line.backup);
    // A read-only source does not hand its attribute on, and a read-only old
    // copy is replaced all the same.
    vk::ClearReadOnly(files, copy.source);
    vk::FileDigest written;
    if (result == vk::kOk)
        result = vk::PlaceCopy(services, copy.source, copy.destination, false, &written);
    if (result != vk::kOk) {
        services.log.Failed("copy " + copy.source + " to " + copy.destination, result);
        return;
    }
    if (record != nullptr)
        record->Stage(vk::FileWrote{copy.destination, written.size, written.hash});
    services.log.Info("Copied " + copy.source + " to " + copy.destination);
}

// The copies as one group: their lines on the disk with one flush, then the
// copies, then what each file holds.
void PlaceAll(const vk::Services& services, vk::RecordWriter* record,
              std::vector<SupportCopy>& copies) {
    for (SupportCopy& copy : copies)
        Decide(services, record, copy);
    if (record != nullptr) {
        if (const vk::OsResult flushed = record->Flush(); flushed != vk::kOk) {
            services.log.Failed("write the installation record " + record->Path() +
                                    "; the support files are left out",
                                flushed);
            return;
        }
    }
    for (const SupportCopy& copy : copies) {
        if (!copy.skip)
            Place(services, record, copy);
    }
    if (record != nullptr) {
        if (const vk::OsResult flushed = record->Flush(); flushed != vk::kOk)
            services.log.Failed("write the installation record " + record->Path(), flushed);
    }
}

}  // namespace

void CAcadReleaseCatalog::CopySelectedSupportFiles(const int selected[kReleaseSlots]) {
    std::vector<SupportCopy> copies;
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (selected[slot] == 0)
            continue;
        const CStringList& folders = m_arrAcadLocations[slot];
        const std::size_t count = folders.size();
        for (std::size_t i = 0; i < count; ++i)
            AddCopies(Services(), folders[i], kFirstReleaseYear + slot == kDriverYear, copies);
    }
    PlaceAll(Services(), m_pRecord, copies);
}

void CAcadReleaseCatalog::CopySupportFiles(const std::string& acadLocation, bool bWithDriver) {
    std::vector<SupportCopy> copies;
    AddCopies(Services(), acadLocation, bWithDriver, copies);
    PlaceAll(Services(), m_pRecord, copies);
}
