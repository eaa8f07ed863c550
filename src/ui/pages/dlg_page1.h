#pragma once
// Page 1, the agreement: four screens of text paged with "上一页" / "下一页",
// and "同意" / "不同意"; "下一步" is enabled only while "同意" is chosen.
#include <string>

#include "ui/framework/dialog.h"
#include "ui/pages/page_frame.h"

class Dlg_Page1 : public CDialog {
public:
    explicit Dlg_Page1(CWnd* pParent = nullptr);

    int m_nTextPage = 0;  // the agreement screen shown, 0 to 3
    int m_nNextPage = 0;  // 0 ends the wizard, 2 goes on to the release page
    std::string m_strAgreement;
    int m_nAgreeChoice = 0;  // 0 "不同意", 1 "同意"
    std::string m_strVersion;

    void DoDataExchange(CDataExchange* pDX) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnDpiChanged() override { m_frame.ApplyDpi(*this); }

    void ShowAgreementPage();
    void OnPrevPage();
    void OnNextPage();
    void OnAgreeChoice();

private:
    // "下一步" follows the choice: enabled unless "不同意" is chosen.
    void EnableNextForChoice();

    static const CommandEntry kCommands[];
    CPageFrame m_frame{kColourVariantA};
};
