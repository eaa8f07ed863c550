// A stand-in for a running program (AutoCAD, say): the process list contract
// copies it under the name it needs and ends it. It ends by itself after a
// minute, should a test die before ending it.
#include "platform/win32/windows_api.h"

int main() {
    Sleep(60 * 1000);
    return 0;
}
