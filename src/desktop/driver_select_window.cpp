#include "desktop/driver_select_window.h"

#include "desktop/controls.h"
#include "desktop/window_owner.h"
#include "desktop/pictures.h"
#include "common/convert.h"
#include "profile/profile_defaults.h"
#include "profile/profile_record.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>


namespace {
constexpr int kIndexColumn = 8; // "xmlDriverIndex"
constexpr int kSlotPictureSize = 48;

QLabel *slotPicture(QWidget *parent, const QString &name, int slot)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    const QList<QPixmap> images = ToolBarImages();
    // The toolbar's pictures of the selected slot buttons 1-3 are 11-13.
    if (images.size() > 10 + slot)
        label->setPixmap(images.at(10 + slot).scaled(kSlotPictureSize, kSlotPictureSize, Qt::KeepAspectRatio,
                                                      Qt::SmoothTransformation));
    label->setFixedSize(kSlotPictureSize, kSlotPictureSize);
    label->setToolTip(QStringLiteral("config %1").arg(slot));
    return label;
}
} // namespace

TForm10::TForm10(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    SetWindowOwner(this, parent);
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Driver select"));
    resize(960, 460);

    OpenDialog1.title = QStringLiteral("Open xml file");
    OpenDialog1.filter = QStringLiteral("xmli files (*.xml)");

    auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };

    Label1 = new QLabel(QStringLiteral("Selected driver"), this);
    Label2 = new QLabel(QStringLiteral("xxxx"), this);
    Label3 = new QLabel(QStringLiteral("Selected settings profile for download"), this);
    Label4 = new QLabel(this);
    Label5 = new QLabel(QStringLiteral("Driver Ref.-No."), this);
    named(Label1, "Label1");
    named(Label2, "Label2");
    named(Label3, "Label3");
    named(Label4, "Label4");
    named(Label5, "Label5");
    for (QLabel *hidden : {Label1, Label2, Label3, Label4})
        hidden->hide();

    SelectDriversComboBox = new QComboBox(this);
    named(SelectDriversComboBox, "SelectDriversComboBox");
    SelectDriversComboBox->setEditable(false);
    SelectDriversComboBox->setMinimumWidth(180);
    // Runs for the user's choices only; filling and selecting "All" in code do not.
    connect(SelectDriversComboBox, &QComboBox::activated, this,
            [this](int) { RunUserAction([this] { SelectDriversComboBoxChange(); }); });

    browseXMLfileButton = new QPushButton(QStringLiteral("Browse XML file"), this);
    named(browseXMLfileButton, "browseXMLfileButton");
    connect(browseXMLfileButton, &QPushButton::clicked, this,
            [this] { RunUserAction([this] { browseXMLfileButtonClick(); }); });

    Image1 = slotPicture(this, QStringLiteral("Image1"), 1);
    Image2 = slotPicture(this, QStringLiteral("Image2"), 2);
    Image3 = slotPicture(this, QStringLiteral("Image3"), 3);

    DriversListView = new QTreeWidget(this);
    named(DriversListView, "DriversListView");
    DriversListView->setColumnCount(CatalogueColumnTitles().size());
    DriversListView->setHeaderLabels(CatalogueColumnTitles());
    DriversListView->setRootIsDecorated(false);
    DriversListView->setItemsExpandable(false);
    DriversListView->setUniformRowHeights(true);
    DriversListView->setAllColumnsShowFocus(true);
    DriversListView->setSelectionMode(QAbstractItemView::SingleSelection);
    DriversListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    DriversListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DriversListView->setSortingEnabled(false);
    // Every column at least as wide as its header's caption.
    const int widths[] = {80, 130, 190, 105, 75, 45, 45, 135, 95};
    for (int c = 0; c < DriversListView->columnCount(); ++c)
        DriversListView->setColumnWidth(c, std::max(widths[c], DriversListView->header()->sectionSizeHint(c)));
    // A double click anywhere in the list loads the selected row.
    DriversListView->viewport()->installEventFilter(this);

    LoadSelectedModelButton = new QPushButton(QStringLiteral("Load selected driver"), this);
    named(LoadSelectedModelButton, "LoadSelectedModelButton");
    connect(LoadSelectedModelButton, &QPushButton::clicked, this,
            [this] { RunUserAction([this] { LoadSelectedModelButtonClick(); }); });

    auto *top = new QHBoxLayout;
    top->addWidget(Label5);
    top->addWidget(SelectDriversComboBox);
    top->addSpacing(16);
    top->addWidget(browseXMLfileButton);
    top->addStretch(1);
    for (QLabel *l : {Label1, Label2, Label3, Label4})
        top->addWidget(l);
    top->addWidget(Image1);
    top->addWidget(Image2);
    top->addWidget(Image3);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(LoadSelectedModelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DriversListView, 1);
    layout->addLayout(bottom);
}

TForm10::~TForm10()
{
}

// ---- Showing and closing ----------------------------------------------------------------

void TForm10::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        RunUserAction([this] { FormShow(); });
}

void TForm10::closeEvent(QCloseEvent *event)
{
    FormClose();
    QWidget::closeEvent(event);
}

void TForm10::ShowSlotPicture()
{
    const int slot = activeSlot();
    Label4->setText(QString::number(slot));
    Image1->setVisible(slot == 1);
    Image2->setVisible(slot == 2);
    Image3->setVisible(slot == 3);
}

