#pragma once
// Files of the distribution's "Data" folder that have a role of their own.
namespace vk {

inline constexpr const char* kDataFolderName = "Data";

// Never deployed into the install folder.
inline constexpr const char* kSetupProgramFile = "SetUp.EXE";
inline constexpr const char* kFontEnFile = "Varnok_EN.shx";
inline constexpr const char* kFontHzFile = "Varnok_HZ.shx";
inline constexpr const char* kPlotDriverSourceFile = "Varnok.prt5";

// Deployed under a library's name.
struct RenamedFile {
    const char* found;  // name in Data, compared without regard to case
    const char* deployedAs;
};
inline constexpr RenamedFile kRenamedFiles[] = {
    {"Varnok.prt7", "itextsharp.dll"},
    {"Varnok.prt8", "PdfSharp.Charting.dll"},
    {"Varnok.prt9", "PdfSharp.dll"},
};

// The settings file, deployed into the user's application-data folder.
inline constexpr const char* kSettingsFile = "Varnok.Ini";
inline constexpr const char* kSettingsFolderName = "Varnok";

// Support files inside an AutoCAD installation folder.
inline constexpr const char* kAcadFontsFolder = "Fonts";
inline constexpr const char* kAcadDriverFolder = "Drv";
inline constexpr const char* kPlotDriverFile = "pdfplot9.hdi";

}  // namespace vk
