#pragma once
// Real services for the desktop-request tests, started from Debian's
// packages in a temporary directory and ended by process id: a session bus
// (dbus-daemon) and a print server (cupsd) with one raw queue, the default
// destination, whose backend writes each job to a file. The print server's
// programs come from a folder of our own, so no filter package is needed.

#include <QString>
#include <QTemporaryDir>
#include <sys/types.h>

class TestSessionBus {
public:
    // Starts the bus; the address is empty when it could not start.
    explicit TestSessionBus(const QString& dir);
    ~TestSessionBus();
    const QString& Address() const { return m_address; }

private:
    pid_t m_pid = -1;
    QString m_address;
};

class TestPrintServer {
public:
    static constexpr const char* kPrinter = "PixmoorPDF";
    // Starts cupsd with its socket in `dir` and adds the queue; Socket() is
    // empty when that failed.
    explicit TestPrintServer(const QString& dir);
    ~TestPrintServer();
    const QString& Socket() const { return m_socket; }
    // Where the next job lands; the backend writes it whole, then renames.
    QString OutputFile() const { return m_dir + "/out/job.pdf"; }
    // Runs an administration command (lpadmin ...) against this server.
    int Admin(const QStringList& args) const;

private:
    QString m_dir;
    QString m_socket;
    pid_t m_pid = -1;
};
