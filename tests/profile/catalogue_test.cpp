#include "catalogue_fixture.h"

#include "common/convert.h"
#include "default_profiles.h"
#include "profile/catalogue.h"
#include "profile/profile_defaults.h"
#include "programming/programming_data.h"
#include "scripted_dialogs.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace catalogue_test;

// ---- The binding ---------------------------------------------------------------------

TEST(CatalogueBinding, ElementTableFollowsTheRecordGroupsInOrder)
{
    ASSERT_EQ(kCatalogueParameterElements.size(), kParameterGroups.size());
    for (size_t i = 0; i < kParameterGroups.size(); ++i) {
        EXPECT_STREQ(kCatalogueParameterElements[i].group, kParameterGroups[i].name) << i;
        EXPECT_NE(ParameterGroupNamed(QString::fromLatin1(kCatalogueParameterElements[i].group)), nullptr);
    }
}

TEST(CatalogueBinding, AttributesRoundTripThroughTheDocumentText)
{
    auto root = makeCatalogue({"R1", "R2"});
    auto reread = GetModelSelection(ParseCatalogueDocument(root->XML()));
    EXPECT_EQ(reread->Get_version(), 1);
    ASSERT_EQ(reread->Get_Count(), 2);
    const auto m1 = reread->Get_Model(1);
    EXPECT_EQ(m1->Get_familyname(), "m1.familyname");
    EXPECT_EQ(m1->Get_ref_num(), "R2");
    EXPECT_EQ(m1->Get_serial(), "m1.serial");
    const auto f = m1->Get_Function();
    EXPECT_EQ(f->Get_name(), "NFC");
    EXPECT_EQ(f->Get_Current()->Get_default_(), "Current.default");
    EXPECT_EQ(f->Get_DCLevel()->Get_convform(), "DCLevel.convform");
    EXPECT_EQ(f->Get_NTCType()->Get_list(), "NTCType.list");
    EXPECT_EQ(f->Get_Level3()->Get_address(), "Level3.address");

    f->Get_Temp2()->Set_default_("81");
    EXPECT_EQ(f->Get_Temp2()->Get_default_(), "81");
    EXPECT_EQ(f->Get_Temp2()->DOMElement().attribute("default"), "81");
}

TEST(CatalogueBinding, AddAndInsertKeepDocumentOrder)
{
    auto root = NewModelSelection();
    EXPECT_EQ(root->Get_Count(), 0);
    root->Add()->Set_ref_num("B");
    root->Insert(0)->Set_ref_num("A");
    root->Insert(2)->Set_ref_num("C");
    root->Insert(1)->Set_ref_num("AB");
    ASSERT_EQ(root->Get_Count(), 4);
    QStringList order;
    for (int i = 0; i < root->Get_Count(); ++i)
        order << root->Get_Model(i)->Get_ref_num();
    EXPECT_EQ(order, QStringList({"A", "AB", "B", "C"}));
    EXPECT_THROW(root->Insert(6), ECatalogueError);
    EXPECT_THROW(root->Get_Model(4), ECatalogueError);
    EXPECT_THROW(root->Get_Model(-1), ECatalogueError);
    // A new model carries its Function with the fifteen parameter elements.
    EXPECT_NO_THROW(root->Get_Model(0)->Get_Function()->Get_NTCType());
}

TEST(CatalogueBinding, ModelsAreCountedAmongModelElementsOnly)
{
    const QByteArray xml = R"(<ModelSelection version="3"><Note/><Model ref_num="x"/><!-- c --><Other/>
        <Model ref_num="y"/></ModelSelection>)";
    auto root = GetModelSelection(ParseCatalogueDocument(xml));
    EXPECT_EQ(root->Get_version(), 3);
    ASSERT_EQ(root->Get_Count(), 2);
    EXPECT_EQ(root->Get_Model(1)->Get_ref_num(), "y");
}

TEST(CatalogueBinding, MissingPiecesAndBadVersionThrow)
{
    auto root = GetModelSelection(ParseCatalogueDocument(R"(<ModelSelection version="v2"><Model/></ModelSelection>)"));
    EXPECT_THROW(root->Get_version(), EConvertError);
    EXPECT_THROW(root->Get_Model(0)->Get_type(), ECatalogueError);
    EXPECT_THROW(root->Get_Model(0)->Get_Function(), ECatalogueError);
    auto noVersion = GetModelSelection(ParseCatalogueDocument("<ModelSelection/>"));
    EXPECT_THROW(noVersion->Get_version(), ECatalogueError);
}

