// A stand-in for a running AutoCAD: the install-action tests copy it under
// AutoCAD's file names, start it and end it. It ends by itself after a
// minute, should a test die before ending it.
#include <windows.h>

int main() {
    Sleep(60 * 1000);
    return 0;
}
