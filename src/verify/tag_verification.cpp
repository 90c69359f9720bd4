#include "verify/tag_verification.h"

#include "common/hex_text.h"
#include "common/convert.h"
#include "profile/parameter_table.h"
#include "programming/programming_data.h"
#include "radio/tag_info.h"

#include <algorithm>
#include <stdexcept>

namespace {

QString currentText(const QList<uint8_t> &b) { return QString::number(b.value(0) + 256 * b.value(1)); }
QString levelText(const QList<uint8_t> &b) { return TagLevelText(TagLevelOfByte(b.value(0))); }
QString dcText(const QList<uint8_t> &b)
{
    // The byte is shown too: two bytes may stand for the same rounded percentage.
    const uint8_t n = b.value(0);
    const int percent = TagDcPercentOfByte(n);
    return (percent == kTagDcOff ? QStringLiteral("OFF") : QString::number(percent) + QStringLiteral(" %"))
           + QStringLiteral(" (byte ") + HexByte(n) + QLatin1Char(')');
}

QString difference(const QString &name, const QString &expected, const QString &found)
{
    return name + QStringLiteral(": expected ") + expected + QStringLiteral(", found ") + found;
}

// What a person reads for a parameter's bytes.
std::function<QString(const QList<uint8_t> &)> valueText(const ParameterGroup &group,
                                                         const STRUCT_XML_FILE_VARIABLES &slot)
{
    switch (group.coding) {
    case TagCoding::Current:
        return &currentText;
    case TagCoding::LifeTime: {
        const qint64 step = StrToInt(group.field.of(slot).step); // checked by the encoder: 1 or more
        return [step](const QList<uint8_t> &b) { return QString::number(qint64(b.value(0)) * step); };
    }
    case TagCoding::CloLevel:
        return &levelText;
    case TagCoding::DcLevel:
        // Its text names the unit and the byte itself ("51 % (byte E5)", "OFF (byte FF)").
        return &dcText;
    case TagCoding::None:
        break;
    }
    return {};
}

// The parameters of one block's items: its tag-coded groups in table order, each
// taking as many items as it has bytes.
void appendBlock(QList<ExpectedParameter> &out, const STRUCT_XML_FILE_VARIABLES &slot, ParameterBlock block,
                 const QStringList &items)
{
    qsizetype at = 0;
    for (const ParameterGroup &g : ParameterGroups()) {
        if (g.block != block || g.coding == TagCoding::None)
            continue;
        ExpectedParameter p;
        p.name = QString::fromUtf8(g.label);
        p.valueText = [text = valueText(g, slot), unit = QString::fromUtf8(g.unit)](const QList<uint8_t> &b) {
            return ValueWithUnit(text(b), unit);
        };
        for (int k = 0; k < TagByteCount(g.coding); ++k) {
            const QString &item = items.at(at++);
            p.addresses << ProgrammingDataItemAddress(item);
            p.bytes << ProgrammingDataItemByte(item);
        }
        out << p;
    }
}

} // namespace

QList<ExpectedParameter> ExpectedTagParameters(const STRUCT_XML_FILE_VARIABLES &slot)
{
    QList<ExpectedParameter> out;
    if (slot.currentAdjustEnable != 0) {
        QStringList items;
        ProgrammingDataCalculation_Current(slot, items);
        appendBlock(out, slot, ParameterBlock::Current, items);
    }
    if (slot.cloAdjustEnable != 0) {
        QStringList items;
        ProgrammingDataCalculation_CLO(slot, items);
        appendBlock(out, slot, ParameterBlock::Clo, items);
    }
    if (slot.dclevelAdjustEnable != 0) {
        QStringList items;
        ProgrammingDataCalculation_DClevel(slot, DcLevelActiveForSlot(slot), items);
        appendBlock(out, slot, ParameterBlock::DcLevel, items);
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
            const int j = TagRwIndex(tag, address);
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
