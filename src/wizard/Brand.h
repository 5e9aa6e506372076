#pragma once
#include <string>

// True when the product name is "Ловена" in any mix of upper and lower case (the user
// locale's case rules).
bool IsLovenaName(const std::wstring& productName);
