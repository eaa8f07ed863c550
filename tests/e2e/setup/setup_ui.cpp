#include "e2e/setup/setup_ui.h"

#include <cstdlib>

#include "e2e/driver/driver_error.h"
#include "e2e/driver/files.h"
#include "wine_machine.h"

namespace vk::e2e::setup {

int releaseBox(int year) {
    if (year == 2010)
        return 1027;
    if (year == 2011)
        return 1026;
    if (year >= kFirstYear && year <= 2009)
        return 1018 + (year - kFirstYear);
    if (year >= 2012 && year <= kLastYear)
        return 1028 + (year - 2012);
    throw DriverError("no release box for the year " + std::to_string(year));
}

WindowQuery page1() {
    return {"page 1 (agreement)", kPageCaption, "#32770", {kAgreement, kDisagree}, {}};
}

WindowQuery page2() {
    return {"page 2 (releases)", kPageCaption, "#32770", {releaseBox(2018), releaseBox(2010)}, {}};
}

WindowQuery page3() {
    return {"page 3 (install folder)", kPageCaption, "#32770", {kFolder, kProgress}, {}};
}

WindowQuery page4() {
    return {"page 4 (completion)", kPageCaption, "#32770", {IDOK}, {kBack, IDCANCEL}};
}

std::string setupProgram() {
    if (const char* other = std::getenv("VARNOK_SETUP_EXE"))
        return other;
    return joinPath(programFolder(), "SetUp.exe");
}

std::string sampleDataFolder() {
    return systest::FixturePath("sample-data");
}

}  // namespace vk::e2e::setup
