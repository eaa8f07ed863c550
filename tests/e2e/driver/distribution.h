#pragma once
// A distribution folder as the user unpacks it: the setup program beside a folder "Data".
// Made fresh under %TEMP% for one test and removed with everything in it afterwards.
#include <string>

namespace vk::e2e {

class Distribution {
public:
    // Copies `program` into the new folder as `programName`, and the folder `dataSource`
    // (empty: none, an empty Data folder) as Data. Throws DriverError.
    Distribution(const std::string& program, const std::string& dataSource,
                 const std::string& programName = "SetUp.exe");
    Distribution(const Distribution&) = delete;
    Distribution& operator=(const Distribution&) = delete;
    ~Distribution();

    const std::string& folder() const { return folder_; }
    std::string programPath() const;
    std::string dataFolder() const;

private:
    std::string folder_;
    std::string programName_;
};

}  // namespace vk::e2e
