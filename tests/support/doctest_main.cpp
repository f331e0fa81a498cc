#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "support/doctest_wide.h"

#include "platform/TextEncoding.h"

namespace xpv_test {
std::string ToUtf8(std::wstring_view text) { return Utf8FromWide(text); }
}  // namespace xpv_test
