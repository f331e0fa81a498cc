#pragma once
#include <string>

// Whether the user can make files in a folder. Tried by making (and at once dropping) a file
// there, which answers for read-only media, shares and folder rights alike. A process that runs
// elevated by an administrator's consent can write almost anywhere, yet the same user's next
// plain start cannot: there the folder's rights are checked for the user's own, unelevated token,
// so that both starts choose the same history.
bool UserCanWriteFolder(const std::wstring& folder);
