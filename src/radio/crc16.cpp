#include "radio/crc16.h"

uint16_t TagCRC16(const uint8_t *bytes, uint16_t length, uint16_t initial)
{
    uint16_t crc = initial;
    for (uint16_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? uint16_t((crc >> 1) ^ 0x8408u) : uint16_t(crc >> 1);
    }
    crc ^= 0xFFFFu;
    return uint16_t((crc << 8) | (crc >> 8));
}
