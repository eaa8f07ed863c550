#pragma once
// The baselines: the least work any reader of the same keys must do, through
// the same registry service as the code measured against them.
#include <string>
#include <vector>

#include "platform/registry.h"

namespace vk::bench {

// Opens each release key below HKEY_LOCAL_MACHINE\SOFTWARE\Autodesk\AutoCAD,
// enumerates and opens each of its product keys and reads their
// "ProductName" and "AcadLocation". Returns the number of products read.
int PlainProductEnumeration(IRegistry& registry);

// Reads and writes back "TRUSTEDPATHS" (with `folder` appended) of each
// "Variables" key below HKEY_CURRENT_USER, named in advance. Returns the
// number of values written.
int PlainTrustedPathsUpdate(IRegistry& registry, const std::vector<std::string>& variablesKeys,
                            const std::string& folder);

}  // namespace vk::bench
