#pragma once
// A failure reported by the database server or the client library.
// It carries the server's own text unchanged, plus the SQL code and the engine's first error
// code (gdscode, isc_...) for callers that need them.

#include <QString>
#include <exception>
#include <string>

class DbError : public std::exception
{
public:
    DbError(const QString &message, int sqlCode = 0, long gdsCode = 0)
        : m_message(message), m_sqlCode(sqlCode), m_gdsCode(gdsCode), m_utf8(message.toStdString()) {}
    const QString &message() const { return m_message; }
    int sqlCode() const { return m_sqlCode; }
    long gdsCode() const { return m_gdsCode; }
    const char *what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_message;
    int m_sqlCode;
    long m_gdsCode;
    std::string m_utf8;
};
