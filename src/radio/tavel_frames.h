#pragma once
// Tavel frames: the small frames this system and the handheld programmer exchange
// inside the stick's radio telegrams. Outgoing frames are prepared as text, two
// hexadecimal digits per byte; these helpers build those texts. Pure functions.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace tavel {

// Frame IDs.
constexpr uint8_t kFrameIdentityData = 0x0E;
constexpr uint8_t kFrameProgrammingData = 0x0F;
constexpr uint8_t kFramePairing = 0x10;        // request (to us: pairing accepted)
constexpr uint8_t kFrameNfcSensitivity = 0x11;
constexpr uint8_t kFrameCalibration = 0x12;
constexpr uint8_t kFrameSwitchToRead = 0x13;
constexpr uint8_t kFrameSwitchToProgramming = 0x14;
constexpr uint8_t kFrameUserText = 0x15;
constexpr uint8_t kFrameTagIdentityBlock = 0x16;
constexpr uint8_t kFrameTagRwBlock = 0x17;
constexpr uint8_t kFrameTagRBlock = 0x18;
constexpr uint8_t kFrameEndTag = 0x19;
constexpr uint8_t kFrameFeedback = 0x1A;
constexpr uint8_t kFrameTransferComplete = 0x1B;

// The lowest programmer firmware that needs no update.
constexpr int kMinFirmwareMajor = 2;
constexpr int kMinFirmwareMinor = 10;

// Pairwise conversion of a frame text: byte i is characters 2i and 2i+1 read as a
// hexadecimal number (either case); a pair that is not hexadecimal gives 0. An odd
// last character is ignored.
QByteArray HexTextToBytes(const QString &text);
// "0x41 0x42 " - per pair "0x", the pair as written and one blank.
QString HexTextDisplay(const QString &text);

// Appends the frame CRC8 (over the bytes of `text`) as two upper-case digits.
QString AppendFrameCrc(const QString &text);

// An identity data frame text with its CRC8 for part p (0-2) and its chunk of up
// to 12 digits. `checksum` (the transfer checksum) is fed with the chunk's bytes.
QString IdentityFrameText(int part, const QString &chunk, uint8_t *checksum = nullptr);
// A programming data frame text for item `index` of `count`, `item` with its blanks
// already removed. `checksum` is fed with every byte from index 7 on (an item's data byte).
QString ProgrammingDataFrameText(int count, int index, const QString &item, uint8_t *checksum = nullptr);
// The 24-character user text field: the first 24 characters, padded with blanks.
QString UserTextField(const QString &text);
// The user text frame text for part p (0-3) of the field: every character below
// 0x20, 0x7F and every one above 0x7F is sent as "~".
QString UserTextFrameText(int part, const QString &field);

// Splits a programming data text ("00E65E;00E701") into one line per item.
QStringList SplitMemoData(const QString &memoData);

} // namespace tavel
