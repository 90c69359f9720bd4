#pragma once
// A driver's tag as the handheld programmer reads it back: identity blocks, then
// the blocks of the read-write and the read-only area, then the end frame. Each
// handler takes one frame (frame ID first) and works on the process-wide tag
// buffers and read state; it checks the tag checksums as the blocks complete.

#include "radio/programmer_frames.h"

#include <QString>
#include <cstdint>

// A 64-bit big-endian serial number as decimal text of at least 16 digits; a
// number of 2^63 or more is written as its unsigned value.
QString SerialNumberText(const uint8_t *bigEndian8);

// 0x16: identity block; checks the tag checksum after block 4 and sets the
// expected area block counts.
void HandleTagIdentBlock(const TavelFrameIn &frame, const TagFrameEnv &env);
// 0x17 (readWrite) and 0x18: one block of six area bytes.
void HandleTagAreaBlock(bool readWrite, const TavelFrameIn &frame, const TagFrameEnv &env);
// 0x19: end of the tag; a wrong marker stops the area blocks until a new
// identity. True for the right end marker.
bool HandleEndTagFrame(const TavelFrameIn &frame, const TagFrameEnv &env);

class RadioLink;
// Lets "Switch to Read" reset the tag read state of this link.
void InstallTagReception(RadioLink &link);
