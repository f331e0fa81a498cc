#include <string>

#include "platform/PeImage.h"
#include "platform/VersionResourceCheck.h"
#include "support/doctest_wide.h"

namespace {

std::wstring Fixture(const std::wstring& name) { return VERSION_FIXTURE_DIR + name + L".dll"; }

const char* StateName(VersionResourceState state) {
    switch (state) {
    case VersionResourceState::Missing: return "missing";
    case VersionResourceState::Damaged: return "damaged";
    case VersionResourceState::Sound: return "sound";
    }
    return "?";
}

}  // namespace

TEST_CASE("The resource directory of fixture images: sound, missing or damaged") {
    const struct {
        const wchar_t* fixture;
        VersionResourceState expected;
    } cases[] = {
        {L"patch_base", VersionResourceState::Sound},
        {L"several_translations", VersionResourceState::Sound},
        // Damage inside the block's entries is left to the reader of the block.
        {L"inflated-block", VersionResourceState::Sound},
        {L"no_version_resource", VersionResourceState::Missing},
        {L"data-past-end", VersionResourceState::Damaged},
        {L"size-past-end", VersionResourceState::Damaged},
        {L"size-past-section", VersionResourceState::Damaged},
        {L"directory-loop", VersionResourceState::Damaged},
        {L"cut-directory", VersionResourceState::Damaged},
        {L"sixteen-bit-block", VersionResourceState::Damaged},
    };
    for (const auto& c : cases) {
        CAPTURE(std::wstring(c.fixture));
        const PeImage image(Fixture(c.fixture));
        REQUIRE(image.IsPeImage());
        CHECK(StateName(InspectVersionResource(image)) == std::string(StateName(c.expected)));
        CHECK(HasSoundVersionResource(Fixture(c.fixture)) == (c.expected == VersionResourceState::Sound));
    }
}
