// Fuzz target: the catalogue loader, the model list and the copy of each model into
// a profile slot with its programming data.
#include "fuzz_targets.h"

#include "profile/catalogue.h"
#include "profile/profile_defaults.h"
#include "programming/programming_data.h"

#include <QByteArray>

int FuzzCatalogueLoader(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    std::shared_ptr<IXMLModelSelectionType> root;
    try {
        root = GetModelSelection(ParseCatalogueDocument(bytes));
        ListCatalogueModels(*root, kCatalogueAllFilter, [](const CatalogueRow &) {}, [](const QString &) {});
    } catch (const std::exception &) {
        return 0; // refused with a message
    }
    const int count = std::min(root->Get_Count(), 64);
    for (int i = 0; i < count; ++i) {
        STRUCT_XML_FILE_VARIABLES slot;
        ApplyDefaultProfile(slot);
        QStringList items;
        try {
            CopyModelToProfile(*root, i, slot);
            GenerateProgrammingData(slot, DcLevelActiveForSlot(slot), items);
        } catch (const std::exception &) {
        }
    }
    return 0;
}
