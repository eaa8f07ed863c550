#pragma once
// The installation's own message texts (GBK at run time).
#include <cstddef>
#include <string>
#include <vector>

#include "engine/install_path_safety.h"

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

// The refusal of an install path that passes through a symbolic link or a
// junction (FindLinkOnPath), naming it.
inline std::string LinkOnPathText(const std::string& folder) {
    return "安装路径不能经过符号链接或目录联接 !\n\n" + folder +
           "\n\n是一个链接，它指向的位置随时可能被换掉。\n\n请选择不含链接的路径 !";
}

// What makes a folder of the install path replaceable by a standard user, or
// the product folder one they could add to (FindReplaceableFolder), one
// reason a line. The wizard asks whether to
// install all the same, an unattended run refuses: each adds its own end.
inline std::string ReplaceableFolderText(const ReplaceableFolder& found) {
    std::string why;
    auto add = [&why](bool holds, const char* line) {
        if (holds)
            why += std::string("\n") + line;
    };
    add(found.unreadable, "无法读取它的权限；");
    add(found.foreignOwner, "它的所有者不是管理员，可以随意更改它的权限；");
    add(found.rootDeletesChild, "驱动器根目录允许普通用户删除它或给它改名；");
    add((found.rights & kRightDelete) != 0, "普通用户可以删除它或给它改名；");
    add((found.rights & kRightDeleteChild) != 0, "普通用户可以删除或改名其中的文件夹；");
    add((found.rights & (kRightWriteDac | kRightWriteOwner)) != 0,
        "普通用户可以更改它的权限或所有者；");
    add((found.rights & (kRightAddFile | kRightAddSubfolder)) != 0,
        "普通用户可以在其中添加文件或文件夹；");
    return "安装路径中的文件夹\n\n" + found.folder + "\n\n不只是管理员可以更改：" + why +
           "\n\n他人可以用别的文件夹换掉它，\n让AutoCAD加载别人的程序。";
}

inline constexpr const char* kInstallAnywayQuestion = "\n\n仍要安装到这里吗？";
inline constexpr const char* kChooseProtectedFolderText = "\n\n请选择只有管理员可以更改的路径 !";

}  // namespace vk
