#include "app/uninstall_run.h"

#include "app/exit_codes.h"
#include "app/unattended_run.h"
#include "engine/acad_running.h"
#include "engine/install_paths.h"
#include "engine/install_texts.h"
#include "engine/setup_message.h"
#include "engine/uninstall.h"

namespace vk {
namespace {

constexpr const char* kConfirmText = "确实要卸载 Varnok批打印软件 吗？";
constexpr const char* kAcadRunningRetryText = "请关闭AutoCAD后再进行卸载 !\n\n关闭后请按“重试”。";
constexpr const char* kRemovedText = "Varnok批打印软件已从您的计算机中卸载。";

std::string Listed(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += "\n" + item;
    return text;
}

// Waits for AutoCAD to be closed, asking the person; false when they give up
// or nobody can be asked.
bool AcadClosed(const Services& services, const SetupOptions& options) {
    while (const std::optional<RunningProcess> acad = FindRunningAcad(services)) {
        if (options.allowRunning) {
            services.log.Info("AutoCAD is running (" + Described(*acad) +
                              "); uninstalling all the same (/ALLOWRUNNING)");
            return true;
        }
        if (options.Unattended()) {
            Tell(services, "AutoCAD is running: " + Described(*acad), kAcadRunningText, kMbOk,
                 kExitCannotProceed);
            return false;
        }
        if (SetupMessage(services, kAcadRunningRetryText, kMbRetryCancel | kMbIconExclamation) !=
            kIdRetry) {
            services.log.Info("Cancelled: AutoCAD is running");
            return false;
        }
    }
    return true;
}

}  // namespace

int RunUninstall(const Services& services, const UninstallRun& run,
                 std::vector<RecordEntry>& entries) {
    const std::string recordPath = JoinPath(run.productDir, kRecordFileName);
    services.log.Info("Uninstalling the installation in " + run.productDir);
    const RecordOfInstallation record = ReadInstallationRecord(services, run.productDir);
    if (record.state == RecordState::Missing && FinishRemovalCutShort(services, run.productDir))
        return kExitFinished;
    if (record.state == RecordState::Missing) {
        return Tell(services, "no installation record " + recordPath + "; nothing removed",
                    "找不到安装记录：\n\n" + recordPath + "\n\n卸载程序没有删除任何内容。",
                    kMbOk | kMbIconStop, kExitCannotStart);
    }
    if (record.state == RecordState::Foreign) {
        return Tell(
            services,
            "the record " + recordPath + " was not written by this installation (" +
                record.problem + "); nothing removed",
            "安装记录不是本次安装写入的：\n\n" + recordPath + "\n\n卸载程序没有删除任何内容。",
            kMbOk | kMbIconStop, kExitCannotStart);
    }
    if (record.state == RecordState::Damaged) {
        return Tell(services,
                    "the installation record " + recordPath + " is damaged (" + record.problem +
                        "); nothing removed",
                    DamagedRecordText(recordPath, true), kMbOk | kMbIconStop, kExitCannotStart);
    }
    // As Inno Setup's uninstaller: /SILENT and /VERYSILENT ask no confirmation.
    if (run.options.Unattended()) {
        services.log.Info("Unattended uninstall: no confirmation asked");
    } else if (SetupMessage(services, kConfirmText, kMbYesNo | kMbIconQuestion) != kIdYes) {
        services.log.Info("Cancelled: the uninstall was not confirmed");
        return kExitCancelled;
    }
    if (!AcadClosed(services, run.options))
        return run.options.Unattended() ? kExitCannotProceed : kExitCancelled;

    UndoReport report;
    RemoveInstallation(services, run.productDir, record.entries, false, report);
    entries = record.entries;
    std::string text = report.notRemoved.empty()
                           ? std::string(kRemovedText)
                           : "卸载已完成，但以下内容未能删除：\n" + Listed(report.notRemoved);
    if (!report.kept.empty())
        text += "\n\n以下内容在安装后被修改过，予以保留：\n" + Listed(report.kept);
    // A closing box waits for someone: an unattended uninstall leaves it to the log.
    if (!run.options.Unattended())
        SetupMessage(services, text,
                     report.notRemoved.empty() ? kMbOk : kMbOk | kMbIconExclamation);
    return report.notRemoved.empty() ? kExitFinished : kExitStepFailed;
}

void FinishUninstall(const Services& services, const std::string& productDir,
                     const std::vector<RecordEntry>& entries) {
    UndoReport report;
    RemoveProductFolder(services, entries, productDir, report);
}

}  // namespace vk
