// The wizard on machines whose code page for programs that are not Unicode is not the
// Chinese one: a Western Windows (1252), a Traditional-Chinese one (950), and the Chinese
// one (936). Every page reads as the same Chinese, and the installation leaves the same
// product folder, LOADER and trusted path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/driver/window_capture.h"
#include "e2e/install_run.h"

namespace vk::e2e::setup {
namespace {

struct Text {
    int control;
    const char* shown;
};

// What each page shows, by control; the page itself is found by its caption.
const std::vector<Text> kPage1 = {{IDOK, "下一步"},
                                  {IDCANCEL, "取  消"},
                                  {kBack, "上一步"},
                                  {kAgree, "同意"},
                                  {kDisagree, "不同意"}};
const std::vector<Text> kPage2 = {{IDOK, "下一步"},
                                  {kBack, "上一步"},
                                  {IDCANCEL, "取  消"},
                                  {releaseBox(2018), "For AutoCAD2018"}};
const std::vector<Text> kPage3 = {
    {IDOK, "安  装"}, {kBrowse, "浏览..."}, {kFolder, "C:\\Varnok"}, {IDCANCEL, "取  消"}};
const std::vector<Text> kPage4 = {{IDOK, "确  定"}};

void expectTexts(const Window& page, const std::vector<Text>& texts) {
    for (const Text& text : texts) {
        SCOPED_TRACE(text.control);
        EXPECT_EQ(page.control(text.control).text(), text.shown);
    }
}

// With VARNOK_CODEPAGE_PICTURES naming a folder, page 1 is saved there as
// page1-cp<code page>.bmp once two pictures 200 ms apart agree (Wine paints a moment later).
void savePicture(const Window& page, unsigned codePage) {
    const char* folder = std::getenv("VARNOK_CODEPAGE_PICTURES");
    if (folder == nullptr)
        return;
    Picture last = captureWindow(page.hwnd());
    for (int attempt = 0; attempt < 25; ++attempt) {
        Sleep(200);
        Picture now = captureWindow(page.hwnd());
        if (now == last)
            break;
        last = std::move(now);
    }
    saveBmp(last, joinPath(folder, "page1-cp" + std::to_string(codePage) + ".bmp"));
}

class CodePages : public InstallRun, public ::testing::WithParamInterface<unsigned> {};

TEST_P(CodePages, EveryPageReadsAsChineseAndTheInstallationIsTheChineseOne) {
    codePage = GetParam();
    seedMachine(kMachine2018, {kAcad2018Folder});
    AppProcess app = start();

    const Window first = app.waitForWindow(page1());  // found by its Chinese caption
    expectTexts(first, kPage1);
    const std::string agreement = first.control(kAgreement).text();
    EXPECT_NE(agreement.find("Varnok批打印软件最终用户许可协议"), std::string::npos)
        << toUtf8Line(agreement, 80);
    savePicture(first, codePage);
    const Window second = clickFor(app, first.control(IDOK), page2());
    expectTexts(second, kPage2);
    const Window third = clickFor(app, second.control(IDOK), page3());
    expectTexts(third, kPage3);
    const Window fourth = installFor4(app, third);
    expectTexts(fourth, kPage4);
    EXPECT_TRUE(fourth.control(kUnnamedStatic).text().starts_with("安装完成！"));
    fourth.control(IDOK).click();
    EXPECT_EQ(app.waitForExit(), 0u);

    EXPECT_EQ(folderNamesWide("C:\\Varnok"), std::vector<std::wstring>{L"Varnok批打印软件"});
    expectProgramFiles(kDefaultProductFolder, distribution.dataFolder());
    expectDemandLoadKey(kAcad2018Key, 2018, loaderOf(kDefaultProductFolder, 2018));
    EXPECT_EQ(trustedPathsOf(kAcad2018Variables),
              toUtf8(";C:\\PROGRAM FILES (X86)\\VENDORB\\TOOLB\\0.10.1.58;"
                     "C:\\VARNOK\\VARNOK批打印软件"));
}

INSTANTIATE_TEST_SUITE_P(, CodePages, ::testing::Values(1252u, 950u, 936u),
                         [](const auto& info) { return "Cp" + std::to_string(info.param); });

}  // namespace
}  // namespace vk::e2e::setup
