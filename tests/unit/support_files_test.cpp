// Shape fonts and the 2008 plotter driver into AutoCAD installation folders.
#include <gtest/gtest.h>

#include "install_fixture_support.h"

namespace vk::test {
namespace {

const std::string kAcad2008x86 = "C:\\Program Files (x86)\\AutoCAD 2008";
const std::string kAcad2008 = "C:\\Program Files\\AutoCAD 2008\\";  // stored with a backslash
const std::string kAcad2009 = "D:\\AutoCAD 2009";
const std::string kAcad2018 = "D:\\Program Files\\Autodesk\\AutoCAD 2018";

class SupportFiles : public InstallFixture {
protected:
    SupportFiles() {
        AddDataFile("Varnok_EN.shx", "en");
        AddDataFile("Varnok_HZ.shx", "hz");
        AddDataFile("Varnok.prt5", "driver");
        AddProduct(2008, "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\",
                   kAcad2008x86);
        AddProduct(2008, "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:409\\", kAcad2008);
        AddProduct(2009, "SOFTWARE\\Autodesk\\AutoCAD\\R17.2\\ACAD-7001:409\\", kAcad2009);
        AddProduct(2018, "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:804\\", kAcad2018);
    }
    void Run(std::initializer_list<int> years) {
        int selected[kReleaseSlots] = {};
        for (int year : years)
            selected[year - kFirstReleaseYear] = 1;
        catalog.CopySelectedSupportFiles(selected);
    }
    bool HasFonts(const std::string& acad) const {
        const std::string fonts = WithoutTrailingSlash(acad) + "\\Fonts\\";
        return files.ReadFile(fonts + "Varnok_EN.shx") == "en" &&
               files.ReadFile(fonts + "Varnok_HZ.shx") == "hz";
    }
    bool HasDriver(const std::string& acad) const {
        return files.ReadFile(WithoutTrailingSlash(acad) + "\\Drv\\pdfplot9.hdi") == "driver";
    }
    static std::string WithoutTrailingSlash(const std::string& path) {
        return path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
    }
};

TEST_F(SupportFiles, FontsReachEverySelectedFolderAndTheDriverOnly2008) {
    Run({2008, 2009});
    EXPECT_TRUE(HasFonts(kAcad2008x86));
    EXPECT_TRUE(HasFonts(kAcad2008));
    EXPECT_TRUE(HasFonts(kAcad2009));
    EXPECT_FALSE(HasFonts(kAcad2018));
    EXPECT_TRUE(HasDriver(kAcad2008x86));
    EXPECT_TRUE(HasDriver(kAcad2008));
    EXPECT_TRUE(files.List(kAcad2009 + "\\Drv").empty());
    EXPECT_TRUE(files.List(kAcad2018 + "\\Drv").empty());
    // Nothing else lands in an AutoCAD folder; not even a stray double backslash path.
    EXPECT_EQ(files.List(kAcad2008).size(), 2u);
    ExpectNothingLeftOpen();
}

TEST_F(SupportFiles, NothingSelectedOrNothingFoundCopiesNothing) {
    Run({});
    Run({2010, 2024});  // selected, but no folder recorded
    EXPECT_EQ(Calls("CopyFile"), 0u);
}

TEST_F(SupportFiles, FolderWithoutFontsReceivesNothingSilently) {
    AddProduct(2018, "SOFTWARE\\Autodesk\\AutoCAD\\R22.0\\ACAD-1002:804\\", "E:\\Bare", false);
    Run({2018});
    EXPECT_TRUE(files.List("E:\\Bare").empty());
    EXPECT_TRUE(HasFonts(kAcad2018));  // the next folder still gets them
    EXPECT_EQ(prompts.Count(), 0u);
}

TEST_F(SupportFiles, ReadOnlyOldCopiesOfAllThreeAreReplaced) {
    for (const std::string& file :
         {kAcad2008x86 + "\\Fonts\\Varnok_EN.shx", kAcad2008x86 + "\\Fonts\\Varnok_HZ.shx",
          kAcad2008x86 + "\\Drv\\pdfplot9.hdi"}) {
        files.AddFile(file, "old", kAttrReadOnly);
    }
    AddDataFile("Varnok_EN.shx", "en", kAttrReadOnly);  // a read-only source too
    Run({2008});
    EXPECT_TRUE(HasFonts(kAcad2008x86));
    EXPECT_TRUE(HasDriver(kAcad2008x86));
    EXPECT_EQ(files.AttributesOf(kAcad2008x86 + "\\Fonts\\Varnok_EN.shx"), kAttrArchive);
    EXPECT_EQ(files.AttributesOf(kAcad2008x86 + "\\Drv\\pdfplot9.hdi"), kAttrArchive);
}

TEST_F(SupportFiles, LockedOrTooLongDestinationsAreSkippedSilently) {
    const std::string deep = "F:\\" + std::string(240, 'a');  // fonts path over 259 bytes
    AddProduct(2009, "SOFTWARE\\Autodesk\\AutoCAD\\R17.2\\ACAD-7002:409\\", deep);
    files.AddFile(kAcad2009 + "\\Fonts\\Varnok_EN.shx", "old");
    files.Lock(kAcad2009 + "\\Fonts\\Varnok_EN.shx");
    Run({2009});
    EXPECT_EQ(files.ReadFile(kAcad2009 + "\\Fonts\\Varnok_EN.shx"), "old");
    EXPECT_EQ(files.ReadFile(kAcad2009 + "\\Fonts\\Varnok_HZ.shx"), "hz");
    EXPECT_TRUE(files.List(deep + "\\Fonts").empty());
    EXPECT_EQ(prompts.Count(), 0u);
}

}  // namespace
}  // namespace vk::test