// ---- Bad catalogues ---------------------------------------------------------------

struct BadCatalogue {
    const char *name;
    QByteArray content;
    const char *reason; // part of the error text
};

class BadCatalogueFile : public ::testing::TestWithParam<BadCatalogue> {};

TEST_P(BadCatalogueFile, IsRefusedWithoutCrashOrHang)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "c.xml", GetParam().content);
    // A file that would expand without end hangs here, and the test's time-out reports it.
    try {
        LoadModelSelection(path);
        ADD_FAILURE() << "accepted";
    } catch (const ECatalogueError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String(GetParam().reason))) << e.what();
    }
}

static QByteArray entityBomb()
{
    QByteArray x = "<?xml version=\"1.0\"?>\n<!DOCTYPE ModelSelection [\n<!ENTITY a \"aaaaaaaaaaaaaaaaaaaa\">\n";
    char prev = 'a';
    for (char c = 'b'; c <= 'k'; ++c) {
        x += QByteArray("<!ENTITY ") + c + " \"";
        for (int i = 0; i < 10; ++i)
            x += QByteArray("&") + prev + ";";
        x += "\">\n";
        prev = c;
    }
    x += "]>\n<ModelSelection version=\"1\"><Model familyname=\"&k;\"/></ModelSelection>\n";
    return x;
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, BadCatalogueFile,
    ::testing::Values(
        BadCatalogue{"empty", "", "empty"}, BadCatalogue{"blank", " \n\t ", "empty"},
        BadCatalogue{"malformed", "<ModelSelection><Model></ModelSelection>", "malformed"},
        BadCatalogue{"not_xml", "familyname;type;ref_num\nA;B;C\n", "malformed"},
        BadCatalogue{"wrong_root", "<Catalogue version=\"1\"><Model/></Catalogue>", "root element"},
        BadCatalogue{"truncated", "<ModelSelection version=\"1\"><Model familyname=\"A", "malformed"},
        BadCatalogue{"undeclared_entity", "<ModelSelection><Model familyname=\"&x;\"/></ModelSelection>", "malformed"},
        BadCatalogue{"entity_bomb", entityBomb(), "document type"},
        BadCatalogue{"external_entity",
                     "<!DOCTYPE ModelSelection [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                     "<ModelSelection><Model familyname=\"&e;\"/></ModelSelection>", "document type"},
        BadCatalogue{"external_dtd",
                     "<!DOCTYPE ModelSelection SYSTEM \"http://127.0.0.1:9/catalogue.dtd\">"
                     "<ModelSelection/>", "document type"},
        BadCatalogue{"too_large", QByteArray("<ModelSelection>") +
                                      QByteArray(kCatalogueMaxFileSize, ' ') + "</ModelSelection>", "larger than"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CatalogueFile, MissingFileAndFolderAreRefused)
{
    QTemporaryDir dir;
    EXPECT_THROW(LoadModelSelection(dir.filePath("absent.xml")), ECatalogueError);
    EXPECT_THROW(LoadModelSelection(dir.path()), ECatalogueError);
}

TEST(CatalogueFile, LargeCatalogueBelowTheCapLoads)
{
    // 1000 models (about 2 MB), made by repeating one model's text.
    QByteArray one = makeCatalogue({"R"})->XML();
    one = one.mid(one.indexOf("<Model "));
    one.truncate(one.lastIndexOf("</ModelSelection>"));
    QByteArray xml = "<ModelSelection version=\"1\">\n";
    for (int i = 0; i < 1000; ++i)
        xml += QByteArray(one).replace("ref_num=\"R\"", "ref_num=\"" + QByteArray::number(i % 40) + "\"");
    xml += "</ModelSelection>\n";
    ASSERT_LT(xml.size(), kCatalogueMaxFileSize);
    QTemporaryDir dir;
    auto root = LoadModelSelection(writeFile(dir, "big.xml", xml));
    ASSERT_EQ(root->Get_Count(), 1000);
    int rows = 0;
    QStringList combo;
    ListCatalogueModels(*root, "All", [&](const CatalogueRow &) { ++rows; },
                        [&](const QString &r) { combo << r; });
    EXPECT_EQ(rows, 1000);
    EXPECT_EQ(combo.size(), 40);
    STRUCT_XML_FILE_VARIABLES s;
    CopyModelToProfile(*root, 999, s);
    EXPECT_EQ(s.ref_number, "39");
}

// ---- Listing and filtering --------------------------------------------------------

static QList<int> listIndexes(const IXMLModelSelectionType &root, const QString &filter, QStringList *combo = nullptr)
{
    QList<int> out;
    ListCatalogueModels(root, filter, [&](const CatalogueRow &r) { out << r.index; },
                        combo ? std::function<void(const QString &)>([&](const QString &r) { *combo << r; })
                              : std::function<void(const QString &)>());
    return out;
}

TEST(CatalogueList, SharedReferenceNumbersFilterInDocumentOrder)
{
    auto root = makeCatalogue({"A", "A", "B"});
    QStringList combo;
    EXPECT_EQ(listIndexes(*root, "All", &combo), QList<int>({0, 1, 2}));
    EXPECT_EQ(combo, QStringList({"A", "B"}));
    EXPECT_EQ(listIndexes(*root, "A"), QList<int>({0, 1}));
    EXPECT_EQ(listIndexes(*root, "B"), QList<int>({2}));
    // Exact, case-sensitive comparison; no partial matches.
    EXPECT_TRUE(listIndexes(*root, "a").isEmpty());
    EXPECT_TRUE(listIndexes(*root, "").isEmpty());
}

TEST(CatalogueList, RowCarriesTheNineColumns)
{
    auto root = makeCatalogue({"X", "Y"});
    const CatalogueRow row = ReadCatalogueRow(*root, 1);
    EXPECT_EQ(row.columns(), QStringList({"Y", "m1.familyname", "m1.type", "m1.gtin", "m1.programmer", "m1.fw",
                                          "m1.hw", "m1.serial", "1"}));
    EXPECT_EQ(CatalogueColumnTitles(),
              QStringList({"Ref.-No.", "FamilyName", "type", "gtin", "programmer", "fw", "hw", "serial",
                           "xmlDriverIndex"}));
}

TEST(CatalogueList, UnreadableModelStopsTheListKeepingEarlierRows)
{
    auto root = makeCatalogue({"A", "B", "C"});
    root->Get_Model(1)->DOMElement().removeAttribute("hw");
    QList<int> rows;
    EXPECT_THROW(ListCatalogueModels(*root, "All", [&](const CatalogueRow &r) { rows << r.index; }),
                 ECatalogueError);
    EXPECT_EQ(rows, QList<int>({0}));
}

// ---- Loading a model into a slot ---------------------------------------------------

class CatalogueLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultProfileIntoSlots();
        setActiveSlot(1);
    }
    ScriptedDialogs dialogs;
};

