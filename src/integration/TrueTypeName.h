#pragma once

#include <cstddef>
#include <string>

std::u16string ReadTrueTypeFullName(const unsigned char* data, std::size_t size);
