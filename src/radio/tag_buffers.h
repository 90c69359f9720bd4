#pragma once
// The tag buffers: what the handheld programmer read from a driver's NFC tag,
// with the state of the read in progress. Process-wide; filled by the frame
// decoder, read by the tag info window and the main-window Read.

#include <array>
#include <cstdint>

constexpr int kTagIdentSize = 35;
constexpr int kTagAreaBufferSize = 512;
constexpr int kTagBlockBytes = 6;
// The largest area a tag may announce: its blocks (size / 6 + 2 of them, six bytes
// each, the checksum first) must fit the 512-byte area buffers.
constexpr int kTagAreaMaxSize = 503;

struct TagBuffers {
    // Bytes 0-1 tag checksum of bytes 2-31 (0xFF 0xFF: nothing read since the
    // last request), 2-3 RW start address, 4-5 RW size, 6-7 R start address,
    // 8-9 R size (little-endian), 10-15 GTIN, 16-17 FW, 18-25 serial number
    // (big-endian), 26-27 HW, 28-34 not interpreted.
    std::array<uint8_t, kTagIdentSize> ident{};
    // Read-write and read-only areas: byte j holds the tag byte at start + j;
    // bytes 0-1 are the area's checksum, the data follows.
    std::array<uint8_t, kTagAreaBufferSize> rw{};
    std::array<uint8_t, kTagAreaBufferSize> r{};

    uint16_t identWord(int offset) const { return uint16_t(ident[offset] | (ident[offset + 1] << 8)); }
    uint16_t rwStart() const { return identWord(2); }
    uint16_t rwSize() const { return identWord(4); }
    uint16_t rStart() const { return identWord(6); }
    uint16_t rSize() const { return identWord(8); }
};

struct TagReadState {
    int nextIdentBlock = 0;   // 0 after a reset, 1-5 while identity blocks arrive
    bool identComplete = false;
    bool rwComplete = false;
    int rwCounter = 0;        // area blocks accepted so far
    int rCounter = 0;
    int rwCount = 0;          // area blocks expected (set by a correct identity)
    int rCount = 0;
    int rwSize = 0;           // the area sizes those counts were set from
    int rSize = 0;
    // The outcome of the read in progress, for callers that report it as a whole.
    bool rComplete = false;
    bool identChecksumOk = false;
    bool rwChecksumOk = false;
    bool rChecksumOk = false;
};

extern TagBuffers tagBuffers;
extern TagReadState tagReadState;

// Next expected identity block 0, both completeness flags false, both counters 0;
// the expected counts stay.
void ResetTagReadState();
// Marks the tag ident data as not read (checksum bytes 0xFF 0xFF); nothing else changes.
void MarkTagIdentNotRead();
// True once an identity block 0 arrived after MarkTagIdentNotRead.
bool TagIdentReceived();
