#pragma once
// The publisher's web pages, as the package gives them to Apps & Features
// (URLInfoAbout: "about", HelpLink: support). A release that has them sets
// them here; empty, the entry leaves the value out rather than show a blank
// link.
namespace vk {

inline constexpr const char* kPackageUrlInfoAbout = "";
inline constexpr const char* kPackageHelpLink = "";

}  // namespace vk