void TForm10::FormShow()
{
    emit opened();
    ShowSlotPicture();
    OpenSelectXmlForm(DefaultCataloguePath());
}

void TForm10::FormClose()
{
    emit closed();
}

// ---- Opening a catalogue and listing its models -------------------------------------------

void TForm10::AddRow(const CatalogueRow &row)
{
    auto *item = new QTreeWidgetItem(row.columns());
    // A value wider than its column is cut with "…"; the tooltip shows it whole.
    for (int c = 0; c < item->columnCount(); ++c)
        item->setToolTip(c, item->text(c));
    DriversListView->addTopLevelItem(item);
}

void TForm10::SelectAllFilter()
{
    // setCurrentIndex does not emit `activated`, so the change handler does not run.
    if (SelectDriversComboBox->count() > 0)
        SelectDriversComboBox->setCurrentIndex(0);
}

void TForm10::FillList()
{
    DriversListView->clear();
    SelectDriversComboBox->clear();
    SelectDriversComboBox->addItem(kCatalogueAllFilter);
    ListCatalogueModels(
        *ModelSelection, kCatalogueAllFilter, [this](const CatalogueRow &row) { AddRow(row); },
        [this](const QString &refNum) { SelectDriversComboBox->addItem(refNum); });
}

int TForm10::OpenSelectXmlForm(const QString &path)
{
    try {
        QString file;
        bool fromDialog = false;
        if (QFileInfo(path).isFile()) {
            CurrentCataloguePath() = path;
            file = path;
        } else {
            OpenDialog1.initialDir = CatalogueProgramDir();
            file = dialogs().openFile(OpenDialog1);
            if (file.isEmpty())
                return 1; // cancelled: the list stays as it was
            fromDialog = true;
        }
        // The open catalogue is replaced only by one that parses, so the rows shown
        // always belong to the open document.
        ModelSelection = LoadModelSelection(file);
        FillList();
        if (fromDialog)
            emit catalogueUsed(file);
        SelectAllFilter();
        return 0;
    } catch (const std::exception &) {
        dialogs().message(QStringLiteral("Error"), kCatalogueFormatMessage, MsgButtons::OK, MsgIcon::Error);
        return 1;
    }
}

void TForm10::browseXMLfileButtonClick()
{
    OpenDialog1.initialDir = CatalogueProgramDir();
    const QString file = dialogs().openFile(OpenDialog1);
    if (file.isEmpty())
        return;
    try {
        ModelSelection = LoadModelSelection(file);
        FillList();
        emit catalogueUsed(file);
        SelectAllFilter();
    } catch (const std::exception &) {
        dialogs().message(QStringLiteral("Error"), kCatalogueFormatMessage, MsgButtons::OK, MsgIcon::Error);
    }
}

void TForm10::SelectDriversComboBoxChange()
{
    DriversListView->clear();
    if (!ModelSelection)
        return;
    const QString filter =
        SelectDriversComboBox->currentIndex() == 0 ? kCatalogueAllFilter : SelectDriversComboBox->currentText();
    try {
        ListCatalogueModels(*ModelSelection, filter, [this](const CatalogueRow &row) { AddRow(row); });
    } catch (const std::exception &) {
        dialogs().message(QStringLiteral("Error"), kCatalogueFormatMessage, MsgButtons::OK, MsgIcon::Error);
    }
}

// ---- Loading the selected model -------------------------------------------------------------

int TForm10::LoadModelDataFromXMLFile(int slotIndex, int index)
{
    return ::LoadModelDataFromXMLFile(ModelSelection.get(), slotIndex, index);
}

void TForm10::LoadSelectedModelButtonClick()
{
    const QList<QTreeWidgetItem *> selected = DriversListView->selectedItems();
    if (selected.isEmpty()) {
        dialogs().message(QStringLiteral("Error"), kCatalogueNoSelectionMessage, MsgButtons::OK, MsgIcon::Error);
        return;
    }
    const int index = StrToInt(selected.first()->text(kIndexColumn));
    const int slotIndex = activeSlot() - 1;

    try {
        DeleteProfile(slotIndex, QString());
    } catch (const std::exception &) {
        dialogs().message(QStringLiteral("Error"), QStringLiteral("problem during delete of default settings"),
                          MsgButtons::OK, MsgIcon::Error);
    }
    if (LoadModelDataFromXMLFile(slotIndex, index) != 0)
        return;

    // A catalogue chosen through the file dialog was put on the list when it was
    // opened; an empty path (no catalogue opened by path yet) is not pushed, as it
    // would only push a real entry off the end of the list.
    if (!CurrentCataloguePath().isEmpty())
        emit catalogueUsed(CurrentCataloguePath());

    // The main window enables the selectors the model allows; the radio link
    // window comes up with its connect prompt.
    close();
    emit modelLoaded(slotIndex);
}

void TForm10::DriversListViewDblClick() { LoadSelectedModelButtonClick(); }

bool TForm10::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DriversListView->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        RunUserAction([this] { DriversListViewDblClick(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

int TForm10::LoadModelDataFromXMLRecentUsedFile(const QString &path)
{
    ShowSlotPicture();
    emit recentCatalogueOpening();
    show(); // runs FormShow, which first opens the default catalogue
    return OpenSelectXmlForm(path);
}

void TForm10::keyPressEvent(QKeyEvent *event)
{
    // Escape closes the window as its close box does (a control that uses the key
    // itself, such as an open drop-down list, gets it first).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
