#pragma once
// The program's own refusal: an operation stops and the user reads why, in Romanian.
// Database failures use DbError instead, so that the server's text reaches the user unchanged.

#include <QString>
#include <exception>
#include <string>

class EE : public std::exception
{
public:
    explicit EE(const QString &message) : m_message(message), m_utf8(message.toStdString()) {}
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_message;
    std::string m_utf8;
};
