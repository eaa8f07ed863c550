#pragma once
// Page 2, the release selection: one check box per AutoCAD release year 2007
// to 2027, enabled only for the releases offered (found on the machine and
// served by the package); "下一步" is enabled while at least one is checked. A
// line names the releases found that the package cannot serve, in the place of
// the seventh row of boxes (2025 to 2027), which it then cannot serve either.
#include <string>

#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/pages/page_frame.h"

class Dlg_Page2 : public CDialog {
public:
    explicit Dlg_Page2(CWnd* pParent = nullptr);

    int m_nNextPage = 0;  // 0 ends the wizard, 1 back to the agreement, 3 on to install

    // Bound to the boxes so that the page can disable or hide them.
    CButton m_chkAcad2027, m_chkAcad2026, m_chkAcad2025, m_chkAcad2024, m_chkAcad2023,
        m_chkAcad2022, m_chkAcad2021, m_chkAcad2020, m_chkAcad2019, m_chkAcad2018, m_chkAcad2017,
        m_chkAcad2016, m_chkAcad2015, m_chkAcad2014, m_chkAcad2013, m_chkAcad2012, m_chkAcad2011,
        m_chkAcad2010, m_chkAcad2009, m_chkAcad2008, m_chkAcad2007;
    // Check values: 0 unchecked, 1 checked.
    int m_bAcad2007 = 0, m_bAcad2008 = 0, m_bAcad2009 = 0, m_bAcad2010 = 0, m_bAcad2011 = 0,
        m_bAcad2012 = 0, m_bAcad2013 = 0, m_bAcad2014 = 0, m_bAcad2015 = 0, m_bAcad2016 = 0,
        m_bAcad2017 = 0, m_bAcad2018 = 0, m_bAcad2019 = 0, m_bAcad2020 = 0, m_bAcad2021 = 0,
        m_bAcad2022 = 0, m_bAcad2023 = 0, m_bAcad2024 = 0, m_bAcad2025 = 0, m_bAcad2026 = 0,
        m_bAcad2027 = 0;
    std::string m_strVersion;

    void DoDataExchange(CDataExchange* pDX) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnDpiChanged() override { m_frame.ApplyDpi(*this); }

    void UpdateNextButton();
    void OnCheckRelease();
    void OnBack();

private:
    static const CommandEntry kCommands[];

    // Stores the check values in the installation context, year order.
    void StoreSelection();
    // Offers the releases the package serves; names the others that were found.
    void ApplyOffers();

    CPageFrame m_frame{kColourVariantA};
};
