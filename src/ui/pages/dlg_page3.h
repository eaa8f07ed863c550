#pragma once
// Page 3, the install folder and the progress of the installation. "安  装"
// checks the folder, then runs the whole installation in its fixed order.
#include <optional>
#include <string>

#include "engine/install_folder_check.h"
#include "engine/installation.h"
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

    // The whole installation into m_strFolder (the chosen folder), stepping
    // the bar; m_strFolder then names the final install folder. False when
    // it did not complete: the page has then ended the wizard, unless the
    // folder was refused before anything changed (the page stays open).
    bool InstallAll();

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

    // True when the checked folder may be installed into; otherwise the page
    // has said why.
    bool AcceptFolder(const vk::FolderCheck& check);

    CPageFrame m_frame{kColourVariantB};
    // The folder that standard users could replace, which the person agreed to
    // at this press of "安  装" (empty: none).
    std::string m_strAcceptedReplaceable;
};
