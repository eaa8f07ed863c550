#pragma once
// Page 3, the install folder and the progress of the installation. "安  装"
// checks the folder, then runs the whole installation in its fixed order.
#include <optional>
#include <string>

#include "engine/installation.h"
#include "engine/plan.h"
#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/pages/page_frame.h"

class Dlg_Page3 : public CDialog {
public:
    explicit Dlg_Page3(CWnd* pParent = nullptr);

    int m_nNextPage = 0;  // 0 ends the wizard, 2 back to the releases, 4 on to completion
    CProgressCtrl m_progress;
    // The edit box; replaced from the context. During "安  装" it becomes the
    // final install folder.
    std::string m_strFolder = "C:\\Varnok";
    std::string m_strVersion;

    void DoDataExchange(CDataExchange* pDX) override;

    // The whole installation as planned, stepping the bar; m_strFolder then
    // names the final install folder. False when it did not complete: the
    // page has then ended the wizard, unless the folder was refused before
    // anything changed (the page stays open).
    bool InstallAll(const vk::InstallPlan& plan, const std::string& acceptedReplaceable);

    // How the installation went, once "安  装" has run it.
    std::optional<vk::InstallOutcome> m_outcome;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnDpiChanged() override { m_frame.ApplyDpi(*this); }

    void OnBack();
    void OnBrowse();

private:
    static const CommandEntry kCommands[];

    // Shows why the plan was refused; true when the person agreed to install
    // all the same (a folder others could change), so it is planned again.
    bool AcceptRefusal(const vk::Refusal& refusal);

    CPageFrame m_frame{kColourVariantB};
};