TEST_F(CatalogueLoad, CopiesEveryAttributeIntoItsMember)
{
    auto root = makeCatalogue({"R0", "R1"}, /*tagParameters=*/true);
    auto &slot = settingsVariablesField[2];
    slot.tag = 7;
    slot.current.list = "kept-list";
    slot.NTCType.min = "kept-min";
    DeleteProfile(2, "");
    ASSERT_EQ(LoadModelDataFromXMLFile(root.get(), 2, 1), 0);
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, "Info");
    EXPECT_EQ(dialogs.messages[0].text, "Selected driver was loaded");

    EXPECT_EQ(slot.familyName, "m1.familyname");
    EXPECT_EQ(slot.type, "m1.type");
    EXPECT_EQ(slot.ref_number, "R1");
    EXPECT_EQ(slot.editGTIN, "m1.gtin");
    EXPECT_EQ(slot.programmer, "m1.programmer");
    EXPECT_EQ(slot.editFW, "m1.fw");
    EXPECT_EQ(slot.editHW, "m1.hw");
    EXPECT_EQ(slot.editSerial, "m1.serial");
    // Members the catalogue never supplies hold what clearing left.
    EXPECT_EQ(slot.enOcean_HandHeldID, "");
    EXPECT_EQ(slot.programmer_Nfc_FW, "");
    EXPECT_EQ(slot.memoData, "");
    EXPECT_EQ(slot.tag, 7);
    EXPECT_EQ(slot.current.list, "kept-list");
    EXPECT_EQ(slot.NTCType.min, "kept-min");

    for (const auto &p : kCatalogueParameterElements) {
        const QString element = QString::fromLatin1(p.element);
        const ParameterDescriptor &d = ParameterGroupNamed(QString::fromLatin1(p.group))->field.of(slot);
        for (const QString &a : parameterAttributes(element)) {
            const QString member = a == "default" ? QStringLiteral("defaultValue") : a;
            const QString *value = nullptr;
            for (const auto &m : kDescriptorMembers)
                if (member == QLatin1String(m.name))
                    value = &(d.*(m.field));
            ASSERT_NE(value, nullptr) << member.toStdString();
            EXPECT_EQ(*value, "m1." + element + "." + a) << p.group << "." << member.toStdString();
        }
    }
    // The other slots are untouched.
    const STRUCT_XML_FILE_VARIABLES defaults = DefaultProfile();
    EXPECT_EQ(settingsVariablesField[0], defaults);
    EXPECT_EQ(settingsVariablesField[1], defaults);
}

