#include "gui/update_checker.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "gui/prompts.h"
#include "gui/qt_text.h"

namespace soramine::gui {
namespace {

constexpr int kTimeoutMs = 15000;

// The checks still running, for waitForChecks().
QList<QPointer<UpdateChecker>>& runningChecks() {
    static QList<QPointer<UpdateChecker>> checks;
    return checks;
}

}  // namespace

UpdateChecker::UpdateChecker(const QUrl& url, int timeoutMs, QObject* parent)
    : QThread(parent), url_(url), timeoutMs_(timeoutMs) {
    qRegisterMetaType<app::UpdateReply>();
}

void UpdateChecker::run() {
    QNetworkAccessManager network;
    QNetworkRequest request(url_);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Voltu_UpChecker"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(timeoutMs_);
    QNetworkReply* reply = network.get(request);
    QByteArray body;
    QEventLoop loop;
    connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        body += reply->read(static_cast<qint64>(app::kMaxReplyBytes) - body.size());
        if (body.size() >= static_cast<qsizetype>(app::kMaxReplyBytes))
            reply->abort();  // the rest is never read
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const bool answered =
        reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() && !body.isEmpty();
    delete reply;
    emit checked(answered ? app::parseUpdateReply(std::string_view(body.data(), body.size()))
                          : app::UpdateReply{});
}

void startUpdateCheck(bool manual, const app::UpdateAddresses& addresses, Prompts& prompts,
                      QWidget* window) {
    const QUrl url(qs(app::updateRequestUrl(addresses.checkUrl)));
    auto* checker = new UpdateChecker(url, kTimeoutMs);
    runningChecks().append(checker);
    const QUrl webPage(qs(addresses.webPage));
    QObject::connect(
        checker, &UpdateChecker::checked, window,
        [manual, webPage, &prompts, window](const app::UpdateReply& reply) {
            if (reply.answer == app::UpdateAnswer::Newer) {
                if (prompts.askYesNo(window, app::newerVersionQuestion(reply.shownVersion)))
                    QDesktopServices::openUrl(webPage);
            } else if (reply.answer == app::UpdateAnswer::NotNewer && manual) {
                prompts.showMessage(window, app::noNewerVersionMessage());
            }
        });
    QObject::connect(checker, &QThread::finished, checker, &QObject::deleteLater);
    checker->start();
}

void waitForChecks() {
    for (const QPointer<UpdateChecker>& check : std::as_const(runningChecks())) {
        if (check) {
            check->wait();
            delete check.data();
        }
    }
    runningChecks().clear();
}

}  // namespace soramine::gui
