#pragma once
// Typed access to the driver catalogue, an XML document of this shape:
//
//   <ModelSelection version="1">
//     <Model familyname=".." type=".." ref_num=".." gtin=".." programmer=".." fw=".." hw=".." serial="..">
//       <Function name="..">
//         <Current min=".." max=".." default=".." unit=".." address=".." size=".." step=".."
//                  factor=".." offset=".." convform=".."/>
//         ... the other ranged parameters (same attributes), in the parameter
//             table's order ...
//         <NTCType list=".." default=".." unit=".." address=".." size=".." step=".."
//                  factor=".." offset=".." convform=".."/>
//       </Function>
//     </Model>
//   </ModelSelection>
//
// One class per element type, each behind an interface of the same name with I in
// place of T. Attribute values pass as text, the root's version as an integer.
// The element and attribute names are listed once, in the tables below; the
// parameter classes, their getters and setters and the copying into the profile
// record are all generated from them.
//
// Reading an element or attribute that the document does not have throws
// ECatalogueError: a catalogue is expected to carry every element and attribute,
// and a model with holes must not load as a profile with empty addresses.

#include "profile/parameter_table.h"
#include "profile/profile_record.h"

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>

// A catalogue that cannot be read, parsed or bound, or an element or attribute the
// binding asks for that is not there. The text says which.
class ECatalogueError : public std::runtime_error {
public:
    explicit ECatalogueError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// ---- The tables ---------------------------------------------------------------
// Attribute lists: A(accessor suffix, attribute name, ParameterDescriptor member).
// A ranged parameter and a list parameter differ only in their first attributes.
#define TAVEL_CATALOGUE_RANGED_ATTRIBUTES(A)                                                     \
    A(min, "min", min)                                                                           \
    A(max, "max", max)                                                                           \
    TAVEL_CATALOGUE_SHARED_ATTRIBUTES(A)

#define TAVEL_CATALOGUE_LIST_ATTRIBUTES(A)                                                       \
    A(list, "list", list)                                                                        \
    TAVEL_CATALOGUE_SHARED_ATTRIBUTES(A)

#define TAVEL_CATALOGUE_SHARED_ATTRIBUTES(A)                                                     \
    A(default_, "default", defaultValue)                                                         \
    A(unit, "unit", unit)                                                                        \
    A(address, "address", address)                                                               \
    A(size, "size", size)                                                                        \
    A(step, "step", step)                                                                        \
    A(factor, "factor", factor)                                                                  \
    A(offset, "offset", offset)                                                                  \
    A(convform, "convform", convform)

// The parameter elements are the parameter table's TAVEL_PARAMETER_CATALOGUE_ELEMENTS:
// X(element name, class stem, attribute kind RANGED or LIST). Each gets its typed
// interface and class; the table also says which profile group an element fills, its
// place in a model and its function block. The attributes of an element kind:
#define TAVEL_CATALOGUE_ATTRIBUTES(kind, A) TAVEL_CATALOGUE_##kind##_ATTRIBUTES(A)

// Identity attributes of Model: I(accessor/attribute name, profile field name).
#define TAVEL_CATALOGUE_MODEL_ATTRIBUTES(I)                                                      \
    I(familyname, "familyName")                                                                  \
    I(type, "type")                                                                              \
    I(ref_num, "ref_number")                                                                     \
    I(gtin, "editGTIN")                                                                          \
    I(programmer, "programmer")                                                                  \
    I(fw, "editFW")                                                                              \
    I(hw, "editHW")                                                                              \
    I(serial, "editSerial")

// ---- Interfaces -------------------------------------------------------------------

class IXMLNode {
public:
    virtual ~IXMLNode() = default;
    virtual QDomElement DOMElement() const = 0;
    // The attribute's text; throws ECatalogueError when the element has no such attribute.
    virtual QString AttributeText(const QString &name) const = 0;
    virtual void SetAttributeText(const QString &name, const QString &value) = 0;
};

#define TAVEL_CATALOGUE_DECLARE_ATTRIBUTE(acc, xml, member)                                      \
    virtual QString Get_##acc() const = 0;                                                       \
    virtual void Set_##acc(const QString &value) = 0;

#define TAVEL_CATALOGUE_DECLARE_PARAMETER_INTERFACE(elem, stem, kind)                            \
    class IXML##stem##Type : public virtual IXMLNode {                                           \
    public:                                                                                      \
        TAVEL_CATALOGUE_ATTRIBUTES(kind, TAVEL_CATALOGUE_DECLARE_ATTRIBUTE)                      \
    };