TEST_F(CatalogueLoad, SetsAllFlagsAndLoadsNonNumericValues)
{
    auto root = makeCatalogue({"R"});
    auto f = root->Get_Model(0)->Get_Function();
    f->Get_Current()->Set_default_("three hundred");
    f->Get_DCLevel()->Set_default_("255");
    DeleteProfile(0, "");
    ASSERT_EQ(LoadModelDataFromXMLFile(root.get(), 0, 0), 0);
    const auto &s = settingsVariablesField[0];
    EXPECT_EQ(s.current.defaultValue, "three hundred");
    EXPECT_EQ(s.dcLevel.defaultValue, "255");
    for (const auto &flag : kIntegerFields) {
        if (QByteArray(flag.name) != "tag") {
            EXPECT_EQ(s.*(flag.field), 1) << flag.name;
        }
    }
}

TEST_F(CatalogueLoad, FailureKeepsWhatWasWrittenAndLeavesLaterFlagsCleared)
{
    auto root = makeCatalogue({"R"});
    QDomElement function = root->Get_Model(0)->Get_Function()->DOMElement();
    function.removeChild(function.firstChildElement("DCLevel"));
    DeleteProfile(0, "");
    EXPECT_EQ(LoadModelDataFromXMLFile(root.get(), 0, 0), 1);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, "Error");
    EXPECT_EQ(dialogs.messages[0].text, "problem during load Model Data from XML File");
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::OK);
    const auto &s = settingsVariablesField[0];
    EXPECT_EQ(s.familyName, "m0.familyname");
    EXPECT_EQ(s.LEDTime.address, "LEDTime.address");
    EXPECT_EQ(s.currentAdjustEnable, 1);
    EXPECT_EQ(s.cloAvailable, 1);
    EXPECT_EQ(s.dclevelAdjustEnable, 0);
    EXPECT_EQ(s.dclevelAvailable, 0);
    EXPECT_EQ(s.ExtNTCAdjustEnable, 0);
    EXPECT_EQ(s.dcLevel.defaultValue, ""); // as clearing left it
}

TEST_F(CatalogueLoad, FailureCases)
{
    struct Case {
        const char *name;
        std::function<void(IXMLModelSelectionType &)> spoil;
        int index;
    };
    const Case cases[] = {
        {"model without Function",
         [](IXMLModelSelectionType &r) {
             QDomElement m = r.Get_Model(0)->DOMElement();
             m.removeChild(m.firstChildElement("Function"));
         },
         0},
        {"missing parameter attribute",
         [](IXMLModelSelectionType &r) {
             r.Get_Model(0)->Get_Function()->Get_CutOffTemp()->DOMElement().removeAttribute("offset");
         },
         0},
        {"NTCType without list",
         [](IXMLModelSelectionType &r) { r.Get_Model(0)->Get_Function()->Get_NTCType()->DOMElement().removeAttribute("list"); },
         0},
        {"missing identity attribute",
         [](IXMLModelSelectionType &r) { r.Get_Model(0)->DOMElement().removeAttribute("gtin"); }, 0},
        {"index beyond the catalogue", [](IXMLModelSelectionType &) {}, 1},
    };
    for (const auto &c : cases) {
        auto root = makeCatalogue({"R"});
        c.spoil(*root);
        dialogs.clear();
        EXPECT_EQ(LoadModelDataFromXMLFile(root.get(), 0, c.index), 1) << c.name;
        EXPECT_EQ(dialogs.texts(), QStringList{"problem during load Model Data from XML File"}) << c.name;
    }
    dialogs.clear();
    EXPECT_EQ(LoadModelDataFromXMLFile(nullptr, 0, 0), 1);
    EXPECT_EQ(dialogs.texts(), QStringList{"problem during load Model Data from XML File"});
}

