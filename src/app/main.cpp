#include <windows.h>

#include "app/MainForm.h"
#include "platform/ComApartment.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MainForm form;
    if (!form.Create()) return 1;
    // Nothing before the window shows needs COM (the shell's file operations and the web pages
    // come later): started here, loading it costs the start nothing.
    const ComApartment com;
    return MainForm::Run();
}
