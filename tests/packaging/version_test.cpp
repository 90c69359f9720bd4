// --version on the three programs, and the revision the build reads from git.

#include "cli_runner.h"
#include "file_bytes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class VersionTest : public ::testing::TestWithParam<const char *> {};

TEST_P(VersionTest, PrintsTheReleaseAndTheRevisionAndEndsWithStatusZero)
{
    const QString path = QStringLiteral(TAVEL_BIN_DIR "/") + QString::fromLatin1(GetParam());
    ASSERT_TRUE(QFileInfo(path).isExecutable()) << path.toStdString() << " is not built";
    // No display is set up: --version must not need one.
    const CliRun r = RunProgram(path, {QStringLiteral("--version")}, {{}, {QStringLiteral("QT_QPA_PLATFORM=")}});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QRegularExpression line(QStringLiteral("^%1 1\\.4 \\(revision ([0-9a-f]{7,40}(-modified)?|unknown)\\)\\n$")
                                      .arg(QRegularExpression::escape(QString::fromLatin1(GetParam()))));
    EXPECT_TRUE(line.match(r.out).hasMatch()) << r.out.toStdString();
    EXPECT_EQ(r.err, QString());
}

INSTANTIATE_TEST_SUITE_P(Programs, VersionTest,
                         ::testing::Values("tavel-nfc", "tavel-nfc-config", "tavel-devsim"),
                         [](const auto &info) {
                             QString name = QString::fromLatin1(info.param);
                             return name.remove(QLatin1Char('-')).toStdString();
                         });

// Runs the build's revision reader on `sourceDir` and returns the revision it wrote.
QString RevisionOf(const QString &sourceDir, const QString &output)
{
    const CliRun r = RunProgram(QStringLiteral("cmake"),
                                {QStringLiteral("-DSOURCE_DIR=") + sourceDir, QStringLiteral("-DOUTPUT=") + output,
                                 QStringLiteral("-DVERSION=1.4"),
                                 QStringLiteral("-P"), QStringLiteral(TAVEL_SOURCE_DIR "/cmake/write_build_info.cmake")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QRegularExpression define(QStringLiteral("#define TAVEL_GIT_REVISION \"([^\"]*)\""));
    return define.match(QString::fromUtf8(ReadFileBytes(output))).captured(1);
}

CliRun Git(const QString &repo, QStringList args)
{
    args.prepend(repo);
    args.prepend(QStringLiteral("-C"));
    return RunProgram(QStringLiteral("git"), args,
                      {{}, {QStringLiteral("GIT_AUTHOR_NAME=t"), QStringLiteral("GIT_AUTHOR_EMAIL=t@t"),
                            QStringLiteral("GIT_COMMITTER_NAME=t"), QStringLiteral("GIT_COMMITTER_EMAIL=t@t")}});
}

TEST(BuildRevisionTest, IsUnknownOutsideAGitCheckout)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(RevisionOf(dir.path(), dir.filePath(QStringLiteral("info.h"))), QStringLiteral("unknown"));
}

TEST(BuildRevisionTest, IsTheCommitAndSaysWhenTrackedFilesDifferFromIt)
{
    if (QStandardPaths::findExecutable(QStringLiteral("git")).isEmpty())
        GTEST_SKIP() << "git is not installed";
    QTemporaryDir repo;
    QTemporaryDir out;
    ASSERT_TRUE(repo.isValid() && out.isValid());
    const QString header = out.filePath(QStringLiteral("info.h"));
    ASSERT_EQ(Git(repo.path(), {QStringLiteral("init"), QStringLiteral("-q")}).exitCode, 0);
    WriteFileBytes(repo.filePath(QStringLiteral("a.txt")), "one\n");
    ASSERT_EQ(Git(repo.path(), {QStringLiteral("add"), QStringLiteral("a.txt")}).exitCode, 0);
    ASSERT_EQ(Git(repo.path(), {QStringLiteral("commit"), QStringLiteral("-qm"), QStringLiteral("first")}).exitCode, 0);
    const QString head = Git(repo.path(), {QStringLiteral("rev-parse"), QStringLiteral("--short=10"), QStringLiteral("HEAD")})
                             .out.trimmed();
    ASSERT_EQ(head.size(), 10);

    EXPECT_EQ(RevisionOf(repo.path(), header), head);
    // An untracked file is not part of the build's sources.
    WriteFileBytes(repo.filePath(QStringLiteral("new.txt")), "x\n");
    EXPECT_EQ(RevisionOf(repo.path(), header), head);
    WriteFileBytes(repo.filePath(QStringLiteral("a.txt")), "two\n");
    EXPECT_EQ(RevisionOf(repo.path(), header), head + QStringLiteral("-modified"));
}
} // namespace
