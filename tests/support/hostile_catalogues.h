#pragma once
// Catalogues built to be hard on a loader: deep nesting, many attributes on one
// element, very many elements. Shared by the catalogue tests and the catalogue
// load benchmark.

#include <QByteArray>
#include <QString>
#include <vector>

struct HostileCatalogue {
    const char *name;
    QByteArray text;
};

// <ModelSelection> holding `depth` nested <Model> elements.
inline QByteArray NestedCatalogue(int depth)
{
    QByteArray t = "<ModelSelection version=\"1\">";
    t.reserve(depth * 16 + 64);
    for (int i = 0; i < depth; ++i)
        t += "<Model>";
    for (int i = 0; i < depth; ++i)
        t += "</Model>";
    return t + "</ModelSelection>";
}

// One <Model> with `count` distinct attributes.
inline QByteArray ManyAttributesCatalogue(int count)
{
    QByteArray t = "<ModelSelection version=\"1\"><Model";
    for (int i = 0; i < count; ++i)
        t += " a" + QByteArray::number(i) + "=\"\"";
    return t + "/></ModelSelection>";
}

// `count` empty <Model/> elements side by side.
inline QByteArray ManyElementsCatalogue(int count)
{
    QByteArray t = "<ModelSelection version=\"1\">";
    for (int i = 0; i < count; ++i)
        t += "<Model/>";
    return t + "</ModelSelection>";
}

// The catalogues that hung the loader, and one as large as the size cap allows.
inline std::vector<HostileCatalogue> HostileCatalogues()
{
    return {{"40,000 nested elements", NestedCatalogue(40000)},
            {"200,000 nested elements", NestedCatalogue(200000)},
            {"160,000 attributes on one element", ManyAttributesCatalogue(160000)},
            {"2,000,000 elements side by side (16 MB)", ManyElementsCatalogue(2000000)},
            {"99,999 elements side by side (the limit)", ManyElementsCatalogue(99999)}};
}
