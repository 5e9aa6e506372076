#pragma once
#include <functional>
#include <string>

// Moves back into `folder` what `aside` holds that `folder` lacks, one rename each; a folder
// both hold is merged the same way; a link on either side is never entered. `returning` is told of
// each item before it moves (its place in `folder`, and `below` with its name appended:
// "a3\\sub\\x") and may refuse it; a refused or failed move is logged. Each level of `folder` is
// listed once rather than asked about name by name: thousands of files cost one listing.
void ReturnMissing(
    const std::wstring& aside, const std::wstring& folder, const std::wstring& below,
    const std::function<bool(const std::wstring& to, const std::wstring& below)>& returning);
