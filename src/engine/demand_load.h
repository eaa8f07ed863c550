#pragma once
// Demand-load registration: what a product's application key holds.
#include <string>

namespace vk {

// The module file number that serves release `year`, from the release table; 0
// for a year the table does not hold.
int ModuleNumberForYear(int year);

// "VK_BatchPlot<module>.ARX", the module file that serves release `year`.
std::string ModuleFileName(int year);

// "Applications\VK_BatchPlot<year>", below a product key.
std::string ApplicationKeyName(int year);

// "<folder>\VK_BatchPlot<module>.ARX". A path longer than the file system
// takes is never registered: it would name a file AutoCAD cannot load.
std::string LoaderPath(const std::string& installDir, int year);

}  // namespace vk
