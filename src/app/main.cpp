#include <windows.h>

#include "app/MainForm.h"
#include "platform/ComApartment.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const ComApartment com;
    MainForm form;
    if (!form.Create()) return 1;
    return MainForm::Run();
}
