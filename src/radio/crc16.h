#pragma once
// The tag checksum: CRC-16/X-25 over a run of tag bytes.

#include <cstdint>

// CRC-16/X-25 (polynomial 0x1021 processed bit-reflected as 0x8408, reflected in
// and out, final XOR 0xFFFF) of `length` bytes, starting from `initial` (0xFFFF
// for a tag area). The tag stores the checksum most significant byte first, and
// this function returns it with its two bytes exchanged, so that it equals the two
// stored bytes read as a little-endian number: "123456789" gives 0x6E90 for the
// X-25 value 0x906E, stored as 0x90 0x6E.
uint16_t TagCRC16(const uint8_t *bytes, uint16_t length, uint16_t initial);
