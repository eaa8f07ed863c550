#include "app/win/wizard_app.h"

#include "app/win/setup_objects.h"
#include "app/win/system_dlls.h"
#include "ui/pages/dlg_page1.h"
#include "ui/pages/dlg_page2.h"
#include "ui/pages/dlg_page3.h"
#include "ui/pages/dlg_page4.h"

namespace {

// One visit of a page: a fresh object, run modally, asked where to go next.
template <typename Page>
int VisitPage() {
    Page page;
    page.DoModal();
    return page.m_nNextPage;
}

// The page-number protocol: 1 to 4 name a page, anything else ends the wizard.
int VisitPageNumber(int page) {
    switch (page) {
        case 1:
            return VisitPage<Dlg_Page1>();
        case 2:
            return VisitPage<Dlg_Page2>();
        case 3:
            return VisitPage<Dlg_Page3>();
        case 4:
            return VisitPage<Dlg_Page4>();
        default:
            return 0;
    }
}

}  // namespace

CWizardApp::CWizardApp() = default;

CWizardApp::~CWizardApp() = default;

BOOL CWizardApp::InitInstance() {
    // The install page hosts a progress bar, a common control.
    vk::win32::InitCommonControlsFromSystem(ICC_PROGRESS_CLASS);

    theCatalog.DiscoverReleases();

    int page = 1;
    while (page >= 1 && page <= 4) {
        page = VisitPageNumber(page);
    }
    return FALSE;
}
