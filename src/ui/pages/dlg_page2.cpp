#include "ui/pages/dlg_page2.h"

#include <iterator>

#include "acad/release_catalog.h"
#include "app/install_context.h"
#include "app/win/setup_objects.h"
#include "engine/release_offer.h"
#include "res/resource.h"
#include "ui/framework/ddx.h"

static_assert(kSelectableReleaseCount == kReleaseSlots, "one stored selection per release slot");

namespace {

// One release year: its box's control id and the members bound to it.
struct ReleaseBox {
    int nIDC;
    CButton Dlg_Page2::*pBox;
    int Dlg_Page2::*pChecked;
};

// In slot order, 2007 first.
constexpr ReleaseBox kReleaseBoxes[] = {
    {IDC_ACAD2007, &Dlg_Page2::m_chkAcad2007, &Dlg_Page2::m_bAcad2007},
    {IDC_ACAD2008, &Dlg_Page2::m_chkAcad2008, &Dlg_Page2::m_bAcad2008},
    {IDC_ACAD2009, &Dlg_Page2::m_chkAcad2009, &Dlg_Page2::m_bAcad2009},
    {IDC_ACAD2010, &Dlg_Page2::m_chkAcad2010, &Dlg_Page2::m_bAcad2010},
    {IDC_ACAD2011, &Dlg_Page2::m_chkAcad2011, &Dlg_Page2::m_bAcad2011},
    {IDC_ACAD2012, &Dlg_Page2::m_chkAcad2012, &Dlg_Page2::m_bAcad2012},
    {IDC_ACAD2013, &Dlg_Page2::m_chkAcad2013, &Dlg_Page2::m_bAcad2013},
    {IDC_ACAD2014, &Dlg_Page2::m_chkAcad2014, &Dlg_Page2::m_bAcad2014},
    {IDC_ACAD2015, &Dlg_Page2::m_chkAcad2015, &Dlg_Page2::m_bAcad2015},
    {IDC_ACAD2016, &Dlg_Page2::m_chkAcad2016, &Dlg_Page2::m_bAcad2016},
    {IDC_ACAD2017, &Dlg_Page2::m_chkAcad2017, &Dlg_Page2::m_bAcad2017},
    {IDC_ACAD2018, &Dlg_Page2::m_chkAcad2018, &Dlg_Page2::m_bAcad2018},
    {IDC_ACAD2019, &Dlg_Page2::m_chkAcad2019, &Dlg_Page2::m_bAcad2019},
    {IDC_ACAD2020, &Dlg_Page2::m_chkAcad2020, &Dlg_Page2::m_bAcad2020},
    {IDC_ACAD2021, &Dlg_Page2::m_chkAcad2021, &Dlg_Page2::m_bAcad2021},
    {IDC_ACAD2022, &Dlg_Page2::m_chkAcad2022, &Dlg_Page2::m_bAcad2022},
    {IDC_ACAD2023, &Dlg_Page2::m_chkAcad2023, &Dlg_Page2::m_bAcad2023},
    {IDC_ACAD2024, &Dlg_Page2::m_chkAcad2024, &Dlg_Page2::m_bAcad2024},
    {IDC_ACAD2025, &Dlg_Page2::m_chkAcad2025, &Dlg_Page2::m_bAcad2025},
    {IDC_ACAD2026, &Dlg_Page2::m_chkAcad2026, &Dlg_Page2::m_bAcad2026},
    {IDC_ACAD2027, &Dlg_Page2::m_chkAcad2027, &Dlg_Page2::m_bAcad2027},
};
static_assert(std::size(kReleaseBoxes) == kReleaseSlots, "one box per row of the release table");

}  // namespace

const CommandEntry Dlg_Page2::kCommands[] = {
    {IDC_BACK, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnBack)},
    {IDC_ACAD2007, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2008, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2009, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2010, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2011, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2012, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2013, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2014, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2015, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2016, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2017, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2018, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2019, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2020, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2021, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2022, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2023, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2024, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2025, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2026, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
    {IDC_ACAD2027, BN_CLICKED, OnCommandOf(&Dlg_Page2::OnCheckRelease)},
};

