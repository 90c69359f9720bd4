#pragma once
// A throw-away PostgreSQL server for the records tests and the records benchmark,
// run by tests/records_server/pg_server.sh: the one the test command started
// (its state file named by TAVEL_TEST_PG_STATE), or one of the object's own,
// stopped and removed when the object goes.

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUuid>
#include <libpq-fe.h>

class PgTestServer {
public:
    // `own`: a server of its own even when the test command started one (a test
    // that stops and starts the server must not stop the others' server).
    explicit PgTestServer(bool own = false)
    {
        const QString shared = qEnvironmentVariable("TAVEL_TEST_PG_STATE");
        if (!own && !shared.isEmpty() && QFile::exists(shared)) {
            state_ = shared;
        } else {
            state_ = dir_.filePath(QStringLiteral("state"));
            // The script stops the server when this process ends, also when it is killed.
            owned_ = script(QStringLiteral("start"), {QString::number(QCoreApplication::applicationPid())});
            if (!owned_)
                return;
        }
        QFile f(state_);
        if (f.open(QIODevice::ReadOnly))
            for (const QByteArray &line : f.readAll().split('\n'))
                if (line.startsWith("url="))
                    url_ = QString::fromUtf8(line.mid(4));
        if (url_.isEmpty() && error_.isEmpty())
            error_ = QStringLiteral("no url= line in ") + state_;
    }
    ~PgTestServer()
    {
        if (owned_)
            script(QStringLiteral("stop"));
    }
    PgTestServer(const PgTestServer &) = delete;
    PgTestServer &operator=(const PgTestServer &) = delete;

    bool ok() const { return !url_.isEmpty(); }
    QString error() const { return error_; }
    // The server's "postgres" database.
    QString url() const { return url_; }

    // A new, empty database: its URL.
    QString freshDatabase()
    {
        const QString name = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
        if (exec(url_, QStringLiteral("CREATE DATABASE ") + name) < 0)
            return QString();
        return QString(url_).replace(QStringLiteral("/postgres?"), QLatin1Char('/') + name + QLatin1Char('?'));
    }

    // The server stopped / started again (its data kept).
    bool pause() { return script(QStringLiteral("pause")); }
    bool resume() { return script(QStringLiteral("resume")); }

    // Runs one statement; the first cell of the first row as a number (0 without
    // rows), -1 when it fails (the reason in error()).
    qint64 exec(const QString &url, const QString &sql)
    {
        PGconn *c = PQconnectdb(url.toUtf8().constData());
        qint64 value = -1;
        if (PQstatus(c) == CONNECTION_OK) {
            PGresult *r = PQexec(c, sql.toUtf8().constData());
            if (PQresultStatus(r) == PGRES_TUPLES_OK)
                value = PQntuples(r) > 0 ? QByteArray(PQgetvalue(r, 0, 0)).toLongLong() : 0;
            else if (PQresultStatus(r) == PGRES_COMMAND_OK)
                value = 0;
            PQclear(r);
        }
        if (value < 0)
            error_ = QString::fromUtf8(PQerrorMessage(c));
        PQfinish(c);
        return value;
    }

private:
    bool script(const QString &command, const QStringList &extra = {})
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral(TAVEL_SOURCE_DIR "/tests/records_server/pg_server.sh"), QStringList{command, state_} + extra);
        const bool done = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (!done)
            error_ = QStringLiteral("pg_server.sh %1: %2").arg(command, QString::fromUtf8(p.readAll()));
        return done;
    }

    QTemporaryDir dir_;
    QString state_;
    QString url_;
    QString error_;
    bool owned_ = false;
};
