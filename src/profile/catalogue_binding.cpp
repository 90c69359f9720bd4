#include "profile/catalogue_binding.h"

#include "common/convert.h"

#include <QFile>
#include <QXmlStreamReader>
#include <algorithm>
#include <iterator>
#include <utility>

namespace {
const QString kRootName = QStringLiteral("ModelSelection");
const QString kModelName = QStringLiteral("Model");
const QString kFunctionName = QStringLiteral("Function");
} // namespace

// ---- TXMLNode -------------------------------------------------------------------------

TXMLNode::TXMLNode(QDomDocument document, QDomElement element)
    : document_(std::move(document)), element_(std::move(element))
{
}

QString TXMLNode::AttributeText(const QString &name) const
{
    if (!element_.hasAttribute(name))
        throw ECatalogueError(QStringLiteral("attribute '%1' missing in element '%2' (line %3)")
                                  .arg(name, element_.tagName())
                                  .arg(element_.lineNumber()));
    return element_.attribute(name);
}

void TXMLNode::SetAttributeText(const QString &name, const QString &value)
{
    element_.setAttribute(name, value);
}

QDomElement TXMLNode::ChildElement(const QString &name) const
{
    if (!childNames_.contains(name))
        throw std::logic_error("child element '" + name.toStdString() + "' not registered for '" +
                               element_.tagName().toStdString() + "'");
    const QDomElement child = element_.firstChildElement(name);
    if (child.isNull())
        throw ECatalogueError(QStringLiteral("element '%1' missing in element '%2' (line %3)")
                                  .arg(name, element_.tagName())
                                  .arg(element_.lineNumber()));
    return child;
}

// ---- TXMLFunctionType ------------------------------------------------------------------

TXMLFunctionType::TXMLFunctionType(QDomDocument document, QDomElement element)
    : TXMLNode(std::move(document), std::move(element))
{
#define TAVEL_REGISTER(elem, stem, kind) RegisterChildNode(QStringLiteral(#elem));
    TAVEL_PARAMETER_CATALOGUE_ELEMENTS(TAVEL_REGISTER)
#undef TAVEL_REGISTER
}

#define TAVEL_DEFINE_PARAMETER_GETTER(elem, stem, kind)                                          \
    std::shared_ptr<IXML##stem##Type> TXMLFunctionType::Get_##elem() const                       \
    {                                                                                            \
        return std::make_shared<TXML##stem##Type>(document_, ChildElement(QStringLiteral(#elem))); \
    }
TAVEL_PARAMETER_CATALOGUE_ELEMENTS(TAVEL_DEFINE_PARAMETER_GETTER)
#undef TAVEL_DEFINE_PARAMETER_GETTER

// ---- TXMLModelType ---------------------------------------------------------------------

TXMLModelType::TXMLModelType(QDomDocument document, QDomElement element)
    : TXMLNode(std::move(document), std::move(element))
{
    RegisterChildNode(kFunctionName);
}

std::shared_ptr<IXMLFunctionType> TXMLModelType::Get_Function() const
{
    return std::make_shared<TXMLFunctionType>(document_, ChildElement(kFunctionName));
}

// ---- TXMLModelSelectionType ------------------------------------------------------------

TXMLModelSelectionType::TXMLModelSelectionType(QDomDocument document, QDomElement element)
    : TXMLNode(std::move(document), std::move(element))
{
    RegisterChildNode(kModelName);
}

int TXMLModelSelectionType::Get_version() const
{
    return StrToInt(AttributeText(QStringLiteral("version")));
}

void TXMLModelSelectionType::Set_version(int value)
{
    SetAttributeText(QStringLiteral("version"), QString::number(value));
}

int TXMLModelSelectionType::Get_Count() const
{
    int count = 0;
    for (QDomElement e = element_.firstChildElement(kModelName); !e.isNull();
         e = e.nextSiblingElement(kModelName))
        ++count;
    return count;
}

std::shared_ptr<IXMLModelType> TXMLModelSelectionType::Get_Model(int index) const
{
    if (index >= 0) {
        int i = 0;
        for (QDomElement e = element_.firstChildElement(kModelName); !e.isNull();
             e = e.nextSiblingElement(kModelName), ++i)
            if (i == index)
                return std::make_shared<TXMLModelType>(document_, e);
    }
    throw ECatalogueError(QStringLiteral("model index %1 out of range (%2 models)").arg(index).arg(Get_Count()));
}

