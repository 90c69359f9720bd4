#include "profile/catalogue.h"

#include "common/dialogs.h"
#include "common/program_files.h"
#include "profile/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>

namespace {
QString g_programDirOverride;

const TextField *findIdentityField(const char *name)
{
    for (const auto &f : kIdentityFields)
        if (qstrcmp(f.name, name) == 0)
            return &f;
    return nullptr;
}

void setFlags(STRUCT_XML_FILE_VARIABLES &slot, CatalogueFunctionBlock block)
{
    switch (block) {
    case CatalogueFunctionBlock::Current:
        slot.currentAdjustEnable = 1;
        slot.currentAvailable = 1;
        break;
    case CatalogueFunctionBlock::Clo:
        slot.cloAdjustEnable = 1;
        slot.cloAvailable = 1;
        break;
    case CatalogueFunctionBlock::DcLevel:
        slot.dclevelAdjustEnable = 1;
        slot.dclevelAvailable = 1;
        break;
    case CatalogueFunctionBlock::Ntc:
        slot.ExtNTCAdjustEnable = 1;
        slot.ExtNTCAvailable = 1;
        break;
    }
}
} // namespace

QString CatalogueProgramDir()
{
    if (!g_programDirOverride.isEmpty())
        return g_programDirOverride;
    return QCoreApplication::applicationDirPath();
}

void SetCatalogueProgramDirForTesting(const QString &dir) { g_programDirOverride = dir; }

QString DefaultCataloguePath() { return FindProgramDataFile(kCatalogueFileName, CatalogueProgramDir()); }

QString &CurrentCataloguePath()
{
    static QString path;
    return path;
}

QStringList CatalogueRow::columns() const
{
    return {ref_num, familyname, type, gtin, programmer, fw, hw, serial, QString::number(index)};
}

const QStringList &CatalogueColumnTitles()
{
    static const QStringList titles = {
        QStringLiteral("Ref.-No."), QStringLiteral("FamilyName"), QStringLiteral("type"),
        QStringLiteral("gtin"),     QStringLiteral("programmer"), QStringLiteral("fw"),
        QStringLiteral("hw"),       QStringLiteral("serial"),     QStringLiteral("xmlDriverIndex")};
    return titles;
}

namespace {
CatalogueRow rowOf(const IXMLModelType &model, int index)
{
    CatalogueRow row;
    row.index = index;
    row.ref_num = model.Get_ref_num();
    row.familyname = model.Get_familyname();
    row.type = model.Get_type();
    row.gtin = model.Get_gtin();
    row.programmer = model.Get_programmer();
    row.fw = model.Get_fw();
    row.hw = model.Get_hw();
    row.serial = model.Get_serial();
    return row;
}
} // namespace

CatalogueRow ReadCatalogueRow(const IXMLModelSelectionType &root, int index)
{
    return rowOf(*root.Get_Model(index), index);
}

void ListCatalogueModels(const IXMLModelSelectionType &root, const QString &filter,
                         const std::function<void(const CatalogueRow &)> &addRow,
                         const std::function<void(const QString &)> &addRefNum)
{
    const bool all = filter == kCatalogueAllFilter;
    QSet<QString> seen;
    // Walks the Model elements once in document order (looking each one up by its
    // index would make listing a large catalogue quadratic).
    const QDomDocument document = root.OwnerDocument();
    int index = 0;
    for (QDomElement e = root.DOMElement().firstChildElement(QStringLiteral("Model")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("Model")), ++index) {
        const TXMLModelType model(document, e);
        const QString ref = model.Get_ref_num();
        if (addRefNum && !seen.contains(ref)) {
            seen.insert(ref);
            addRefNum(ref);
        }
        if (all || ref == filter)
            addRow(rowOf(model, index));
    }
}

namespace {
// Refuses a text that a settings file could not hold, naming where it comes from.
void checkStorable(const QString &text, int index, const QString &where)
{
    const QString reason = UnstorableTextReason(text);
    if (!reason.isEmpty())
        throw ECatalogueUnstorableText(QStringLiteral("model %1, %2: %3").arg(index).arg(where, reason));
}
} // namespace

void CopyModelToProfile(const IXMLModelSelectionType &root, int index, STRUCT_XML_FILE_VARIABLES &slot)
{
    const auto model = root.Get_Model(index);
    for (const auto &a : kCatalogueModelAttributes) {
        const TextField *field = findIdentityField(a.field);
        if (!field)
            throw std::logic_error(std::string("no profile field ") + a.field);
        const QString value = a.get(*model);
        checkStorable(value, index, QStringLiteral("attribute ") + QLatin1String(a.attribute));
        slot.*(field->field) = value;
    }

    const auto function = model->Get_Function();
    for (size_t i = 0; i < kCatalogueParameterElements.size(); ++i) {
        const auto &p = kCatalogueParameterElements[i];
        ParameterDescriptor &target = p.field.of(slot);
        ParameterDescriptor copied = target;
        try {
            p.copy(*function, copied);
        } catch (...) {
            target = copied; // the attributes read before the missing one stay written
            throw;
        }
        for (const auto &m : kDescriptorMembers)
            checkStorable(copied.*(m.field), index,
                          QStringLiteral("element %1, %2").arg(QLatin1String(p.element), QLatin1String(m.name)));
        target = copied;
        // The flags of a function follow the last element of its block.
        const bool lastOfBlock =
            i + 1 == kCatalogueParameterElements.size() || kCatalogueParameterElements[i + 1].block != p.block;
        if (lastOfBlock)
            setFlags(slot, p.block);
    }
}

int LoadModelDataFromXMLFile(const IXMLModelSelectionType *root, int slotIndex, int index)
{
    try {
        if (!root)
            throw ECatalogueError(QStringLiteral("no catalogue is open"));
        if (slotIndex < 0 || slotIndex >= kSlotCount)
            throw ECatalogueError(QStringLiteral("slot index %1 out of range").arg(slotIndex));
        CopyModelToProfile(*root, index, settingsVariablesField[slotIndex]);
    } catch (const ECatalogueUnstorableText &e) {
        dialogs().message(QStringLiteral("Error"), kCatalogueLoadModelMessage + QLatin1Char('\n') + e.message(),
                          MsgButtons::OK, MsgIcon::Error);
        return 1;
    } catch (const std::exception &) {
        dialogs().message(QStringLiteral("Error"), kCatalogueLoadModelMessage, MsgButtons::OK, MsgIcon::Error);
        return 1;
    }
    dialogs().message(QStringLiteral("Info"), kCatalogueModelLoadedMessage, MsgButtons::OK, MsgIcon::Information);
    return 0;
}
