#include "platform/ShellService.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <cstdlib>

#include "platform/FileSystem.h"

namespace {

const char kInterface[] = "org.freedesktop.Application";
// An answer comes from the viewer's event loop, which a large picture being
// decoded can hold up for a while.
const int kForwardTimeoutMs = 15000;

bool HaveSessionBus()
{
    // Without the variable libdbus would try to start a bus of its own.
    const char* address = getenv("DBUS_SESSION_BUS_ADDRESS");
    return address && *address && QDBusConnection::sessionBus().isConnected();
}

QStringList FilesOf(const QVariantList& parameter)
{
    QStringList files;
    for (QVariant value : parameter) {
        if (value.canConvert<QDBusVariant>())
            value = value.value<QDBusVariant>().variant();
        if (value.canConvert<QDBusArgument>()) {
            const QDBusArgument argument = value.value<QDBusArgument>();
            if (argument.currentSignature() == QLatin1String("as"))
                files += qdbus_cast<QStringList>(argument);
        } else if (value.typeId() == QMetaType::QStringList) {
            files += value.toStringList();
        } else if (value.typeId() == QMetaType::QString) {
            files += value.toString();
        }
    }
    return files;
}

ShellRequest MakeRequest(ShellRequest::Kind kind, const QStringList& files)
{
    ShellRequest request;
    request.kind = kind;
    for (const QString& file : files)
        request.files.push_back(file.toLocal8Bit().toStdString());
    return request;
}

// What a launcher asks of the application, over the bus.
class ShellService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit ShellService(ShellRequestHandler handler)
        : QObject(QCoreApplication::instance()), m_handler(std::move(handler))
    {
    }

public slots:
    void Activate(const QVariantMap&) { Serve(MakeRequest(ShellRequest::kActivate, {})); }
    void Open(const QStringList& uris, const QVariantMap&) { Serve(MakeRequest(ShellRequest::kOpen, uris)); }
    void ActivateAction(const QString& action, const QVariantList& parameter, const QVariantMap&)
    {
        // Other actions are not ours; the launcher only gets its answer.
        if (IsShellPrintAction(action.toStdString()))
            Serve(MakeRequest(ShellRequest::kPrint, FilesOf(parameter)));
    }

private:
    void Serve(const ShellRequest& request)
    {
        ShellRequestHandler handler = m_handler;
        QTimer::singleShot(0, this, [handler, request]() { handler(request); });
    }

    ShellRequestHandler m_handler;
};

// A request's file as the receiver takes it: native paths become file://
// URIs of their full path (the receiver has another working directory);
// drive paths and URIs stay as they are.
QString UriOf(const std::string& file)
{
    const std::string full = PlatformFullPath(file.c_str());
    if (full.empty() || full[0] != '/' || file.find("://") != std::string::npos)
        return QString::fromLocal8Bit(file.c_str());
    return QUrl::fromLocalFile(QString::fromLocal8Bit(full.c_str())).toString(QUrl::FullyEncoded);
}

// Owned by the Qt application, so it goes with it at the latest.
QPointer<ShellService> g_service;
std::string g_serviceName;

}  // namespace

int ForwardShellRequest(const std::string& busName, const ShellRequest& request)
{
    if (request.kind == ShellRequest::kNone || !HaveSessionBus())
        return -1;
    const QString name = QString::fromStdString(busName);
    const QString path = QString::fromStdString(ShellObjectPath(busName));
    QStringList uris;
    for (const std::string& file : request.files)
        uris << UriOf(file);
    QDBusMessage call;
    if (request.kind == ShellRequest::kOpen) {
        call = QDBusMessage::createMethodCall(name, path, kInterface, QStringLiteral("Open"));
        call << uris << QVariantMap();
    } else if (request.kind == ShellRequest::kPrint) {
        call = QDBusMessage::createMethodCall(name, path, kInterface, QStringLiteral("ActivateAction"));
        call << QStringLiteral("Print") << QVariantList{ QVariant(uris) } << QVariantMap();
    } else {
        call = QDBusMessage::createMethodCall(name, path, kInterface, QStringLiteral("Activate"));
        call << QVariantMap();
    }
    // Only a viewer that runs already: this process serves the request
    // itself otherwise.
    call.setAutoStartService(false);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kForwardTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage ? 0 : -1;
}

bool StartShellService(const std::string& busName, ShellRequestHandler handler)
{
    StopShellService();
    if (!HaveSessionBus())
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    ShellService* service = new ShellService(std::move(handler));
    if (!bus.registerObject(QString::fromStdString(ShellObjectPath(busName)), service,
                            QDBusConnection::ExportAllSlots)) {
        delete service;
        return false;
    }
    g_service = service;
    g_serviceName = busName;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        QString::fromStdString(busName), QDBusConnectionInterface::QueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

void StopShellService()
{
    if (!g_service || !QCoreApplication::instance())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QString::fromStdString(ShellObjectPath(g_serviceName)));
    bus.interface()->unregisterService(QString::fromStdString(g_serviceName));
    delete g_service.data();  // with its queued requests
}

#include "ShellService.moc"
