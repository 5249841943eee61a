#pragma once

#include <QString>

#include <stdexcept>

// A failure that ends the archiver's run: it carries the one-line message for standard error
// and the exit code the caller sees (the classic RAR codes, so callers can tell causes apart).
class RarError : public std::runtime_error
{
public:
    enum Code {
        Fatal = 2,       // a damaged or unsupported archive, a failed read or delete
        OpenError = 6,   // an input file that cannot be opened
        UserError = 7,   // a wrong command line or a name that cannot be stored
        CreateError = 9  // the archive cannot be written
    };

    RarError(Code code, const QString &message);

    int exitCode() const { return m_code; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    Code m_code;
};
