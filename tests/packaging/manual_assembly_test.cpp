// Putting the user manual together: only the pictures a page shows go with it,
// and a page that points to a picture, page or anchor that is not there stops
// the build naming it, leaving no half manual behind.

#include "cli_runner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ManualAssemblyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(QDir().mkpath(source()));
        ASSERT_TRUE(QDir().mkpath(pictures()));
        for (const char *name : {"main-window.png", "radio-link.png", "unused.png"})
            write(pictures() + QLatin1Char('/') + QLatin1String(name), "png");
        write(source() + QStringLiteral("/manual.css"), "body {}");
    }
    QString source() const { return tmp.path() + QStringLiteral("/docs"); }
    QString pictures() const { return tmp.path() + QStringLiteral("/taken"); }
    QString dest() const { return tmp.path() + QStringLiteral("/bin/manual"); }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write(bytes);
    }
    CliRun assemble()
    {
        return RunProgram(QStringLiteral("cmake"),
                          {QStringLiteral("-DSOURCE=") + source(), QStringLiteral("-DDEST=") + dest(),
                           QStringLiteral("-DPICTURES_FROM=") + pictures(), QStringLiteral("-P"),
                           QStringLiteral(TAVEL_SOURCE_DIR "/cmake/make_manual.cmake")});
    }
    QTemporaryDir tmp;
};

TEST_F(ManualAssemblyTest, KeepsThePagesStyleAndOnlyThePicturesShown)
{
    write(source() + QStringLiteral("/index.html"),
          "<a href=\"#start\">start</a> <a href=\"more.html#radio\">radio</a> <a href=\"https://example.org/\">web</a>\n"
          "<h2 id=\"start\">Start</h2><img src=\"pictures/main-window.png\">");
    write(source() + QStringLiteral("/more.html"), "<h2 id=\"radio\">Radio</h2><img src=\"pictures/radio-link.png\">"
                                                   "<a href=\"index.html\">back</a>");
    const CliRun r = assemble();
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(dest()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("index.html"), QStringLiteral("manual.css"), QStringLiteral("more.html")}));
    EXPECT_EQ(QDir(dest() + QStringLiteral("/pictures")).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("main-window.png"), QStringLiteral("radio-link.png")}));
    EXPECT_FALSE(QFileInfo::exists(dest() + QStringLiteral(".new")));
}

TEST_F(ManualAssemblyTest, NamesEveryMissingPicturePageAndAnchorAndKeepsTheManualThatWasThere)
{
    // A complete manual from an earlier build.
    write(source() + QStringLiteral("/index.html"), "<img src=\"pictures/main-window.png\">");
    ASSERT_EQ(assemble().exitCode, 0);

    write(source() + QStringLiteral("/index.html"),
          "<img src=\"pictures/renamed.png\"> <a href=\"#nowhere\">x</a> <a href=\"gone.html\">y</a>"
          " <a href=\"index.html#start\">z</a> <h2 id=\"top\">Top</h2>");
    const CliRun r = assemble();
    EXPECT_NE(r.exitCode, 0);
    for (const char *named : {"index.html: pictures/renamed.png", "index.html: #nowhere (no such anchor)",
                              "index.html: gone.html", "index.html: index.html#start (no such anchor)"})
        EXPECT_TRUE(r.err.contains(QLatin1String(named))) << named << "\n" << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dest() + QStringLiteral("/pictures/main-window.png")));
    EXPECT_FALSE(QFileInfo::exists(dest() + QStringLiteral(".new")));
}

} // namespace
