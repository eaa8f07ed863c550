#pragma once
// The installation's own message texts (GBK at run time).
#include <string>

namespace vk {

inline constexpr const char* kSetupCaption = "Varnok软件安装";

inline constexpr const char* kMissingDataText =
    "未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe !";

// "拷贝文件 %s 失败，..." with the destination path in place of %s.
inline std::string CopyFailedText(const std::string& destination) {
    return "拷贝文件 " + destination +
           " 失败，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统";
}

}  // namespace vk
