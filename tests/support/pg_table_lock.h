#pragma once
// A second session holding the record tables of a PostgreSQL database locked
// (ACCESS EXCLUSIVE, in an open transaction) until it ends, as a long report or
// a maintenance transaction does.

#include <QString>
#include <libpq-fe.h>

class PgTableLock {
public:
    explicit PgTableLock(const QString &url)
    {
        conn_ = PQconnectdb(url.toUtf8().constData());
        PGresult *r = PQexec(conn_, "BEGIN; LOCK TABLE settings_records, driver_records, verification_records "
                                    "IN ACCESS EXCLUSIVE MODE;");
        ok_ = PQresultStatus(r) == PGRES_COMMAND_OK;
        error_ = QString::fromUtf8(PQerrorMessage(conn_));
        PQclear(r);
    }
    ~PgTableLock() { release(); }
    PgTableLock(const PgTableLock &) = delete;
    PgTableLock &operator=(const PgTableLock &) = delete;
    bool ok() const { return ok_; }
    QString error() const { return error_; }
    // The transaction and its locks end with the session.
    void release()
    {
        if (conn_)
            PQfinish(conn_);
        conn_ = nullptr;
    }

private:
    PGconn *conn_ = nullptr;
    bool ok_ = false;
    QString error_;
};
