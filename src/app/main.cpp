#include <windows.h>

#include "app/MainForm.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MainForm form;
    if (!form.Create(MainForm::Options{})) return 1;
    return MainForm::Run();
}
