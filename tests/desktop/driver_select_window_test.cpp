// The "Driver select" window with the main window around it: opening catalogues,
// filtering, loading a model into the active slot, and the ways in from the main window.
#include "control_texts.h"
#include "common/app_data.h"
#include "app/recent_files.h"
#include "desktop/desktop_app.h"
#include "desktop/main_window.h"
#include "default_profiles.h"
#include "profile/catalogue.h"
#include "profile/profile_defaults.h"
#include "desktop/driver_select_window.h"
#include "radio/radio_link.h"
#include "serial/serial_port.h"
#include "desktop/radio_link_window.h"
#include "fake_serial_port.h"
#include "main_window_fixture.h"
#include "scripted_dialogs.h"
#include "wait_for.h"
#include "window_test_folder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A catalogue text with one complete model per (ref_num, family) pair; model i has
// current i*100+350 and its own GTIN.
QByteArray catalogueText(const QList<std::pair<QString, QString>> &models)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ModelSelection version=\"1\">\n";
    const char *elements[] = {"Current", "LifeTime", "Level0", "Level1", "Level2", "Level3", "Level4", "LEDTime",
                              "DCLevel", "Temp1", "ExtNTCLevel1", "Temp2", "ExtNTCLevel2", "CutOffTemp"};
    const char *defaults[] = {nullptr, "50000", "80", "85", "90", "95", "100", "4294967295",
                              "100",   "50",    "100", "80", "20", "90"};
    const char *mins[] = {nullptr, "0", "50", "50", "50", "50", "50", "0", "50", "0", "50", "0", "0", "0"};
    const char *maxs[] = {nullptr, "127500", "100", "100", "100", "100", "100", "4294967295", "100", "120", "100", "120", "100", "120"};
    const char *addresses[] = {"262", "264", "265", "266", "267", "268", "269", "258", "270", "271", "272", "273", "274", "275"};
    for (int i = 0; i < models.size(); ++i) {
        xml += QStringLiteral("<Model familyname=\"%1\" type=\"T%2\" ref_num=\"%3\" gtin=\"00000000000%2\" "
                              "programmer=\"nfc\" fw=\"0001\" hw=\"0002\" serial=\"000000000000000%2\">\n"
                              "<Function name=\"NFC\">\n")
                   .arg(models[i].second)
                   .arg(i)
                   .arg(models[i].first)
                   .toUtf8();
        for (int e = 0; e < 14; ++e) {
            const QByteArray def = e == 0 ? QByteArray::number(350 + 100 * i) : QByteArray(defaults[e]);
            xml += QByteArray("<") + elements[e] + " min=\"" + (e == 0 ? "350" : mins[e]) + "\" max=\"" +
                   (e == 0 ? "1400" : maxs[e]) + "\" default=\"" + def + "\" unit=\"u\" address=\"" + addresses[e] +
                   "\" size=\"1\" step=\"" + (e == 1 ? "500" : "1") + "\" factor=\"1\" offset=\"0\" convform=\"lin\"/>\n";
        }
        xml += "<NTCType list=\"a;b\" default=\"0\" unit=\"\" address=\"276\" size=\"1\" step=\"1\" factor=\"1\" "
               "offset=\"0\" convform=\"index\"/>\n</Function>\n</Model>\n";
    }
    xml += "</ModelSelection>\n";
    return xml;
}

QStringList column(QTreeWidget *list, int c)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(c);
    return out;
}

QStringList comboItems(QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

} // namespace

class DriverSelectTest : public MainWindowTest {
protected:
    std::unique_ptr<TForm1> &main = MainWindowTest::form;
    std::unique_ptr<TForm9> radio;
    std::unique_ptr<TForm10> form; // the window under test; the main window is `main`
    QList<SystemSerialPort> ports; // what port discovery finds
    FakePortInstaller stick; // opens and takes what is written

    void SetUp() override
    {
        setSystemSerialPortLister([this] { return ports; });
        ASSERT_TRUE(tmp.isValid());
        QDir(tmp.path()).mkdir("bin");
        SetCatalogueProgramDirForTesting(tmp.filePath("bin"));
        CurrentCataloguePath().clear();
        MainWindowTest::SetUp();
        radio = std::make_unique<TForm9>();
        radio->Link.stopReceiveTick();
        form = std::make_unique<TForm10>();
        ConnectDesktopWindows({.main = main.get(), .radio = radio.get(), .driverSelect = form.get()});
    }

