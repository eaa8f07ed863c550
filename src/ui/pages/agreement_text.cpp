#include "ui/pages/agreement_text.h"

#include <string_view>

#include "platform/win32/gbk_text.h"
#include "platform/win32/own_resources.h"
#include "platform/win32/windows_api.h"
#include "res/resource.h"
#include "ui/framework/win_app.h"

namespace {

std::wstring Utf8ToWide(std::string_view utf8) {
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          length);
    return wide;
}

}  // namespace

std::string LoadAgreementScreen(int screen) {
    if (screen < 0 || screen >= kAgreementScreenCount) {
        return {};
    }
    std::string_view utf8 =
        vk::win32::ResourceBytes(AfxGetResourceHandle(), IDR_AGREEMENT_SCREEN0 + screen);
    // An editor may have saved the file with a byte-order mark.
    if (utf8.starts_with("\xEF\xBB\xBF")) {
        utf8.remove_prefix(3);
    }
    // As GBK, the program's text, whatever code page the machine has.
    return vk::win32::Gbk(Utf8ToWide(utf8));
}
