#pragma once
// The "Driver select" window: opens a driver catalogue, lists its models, narrows the
// list by reference number and loads the chosen model into the active profile slot.
// Afterwards the radio link window comes up so that the handheld programmer can be
// connected. The catalogue work itself is plain code (profile/catalogue.h).

#include "common/dialogs.h"
#include "profile/catalogue.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TForm10 : public QWidget {
    Q_OBJECT
public:
    // The window is a top-level window of its own (no parent), so that disabling the
    // main window while it is shown does not disable it too; the program's owner
    // makes the main window its owner (window_owner.h), which keeps it above the
    // main window and centred on it.
    explicit TForm10(QWidget *parent = nullptr);
    ~TForm10() override;

    // ---- Controls -------------------------------------------------------------------
    QLabel *Label1 = nullptr; // "Selected driver", never shown
    QLabel *Label2 = nullptr; // "xxxx", never shown
    QLabel *Label3 = nullptr; // "Selected settings profile for download", never shown
    QLabel *Label4 = nullptr; // hidden; the active slot number
    QLabel *Label5 = nullptr; // "Driver Ref.-No."
    QComboBox *SelectDriversComboBox = nullptr; // "All", then the distinct reference numbers
    QPushButton *browseXMLfileButton = nullptr;
    QTreeWidget *DriversListView = nullptr; // nine columns, the last one "xmlDriverIndex"
    QPushButton *LoadSelectedModelButton = nullptr;
    QLabel *Image1 = nullptr; // slot pictures; only the active slot's is visible
    QLabel *Image2 = nullptr;
    QLabel *Image3 = nullptr;
    // The file-open dialog "Open xml file" with the filter "xmli files (*.xml)".
    FileDialogRequest OpenDialog1;

    // The open catalogue; the list rows refer to its models by catalogue index.
    std::shared_ptr<IXMLModelSelectionType> ModelSelection;

    // ---- Operations -------------------------------------------------------------------
    // Disables the main window, shows the active slot's picture, opens the default
    // catalogue beside the program (run whenever the window is shown).
    void FormShow();
    // Opens a catalogue (the file dialog when there is no file at `path`) and fills
    // the list: 0 when the list was filled, non-zero otherwise.
    int OpenSelectXmlForm(const QString &path);
    void browseXMLfileButtonClick();
    void SelectDriversComboBoxChange();
    void LoadSelectedModelButtonClick();
    void DriversListViewDblClick();
    // Copies catalogue model `index` into slot `slotIndex` (zero-based): 0 loaded, 1 failed.
    int LoadModelDataFromXMLFile(int slotIndex, int index);
    // Opens the window on a recently used catalogue; the result of OpenSelectXmlForm.
    int LoadModelDataFromXMLRecentUsedFile(const QString &path);
    // Enables the main window again and starts its repaint timer (run whenever the
    // window closes).
    void FormClose();

signals:
    // The window was shown (the main window waits while it is open).
    void opened();
    // The window was closed.
    void closed();
    // A catalogue was opened through the file dialog or used for a model.
    void catalogueUsed(const QString &path);
    // A catalogue model was copied into slot `slotIndex` (zero-based) and the
    // window closed.
    void modelLoaded(int slotIndex);
    // The window is about to open on a recently used catalogue (the main window
    // shows its work toolbar and waits).
    void recentCatalogueOpening();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowSlotPicture();
    // Clears the list and the filter, adds "All" and lists every model of the open
    // catalogue (throws ECatalogueError; rows added until then stay).
    void FillList();
    void AddRow(const CatalogueRow &row);
    void SelectAllFilter();
    // Shows the radio link window with port discovery, the first sensitivity, the
    // port opened and the connect prompt in front.
};

