// The csvcode reader as an imported file would feed it; see FuzzCodeFormat.h.

#include "fuzz/FuzzCodeFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzCodeFormat(CodeFormat::Csv, data, size);
    return 0;
}
