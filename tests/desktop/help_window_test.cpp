// The Help window's "user manual" button: a fifth row under the four
// information buttons, inside the window, opening the manual the build put beside
// the programs.

#include "desktop/info_windows.h"
#include "scripted_dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

TEST(HelpWindowManualTest, TheButtonIsTheFifthRowInsideTheWindow)
{
    TForm7 help;
    const QList<TButton *> rows = {help.HelpProductButton, help.HelpCompanyButton, help.HelpLicenceButton,
                                   help.HelpUpdatesButton, help.HelpManualButton};
    const QStringList captions = {QStringLiteral("about product"), QStringLiteral("about company"),
                                  QStringLiteral("license"), QStringLiteral("check updates"),
                                  QStringLiteral("user manual")};
    for (int i = 0; i < rows.size(); ++i) {
        ASSERT_NE(rows[i], nullptr) << i;
        EXPECT_EQ(rows[i]->text(), captions[i]);
        EXPECT_TRUE(help.rect().contains(rows[i]->geometry())) << captions[i].toStdString();
        if (i > 0)
            EXPECT_GE(rows[i]->geometry().top(), rows[i - 1]->geometry().bottom()) << captions[i].toStdString();
    }
}

TEST(HelpWindowManualTest, OpensTheManualBesideTheProgram)
{
    // The test program runs beside the programs, where the build puts the manual.
    const QString page = QCoreApplication::applicationDirPath() + QStringLiteral("/manual/index.html");
    ASSERT_TRUE(QFileInfo(page).isFile()) << "the user manual is not built";
    ScriptedDialogs dialogs;
    QStringList opened;
    SetWebPageOpener([&](const QString &address) { opened << address; });
    TForm7 help;
    help.show();
    help.HelpManualButton->click();
    SetWebPageOpener(nullptr);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(QFileInfo(QUrl(opened[0]).toLocalFile()).canonicalFilePath(), QFileInfo(page).canonicalFilePath());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace
