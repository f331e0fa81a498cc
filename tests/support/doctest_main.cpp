#define DOCTEST_CONFIG_IMPLEMENT
#include "support/doctest_wide.h"

#include "platform/ComApartment.h"
#include "platform/TextEncoding.h"

namespace xpv_test {
std::string ToUtf8(std::wstring_view text) { return Utf8FromWide(text); }
}  // namespace xpv_test

// Every test thread runs in the apartment the program's own thread runs in.
int main(int argc, char** argv) {
    const ComApartment com;
    return doctest::Context(argc, argv).run();
}
