#pragma once
// Catalogues for the tests, built through the typed binding itself. Every attribute of
// a complete model gets a text that names where it came from ("Current.min",
// "NTCType.list", "m0.familyname"), so a value landing in the wrong member shows.

#include "profile/catalogue_binding.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace catalogue_test {

inline QStringList parameterAttributes(const QString &element)
{
    if (element == QLatin1String("NTCType"))
        return {"list", "default", "unit", "address", "size", "step", "factor", "offset", "convform"};
    return {"min", "max", "default", "unit", "address", "size", "step", "factor", "offset", "convform"};
}

// Fills `model` completely: identity attributes "<tag>.<attr>", parameter attributes
// "<Element>.<attr>" (prefixed with the tag too when `tagParameters` is set).
inline void fillModel(IXMLModelType &model, const QString &tag, const QString &refNum, bool tagParameters = false)
{
    model.Set_familyname(tag + ".familyname");
    model.Set_type(tag + ".type");
    model.Set_ref_num(refNum);
    model.Set_gtin(tag + ".gtin");
    model.Set_programmer(tag + ".programmer");
    model.Set_fw(tag + ".fw");
    model.Set_hw(tag + ".hw");
    model.Set_serial(tag + ".serial");
    const auto function = model.Get_Function();
    function->Set_name("NFC");
    QDomElement f = function->DOMElement();
    for (const auto &p : kCatalogueParameterElements) {
        const QString element = QString::fromLatin1(p.element);
        QDomElement e = f.firstChildElement(element);
        for (const QString &a : parameterAttributes(element))
            e.setAttribute(a, (tagParameters ? tag + "." : QString()) + element + "." + a);
    }
}

// A catalogue with one complete model per reference number given.
inline std::shared_ptr<IXMLModelSelectionType> makeCatalogue(const QStringList &refNums, bool tagParameters = false)
{
    auto root = NewModelSelection();
    root->Set_version(1);
    for (int i = 0; i < refNums.size(); ++i)
        fillModel(*root->Add(), QStringLiteral("m%1").arg(i), refNums[i], tagParameters);
    return root;
}

// The same with every parameter attribute a distinct decimal number (as the settings
// file needs for the DC values): model m, element e, attribute a gives m*10000+e*100+a.
inline std::shared_ptr<IXMLModelSelectionType> makeNumericCatalogue(const QStringList &refNums)
{
    auto root = makeCatalogue(refNums);
    for (int m = 0; m < refNums.size(); ++m) {
        QDomElement f = root->Get_Model(m)->Get_Function()->DOMElement();
        int e = 0;
        for (QDomElement p = f.firstChildElement(); !p.isNull(); p = p.nextSiblingElement(), ++e) {
            const QDomNamedNodeMap attrs = p.attributes();
            for (int a = 0; a < attrs.count(); ++a)
                p.setAttribute(attrs.item(a).nodeName(), QString::number(m * 10000 + e * 100 + a));
        }
    }
    return root;
}

inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
        throw std::runtime_error("cannot write test file");
    return path;
}

} // namespace catalogue_test
