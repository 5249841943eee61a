#include "tests/support/firebirdserver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSaveFile>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// A port of the loopback interface that nothing listens on: the kernel's choice for port 0.
int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0)
        return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0
        && ::getsockname(s, reinterpret_cast<sockaddr *>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(s);
    return port;
}

bool accepting(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0)
        return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(quint16(port));
    const bool ok = ::connect(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

// The environment of the server and of isql-fb: none of the test run's Firebird settings, and
// not the clock that a test run under faketime moves.
QProcessEnvironment cleanEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &name : env.keys())
        if (name.startsWith(QLatin1String("FIREBIRD")) || name.startsWith(QLatin1String("ISC_"))
            || name.startsWith(QLatin1String("FAKETIME")) || name == QLatin1String("LD_PRELOAD"))
            env.remove(name);
    return env;
}

QString runIsql(const QStringList &arguments, const QProcessEnvironment &env, const QString &input)
{
    QProcess isql;
    isql.setProcessEnvironment(env);
    isql.start(QStringLiteral(EVD_ISQL_EXE), arguments);
    if (!isql.waitForStarted(30000))
        return QStringLiteral("isql: cannot start ") + QStringLiteral(EVD_ISQL_EXE);
    isql.write(input.toUtf8());
    isql.closeWriteChannel();
    isql.waitForFinished(60000);
    const QString out = QString::fromUtf8(isql.readAllStandardOutput());
    const QString err = QString::fromUtf8(isql.readAllStandardError());
    if (isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0 || !err.trimmed().isEmpty())
        return QStringLiteral("isql: ") + err + out;
    return out;
}

std::unique_ptr<FirebirdServer> &sharedServer()
{
    static std::unique_ptr<FirebirdServer> server;
    return server;
}

} // namespace

FirebirdServer &FirebirdServer::shared()
{
    std::unique_ptr<FirebirdServer> &s = sharedServer();
    if (!s) {
        s.reset(new FirebirdServer);
        s->start();
    }
    return *s;
}

std::unique_ptr<FirebirdServer> FirebirdServer::startOwn()
{
    std::unique_ptr<FirebirdServer> s(new FirebirdServer);
    s->start();
    return s;
}

void FirebirdServer::halt()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = 0;
    }
}

bool FirebirdServer::resume()
{
    const int port = m_port;
    m_port = 0;
    return launch(port);
}

FirebirdServer::~FirebirdServer()
{
    stop();
}

QString FirebirdServer::connectionName(const QString &path) const
{
    return QStringLiteral("127.0.0.1/%1:%2").arg(m_port).arg(path);
}

bool FirebirdServer::fail(const QString &why)
{
    m_error = why;
    return false;
}

bool FirebirdServer::start()
{
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/fbserver-XXXXXX"));
    if (!m_dir->isValid())
        return fail(QStringLiteral("no scratch folder"));
    const QString root = m_dir->path();
    QDir().mkpath(root + QStringLiteral("/lock"));

    // The system's configuration files, the character sets and the messages, looked for under
    // the configuration's folder (copied: the server does not load character sets through a link).
    const QFileInfo systemConf(QStringLiteral(EVD_FIREBIRD_CONF));
    for (const char *name : {"firebird.conf", "databases.conf", "plugins.conf"}) {
        const QString from = systemConf.dir().filePath(QString::fromLatin1(name));
        if (QFile::exists(from) && !QFile::copy(from, root + u'/' + QString::fromLatin1(name)))
            return fail(QStringLiteral("cannot copy ") + from);
    }
    const QString systemRoot = QStringLiteral(EVD_FIREBIRD_ROOT);
    QDir().mkpath(root + QStringLiteral("/intl"));
    const QStringList intl = QDir(systemRoot + QStringLiteral("/intl")).entryList(QDir::Files);
    for (const QString &name : intl)
        if (!QFile::copy(systemRoot + QStringLiteral("/intl/") + name, root + QStringLiteral("/intl/") + name))
            return fail(QStringLiteral("cannot copy the character sets from ") + systemRoot);
    QFile::copy(systemRoot + QStringLiteral("/firebird.msg"), root + QStringLiteral("/firebird.msg"));
    QFile conf(root + QStringLiteral("/firebird.conf"));
    if (!conf.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read ") + conf.fileName());
    m_systemConf = conf.readAll();
    conf.close();

    // The security database, made by isql-fb on the embedded engine under this configuration
    // (which names the new file as its own security database), with the account of the tests.
    const QString security = root + QStringLiteral("/security3.fdb");
    if (!writeConfiguration(0))
        return false;
    const QString made = runIsql({QStringLiteral("-q"), QStringLiteral("-user"), user()}, environment(),
                                 QStringLiteral(
                                     "create database '%1';\ncreate user %2 password '%3' using plugin Srp;\n"
                                     "commit;\nquit;\n")
                                     .arg(security, user(), password()));
    if (made.startsWith(QLatin1String("isql: ")) || !QFile::exists(security))
        return fail(QStringLiteral("cannot make the security database: ") + made);

    // A port that another process takes between our look and the server's start makes the
    // server end at once: it then tries another.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int port = freePort();
        if (!port)
            return fail(QStringLiteral("no free port on 127.0.0.1"));
        if (!writeConfiguration(port))
            return false;
        if (launch(port))
            return true;
        if (m_pid) // running but not listening
            return false;
    }
    return false;
}

