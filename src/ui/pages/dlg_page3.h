#pragma once
// Page 3, the install folder and the progress of the installation.
#include <string>

#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/pages/page_frame.h"

class Dlg_Page3 : public CDialog {
public:
    explicit Dlg_Page3(CWnd* pParent = nullptr);

    int m_nNextPage = 0;  // 0 ends the wizard, 2 back to the releases, 4 on to completion
    CProgressCtrl m_progress;
    std::string m_strFolder = "C:\\Varnok";  // the edit box; replaced from the context
    std::string m_strVersion;

    void DoDataExchange(CDataExchange* pDX) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;

    void OnBack();
    void OnBrowse();

private:
    static const CommandEntry kCommands[];
    CPageFrame m_frame{kColourVariantB};
};