QDomElement TXMLModelSelectionType::NewModelElement()
{
    QDomElement model = document_.createElement(kModelName);
    QDomElement function = document_.createElement(kFunctionName);
    model.appendChild(function);
    for (const auto &p : kCatalogueParameterElements)
        function.appendChild(document_.createElement(QString::fromLatin1(p.element)));
    return model;
}

std::shared_ptr<IXMLModelType> TXMLModelSelectionType::Add()
{
    QDomElement model = NewModelElement();
    element_.appendChild(model);
    return std::make_shared<TXMLModelType>(document_, model);
}

std::shared_ptr<IXMLModelType> TXMLModelSelectionType::Insert(int index)
{
    const int count = Get_Count();
    if (index < 0 || index > count)
        throw ECatalogueError(QStringLiteral("insert position %1 out of range (%2 models)").arg(index).arg(count));
    if (index == count)
        return Add();
    QDomElement before = Get_Model(index)->DOMElement();
    QDomElement model = NewModelElement();
    element_.insertBefore(model, before);
    return std::make_shared<TXMLModelType>(document_, model);
}

QByteArray TXMLModelSelectionType::XML() const
{
    QByteArray text = document_.toByteArray(2);
    if (!text.startsWith("<?xml"))
        text.prepend("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    return text;
}

// ---- Entry functions -----------------------------------------------------------------------

std::shared_ptr<IXMLModelSelectionType> GetModelSelection(const QDomDocument &document)
{
    const QDomElement root = document.documentElement();
    if (root.isNull())
        throw ECatalogueError(QStringLiteral("the document has no root element"));
    if (root.tagName() != kRootName)
        throw ECatalogueError(
            QStringLiteral("root element is '%1', expected '%2'").arg(root.tagName(), kRootName));
    return std::make_shared<TXMLModelSelectionType>(document, root);
}

namespace {
// Counts elements and the attributes of each element on the bytes, before any XML
// reader sees them: the readers check each attribute against all before it, so an
// element with very many would take minutes before any of them could count. Returns
// what exceeds a limit, with its line, or an empty text.
QString elementCountProblem(const QByteArray &text)
{
    const qsizetype n = text.size();
    const char *t = text.constData();
    auto skipPast = [&](qsizetype from, const char *end) {
        const qsizetype at = text.indexOf(end, from);
        return at < 0 ? n : at + qsizetype(qstrlen(end));
    };
    auto at = [&](qsizetype i, const char *markup) { return QByteArrayView(t + i, n - i).startsWith(markup); };
    qint64 elements = 0;
    qsizetype i = 0;
    while ((i = text.indexOf('<', i)) >= 0) {
        if (at(i, "<!--")) {
            i = skipPast(i + 4, "-->");
        } else if (at(i, "<![CDATA[")) {
            i = skipPast(i + 9, "]]>");
        } else if (i + 1 < n && (t[i + 1] == '?' || t[i + 1] == '!')) {
            i = skipPast(i + 2, ">");
        } else {
            // A tag: every "=" outside quoted values starts one attribute value.
            const qsizetype start = i;
            auto problem = [&](const QString &what) {
                return QStringLiteral("%1 (line %2)").arg(what).arg(text.left(start).count('\n') + 1);
            };
            if (i + 1 < n && t[i + 1] != '/' && ++elements > kCatalogueMaxElements)
                return problem(QStringLiteral("the catalogue has more than %1 elements").arg(kCatalogueMaxElements));
            int attributes = 0;
            char quote = 0;
            for (++i; i < n; ++i) {
                const char c = t[i];
                if (quote) {
                    if (c == quote)
                        quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '=') {
                    if (++attributes > kCatalogueMaxAttributes)
                        return problem(
                            QStringLiteral("an element has more than %1 attributes").arg(kCatalogueMaxAttributes));
                } else if (c == '>') {
                    break;
                }
            }
        }
    }
    return {};
}
} // namespace

QDomDocument ParseCatalogueDocument(const QByteArray &text)
{
    if (text.size() > kCatalogueMaxFileSize)
        throw ECatalogueError(QStringLiteral("the catalogue is larger than %1 bytes").arg(kCatalogueMaxFileSize));
    if (text.trimmed().isEmpty())
        throw ECatalogueError(QStringLiteral("the catalogue is empty"));

    // One streaming pass checks the document before a tree is built: a catalogue has
    // no document type declaration (refusing one means no entity is declared, so
    // nothing can be expanded and nothing outside the file is referred to), and its
    // shape stays within limits far above any real catalogue, since building the
    // tree takes time that grows with the square of the nesting depth and of the
    // attributes of one element.
    if (const QString problem = elementCountProblem(text); !problem.isEmpty())
        throw ECatalogueError(problem);
    {
        QXmlStreamReader scan(text);
        scan.setNamespaceProcessing(false); // as the tree is built
        int depth = 0;
        auto refuse = [&scan](const QString &what) {
            throw ECatalogueError(QStringLiteral("%1 (line %2)").arg(what).arg(scan.lineNumber()));
        };
        while (!scan.atEnd()) {
            const auto token = scan.readNext();
            if (token == QXmlStreamReader::DTD)
                refuse(QStringLiteral("document type declarations are not accepted"));
            if (token == QXmlStreamReader::StartElement) {
                if (++depth > kCatalogueMaxDepth)
                    refuse(QStringLiteral("elements are nested more than %1 deep").arg(kCatalogueMaxDepth));
            } else if (token == QXmlStreamReader::EndElement) {
                --depth;
            }
        }
        if (scan.hasError())
            throw ECatalogueError(QStringLiteral("malformed XML, line %1, column %2: %3")
                                      .arg(scan.lineNumber())
                                      .arg(scan.columnNumber())
                                      .arg(scan.errorString()));
    }

    QDomDocument document;
    QString error;
    int line = 0;
    int column = 0;
    if (!document.setContent(text, false, &error, &line, &column))
        throw ECatalogueError(QStringLiteral("malformed XML, line %1, column %2: %3").arg(line).arg(column).arg(error));
    return document;
}

QDomDocument ReadCatalogueDocument(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw ECatalogueError(QStringLiteral("cannot read '%1': %2").arg(fileName, file.errorString()));
    const QByteArray text = file.read(kCatalogueMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw ECatalogueError(QStringLiteral("cannot read '%1': %2").arg(fileName, file.errorString()));
    return ParseCatalogueDocument(text);
}

std::shared_ptr<IXMLModelSelectionType> LoadModelSelection(const QString &fileName)
{
    return GetModelSelection(ReadCatalogueDocument(fileName));
}

std::shared_ptr<IXMLModelSelectionType> NewModelSelection()
{
    QDomDocument document;
    document.appendChild(
        document.createProcessingInstruction(QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    document.appendChild(document.createElement(kRootName));
    return GetModelSelection(document);
}

// ---- The element table as data ------------------------------------------------------------

namespace {

struct ElementCopy {
    const char *element;
    void (*copy)(const IXMLFunctionType &function, ParameterDescriptor &descriptor);
};

#define TAVEL_COPY_ATTRIBUTE(acc, xml, member) descriptor.member = element->Get_##acc();
#define TAVEL_ELEMENT_COPY(elem, stem, kind)                                                     \
    ElementCopy{#elem, [](const IXMLFunctionType &function, ParameterDescriptor &descriptor) {   \
                    const auto element = function.Get_##elem();                                  \
                    TAVEL_CATALOGUE_ATTRIBUTES(kind, TAVEL_COPY_ATTRIBUTE)                       \
                }},
const ElementCopy kElementCopies[] = {TAVEL_PARAMETER_CATALOGUE_ELEMENTS(TAVEL_ELEMENT_COPY)};
#undef TAVEL_ELEMENT_COPY
#undef TAVEL_COPY_ATTRIBUTE

// Each group of the parameter table with the typed copy of its element; the table
// checks that its element list is in its own order.
template <size_t... I>
std::array<CatalogueParameterElement, kParameterGroupCount> bindElements(std::index_sequence<I...>)
{
    static_assert(std::size(kElementCopies) == kParameterGroupCount, "one catalogue element per parameter group");
    return {{CatalogueParameterElement{kElementCopies[I].element, kParameterGroups[I].name, kParameterGroups[I].field,
                                       kParameterGroups[I].block, kElementCopies[I].copy}...}};
}

} // namespace

const std::array<CatalogueParameterElement, kParameterGroupCount> kCatalogueParameterElements =
    bindElements(std::make_index_sequence<kParameterGroupCount>());

#define TAVEL_MODEL_ENTRY(acc, field)                                                            \
    CatalogueModelAttribute{#acc, field, [](const IXMLModelType &model) { return model.Get_##acc(); }},
const std::array<CatalogueModelAttribute, 8> kCatalogueModelAttributes = {
    {TAVEL_CATALOGUE_MODEL_ATTRIBUTES(TAVEL_MODEL_ENTRY)}};
#undef TAVEL_MODEL_ENTRY
