#pragma once
// Texts of the self-test dialog program that the test checks against, built the same way
// on both sides (GBK at run time).
#include <string>

namespace vk::e2e::selftest {

inline constexpr const char* kCaption = "Varnok驱动自测";
inline constexpr const char* kMessageCaption = "Varnok软件安装";
inline constexpr int kProgressStart = 7;
inline constexpr int kProgressStep = 3;

// Far longer than any fixed buffer a reader might use.
inline std::string longText() {
    std::string text;
    for (int line = 0; line < 400; ++line)
        text += "第" + std::to_string(line) + "行：长文本。\r\n";
    return text;
}

inline std::string questionText() {
    std::string text = "请确认：";
    for (int i = 0; i < 60; ++i)
        text += "这是一条很长的消息。";
    return text;
}

}  // namespace vk::e2e::selftest
