#include "app/instance_lock.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella {

namespace {

// A document path is a line of text; anything longer is no document.
constexpr qint64 kMaxMessageBytes = 64 * 1024;

std::string fileNameOf(const std::string& id)
{
    std::string name = id;
    for (char& c : name)
        if (c == '/' || c == '\0')
            c = '_';
    return name;
}

}  // namespace

TInstanceLock::TInstanceLock(const std::string& id, std::filesystem::path runtimeFolder, QObject* parent)
    : QObject(parent)
{
    const std::string name = fileNameOf(id);
    lockFile_ = runtimeFolder / (name + ".lock");
    socketFile_ = runtimeFolder / (name + ".socket");
}

TInstanceLock::~TInstanceLock()
{
    if (server_)
        server_->close();
    if (fd_ >= 0) {
        ::unlink(socketFile_.c_str());
        ::close(fd_);
    }
}

std::filesystem::path TInstanceLock::DefaultRuntimeFolder()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/')
        return runtime;
    const std::filesystem::path folder = "/tmp/orvella-" + std::to_string(getuid());
    ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    // Someone else's folder (or a link planted there) is no place for our lock.
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
        (info.st_mode & 077) != 0)
        return {};
    return folder;
}

QString TInstanceLock::SocketName() const { return QString::fromStdString(socketFile_.string()); }

bool TInstanceLock::Acquire()
{
    if (fd_ >= 0)
        return true;
    if (lockFile_.parent_path().empty() || lockFile_.parent_path() == lockFile_.root_path())
        return false;
    const int fd = ::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;

    // A socket left by a process that died is ours to replace: we hold the lock.
    QLocalServer::removeServer(SocketName());
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(SocketName()))
        return true;  // the lock is what matters; documents just cannot be handed over
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (socket->bytesAvailable() > kMaxMessageBytes) {
                    socket->abort();
                    return;
                }
                if (!socket->canReadLine())
                    return;
                QByteArray line = socket->readLine(kMaxMessageBytes);
                socket->disconnectFromServer();
                if (line.endsWith('\n'))
                    line.chop(1);
                if (OnDocument)
                    OnDocument(QString::fromUtf8(line));
            });
        }
    });
    return true;
}

bool TInstanceLock::SendDocument(const QString& document, int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(SocketName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message = document.toUtf8();
    message.replace('\n', ' ');
    message += '\n';
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

}  // namespace orvella
