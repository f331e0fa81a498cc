#include "platform/ActivationContext.h"

#include "platform/LongPath.h"
#include "platform/UniqueHandle.h"

namespace {

struct ActivationContextTraits {
    static bool IsNone(HANDLE context) { return context == INVALID_HANDLE_VALUE || context == nullptr; }
    static void Close(HANDLE context) { ReleaseActCtx(context); }
};
using UniqueActivationContext = UniqueResource<HANDLE, ActivationContextTraits>;

}  // namespace

DWORD ActivationContextError(const std::wstring& manifestFile) {
    const std::wstring source = PathForFileCalls(manifestFile);
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.lpSource = source.c_str();
    const UniqueActivationContext context(CreateActCtxW(&request));
    return context ? ERROR_SUCCESS : GetLastError();
}
