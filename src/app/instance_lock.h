#pragma once
// TInstanceLock: one running instance per user. The first start holds an
// flock on "<id>.lock" in the user's runtime folder and listens on the local
// socket "<id>.socket" beside it; a later start finds the lock taken and
// hands its command-line document to the running instance through that
// socket. The lock is released when the process ends, even by a crash.

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <string>

class QLocalServer;

namespace orvella {

class TInstanceLock : public QObject {
public:
    TInstanceLock(const std::string& id, std::filesystem::path runtimeFolder, QObject* parent = nullptr);
    ~TInstanceLock() override;

    // $XDG_RUNTIME_DIR, else a private folder /tmp/orvella-<uid> (created 0700
    // and refused unless it is ours and private).
    static std::filesystem::path DefaultRuntimeFolder();

    // True when this process now holds the lock (any failure counts as
    // another instance running).
    bool Acquire();
    bool Held() const noexcept { return fd_ >= 0; }

    // From a later start: hands `document` (may be empty: just come to the
    // front) to the running instance. False when it could not be reached.
    bool SendDocument(const QString& document, int timeoutMs = 2000) const;

    // In the running instance: a later start handed over a document.
    std::function<void(const QString& document)> OnDocument;

    const std::filesystem::path& LockFile() const noexcept { return lockFile_; }
    QString SocketName() const;

private:
    std::filesystem::path lockFile_;
    std::filesystem::path socketFile_;
    int fd_ = -1;
    QLocalServer* server_ = nullptr;
};

}  // namespace orvella
