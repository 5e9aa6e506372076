#pragma once
#include <string>

// Whether the product is the Ловена brand, which gets one extra file; set at the main
// window's creation, read by the installation run.
extern bool IsLovenaBrand;

// True when the product name is "Ловена" in any mix of upper and lower case (the user
// locale's case rules).
bool IsLovenaName(const std::wstring& productName);
