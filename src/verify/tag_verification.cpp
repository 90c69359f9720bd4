#include "verify/tag_verification.h"

#include "common/convert.h"
#include "profile/parameter_names.h"
#include "programming/programming_data.h"
#include "radio/tag_info.h"

#include <algorithm>
#include <stdexcept>

namespace {

QString hex2(uint8_t b) { return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper(); }

// The parameters of one encoder's items, in item order, named by their
// descriptor groups.
void appendItems(QList<ExpectedParameter> &out, const QStringList &items, const QStringList &groups,
                 const QList<std::function<QString(const QList<uint8_t> &)>> &texts, int bytesPerName)
{
    for (int n = 0; n < groups.size(); ++n) {
        const ParameterName *named = ParameterByGroup(groups[n]);
        ExpectedParameter p;
        p.name = named->label;
        p.valueText = [text = texts[n], unit = named->unit](const QList<uint8_t> &b) {
            return ValueWithUnit(text(b), unit);
        };
        for (int k = 0; k < bytesPerName; ++k) {
            const QString &item = items.at(n * bytesPerName + k);
            // Items carry the tag address 32 lower than the descriptors name it.
            p.addresses << item.left(4).toInt(nullptr, 16) + 32;
            p.bytes << uint8_t(item.mid(4, 2).toInt(nullptr, 16));
        }
        out << p;
    }
}

QString currentText(const QList<uint8_t> &b) { return QString::number(b.value(0) + 256 * b.value(1)); }
QString levelText(const QList<uint8_t> &b) { return TagLevelText(TagLevelOfByte(b.value(0))); }
QString dcText(const QList<uint8_t> &b)
{
    // The byte is shown too: two bytes may stand for the same rounded percentage.
    const uint8_t n = b.value(0);
    const int percent = TagDcPercentOfByte(n);
    return (percent == kTagDcOff ? QStringLiteral("OFF") : QString::number(percent) + QStringLiteral(" %"))
           + QStringLiteral(" (byte ") + hex2(n) + QLatin1Char(')');
}

// The read-write buffer index of tag address `address`, or -1 when the byte lies
// outside the area the tag announced (or outside the buffer).
int rwIndex(const TagBuffers &tag, int address)
{
    const int j = address - int(tag.rwStart());
    const int last = std::min(int(tag.rwSize()) + 1, kTagAreaBufferSize - 1);
    return j >= 2 && j <= last ? j : -1;
}

QString difference(const QString &name, const QString &expected, const QString &found)
{
    return name + QStringLiteral(": expected ") + expected + QStringLiteral(", found ") + found;
}

} // namespace

QList<ExpectedParameter> ExpectedTagParameters(const STRUCT_XML_FILE_VARIABLES &slot)
{
    QList<ExpectedParameter> out;
    if (slot.currentAdjustEnable != 0) {
        QStringList items;
        ProgrammingDataCalculation_Current(slot, items);
        appendItems(out, items, {QStringLiteral("current")}, {&currentText}, 2);
    }
    if (slot.cloAdjustEnable != 0) {
        QStringList items;
        ProgrammingDataCalculation_CLO(slot, items);
        const qint64 step = StrToInt(slot.lifeTime.step); // checked by the encoder: 1 or more
        auto lifeTime = [step](const QList<uint8_t> &b) { return QString::number(qint64(b.value(0)) * step); };
        appendItems(out, items,
                    {QStringLiteral("lifeTime"), QStringLiteral("Level0"), QStringLiteral("Level1"),
                     QStringLiteral("Level2"), QStringLiteral("Level3"), QStringLiteral("Level4")},
                    {lifeTime, &levelText, &levelText, &levelText, &levelText, &levelText}, 1);
    }
    if (slot.dclevelAdjustEnable != 0) {
        QStringList items;
        ProgrammingDataCalculation_DClevel(slot, DcLevelActiveForSlot(slot), items);
        // Its text names the unit and the byte itself ("51 % (byte E5)", "OFF (byte FF)").
        appendItems(out, items, {QStringLiteral("dcLevel")}, {&dcText}, 1);
    }
    return out;
}

QString TagReadProblem(const TagReadState &st)
{
    if (!st.identComplete)
        return QStringLiteral("tag read incomplete: identity block %1 of 5 expected").arg(st.nextIdentBlock + 1);
    if (!st.identChecksumOk)
        return QStringLiteral("Error: TAG Ident CRC16 wrong");
    if (!st.rwComplete)
        return QStringLiteral("tag read incomplete: %1 of %2 RW blocks").arg(st.rwCounter).arg(st.rwCount);
    if (!st.rwChecksumOk)
        return QStringLiteral("Error: TAG RW CRC16 wrong");
    if (!st.rComplete)
        return QStringLiteral("tag read incomplete: %1 of %2 R blocks").arg(st.rCounter).arg(st.rCount);
    if (!st.rChecksumOk)
        return QStringLiteral("Error: TAG R CRC16 wrong");
    return QString();
}

TagVerification VerifyTag(const TagBuffers &tag, const TagReadState &state, const STRUCT_XML_FILE_VARIABLES &slot)
{
    TagVerification r;
    const TagIdentityTexts ident = TagIdentity(tag);
    r.serial = ident.serial;
    if (const QString problem = TagReadProblem(state); !problem.isEmpty()) {
        r.differences << problem;
        return r;
    }

    // Another driver model's tag has another layout: its bytes are not compared.
    if (ident.gtin != slot.editGTIN)
        r.differences << difference(QStringLiteral("GTIN"), slot.editGTIN, ident.gtin);
    if (!slot.editFW.isEmpty() && ident.fw != slot.editFW)
        r.differences << difference(QStringLiteral("FW"), slot.editFW, ident.fw);
    if (!slot.editHW.isEmpty() && ident.hw != slot.editHW)
        r.differences << difference(QStringLiteral("HW"), slot.editHW, ident.hw);
    if (!r.differences.isEmpty()) {
        r.differences << QStringLiteral("parameters not compared: the driver's identity is not the profile's");
        return r;
    }

    QList<ExpectedParameter> expected;
    try {
        expected = ExpectedTagParameters(slot);
    } catch (const std::exception &e) {
        r.differences << QStringLiteral("profile cannot be compared: ") + QString::fromUtf8(e.what());
        return r;
    }
    for (const ExpectedParameter &p : expected) {
        QList<uint8_t> found;
        for (int address : p.addresses) {
            const int j = rwIndex(tag, address);
            if (j < 0)
                break;
            found << tag.rw[size_t(j)];
        }
        if (found.size() < p.addresses.size())
            r.differences << p.name + QStringLiteral(": not on the tag");
        else if (found != p.bytes)
            r.differences << difference(p.name, p.valueText(p.bytes), p.valueText(found));
    }
    r.passed = r.differences.isEmpty();
    return r;
}

QStringList VerificationLines(const TagVerification &result)
{
    QStringList lines{result.resultText() + QLatin1Char(' ') + result.serial};
    for (const QString &d : result.differences)
        lines << QStringLiteral("    ") + d;
    return lines;
}
