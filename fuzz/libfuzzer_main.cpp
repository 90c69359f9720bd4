// The libFuzzer entry of one target, chosen when built (TAVEL_FUZZ_ENTRY).
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return TAVEL_FUZZ_ENTRY(data, size); }
