// Catalogues whose shape would make building the document tree take minutes are
// refused by a streaming check first; catalogues at the limits still load.
#include "hostile_catalogues.h"
#include "catalogue_fixture.h"
#include "profile/catalogue.h"
#include "profile/catalogue_binding.h"
#include "profile/profile_defaults.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

TEST(CatalogueLimits, HostileShapesAreRefusedWithAMessage)
{
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {NestedCatalogue(40000), "elements are nested more than 32 deep"},
        {NestedCatalogue(200000), "the catalogue has more than 100000 elements"},
        {NestedCatalogue(32), "elements are nested more than 32 deep"}, // with the root, 33 deep
        {ManyAttributesCatalogue(160000), "an element has more than 64 attributes"},
        {ManyAttributesCatalogue(65), "an element has more than 64 attributes"},
        {ManyElementsCatalogue(100000), "the catalogue has more than 100000 elements"},
        {"<ModelSelection><!DOCTYPE x></ModelSelection>", "document type declarations are not accepted"},
        {"<ModelSelection><Model a=\"1\"></ModelSelection>", "malformed XML"},
        {"<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY e \"x\">]><ModelSelection/>",
         "document type declarations are not accepted"},
    };
    for (const auto &[text, message] : cases) {
        try {
            ParseCatalogueDocument(text);
            ADD_FAILURE() << "accepted: " << text.left(60).toStdString();
        } catch (const ECatalogueError &e) {
            EXPECT_TRUE(e.message().contains(message)) << e.what() << " / expected " << message.toStdString();
        }
    }
}

TEST(CatalogueLimits, ShapesAtTheLimitsLoad)
{
    // Quoted "=" and ">" and markup that is no element do not count as attributes.
    QByteArray quoted = "<ModelSelection><!-- <a b=c d=e> --><Model";
    for (int i = 0; i < 64; ++i)
        quoted += " a" + QByteArray::number(i) + "='x=y>z'";
    quoted += "><![CDATA[<m a=1 b=2>]]></Model></ModelSelection>";
    for (const QByteArray &text :
         {NestedCatalogue(31), ManyAttributesCatalogue(64), ManyElementsCatalogue(99999), quoted}) {
        std::shared_ptr<IXMLModelSelectionType> root;
        EXPECT_NO_THROW(root = GetModelSelection(ParseCatalogueDocument(text))) << text.left(60).toStdString();
        ASSERT_TRUE(root);
        EXPECT_GE(root->Get_Count(), 1);
    }
}

// A model text that a settings file could not hold is refused before it is written,
// with a message that names it; the slot keeps what it held.
TEST(CatalogueLimits, AModelTextTheSettingsFileCannotHoldIsRefusedNamingIt)
{
    auto root = catalogue_test::makeNumericCatalogue({"A", "B"});
    root->Get_Model(1)->Set_type("LC\tNFC");
    ScriptedDialogs dialogs;
    LoadDefaultProfileIntoSlots();
    const QString typeBefore = settingsVariablesField[2].type;
    EXPECT_EQ(LoadModelDataFromXMLFile(root.get(), 2, 1), 1);
    EXPECT_EQ(dialogs.texts(), QStringList{"problem during load Model Data from XML File\nmodel 1, attribute type: "
                                           "it holds a line break or another control character"});
    EXPECT_EQ(settingsVariablesField[2].type, typeBefore) << "the refused text is not written";
    dialogs.clear();
    EXPECT_EQ(LoadModelDataFromXMLFile(root.get(), 2, 0), 0);
    EXPECT_EQ(dialogs.texts(), QStringList{"Selected driver was loaded"});
    LoadDefaultProfileIntoSlots();
}
