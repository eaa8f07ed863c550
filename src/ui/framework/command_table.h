#pragma once
// A page's command handlers as a plain table: which control, which
// notification, which member function. The dialog looks a WM_COMMAND up here
// before its own IDOK / IDCANCEL handling.
#include <type_traits>

#include "platform/win32/windows_api.h"

class CDialog;

using CommandHandler = void (CDialog::*)();

struct CommandEntry {
    int nID;
    UINT nCode;  // BN_CLICKED, ...
    CommandHandler pfn;
};

// A page's own member function as a table entry. The page calls it only on
// itself, so the conversion to a CDialog member is safe.
template <typename Page>
constexpr CommandHandler OnCommandOf(void (Page::*pfn)()) {
    static_assert(std::is_base_of_v<CDialog, Page>, "handlers belong to a dialog");
    return static_cast<CommandHandler>(pfn);
}
