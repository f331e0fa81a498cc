#pragma once
#include <string>
#include <vector>

// The window's words for the question about external manifests, asked in one message box with
// Yes, No and Cancel, and for what an administrator must do when Yes could not set the value.

// The question, naming up to ten of the programs, then how many more, and what each answer does.
std::wstring ExternalManifestQuestionText(const std::vector<std::wstring>& programs);

// Follows the report's sentence that Windows could not be set to prefer external manifests.
std::wstring PreferenceAdviceText();
