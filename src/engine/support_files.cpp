// The add-in's shape fonts into every selected AutoCAD installation, and its
// plotter driver file into AutoCAD 2008's. Nothing here is shown; the log
// and the installation record get every file.
#include "acad/release_catalog.h"
#include "core/mbcs.h"
#include "engine/data_files.h"
#include "engine/file_ops.h"
#include "engine/install_paths.h"
#include "engine/install_record.h"

namespace {

constexpr int kDriverYear = 2008;

// Enters the file in the record before it is copied, with a backup of a
// different file of that name that was there (a font a drawing may need);
// nothing for a file that already holds what the copy writes.
vk::OsResult RecordSupportFile(vk::IFileSystem& files, vk::RecordWriter& record,
                               const std::string& source, const std::string& destination) {
    vk::FileDigest placed;
    if (const vk::OsResult read = vk::DigestFile(files, source, placed); read != vk::kOk)
        return read;
    vk::FileDigest old;
    const vk::OsResult existing = vk::DigestFile(files, destination, old);
    if (existing == vk::kOk && old.hash == placed.hash)
        return vk::kOk;
    const bool absent = existing == vk::kErrFileNotFound || existing == vk::kErrPathNotFound;
    if (existing != vk::kOk && !absent)
        return existing;  // whether one was there is not known: it must not be guessed
    vk::SupportFilePlaced entry{destination, placed.size, placed.hash, !absent, {}};
    if (!absent) {
        entry.backup = record.NewBackupPath();
        if (entry.backup.empty())
            return vk::kErrPathNotFound;
        if (const vk::OsResult saved = files.CopyFileNew(destination, entry.backup);
            saved != vk::kOk)
            return saved;
    }
    const vk::OsResult entered = record.Add(entry);
    if (entered != vk::kOk && !entry.backup.empty())
        vk::RemoveUnrecordedBackup(files, entry.backup);
    return entered;
}

// A missing folder is left out on purpose (AutoCAD did not make it); any
// other failure is one.
void CopyReplacing(const vk::Services& services, vk::RecordWriter* record,
                   const std::string& source, const std::string& destination,
                   const std::string& folder) {
    vk::IFileSystem& files = services.files;
    if (vk::GetPathKind(files, folder) != vk::kPathFolder) {
        services.log.Skipped(destination + ": AutoCAD has no folder " + folder);
        return;
    }
    if (!vk::FitsMaxPath(source) || !vk::FitsMaxPath(destination)) {
        services.log.Failed("copy " + source + " to " + destination, vk::kErrFilenameTooLong);
        return;
    }
    if (record != nullptr) {
        if (const vk::OsResult entered = RecordSupportFile(files, *record, source, destination);
            entered != vk::kOk) {
            // The file as it is cannot be read (held open): it could not be copied either.
            services.log.Failed("copy " + source + " to " + destination, entered);
            return;
        }
    }
    // A read-only source does not hand its attribute on, and a read-only old
    // copy is replaced all the same.
    vk::ClearReadOnly(files, source);
    const vk::OsResult result = vk::PlaceCopy(services, source, destination);
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
        CopyReplacing(services, m_pRecord, vk::JoinPath(data, font), vk::JoinPath(fonts, font),
                      fonts);
    }
    if (bWithDriver) {
        const std::string drivers = vk::JoinPath(acad, vk::kAcadDriverFolder);
        CopyReplacing(services, m_pRecord, vk::JoinPath(data, vk::kPlotDriverSourceFile),
                      vk::JoinPath(drivers, vk::kPlotDriverFile), drivers);
    }
}