QProcessEnvironment FirebirdServer::environment() const
{
    QProcessEnvironment env = cleanEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), m_dir->path());
    env.insert(QStringLiteral("FIREBIRD_LOCK"), m_dir->path() + QStringLiteral("/lock"));
    return env;
}

bool FirebirdServer::writeConfiguration(int port)
{
    QSaveFile conf(m_dir->path() + QStringLiteral("/firebird.conf"));
    if (!conf.open(QIODevice::WriteOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot write ") + conf.fileName());
    conf.write(m_systemConf);
    conf.write(QStringLiteral("\n# The test run's own server.\nServerMode = Super\nRemoteServicePort = %1\n"
                              "RemoteBindAddress = 127.0.0.1\nSecurityDatabase = %2/security3.fdb\n")
                   .arg(port ? port : 3050)
                   .arg(m_dir->path())
                   .toUtf8());
    if (!conf.commit())
        return fail(QStringLiteral("cannot write ") + conf.fileName());
    return true;
}

bool FirebirdServer::launch(int port)
{
    // The server itself, in the background; it ends with this process.
    std::vector<QByteArray> envBytes;
    for (const QString &line : environment().toStringList())
        envBytes.push_back(line.toLocal8Bit());
    std::vector<char *> envp;
    for (QByteArray &b : envBytes)
        envp.push_back(b.data());
    envp.push_back(nullptr);
    QByteArray program = QByteArrayLiteral(EVD_FIREBIRD_SERVER_EXE);
    char *argv[] = {program.data(), nullptr};
    const QByteArray logPath = (m_dir->path() + QStringLiteral("/server.log")).toLocal8Bit();
    const QByteArray workDir = m_dir->path().toLocal8Bit();
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0)
        return fail(QStringLiteral("fork failed"));
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        const int log = ::open(logPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int null = ::open("/dev/null", O_RDONLY);
        if (log >= 0) {
            ::dup2(log, 1);
            ::dup2(log, 2);
        }
        if (null >= 0)
            ::dup2(null, 0);
        if (::chdir(workDir.constData()) != 0)
            ::_exit(1);
        ::execve(argv[0], argv, envp.data());
        ::_exit(127);
    }
    m_pid = pid;

    QElapsedTimer waited;
    waited.start();
    while (!accepting(port)) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = 0;
            QFile log(QString::fromLocal8Bit(logPath));
            log.open(QIODevice::ReadOnly);
            return fail(QStringLiteral("the server ended at once: ") + QString::fromLocal8Bit(log.readAll()));
        }
        if (waited.elapsed() > 30000) {
            fail(QStringLiteral("the server does not listen on port %1").arg(port));
            return false;
        }
        QThread::msleep(50);
    }
    m_port = port;
    return true;
}

void FirebirdServer::stop()
{
    if (m_pid > 0) {
        // The server started this way does not end on SIGTERM; its files are scratch files, so
        // after a short grace it is killed.
        ::kill(m_pid, SIGTERM);
        int status = 0;
        bool ended = false;
        for (int i = 0; i < 10 && !ended; ++i) {
            ended = ::waitpid(m_pid, &status, WNOHANG) == m_pid;
            if (!ended)
                ::usleep(20000);
        }
        if (!ended) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
        }
        m_pid = 0;
    }
    m_dir.reset();
}

QString FirebirdServer::isql(const QString &path, const QString &sql) const
{
    return runIsql({QStringLiteral("-q"), QStringLiteral("-user"), user(), QStringLiteral("-password"), password(),
                    connectionName(path)},
                   cleanEnvironment(), sql);
}
