#pragma once
// The driver catalogue as the program uses it: listing its models, filtering by
// reference number and loading one model into a profile slot. The "Driver select"
// window and the command line share this code, so a model loads the same way in both.

#include "profile/catalogue_binding.h"
#include "profile/profile_record.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// Message texts.
inline const QString kCatalogueFormatMessage = QStringLiteral("wrong format of data in XML file");
inline const QString kCatalogueLoadModelMessage = QStringLiteral("problem during load Model Data from XML File");
inline const QString kCatalogueModelLoadedMessage = QStringLiteral("Selected driver was loaded");
inline const QString kCatalogueNoSelectionMessage = QStringLiteral("No selected driver");
inline const QString kCatalogueFileName = QStringLiteral("nfc_model.xml");
// The combo entry that lists every model.
inline const QString kCatalogueAllFilter = QStringLiteral("All");

// The folder the default catalogue is looked for in: the running program's folder
// unless a test has set another one.
QString CatalogueProgramDir();
void SetCatalogueProgramDirForTesting(const QString &dir); // empty: the program's folder
// nfc_model.xml beside the program (CatalogueProgramDir()), else in the installed data folder.
QString DefaultCataloguePath();

// The current catalogue path: the catalogue most recently opened by path (the default
// file or a recently-used entry). Empty at start; not changed when a catalogue is
// chosen through the file dialog.
QString &CurrentCataloguePath();

// One list row of the "Driver select" window.
struct CatalogueRow {
    int index = -1; // catalogue index: zero-based position among the Model elements
    QString ref_num, familyname, type, gtin, programmer, fw, hw, serial;

    // The nine columns: "Ref.-No.", "FamilyName", "type", "gtin", "programmer", "fw",
    // "hw", "serial", "xmlDriverIndex".
    QStringList columns() const;
};
// The nine column titles.
const QStringList &CatalogueColumnTitles();

// Reads model `index`'s identity attributes; throws ECatalogueError.
CatalogueRow ReadCatalogueRow(const IXMLModelSelectionType &root, int index);

// Walks the models in document order. For every model whose ref_num equals `filter`
// (every model when `filter` is "All") calls addRow; when addRefNum is set, calls it
// for each reference number not seen before, before that model's row (so the filter
// combo lists each distinct number once, in order of first appearance). Throws
// ECatalogueError on the first model that cannot be read; the callbacks made until
// then stay made.
void ListCatalogueModels(const IXMLModelSelectionType &root, const QString &filter,
                         const std::function<void(const CatalogueRow &)> &addRow,
                         const std::function<void(const QString &)> &addRefNum = {});

// A model text that a settings file could not hold (a line break or another control
// character, a blank at either end); the message names the model, the attribute and
// the reason.
class ECatalogueUnstorableText : public ECatalogueError {
public:
    using ECatalogueError::ECatalogueError;
};

// Copies model `index` into `slot`, every value as text, in this order: the identity
// texts; then the parameter groups in the parameter table's order, the flags of a
// function block (its adjust-enable flag, then its availability = 1) after the last
// group of that block. Nothing is converted.
// Throws ECatalogueError at the first element or attribute that is missing, and
// ECatalogueUnstorableText (before writing it) at the first text that a settings
// file could not hold; what was written before stays written.
void CopyModelToProfile(const IXMLModelSelectionType &root, int index, STRUCT_XML_FILE_VARIABLES &slot);

// The window's load of one model into process-wide slot `slotIndex` (zero-based):
// CopyModelToProfile, then "Selected driver was loaded" ("Info") and 0; on failure
// "problem during load Model Data from XML File" ("Error") and 1; for a text that
// cannot be stored, a second line of the message names it. A null root (no
// catalogue open) counts as a failure. Messages go through dialogs().
int LoadModelDataFromXMLFile(const IXMLModelSelectionType *root, int slotIndex, int index);
