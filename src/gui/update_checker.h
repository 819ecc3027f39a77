#pragma once

#include <QThread>
#include <QUrl>
#include <string>

#include "core/app/update_check.h"

namespace soramine::gui {

// One update check: a thread that sends the request (user agent "Voltu_UpChecker", no
// redirects followed, a time-out instead of waiting for ever), reads at most the reply's
// first 100 bytes and parses them. finished() carries the result to the thread that made
// the check; every failure (no connection, no answer in time, an error status without a body)
// ends it as Ignored, without a word.
class UpdateChecker final : public QThread {
    Q_OBJECT
  public:
    UpdateChecker(const QUrl& url, int timeoutMs, QObject* parent = nullptr);

  signals:
    void checked(const soramine::app::UpdateReply& reply);

  protected:
    void run() override;

  private:
    QUrl url_;
    int timeoutMs_;
};

class Prompts;

// Starts a check of `checkUrl` whose result is shown over `window`: the offer to open
// `webPage` for a newer version and, for a manual check, that there is none. The check ends
// by itself; waitForChecks() waits for every check still running (at the program's exit).
void startUpdateCheck(bool manual, const app::UpdateAddresses& addresses, Prompts& prompts,
                      QWidget* window);
void waitForChecks();

}  // namespace soramine::gui
