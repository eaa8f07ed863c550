#pragma once
// Folders a test makes on the machine (an AutoCAD installation's Fonts and Drv, a folder to
// install into), removed with everything in them when the test ends; folders that existed
// before stay.
#include <string>
#include <vector>

namespace vk::e2e {

class CreatedFolders {
public:
    CreatedFolders() = default;
    CreatedFolders(const CreatedFolders&) = delete;
    CreatedFolders& operator=(const CreatedFolders&) = delete;
    ~CreatedFolders();

    // Creates the folder and its missing parents; throws DriverError.
    void make(const std::string& folder);

    // A path the program under test may create: removed at the end if it is new by then.
    void watch(const std::string& path);

private:
    std::vector<std::string> created_;  // removed last first
};

}  // namespace vk::e2e
