#pragma once
// Page 4, the completion page: the installation is done, restart AutoCAD.
// Every way of closing it ends the wizard.
#include "ui/framework/dialog.h"
#include "ui/pages/page_frame.h"

class Dlg_Page4 : public CDialog {
public:
    explicit Dlg_Page4(CWnd* pParent = nullptr);

    int m_nNextPage = 0;  // always 0: the wizard ends here

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnDpiChanged() override { m_frame.ApplyDpi(*this); }

private:
    CPageFrame m_frame{kColourVariantB};
};