TEST_F(CatalogueLoad, NtcTypeNeedsNoBounds)
{
    // NTCType carries list instead of min/max; a catalogue without min/max there loads.
    auto root = makeCatalogue({"R"});
    QDomElement ntc = root->Get_Model(0)->Get_Function()->Get_NTCType()->DOMElement();
    EXPECT_FALSE(ntc.hasAttribute("min"));
    EXPECT_EQ(LoadModelDataFromXMLFile(root.get(), 0, 0), 0);
}

// ---- The bundled catalogue -----------------------------------------------------------

TEST(BundledCatalogue, HoldsCompleteConsistentModels)
{
    auto root = LoadModelSelection(QStringLiteral(TAVEL_SOURCE_DIR "/resources/nfc_model.xml"));
    const int count = root->Get_Count();
    ASSERT_GE(count, 6);
    QStringList refs, families, windows;
    bool meaningfulNtc = false;
    for (int i = 0; i < count; ++i) {
        STRUCT_XML_FILE_VARIABLES s;
        ASSERT_NO_THROW(CopyModelToProfile(*root, i, s)) << i;
        refs << s.ref_number;
        if (!families.contains(s.familyName))
            families << s.familyName;
        windows << s.current.min + "-" + s.current.max;
        EXPECT_EQ(s.current.address, "262");
        EXPECT_EQ(s.current.size, "2");
        EXPECT_EQ(s.lifeTime.address, "264");
        EXPECT_EQ(s.lifeTime.step, "500");
        const ParameterDescriptor *levels[] = {&s.Level[0], &s.Level[1], &s.Level[2], &s.Level[3], &s.Level[4]};
        for (int l = 0; l < 5; ++l)
            EXPECT_EQ(levels[l]->address, QString::number(265 + l));
        EXPECT_EQ(s.LEDTime.address, "258");
        EXPECT_EQ(s.dcLevel.address, "270");
        // Identity texts fit the identity frames: 12, 4, 16 and 4 hexadecimal digits.
        EXPECT_TRUE(QRegularExpression("^[0-9A-F]{12}$").match(s.editGTIN).hasMatch()) << s.editGTIN.toStdString();
        EXPECT_TRUE(QRegularExpression("^[0-9A-F]{4}$").match(s.editFW).hasMatch());
        EXPECT_TRUE(QRegularExpression("^[0-9A-F]{16}$").match(s.editSerial).hasMatch());
        EXPECT_TRUE(QRegularExpression("^[0-9A-F]{4}$").match(s.editHW).hasMatch());
        // Every ranged value lies within its bounds (DC may be off).
        for (const auto &g : kParameterGroups) {
            const ParameterDescriptor &d = g.field.of(s);
            if (QByteArray(g.name) == "NTCType" || (QByteArray(g.name) == "dcLevel" && d.defaultValue == "255"))
                continue;
            EXPECT_LE(StrToFloat(d.min), StrToFloat(d.defaultValue)) << i << g.name;
            EXPECT_LE(StrToFloat(d.defaultValue), StrToFloat(d.max)) << i << g.name;
        }
        // Every model encodes: nine items at the default addresses, the current first.
        QStringList items;
        ASSERT_NO_THROW(GenerateProgrammingData(s, DcLevelActiveForSlot(s), items)) << i;
        ASSERT_EQ(items.size(), 9) << i;
        const int current = StrToInt(s.current.defaultValue);
        EXPECT_EQ(items[0], FormatProgrammingDataItem("262", current & 0xFF));
        EXPECT_EQ(items[1], FormatProgrammingDataItem("263", current >> 8));
        EXPECT_TRUE(items[8].startsWith("00EE")) << items[8].toStdString();
        if (s.NTCType.list.contains(';') && StrToInt(s.Temp1.defaultValue) < StrToInt(s.Temp2.defaultValue) &&
            StrToInt(s.Temp2.defaultValue) < StrToInt(s.CutOffTemp.defaultValue) &&
            StrToInt(s.ExtNTCLevel2.defaultValue) < StrToInt(s.ExtNTCLevel1.defaultValue))
            meaningfulNtc = true;
    }
    EXPECT_GE(families.size(), 4);
    EXPECT_LT(QSet<QString>(refs.begin(), refs.end()).size(), refs.size()) << "two models share a ref_num";
    EXPECT_TRUE(windows.contains("150-350"));
    EXPECT_TRUE(windows.contains("350-700"));
    EXPECT_TRUE(windows.contains("700-1400"));
    EXPECT_TRUE(meaningfulNtc);
}