Dlg_Page2::Dlg_Page2(CWnd* pParent) : CDialog(IDD_PAGE2, kCommands, pParent) {}

void Dlg_Page2::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    // Controls newest first (their declared order), check values oldest first.
    for (auto box = std::rbegin(kReleaseBoxes); box != std::rend(kReleaseBoxes); ++box) {
        DDX_Control(pDX, box->nIDC, this->*(box->pBox));
    }
    for (const ReleaseBox& box : kReleaseBoxes) {
        DDX_Check(pDX, box.nIDC, this->*(box.pChecked));
    }
    DDX_Text(pDX, IDC_VERSION_LINE, m_strVersion);
}

BOOL Dlg_Page2::OnInitDialog() {
    CDialog::OnInitDialog();
    m_frame.Init(*this, &m_strVersion);

    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        this->*(kReleaseBoxes[slot].pChecked) = g_bReleaseSelected[slot];
    }
    ApplyOffers();
    UpdateData(FALSE);
    UpdateNextButton();
    return TRUE;
}

void Dlg_Page2::ApplyOffers() {
    const vk::Services& services = theCatalog.Services();
    bool anyOffered = false;
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (vk::OfferOfRelease(services, theCatalog, slot, g_nPlatformBits) ==
            vk::ReleaseOffer::Offered) {
            anyOffered = true;
            continue;
        }
        (this->*(kReleaseBoxes[slot].pBox)).EnableWindow(FALSE);
        this->*(kReleaseBoxes[slot].pChecked) = 0;
    }
    // A build does not show the releases it never serves.
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (!vk::BuildServesRelease(slot, g_nPlatformBits)) {
            (this->*(kReleaseBoxes[slot].pBox)).ShowWindow(SW_HIDE);
            this->*(kReleaseBoxes[slot].pChecked) = 0;
        }
    }
    // Without it a disabled box cannot tell an unsupported release from a broken setup.
    const std::string unserved = vk::UnservedReleasesText(
        vk::ReleasesFoundWithoutModule(services, theCatalog, g_nPlatformBits), !anyOffered);
    CWnd line = GetDlgItem(IDC_UNSERVED_RELEASES);
    line.SetWindowText(unserved);
    line.ShowWindow(unserved.empty() ? SW_HIDE : SW_SHOW);
    if (unserved.empty())
        return;
    // Data lacks the module of the family that needs it there, so none of its boxes (the
    // seventh row) can be offered: the line takes their place, and the page its frame's size.
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        if (kReleaseTable[slot].needsModuleInData) {
            (this->*(kReleaseBoxes[slot].pBox)).ShowWindow(SW_HIDE);
        }
    }
}

void Dlg_Page2::UpdateNextButton() {
    UpdateData(TRUE);
    bool anyChecked = false;
    for (const ReleaseBox& box : kReleaseBoxes) {
        anyChecked = anyChecked || this->*(box.pChecked) != 0;
    }
    GetDlgItem(IDOK).EnableWindow(anyChecked ? TRUE : FALSE);
}

void Dlg_Page2::OnCheckRelease() {
    UpdateNextButton();
}

void Dlg_Page2::StoreSelection() {
    UpdateData(TRUE);
    for (int slot = 0; slot < kReleaseSlots; ++slot) {
        g_bReleaseSelected[slot] = this->*(kReleaseBoxes[slot].pChecked);
    }
}

void Dlg_Page2::OnOK() {
    StoreSelection();
    m_nNextPage = 3;
    CDialog::OnOK();
}

void Dlg_Page2::OnBack() {
    StoreSelection();
    m_nNextPage = 1;
    CDialog::OnOK();
}

void Dlg_Page2::OnCancel() {
    m_nNextPage = 0;
    EndDialog(IDCANCEL);
}

HBRUSH Dlg_Page2::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return m_frame.CtlColor(pDC, pWnd);
}
