#pragma once
// A layout that cannot be evaluated (a typing error in an expression, an unknown field) is a
// programming error; it stops the report with this exception instead of printing wrong figures.

#include <QString>
#include <stdexcept>

class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
