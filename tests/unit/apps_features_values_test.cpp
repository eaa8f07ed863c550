// The Apps & Features values that deployment tools and winget read beside the
// name and uninstall strings: the language, the version's parts, and the
// publisher's links only when the package has them.
#include <gtest/gtest.h>

#include "engine/apps_features.h"
#include "install_fixture_support.h"

namespace vk::test {
namespace {

class AppsFeaturesValues : public InstallFixture {
protected:
    std::optional<std::uint32_t> Dword(const std::string& name) const {
        const std::optional<memory::RegValue> value =
            registry.GetValue(kHklm, kAppsFeaturesKey, name);
        if (!value || value->type != kRegDword || value->data.size() != 4)
            return std::nullopt;
        return static_cast<std::uint32_t>(value->data[0] | value->data[1] << 8 |
                                          value->data[2] << 16 | value->data[3] << 24);
    }
    std::optional<std::u16string> Text(const std::string& name) const {
        return registry.GetText(kHklm, kAppsFeaturesKey, name);
    }
};

TEST_F(AppsFeaturesValues, LanguageAndVersionPartsAlways) {
    AppsFeaturesEntry entry{kInstallDir, "2023.5.26", "20240501", 120};
    entry.urlInfoAbout.clear();
    entry.helpLink.clear();
    ASSERT_EQ(WriteAppsFeaturesEntry(services, entry), kOk);
    EXPECT_EQ(Dword("Language"), 2052u);
    EXPECT_EQ(Dword("VersionMajor"), 2023u);
    EXPECT_EQ(Dword("VersionMinor"), 5u);
    EXPECT_FALSE(Text("URLInfoAbout"));
    EXPECT_FALSE(Text("HelpLink"));
}

TEST_F(AppsFeaturesValues, ThePublishersLinksWhenThePackageHasThem) {
    AppsFeaturesEntry entry{kInstallDir, "2023.5.26", "20240501", 120};
    entry.urlInfoAbout = "https://varnok.example/batchplot";
    entry.helpLink = "https://varnok.example/support";
    ASSERT_EQ(WriteAppsFeaturesEntry(services, entry), kOk);
    EXPECT_EQ(Text("URLInfoAbout"), u"https://varnok.example/batchplot");
    EXPECT_EQ(Text("HelpLink"), u"https://varnok.example/support");
}

}  // namespace
}  // namespace vk::test
