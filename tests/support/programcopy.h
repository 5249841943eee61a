#pragma once
// A copy of the program (tests/driver/copydriver.cpp) on the database that evidenta.ini of a
// folder names, driven by one command a line: each answer is read before the next command is
// sent, so that two copies take their steps in the order the test gives, without waiting on a
// clock.

#include <QProcess>
#include <QString>

#include <string>

class ProgramCopy
{
public:
    // Starts the copy on `folder` with the server's account and reads its connection's answer.
    explicit ProgramCopy(const QString &folder);
    ~ProgramCopy();

    // Sends a command and reads its answer; "" for "ok" with nothing said, else what was said,
    // behind "error: " when the command failed (as std::string, which a failing
    // comparison prints).
    std::string ask(const QString &command);
    // Sends a command without reading its answer, for two copies working at once.
    void send(const QString &command);
    QString answer();
    // The connection's answer, as ask() gives it.
    const QString &connected() const { return m_connected; }

private:
    QProcess m_process;
    QString m_connected;
};
