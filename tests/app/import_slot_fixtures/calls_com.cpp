// Calls into ole32 through its import slots, as the program does at start.
#include <windows.h>
#include <objbase.h>

int main() {
    if (SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) CoUninitialize();
    return 0;
}
