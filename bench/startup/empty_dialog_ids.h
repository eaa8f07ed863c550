#pragma once
// The empty dialog program's one template, shared by its code and its
// resource script.
#define IDD_EMPTY 100
#define EMPTY_DIALOG_CAPTION "Varnok基准空白对话框"