TAVEL_PARAMETER_CATALOGUE_ELEMENTS(TAVEL_CATALOGUE_DECLARE_PARAMETER_INTERFACE)

class IXMLFunctionType : public virtual IXMLNode {
public:
    virtual QString Get_name() const = 0;
    virtual void Set_name(const QString &value) = 0;
#define TAVEL_CATALOGUE_DECLARE_PARAMETER_GETTER(elem, stem, kind)                               \
    virtual std::shared_ptr<IXML##stem##Type> Get_##elem() const = 0;
    TAVEL_PARAMETER_CATALOGUE_ELEMENTS(TAVEL_CATALOGUE_DECLARE_PARAMETER_GETTER)
#undef TAVEL_CATALOGUE_DECLARE_PARAMETER_GETTER
};

class IXMLModelType : public virtual IXMLNode {
public:
#define TAVEL_CATALOGUE_DECLARE_MODEL_ATTRIBUTE(acc, field)                                      \
    virtual QString Get_##acc() const = 0;                                                       \
    virtual void Set_##acc(const QString &value) = 0;
    TAVEL_CATALOGUE_MODEL_ATTRIBUTES(TAVEL_CATALOGUE_DECLARE_MODEL_ATTRIBUTE)
#undef TAVEL_CATALOGUE_DECLARE_MODEL_ATTRIBUTE
    // The first Function child; throws ECatalogueError when the model has none.
    virtual std::shared_ptr<IXMLFunctionType> Get_Function() const = 0;
};

class IXMLModelSelectionType : public virtual IXMLNode {
public:
    // Throws EConvertError when the text is not an integer, ECatalogueError when absent.
    virtual int Get_version() const = 0;
    virtual void Set_version(int value) = 0;
    // The number of Model children of the root.
    virtual int Get_Count() const = 0;
    // Model `index` (zero-based, among the Model children in document order);
    // throws ECatalogueError when out of range.
    virtual std::shared_ptr<IXMLModelType> Get_Model(int index) const = 0;
    // A new Model (with a Function holding the parameter elements, no
    // attributes yet) appended at the end / inserted before model `index`
    // (index == count appends).
    virtual std::shared_ptr<IXMLModelType> Add() = 0;
    virtual std::shared_ptr<IXMLModelType> Insert(int index) = 0;
    // The whole document as UTF-8 text with an XML declaration.
    virtual QByteArray XML() const = 0;
    virtual QDomDocument OwnerDocument() const = 0;
};

// ---- Implementation classes -----------------------------------------------------

// Holds the document (so that the node outlives whoever loaded it) and one element.
class TXMLNode : public virtual IXMLNode {
public:
    TXMLNode(QDomDocument document, QDomElement element);
    QDomElement DOMElement() const override { return element_; }
    QString AttributeText(const QString &name) const override;
    void SetAttributeText(const QString &name, const QString &value) override;
    const QStringList &RegisteredChildNodes() const { return childNames_; }

protected:
    // Names a child element type this element may hold; done by each class when it
    // is constructed. Child lookups accept only registered names.
    void RegisterChildNode(const QString &name) { childNames_.append(name); }
    // The first child element `name`; throws ECatalogueError when there is none.
    QDomElement ChildElement(const QString &name) const;

    QDomDocument document_;
    QDomElement element_;

private:
    QStringList childNames_;
};

#define TAVEL_CATALOGUE_IMPLEMENT_ATTRIBUTE(acc, xml, member)                                    \
    QString Get_##acc() const override { return AttributeText(QStringLiteral(xml)); }            \
    void Set_##acc(const QString &value) override { SetAttributeText(QStringLiteral(xml), value); }

#define TAVEL_CATALOGUE_DEFINE_PARAMETER_CLASS(elem, stem, kind)                                 \
    class TXML##stem##Type : public TXMLNode, public IXML##stem##Type {                          \
    public:                                                                                      \
        using TXMLNode::TXMLNode;                                                                \
        TAVEL_CATALOGUE_ATTRIBUTES(kind, TAVEL_CATALOGUE_IMPLEMENT_ATTRIBUTE)                    \
    };
TAVEL_PARAMETER_CATALOGUE_ELEMENTS(TAVEL_CATALOGUE_DEFINE_PARAMETER_CLASS)
#undef TAVEL_CATALOGUE_DEFINE_PARAMETER_CLASS

