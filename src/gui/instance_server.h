#pragma once

#include <QObject>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace soramine::gui {

// The first instance's ear: a local socket on which later starts of the program send their
// command lines (see core/app/forwarded_command.h). Only the same user's processes are heard;
// a connection that sends no whole message within a few seconds is dropped.
class InstanceServer final : public QObject {
    Q_OBJECT
  public:
    explicit InstanceServer(QObject* parent = nullptr);
    // Listens at `socketPath`. The caller holds the instance lock, so a socket file there was
    // left by an instance that was killed and is replaced.
    bool listen(const QString& socketPath);

  signals:
    // The paths a later start was given (empty when it was started without any).
    void commandReceived(const std::vector<std::u16string>& paths);

  private:
    void accept();
    void read(QLocalSocket* socket);

    QLocalServer* server_;
};

}  // namespace soramine::gui
