#include "tests/app/ShellTestServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Starts `argv` as a child with stdout and stderr to `log`; -1 on failure.
pid_t Spawn(const QStringList& argv, const QString& log)
{
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    const int out = open(log.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
        dup2(out, 1);
        dup2(out, 2);
    }
    std::vector<QByteArray> args;
    for (const QString& a : argv)
        args.push_back(a.toLocal8Bit());
    std::vector<char*> raw;
    for (QByteArray& a : args)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    execvp(raw[0], raw.data());
    _exit(127);
}

void Stop(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

bool WaitForFile(const QString& path, int ms)
{
    for (int waited = 0; waited < ms; waited += 20) {
        if (QFileInfo::exists(path))
            return true;
        QThread::msleep(20);
    }
    return false;
}

void WriteText(const QString& path, const QString& text, QFile::Permissions permissions)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toLocal8Bit());
    file.close();
    file.setPermissions(permissions);
}

const QFile::Permissions kReadable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions kRunnable = kReadable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;

}  // namespace

TestSessionBus::TestSessionBus(const QString& dir)
{
    const QString socket = dir + "/session-bus";
    // The session configuration: services from $XDG_DATA_HOME/dbus-1/services,
    // as on a desktop.
    m_pid = Spawn({ "dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + socket },
                  dir + "/session-bus.log");
    if (m_pid > 0 && WaitForFile(socket, 10000))
        m_address = "unix:path=" + socket;
}

TestSessionBus::~TestSessionBus()
{
    Stop(m_pid);
}

TestPrintServer::TestPrintServer(const QString& dir) : m_dir(dir + "/cups")
{
    for (const char* sub : { "", "/spool", "/cache", "/state", "/tmp", "/log", "/ppd", "/bin/backend", "/out" })
        QDir().mkpath(m_dir + sub);
    // The scheduler runs backends as user lp when it runs as root.
    for (const QString& d : { dir, m_dir, m_dir + "/out" })
        chmod(d.toLocal8Bit().constData(), d.endsWith("/out") ? 0777 : 0755);
    QFile::link("/usr/lib/cups/daemon", m_dir + "/bin/daemon");
    QFile::link("/usr/lib/cups/notifier", m_dir + "/bin/notifier");
    WriteText(m_dir + "/bin/backend/pdffile",
              "#!/bin/sh\n"
              "# pdffile:PATH writes each job whole to PATH.\n"
              "[ $# -eq 0 ] && { echo 'file pdffile \"Unknown\" \"Job to a file\"'; exit 0; }\n"
              "out=${DEVICE_URI#pdffile:}\n"
              "if [ $# -ge 6 ]; then cat \"$6\" > \"$out.part\"; else cat > \"$out.part\"; fi\n"
              "mv \"$out.part\" \"$out\"\n",
              kRunnable);
    const QString socket = m_dir + "/cups.sock";
    WriteText(m_dir + "/cupsd.conf",
              "Listen " + socket + "\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n  </Limit>\n</Policy>\n",
              kReadable);
    QString files = "ServerRoot " + m_dir + "\nRequestRoot " + m_dir + "/spool\nCacheDir " + m_dir +
                    "/cache\nStateDir " + m_dir + "/state\nTempDir " + m_dir + "/tmp\nErrorLog " + m_dir +
                    "/log/error_log\nAccessLog " + m_dir + "/log/access_log\nPageLog " + m_dir +
                    "/log/page_log\nServerBin " + m_dir + "/bin\nDataDir /usr/share/cups\n";
    if (geteuid() == 0)
        files += "User lp\nGroup lp\nSystemGroup root\n";
    WriteText(m_dir + "/cups-files.conf", files, kReadable);
    m_pid = Spawn({ "cupsd", "-f", "-c", m_dir + "/cupsd.conf", "-s", m_dir + "/cups-files.conf" },
                  m_dir + "/cupsd.out");
    if (m_pid <= 0 || !WaitForFile(socket, 10000))
        return;
    m_socket = socket;
    if (Admin({ "-p", kPrinter, "-E", "-v", "pdffile:" + OutputFile(), "-m", "raw" }) != 0 ||
        Admin({ "-d", kPrinter }) != 0)
        m_socket.clear();
}

TestPrintServer::~TestPrintServer()
{
    Stop(m_pid);
}

int TestPrintServer::Admin(const QStringList& args) const
{
    QProcess admin;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CUPS_SERVER", m_dir + "/cups.sock");
    admin.setProcessEnvironment(env);
    admin.start("lpadmin", args);
    if (!admin.waitForFinished(20000))
        return -1;
    return admin.exitStatus() == QProcess::NormalExit ? admin.exitCode() : -1;
}
