#include <windows.h>

#include <string>
#include <vector>

#include "cli/OutputStream.h"
#include "cli/RunCommandLine.h"
#include "cli/StopRequest.h"
#include "platform/ComApartment.h"
#include "platform/ProgramFolder.h"
#include "platform/QuietDriveErrors.h"

int wmain(int argc, wchar_t** argv) {
    // The Recycle Bin of the removal rule is reached through the shell's COM objects.
    const ComApartment com;
    // A script must never wait on a "drive not ready" box that nobody sees.
    const QuietDriveErrors quiet;
    StopOnConsoleBreak();
    OutputStream out(GetStdHandle(STD_OUTPUT_HANDLE));
    OutputStream err(GetStdHandle(STD_ERROR_HANDLE));
    Streams streams{out, err};
    return RunCommandLine(std::vector<std::wstring>(argv + 1, argv + argc), ProgramFilesIn(ProgramFolder()), streams);
}
