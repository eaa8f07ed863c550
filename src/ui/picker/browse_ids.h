#pragma once
// Controls of the shell's folder browser that the picker uses, and the edit
// box it adds. The browser's own ids are the same on Windows and Wine.
inline constexpr int kBrowseTreeId = 14145;    // SysTreeView32: places the edit box
inline constexpr int kBrowseTitleId = 14146;   // the instruction text above the tree
inline constexpr int kBrowseStatusId = 14147;  // the status text, hidden by the picker
inline constexpr int kBrowseEditId = 14148;    // the edit box the picker creates