    void TearDown() override
    {
        form.reset();
        radio.reset();
        MainWindowTest::TearDown();
        SetCatalogueProgramDirForTesting(QString());
        CurrentCataloguePath().clear();
        setSerialPortFactory({});
        setSystemSerialPortLister({});
    }

    QString write(const QString &name, const QByteArray &content)
    {
        QFile f(tmp.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        return f.fileName();
    }
    QString defaultPath() const { return tmp.filePath("bin/nfc_model.xml"); }
    QString writeDefault(const QByteArray &content) { return write("bin/nfc_model.xml", content); }

    void choose(int comboIndex)
    {
        form->SelectDriversComboBox->setCurrentIndex(comboIndex);
        emit form->SelectDriversComboBox->activated(comboIndex);
    }
    void selectRow(int row) { form->DriversListView->setCurrentItem(form->DriversListView->topLevelItem(row)); }
    // Lets the main window's repaint timer (a single shot) fire and its handler run.
    void settle()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !main->RepaintTimer->isActive(); }, kWaitLimitMs));
    }
};

TEST_F(DriverSelectTest, ControlsAndCaptions)
{
    EXPECT_EQ(form->windowTitle(), "Driver select");
    ExpectControlTexts({
        {form->Label5, "Driver Ref.-No."},
        {form->browseXMLfileButton, "Browse XML file"},
        {form->LoadSelectedModelButton, "Load selected driver"},
        {form->Label1, "Selected driver"},
        {form->Label2, "xxxx"},
        {form->Label3, "Selected settings profile for download"},
    });
    EXPECT_FALSE(form->SelectDriversComboBox->isEditable());
    ASSERT_EQ(form->DriversListView->columnCount(), 9);
    QStringList titles;
    for (int c = 0; c < 9; ++c)
        titles << form->DriversListView->headerItem()->text(c);
    EXPECT_EQ(titles, QStringList({"Ref.-No.", "FamilyName", "type", "gtin", "programmer", "fw", "hw", "serial",
                                   "xmlDriverIndex"}));
    EXPECT_EQ(form->DriversListView->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(form->DriversListView->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(form->OpenDialog1.title, "Open xml file");
    EXPECT_EQ(form->OpenDialog1.filter, "xmli files (*.xml)");
    EXPECT_FALSE(form->Image1->pixmap().isNull());
}

TEST_F(DriverSelectTest, ColumnsShowTheirWholeCaptionsAndLongValuesShowWholeInTooltips)
{
    writeDefault(catalogueText({{"4711060", "Lumera Outdoor with a family name far longer than its column"}}));
    form->show();
    QTreeWidget *list = form->DriversListView;
    ASSERT_EQ(list->topLevelItemCount(), 1);

    const int margin = list->header()->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, list->header());
    for (int c = 0; c < list->columnCount(); ++c) {
        const QString caption = list->headerItem()->text(c);
        SCOPED_TRACE(caption.toStdString());
        EXPECT_GE(list->columnWidth(c), list->header()->fontMetrics().horizontalAdvance(caption) + 2 * margin);
    }

    // The long family name is cut in its column ("…"), its tooltip is whole.
    QTreeWidgetItem *row = list->topLevelItem(0);
    EXPECT_EQ(list->textElideMode(), Qt::ElideRight);
    EXPECT_GT(list->fontMetrics().horizontalAdvance(row->text(1)), list->columnWidth(1));
    for (int c = 0; c < list->columnCount(); ++c)
        EXPECT_EQ(row->toolTip(c), row->text(c)) << "column " << c;
}

TEST_F(DriverSelectTest, ShowingOpensTheDefaultCatalogueAndMarksTheActiveSlot)
{
    writeDefault(catalogueText({{"A", "F0"}, {"A", "F1"}, {"B", "F2"}}));
    main->Setting2ToolButtonClick();
    form->show();

    EXPECT_FALSE(main->isEnabled());
    EXPECT_EQ(form->Label4->text(), "2");
    EXPECT_TRUE(form->Label4->isHidden());
    EXPECT_FALSE(form->Image1->isVisible());
    EXPECT_TRUE(form->Image2->isVisible());
    EXPECT_FALSE(form->Image3->isVisible());
    EXPECT_TRUE(dlg.messages.isEmpty());
    EXPECT_TRUE(dlg.fileDialogs.isEmpty());
    EXPECT_EQ(CurrentCataloguePath(), defaultPath());
    // Opened by path: not pushed onto the recently-used list.
    EXPECT_EQ(ReadRecentFiles().value(0), "");

    EXPECT_EQ(column(form->DriversListView, 0), QStringList({"A", "A", "B"}));
    EXPECT_EQ(column(form->DriversListView, 1), QStringList({"F0", "F1", "F2"}));
    EXPECT_EQ(column(form->DriversListView, 8), QStringList({"0", "1", "2"}));
    EXPECT_EQ(form->DriversListView->topLevelItem(2)->text(7), "0000000000000002");
    EXPECT_EQ(comboItems(form->SelectDriversComboBox), QStringList({"All", "A", "B"}));
    EXPECT_EQ(form->SelectDriversComboBox->currentText(), "All");

    choose(1);
    EXPECT_EQ(column(form->DriversListView, 8), QStringList({"0", "1"}));
    choose(2);
    EXPECT_EQ(column(form->DriversListView, 8), QStringList({"2"}));
    EXPECT_EQ(column(form->DriversListView, 1), QStringList({"F2"}));
    choose(0);
    EXPECT_EQ(column(form->DriversListView, 8), QStringList({"0", "1", "2"}));
}

TEST_F(DriverSelectTest, MissingDefaultCatalogueAndCancelledDialogLeaveAnEmptyWindow)
{
    form->show();
    ASSERT_EQ(dlg.fileDialogs.size(), 1);
    EXPECT_EQ(dlg.fileDialogs[0].request.title, "Open xml file");
    EXPECT_EQ(dlg.fileDialogs[0].request.filter, "xmli files (*.xml)");
    EXPECT_EQ(dlg.fileDialogs[0].request.initialDir, tmp.filePath("bin"));
    EXPECT_EQ(form->DriversListView->topLevelItemCount(), 0);
    EXPECT_EQ(form->SelectDriversComboBox->count(), 0);
    EXPECT_TRUE(dlg.messages.isEmpty());

    const auto before = settingsVariablesField;
    form->LoadSelectedModelButton->click();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_EQ(dlg.messages[0].text, "No selected driver");
    EXPECT_EQ(dlg.messages[0].buttons, MsgButtons::OK);
    EXPECT_EQ(settingsVariablesField, before);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(DriverSelectTest, CatalogueChosenInTheDialogIsListedAndPushed)
{
    const QString chosen = write("other.xml", catalogueText({{"X", "FX"}}));
    dlg.filePaths << chosen;
    form->show();
    EXPECT_EQ(column(form->DriversListView, 1), QStringList({"FX"}));
    EXPECT_EQ(ReadRecentFiles().value(0), chosen);
    // The current catalogue path is kept for catalogues opened by path only.
    EXPECT_EQ(CurrentCataloguePath(), "");

    // Loading from it pushes nothing more (there is no current path to push).
    selectRow(0);
    form->LoadSelectedModelButton->click();
    EXPECT_EQ(ReadRecentFiles().mid(0, 2), QStringList({chosen, ""}));
}

TEST_F(DriverSelectTest, BadCataloguesReportTheFormatMessage)
{
    struct Case {
        const char *name;
        QByteArray content;
    };
    const Case cases[] = {
        {"malformed", "<ModelSelection><Model>"},
        {"wrong root", "<Drivers/>"},
        {"empty", ""},
        {"entity", "<!DOCTYPE M [<!ENTITY a \"aaaa\">]><ModelSelection><Model familyname=\"&a;\"/></ModelSelection>"},
    };
    for (const auto &c : cases) {
        writeDefault(c.content);
        dlg.clear();
        EXPECT_EQ(form->OpenSelectXmlForm(defaultPath()), 1) << c.name;
        EXPECT_EQ(dlg.texts(), QStringList{"wrong format of data in XML file"}) << c.name;
        EXPECT_EQ(dlg.messages.value(0).caption, "Error");
        EXPECT_EQ(form->DriversListView->topLevelItemCount(), 0) << c.name;
    }

    // A model with an unreadable attribute stops the list after the rows before it.
    QByteArray text = catalogueText({{"A", "F0"}, {"B", "F1"}, {"C", "F2"}});
    text.replace("<Model familyname=\"F1\"", "<Model");
    writeDefault(text);
    dlg.clear();
    EXPECT_EQ(form->OpenSelectXmlForm(defaultPath()), 1);
    EXPECT_EQ(dlg.texts(), QStringList{"wrong format of data in XML file"});
    EXPECT_EQ(column(form->DriversListView, 1), QStringList({"F0"}));
}

TEST_F(DriverSelectTest, BrowsingReplacesTheListOrKeepsItWhenCancelledOrBad)
{
    writeDefault(catalogueText({{"A", "F0"}}));
    form->show();
    ASSERT_EQ(column(form->DriversListView, 1), QStringList({"F0"}));

    dlg.filePaths << "";
    form->browseXMLfileButton->click();
    EXPECT_EQ(column(form->DriversListView, 1), QStringList({"F0"}));
    EXPECT_EQ(dlg.fileDialogs.last().request.initialDir, tmp.filePath("bin"));

    dlg.filePaths << write("bad.xml", "<ModelSelection>");
    form->browseXMLfileButton->click();
    EXPECT_EQ(dlg.texts(), QStringList{"wrong format of data in XML file"});
    EXPECT_EQ(column(form->DriversListView, 1), QStringList({"F0"}));

    const QString other = write("other.xml", catalogueText({{"Q", "G0"}, {"R", "G1"}, {"Q", "G2"}}));
    dlg.filePaths << other;
    choose(0);
    form->browseXMLfileButton->click();
    EXPECT_EQ(column(form->DriversListView, 1), QStringList({"G0", "G1", "G2"}));
    EXPECT_EQ(comboItems(form->SelectDriversComboBox), QStringList({"All", "Q", "R"}));
    EXPECT_EQ(form->SelectDriversComboBox->currentIndex(), 0);
    EXPECT_EQ(ReadRecentFiles().value(0), other);
    EXPECT_EQ(CurrentCataloguePath(), defaultPath());
}

TEST_F(DriverSelectTest, LoadingTheSelectedModelFillsTheActiveSlotAndHandsOver)
{
    writeDefault(catalogueText({{"A", "F0"}, {"A", "F1"}, {"B", "F2"}}));
    main->Setting3ToolButtonClick();
    settingsVariablesField[2].tag = 5;
    form->show();
    choose(1);      // A: models 0 and 1
    selectRow(1);   // model 1
    form->LoadSelectedModelButton->click();

    ASSERT_EQ(dlg.texts(), QStringList{"Selected driver was loaded"});
    EXPECT_EQ(dlg.messages[0].caption, "Info");
    const auto &s = settingsVariablesField[2];
    EXPECT_EQ(s.familyName, "F1");
    EXPECT_EQ(s.ref_number, "A");
    EXPECT_EQ(s.current.defaultValue, "450");
    EXPECT_EQ(s.current.min, "350");
    EXPECT_EQ(s.NTCType.list, "a;b");
    EXPECT_EQ(s.enOcean_HandHeldID, "");
    EXPECT_EQ(s.programmer_Nfc_FW, "");
    EXPECT_EQ(s.memoData, "");
    EXPECT_EQ(s.tag, 5);
    EXPECT_EQ(s.ExtNTCAdjustEnable, 1);
    EXPECT_EQ(s.ExtNTCAvailable, 1);
    // Slots 1 and 2 keep the default profile.
    const STRUCT_XML_FILE_VARIABLES defaults = DefaultProfile();
    EXPECT_EQ(settingsVariablesField[0], defaults);

    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(main->isEnabled());
    EXPECT_TRUE(main->RepaintTimer->isActive());
    EXPECT_TRUE(main->NTCEdit->isEnabled());
    EXPECT_EQ(ReadRecentFiles().value(0), defaultPath());

    // The radio link window comes up with the connect prompt (no stick found here).
    EXPECT_TRUE(radio->isVisible());
    EXPECT_TRUE(radio->Panel6->isVisible());
    EXPECT_EQ(radio->height(), 210);
    EXPECT_TRUE(radio->rgSensHigh->isChecked());

    // The repaint timer shows the freshly loaded slot.
    settle();
    EXPECT_EQ(activeSlot(), 3);
    EXPECT_EQ(main->FamilyNameLabel->text(), "F1");
    EXPECT_EQ(main->NomCurrentEdit->text(), "450");
    EXPECT_EQ(main->EnOceanIDLabel->text(), "");
}

TEST_F(DriverSelectTest, DoubleClickingARowLoadsIt)
{
    writeDefault(catalogueText({{"A", "F0"}, {"B", "F1"}}));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTreeWidget *list = form->DriversListView;
    const QPoint at = list->visualItemRect(list->topLevelItem(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(dlg.texts(), QStringList{"Selected driver was loaded"});
    EXPECT_EQ(settingsVariablesField[0].familyName, "F1");
    EXPECT_FALSE(form->isVisible());
}

TEST_F(DriverSelectTest, DoubleClickWithoutSelectionReportsIt)
{
    writeDefault(catalogueText({{"A", "F0"}}));
    form->show();
    form->DriversListView->clearSelection();
    form->DriversListViewDblClick();
    EXPECT_EQ(dlg.texts(), QStringList{"No selected driver"});
    EXPECT_TRUE(form->isVisible());
}

TEST_F(DriverSelectTest, FailedLoadKeepsTheWindowOpenWithThePartlyFilledSlot)
{
    QByteArray text = catalogueText({{"A", "F0"}});
    text.replace(QByteArray("<DCLevel "), QByteArray("<DCLevelX "));
    writeDefault(text);
    form->show();
    selectRow(0);
    form->LoadSelectedModelButton->click();
    EXPECT_EQ(dlg.texts(), QStringList{"problem during load Model Data from XML File"});
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(main->isEnabled());
    const auto &s = settingsVariablesField[0];
    EXPECT_EQ(s.familyName, "F0");
    EXPECT_EQ(s.cloAdjustEnable, 1);
    EXPECT_EQ(s.dclevelAdjustEnable, 0);
    EXPECT_EQ(s.ExtNTCAdjustEnable, 0);
    EXPECT_EQ(ReadRecentFiles().value(0), "");
}

TEST_F(DriverSelectTest, ClosingTheWindowReEnablesTheMainWindow)
{
    writeDefault(catalogueText({{"A", "F0"}}));
    form->show();
    EXPECT_FALSE(main->isEnabled());
    form->close();
    EXPECT_TRUE(main->isEnabled());
    EXPECT_TRUE(main->RepaintTimer->isActive());
}

TEST_F(DriverSelectTest, RecentlyUsedCatalogueReplacesTheDefaultList)
{
    writeDefault(catalogueText({{"A", "F0"}}));
    const QString recent = write("recent.xml", catalogueText({{"R", "G0"}, {"S", "G1"}}));
    EXPECT_EQ(form->LoadModelDataFromXMLRecentUsedFile(recent), 0);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(main->ToolBar3->isVisibleTo(main.get()));
    EXPECT_FALSE(main->Panel5->isVisibleTo(main.get()));
    EXPECT_EQ(column(form->DriversListView, 1), QStringList({"G0", "G1"}));
    EXPECT_EQ(comboItems(form->SelectDriversComboBox), QStringList({"All", "R", "S"}));
    EXPECT_EQ(CurrentCataloguePath(), recent);
}

// ---- The ways in from the main window ------------------------------------------------

TEST_F(DriverSelectTest, NewSettingsLeadsToTheLoadedSlotInTheMainWindow)
{
    ports = {{QStringLiteral("ttyUSB0"), true, kStickVendorId, kStickProductId, {}}};
    QFile::copy(QStringLiteral(TAVEL_SOURCE_DIR "/resources/nfc_model.xml"), defaultPath());
    main->show();
    main->NewSettingsButton->click();
    ASSERT_TRUE(form->isVisible());
    EXPECT_TRUE(main->ToolBar3->isVisible());
    EXPECT_FALSE(main->Panel5->isVisible());
    EXPECT_FALSE(main->isEnabled());
    ASSERT_GE(form->DriversListView->topLevelItemCount(), 6);

    // Pick the model whose NTC input is used (the one with a list of NTC types).
    auto root = LoadModelSelection(defaultPath());
    int ntcModel = -1;
    for (int i = 0; i < root->Get_Count() && ntcModel < 0; ++i)
        if (root->Get_Model(i)->Get_Function()->Get_NTCType()->Get_list().contains(';'))
            ntcModel = i;
    ASSERT_GE(ntcModel, 0);
    selectRow(ntcModel);
    form->LoadSelectedModelButton->click();
    EXPECT_EQ(dlg.texts(), QStringList{"Selected driver was loaded"});
    settle();

    const auto model = root->Get_Model(ntcModel);
    const auto function = model->Get_Function();
    EXPECT_TRUE(main->isEnabled());
    EXPECT_TRUE(main->Panel9->isVisible());
    EXPECT_EQ(main->FamilyNameLabel->text(), model->Get_familyname());
    EXPECT_EQ(main->TypeLabel->text(), model->Get_type());
    EXPECT_EQ(main->RefNumLabel->text(), model->Get_ref_num());
    EXPECT_EQ(main->NomCurrentEdit->text(), function->Get_Current()->Get_default_());
    EXPECT_EQ(main->MaxCurrentLabel->text(), function->Get_Current()->Get_max());
    EXPECT_EQ(main->clo_LifeTimeEdit->text(), function->Get_LifeTime()->Get_default_());
    EXPECT_EQ(main->NTC_cut_degree_edit->text(), function->Get_CutOffTemp()->Get_default_());
    EXPECT_TRUE(main->NTCCheckBox->isChecked());
    EXPECT_TRUE(main->NTCEdit->isEnabled());
    EXPECT_EQ(main->CompareInterfaceDataWithSettingsData(), 0);
    EXPECT_EQ(ReadRecentFiles().value(0), defaultPath());

    // The radio link window came up on the stick's port, opened, with the prompt.
    EXPECT_TRUE(radio->isVisible());
    EXPECT_TRUE(stick.state->isOpen);
    EXPECT_TRUE(stick.state->lastOpened().endsWith("ttyUSB0")) << stick.state->lastOpened().toStdString();
    EXPECT_EQ(radio->OpenPortButton->text(), "Close port");
    EXPECT_TRUE(radio->Panel6->isVisible());
    EXPECT_EQ(radio->height(), 210);
    EXPECT_EQ(radio->EditGTIN->text(), model->Get_gtin());
}

TEST_F(DriverSelectTest, NewFileToolButtonShowsTheWindow)
{
    writeDefault(catalogueText({{"A", "F0"}}));
    main->NewFileToolButtonClick();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->DriversListView->topLevelItemCount(), 1);
}

TEST_F(DriverSelectTest, RecentlyUsedCatalogueEntriesOpenTheWindow)
{
    writeDefault(catalogueText({{"A", "F0"}}));
    const QString recent = write("recent.xml", catalogueText({{"R", "G0"}}));
    PushRecentFile(recent);
    main->RecentlyUsedButtonClick();
    main->PopupMenu1->hide();
    main->File2Click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(column(form->DriversListView, 1), QStringList({"G0"}));
    EXPECT_EQ(CurrentCataloguePath(), recent);
    form->close();

    // An upper-case extension is not a catalogue.
    PushRecentFile(tmp.filePath("recent.XML"));
    main->RecentlyUsedButtonClick();
    main->PopupMenu1->hide();
    main->File2Click();
    EXPECT_FALSE(form->isVisible());

    // The second entry opens the window after whatever the entry loaded.
    main->File3Click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(column(form->DriversListView, 1), QStringList({"G0"}));
}