class TXMLFunctionType : public TXMLNode, public IXMLFunctionType {
public:
    TXMLFunctionType(QDomDocument document, QDomElement element);
    QString Get_name() const override { return AttributeText(QStringLiteral("name")); }
    void Set_name(const QString &value) override { SetAttributeText(QStringLiteral("name"), value); }
#define TAVEL_CATALOGUE_DECLARE_PARAMETER_GETTER(elem, stem, kind)                               \
    std::shared_ptr<IXML##stem##Type> Get_##elem() const override;
    TAVEL_PARAMETER_CATALOGUE_ELEMENTS(TAVEL_CATALOGUE_DECLARE_PARAMETER_GETTER)
#undef TAVEL_CATALOGUE_DECLARE_PARAMETER_GETTER
};

class TXMLModelType : public TXMLNode, public IXMLModelType {
public:
    TXMLModelType(QDomDocument document, QDomElement element);
#define TAVEL_CATALOGUE_IMPLEMENT_MODEL_ATTRIBUTE(acc, field)                                    \
    QString Get_##acc() const override { return AttributeText(QStringLiteral(#acc)); }           \
    void Set_##acc(const QString &value) override { SetAttributeText(QStringLiteral(#acc), value); }
    TAVEL_CATALOGUE_MODEL_ATTRIBUTES(TAVEL_CATALOGUE_IMPLEMENT_MODEL_ATTRIBUTE)
#undef TAVEL_CATALOGUE_IMPLEMENT_MODEL_ATTRIBUTE
    std::shared_ptr<IXMLFunctionType> Get_Function() const override;
};

class TXMLModelSelectionType : public TXMLNode, public IXMLModelSelectionType {
public:
    TXMLModelSelectionType(QDomDocument document, QDomElement element);
    int Get_version() const override;
    void Set_version(int value) override;
    int Get_Count() const override;
    std::shared_ptr<IXMLModelType> Get_Model(int index) const override;
    std::shared_ptr<IXMLModelType> Add() override;
    std::shared_ptr<IXMLModelType> Insert(int index) override;
    QByteArray XML() const override;
    QDomDocument OwnerDocument() const override { return document_; }

private:
    QDomElement NewModelElement();
};

// ---- Entry functions --------------------------------------------------------------

// The root of a loaded document; throws ECatalogueError when the root element is not
// ModelSelection.
std::shared_ptr<IXMLModelSelectionType> GetModelSelection(const QDomDocument &document);
// Reads, parses and binds a catalogue file (see ParseCatalogueDocument); throws
// ECatalogueError.
std::shared_ptr<IXMLModelSelectionType> LoadModelSelection(const QString &fileName);
// A new document holding an empty ModelSelection root.
std::shared_ptr<IXMLModelSelectionType> NewModelSelection();

// The largest catalogue file that is read (16 MiB, several thousand models).
constexpr qint64 kCatalogueMaxFileSize = 16 * 1024 * 1024;

// Limits on a catalogue's shape, far above any real catalogue (which nests four
// deep, has ten attributes on an element and about seventeen elements per model).
constexpr int kCatalogueMaxDepth = 32;
constexpr int kCatalogueMaxAttributes = 64;
constexpr qint64 kCatalogueMaxElements = 100000;

// Parses catalogue text. Refuses (ECatalogueError) anything larger than
// kCatalogueMaxFileSize, a document beyond the shape limits above, any document with a document type declaration (a catalogue
// needs none, and refusing it means no entity is ever declared, expanded or fetched),
// malformed XML and an empty text.
QDomDocument ParseCatalogueDocument(const QByteArray &text);
// Reads the file (at most kCatalogueMaxFileSize + 1 bytes) and parses it.
QDomDocument ReadCatalogueDocument(const QString &fileName);

// ---- The element table as data -------------------------------------------------------

// The enable/availability flag pair an element belongs to.
using CatalogueFunctionBlock = ParameterBlock;

struct CatalogueParameterElement {
    const char *element;   // "Current"
    const char *group;     // profile group, "current"
    DescriptorRef field;   // where that group lives in a profile record
    CatalogueFunctionBlock block;
    // Copies the element's attributes (read through the typed getters) into the
    // descriptor; throws ECatalogueError for a missing element or attribute.
    void (*copy)(const IXMLFunctionType &function, ParameterDescriptor &descriptor);
};
// The parameter elements in record order (the parameter table's order).
extern const std::array<CatalogueParameterElement, kParameterGroupCount> kCatalogueParameterElements;

struct CatalogueModelAttribute {
    const char *attribute; // "gtin"
    const char *field;     // profile field, "editGTIN"
    QString (*get)(const IXMLModelType &model);
};
// The eight identity attributes in the order they are loaded.
extern const std::array<CatalogueModelAttribute, 8> kCatalogueModelAttributes;
