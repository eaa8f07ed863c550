#pragma once
// The installation's own message texts (GBK at run time).
#include <cstddef>
#include <string>
#include <vector>

namespace vk {

inline constexpr const char* kSetupCaption = "Varnok软件安装";

inline constexpr const char* kMissingDataText =
    "未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe !";

// A folder whose path holds ";" (HoldsListSeparator): AutoCAD would trust its pieces.
inline constexpr const char* kListSeparatorText =
    "安装路径不能含有分号“;” !\n\n"
    "AutoCAD的受信任路径以分号分隔，\n含分号的路径会被拆成几个路径。\n\n"
    "请选择不含分号的路径 !";

// "拷贝文件 %s 失败，..." with the destination path in place of %s.
inline std::string CopyFailedText(const std::string& destination) {
    return "拷贝文件 " + destination +
           " 失败，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统";
}

// An install folder (or a level of it) that could not be made.
inline std::string FolderNotCreatedText(const std::string& folder) {
    return "无法创建安装文件夹：\n\n" + folder + "\n\n请检查权限，或选择其他安装路径。";
}

// A record that is not what the installation wrote: nothing is changed by it.
inline std::string DamagedRecordText(const std::string& record, bool uninstalling) {
    return "安装记录已损坏：\n\n" + record + "\n\n" +
           (uninstalling
                ? "为免误删，卸载程序没有删除任何内容。"
                : "为免误删，安装程序没有改动先前的安装。请先删除该安装文件夹，再重新安装。");
}

// After an aborted installation was taken back; `left` names what could not be.
inline std::string RolledBackText(const std::vector<std::string>& left) {
    std::string text = "安装已中止。\n\n本次安装所做的更改已经撤销";
    if (left.empty())
        return text + "。";
    text += "，但以下内容未能撤销：\n";
    for (const std::string& item : left)
        text += "\n" + item;
    return text;
}

inline constexpr const char* kAcadRunningText = "请关闭AutoCAD后再进行安装 !";

// The refusal of an install folder too long for the paths below it, with the
// longest one allowed (MaxInstallFolderBytes). Short lines: the system's
// message box may wrap a long one inside a number.
inline std::string FolderTooLongText(std::size_t limit) {
    return "安装路径太长 !\n\n安装文件夹（含“\\Varnok批打印软件”）\n最多只能有 " +
           std::to_string(limit) + " 个字节，\n\n请选择较短的路径 !";
}

}  // namespace vk
