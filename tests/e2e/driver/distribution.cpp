#include "e2e/driver/distribution.h"

#include <windows.h>

#include "e2e/driver/driver_error.h"
#include "e2e/driver/files.h"

namespace vk::e2e {
namespace {

// A name no other test of any process uses at the same time.
std::string freshFolder() {
    static unsigned counter = 0;
    for (;;) {
        const std::string path =
            joinPath(tempFolder(), "vk-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                                       std::to_string(++counter));
        if (CreateDirectoryA(path.c_str(), nullptr))
            return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            throw DriverError(withLastError("could not create \"" + toUtf8(path) + "\""));
        }
    }
}

}  // namespace

Distribution::Distribution(const std::string& program, const std::string& dataSource,
                           const std::string& programName)
    : folder_(freshFolder()), programName_(programName) {
    try {
        if (!CopyFileA(program.c_str(), programPath().c_str(), FALSE)) {
            throw DriverError(withLastError("could not copy \"" + toUtf8(program) + "\" to \"" +
                                            toUtf8(programPath()) + "\""));
        }
        if (dataSource.empty()) {
            CreateDirectoryA(dataFolder().c_str(), nullptr);
        } else {
            if (!isFolder(dataSource)) {
                throw DriverError("no data folder \"" + toUtf8(dataSource) + "\"");
            }
            copyTree(dataSource, dataFolder());
        }
    } catch (...) {
        removeTree(folder_);
        throw;
    }
}

Distribution::~Distribution() {
    removeTree(folder_);
}

std::string Distribution::programPath() const {
    return joinPath(folder_, programName_);
}

std::string Distribution::dataFolder() const {
    return joinPath(folder_, "Data");
}

}  // namespace vk::e2e
