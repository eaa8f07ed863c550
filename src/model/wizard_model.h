#pragma once
// What the wizard's pages work on, given to each page that needs it as the
// page is made: the catalogue of what discovery found (the program's
// theCatalog), and what an installation takes from the program itself.
#include <string>

#include "acad/release_catalog.h"

namespace vk {

struct WizardModel {
    CAcadReleaseCatalog& catalog;
    std::string today{};         // YYYYMMDD, for Apps & Features
    std::string logonProgram{};  // the logon program's bytes (InstallRequest)
};

}  // namespace vk
