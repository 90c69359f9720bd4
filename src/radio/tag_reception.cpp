#include "radio/tag_reception.h"

#include "common/hex_text.h"
#include "radio/crc16.h"
#include "radio/radio_link.h"
#include "radio/tag_buffers.h"

namespace {

void log(const TagFrameEnv &env, const QString &line)
{
    if (env.log)
        env.log(line);
}

void notify(const TagFrameEnv &env, const QString &text)
{
    if (env.notify)
        env.notify(UserNotice{QStringLiteral("Error"), text});
}

// The expected block count of an area announced with `size` bytes, or 0 when the
// area would not fit the buffers (every block is then refused).
int blockCount(const char *area, int size, const TagFrameEnv &env)
{
    if (size > kTagAreaMaxSize) {
        log(env, QStringLiteral("Error: TAG %1 size 0x%2 exceeds %3 bytes, area refused!")
                     .arg(QLatin1String(area), HexWord(unsigned(size)))
                     .arg(kTagAreaMaxSize));
        return 0;
    }
    return size / kTagBlockBytes + 2;
}

} // namespace

QString SerialNumberText(const uint8_t *b)
{
    quint64 v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | b[i];
    return QString::number(v).rightJustified(16, QLatin1Char('0'));
}

void HandleTagIdentBlock(const TavelFrameIn &frame, const TagFrameEnv &env)
{
    if (!FrameLongEnough(frame, env))
        return;
    const int k = frame.bytes[1];
    TagReadState &st = tagReadState;
    if (k == 0) {
        // A new tag: nothing of an earlier read may show through.
        tagBuffers = TagBuffers{};
        st.nextIdentBlock = 1;
        st.identComplete = false;
        st.identChecksumOk = false;
    } else if (k >= 1 && k <= 4 && st.nextIdentBlock == k) {
        st.nextIdentBlock = k + 1;
    } else {
        log(env, QStringLiteral("<- Unknown TAG Ident Block :") + QString::number(k));
        return;
    }
    for (int i = 0; i < 7; ++i)
        tagBuffers.ident[size_t(7 * k + i)] = frame.bytes[2 + i];
    log(env, QStringLiteral("<- TAG Ident Block ") + QString::number(k + 1) + QStringLiteral(" received!"));
    if (k != 4)
        return;

    log(env, QStringLiteral("<- All TAG Ident Blocks received!"));
    st.identComplete = true;
    const uint16_t computed = TagCRC16(tagBuffers.ident.data() + 2, 30, 0xFFFF);
    const uint16_t stored = tagBuffers.identWord(0);
    st.identChecksumOk = computed == stored;
    if (computed == stored) {
        log(env, QStringLiteral("<- TAG Ident CRC16 okay!"));
        st.rwSize = tagBuffers.rwSize();
        st.rSize = tagBuffers.rSize();
        st.rwCount = blockCount("RW", st.rwSize, env);
        st.rCount = blockCount("R", st.rSize, env);
    } else {
        notify(env, QStringLiteral("Error: TAG Ident CRC16 wrong"));
        log(env, QStringLiteral("Error: TAG Ident CRC16 calculated: 0x") + HexWord(computed)
                     + QStringLiteral(" ... CRC16 read: 0x") + HexWord(stored));
    }
}

void HandleTagAreaBlock(bool readWrite, const TavelFrameIn &frame, const TagFrameEnv &env)
{
    if (!FrameLongEnough(frame, env))
        return;
    TagReadState &st = tagReadState;
    const QString area = readWrite ? QStringLiteral("RW") : QStringLiteral("R");
    const int b = (frame.bytes[1] << 8) | frame.bytes[2];
    const int count = readWrite ? st.rwCount : st.rCount;
    const bool allowed = readWrite ? st.identComplete : st.rwComplete;
    auto &buffer = readWrite ? tagBuffers.rw : tagBuffers.r;
    // The counts never exceed what the buffer holds; the second test only guards it.
    if (b >= count || !allowed || kTagBlockBytes * b + kTagBlockBytes > int(buffer.size())) {
        log(env, QStringLiteral("<- Unknown TAG Data %1 Block :").arg(area) + QString::number(b));
        return;
    }
    int &counter = readWrite ? st.rwCounter : st.rCounter;
    ++counter;
    for (int i = 0; i < kTagBlockBytes; ++i)
        buffer[size_t(kTagBlockBytes * b + i)] = frame.bytes[3 + i];
    log(env, QStringLiteral("<- TAG %1-Data Block ").arg(area) + QString::number(counter)
                 + QStringLiteral(" received from ID ") + Hex32(frame.senderId));
    if (counter == count) {
        log(env, QStringLiteral("<- All TAG %1-Data Blocks received!").arg(area));
        const int size = readWrite ? st.rwSize : st.rSize;
        const uint16_t computed = TagCRC16(buffer.data() + 2, uint16_t(size), 0xFFFF);
        const uint16_t stored = uint16_t(buffer[0] | (buffer[1] << 8));
        (readWrite ? st.rwChecksumOk : st.rChecksumOk) = computed == stored;
        if (computed == stored) {
            log(env, QStringLiteral("<- TAG %1 CRC16 okay!").arg(area));
        } else {
            notify(env, QStringLiteral("Error: TAG %1 CRC16 wrong").arg(area));
            log(env, QStringLiteral("Error: TAG %1 CRC16 calculated: 0x").arg(area) + HexWord(computed)
                         + QStringLiteral(" ... CRC16 read: 0x") + HexWord(stored));
        }
        (readWrite ? st.rwComplete : st.rComplete) = true;
    } else {
        (readWrite ? st.rwComplete : st.rComplete) = false;
    }
}

bool HandleEndTagFrame(const TavelFrameIn &frame, const TagFrameEnv &env)
{
    if (!FrameLongEnough(frame, env))
        return false;
    if (frame.bytes[1] == 0xE0) {
        log(env, QStringLiteral("<- End Tag Frame received from ID ") + Hex32(frame.senderId));
        return true;
    }
    log(env, QStringLiteral("Error: Tavel Data CRC wrong! Should: 0xE0 read: 0x") + HexByte(frame.bytes[1]));
    tagReadState.identComplete = false;
    tagReadState.rwComplete = false;
    return false;
}

void InstallTagReception(RadioLink &link) { link.resetReadState = &ResetTagReadState; }
