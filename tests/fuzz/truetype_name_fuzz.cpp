#include "integration/TrueTypeName.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string name = ReadTrueTypeFullName(data, size);
    // Walk the result so a bad string the reader built is touched here, under the sanitizers.
    volatile char16_t sink = 0;
    for (char16_t unit : name)
        sink = sink ^ unit;
    return 0;
}
