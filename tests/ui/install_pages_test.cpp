// The install page's folder box and exits, and the completion page.
#include <gtest/gtest.h>

#include "model/install_context.h"
#include "res/resource.h"
#include "ui/page_harness.h"
#include "ui/pages/dlg_page3.h"
#include "ui/pages/dlg_page4.h"
#include "ui/test_catalog.h"

namespace vk::test {
namespace {

TEST(InstallPage, ShowsTheStoredFolderAndTheLowerVersionLine) {
    ContextGuard context;
    g_strInstallFolder = "D:\\工具";
    VisitPage<Dlg_Page3>([](HWND page) {
        EXPECT_EQ(TextOf(page, IDC_FOLDER), "D:\\工具");
        EXPECT_EQ(TextOf(page, IDC_VERSION_LINE_LOW), "Varnok批打印软件 V2023.5.26 (64位版本)");
        EXPECT_EQ(TextOf(page, IDOK), "安  装");
    });
}

TEST(InstallPage, BackStoresTheFolderAsTyped) {
    ContextGuard context;
    const INT_PTR result = VisitPage<Dlg_Page3>(
        [](HWND page) {
            SetText(page, IDC_FOLDER, "D:\\Tools\\");
            Click(page, IDC_BACK);
        },
        [](Dlg_Page3& page) { EXPECT_EQ(page.m_nNextPage, 2); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(g_strInstallFolder, "D:\\Tools\\");
}

TEST(InstallPage, CancelEndsTheWizardAndKeepsTheFolder) {
    ContextGuard context;
    const INT_PTR result = VisitPage<Dlg_Page3>(
        [](HWND page) {
            SetText(page, IDC_FOLDER, "E:\\");
            Click(page, IDCANCEL);
        },
        [](Dlg_Page3& page) { EXPECT_EQ(page.m_nNextPage, 0); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(g_strInstallFolder, "C:\\Varnok");
}

TEST(CompletionPage, OkAndCloseBoxBothEndTheWizard) {
    EXPECT_EQ(VisitPage<Dlg_Page4>([](HWND page) { Click(page, IDOK); },
                                   [](Dlg_Page4& page) { EXPECT_EQ(page.m_nNextPage, 0); }),
              IDOK);
    EXPECT_EQ(VisitPage<Dlg_Page4>([](HWND page) {
                  ::SendMessageA(page, WM_CLOSE, 0, 0);
                  MSG message;
                  while (::PeekMessageA(&message, page, 0, 0, PM_REMOVE)) {
                      ::DispatchMessageA(&message);
                  }
              }),
              IDCANCEL);
}

}  // namespace
}  // namespace vk::test
