#include "tests/support/programcopy.h"
#include "tests/support/firebirdserver.h"

#include <QProcessEnvironment>

ProgramCopy::ProgramCopy(const QString &folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ISC_USER"), FirebirdServer::user());
    env.insert(QStringLiteral("ISC_PASSWORD"), FirebirdServer::password());
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(EVD_COPY_EXE), {folder});
    m_connected = answer();
}

ProgramCopy::~ProgramCopy()
{
    if (m_process.state() == QProcess::Running) {
        m_process.write("quit\n");
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(30000))
            m_process.kill();
    }
}

void ProgramCopy::send(const QString &command)
{
    m_process.write(command.toUtf8() + '\n');
    m_process.waitForBytesWritten(30000);
}

QString ProgramCopy::answer()
{
    // A copy that ended or does not answer within the test's own limit fails the step.
    while (!m_process.canReadLine())
        if (!m_process.waitForReadyRead(300000))
            return QStringLiteral("error: no answer from the copy");
    const QString line = QString::fromUtf8(m_process.readLine()).chopped(1);
    const qsizetype tab = line.indexOf(u'\t');
    const QString said = line.mid(tab + 1);
    return line.startsWith(QLatin1String("ok")) ? said : QStringLiteral("error: ") + said;
}

std::string ProgramCopy::ask(const QString &command)
{
    send(command);
    return answer().toStdString();
}
