// The update check against a small HTTP server on 127.0.0.1 that answers as the test says.

#include "gui/update_checker.h"

#include <QDesktopServices>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "gui_fixture.h"

using namespace soramine;

namespace {

// Answers each request with `reply` (raw bytes after the request's headers arrive), or never
// (`silent`), and keeps the last request's head.
class LocalServer : public QObject {
  public:
    QByteArray reply;
    bool silent = false;
    QByteArray request;
    bool answered = false;

    LocalServer() {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                request += socket->readAll();
                if (!request.contains("\r\n\r\n") || silent)
                    return;
                socket->write(reply);
                socket->disconnectFromHost();
                answered = true;
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        });
    }
    QString url() const {
        return QStringLiteral("http://127.0.0.1:%1/cgi/upcheck.cgi").arg(server_.serverPort());
    }

  private:
    QTcpServer server_;
};

QByteArray http(const QByteArray& status, const QByteArray& body, const QByteArray& headers = {}) {
    return "HTTP/1.0 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\n" + headers + "\r\n" + body;
}

app::UpdateReply check(const QString& url, int timeoutMs = 5000) {
    gui::UpdateChecker checker(QUrl(url + QStringLiteral("?app=TokiwaD&ver=360")), timeoutMs);
    QSignalSpy spy(&checker, &gui::UpdateChecker::checked);
    checker.start();
    if (!spy.wait(20000))
        qFatal("the check never ended");
    checker.wait();
    return spy.takeFirst().at(0).value<app::UpdateReply>();
}

}  // namespace

class UpdateCheckerTest : public QObject {
    Q_OBJECT
  private slots:
    void everyReplyOfTheServer();
    void noServerAndNoAnswerAreSilent();
    void manualAndStartUpChecksSayWhatTheyFound();
};

void UpdateCheckerTest::everyReplyOfTheServer() {
    const QByteArray huge = "Tokiwa-361" + QByteArray(8 << 20, ' ');
    const struct {
        const char* label;
        QByteArray reply;
        app::UpdateAnswer answer;
        const char* shown;
    } cases[] = {
        {"same version", http("200 OK", "Tokiwa-360"), app::UpdateAnswer::NotNewer, ""},
        {"newer", http("200 OK", "Tokiwa-400"), app::UpdateAnswer::Newer, "4.00"},
        {"another product", http("200 OK", "Other-999"), app::UpdateAnswer::Ignored, ""},
        {"eight megabytes, 100 bytes read", http("200 OK", huge), app::UpdateAnswer::Newer, "3.61"},
        {"binary", http("200 OK", QByteArray("\0\x01\xFE\xFFTokiwa-999", 14)),
         app::UpdateAnswer::Ignored, ""},
        {"garbage instead of HTTP", "\x16\x03\x01 no HTTP here", app::UpdateAnswer::Ignored, ""},
        {"not found", http("404 Not Found", ""), app::UpdateAnswer::Ignored, ""},
        {"redirect not followed",
         http("302 Found", "", "Location: http://127.0.0.1:1/Tokiwa-999\r\n"),
         app::UpdateAnswer::Ignored, ""},
    };
    for (const auto& c : cases) {
        LocalServer server;
        server.reply = c.reply;
        const app::UpdateReply reply = check(server.url());
        QVERIFY2(reply.answer == c.answer, c.label);
        QCOMPARE(reply.shownVersion, std::u16string(gui::u16(QString::fromUtf8(c.shown))));
        QVERIFY2(server.request.startsWith("GET /cgi/upcheck.cgi?app=TokiwaD&ver=360 HTTP/1.1\r\n"),
                 c.label);
        QVERIFY2(server.request.contains("User-Agent: Voltu_UpChecker\r\n"), c.label);
    }
}

void UpdateCheckerTest::noServerAndNoAnswerAreSilent() {
    LocalServer slow;
    slow.silent = true;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(check(slow.url(), 500).answer == app::UpdateAnswer::Ignored);
    QVERIFY(timer.elapsed() < 10000);
    // A port nobody listens on.
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();
    QVERIFY(check(QStringLiteral("http://127.0.0.1:%1/").arg(port)).answer ==
            app::UpdateAnswer::Ignored);
}

void UpdateCheckerTest::manualAndStartUpChecksSayWhatTheyFound() {
    QWidget window;
    const struct {
        const char* label;
        QByteArray body;
        bool manual;
        int questions, messages;
    } cases[] = {
        {"no newer, manual", "Tokiwa-360", true, 0, 1},
        {"no newer, at start-up", "Tokiwa-360", false, 0, 0},
        {"newer, at start-up", "Tokiwa-361", false, 1, 0},
        {"not ours, manual", "Other-361", true, 0, 0},
    };
    for (const auto& c : cases) {
        LocalServer server;
        server.reply = http("200 OK", c.body);
        testing::ScriptedPrompts prompts;
        prompts.answers = {false};  // no browser
        gui::startUpdateCheck(c.manual, {gui::u16(server.url()), u"https://example.org/"}, prompts,
                              &window);
        // The server answers in this thread's event loop; the answer comes back through it.
        QTRY_VERIFY(server.answered);
        gui::waitForChecks();
        QTest::qWait(50);
        QCOMPARE(int(prompts.questions.size()), c.questions);
        QCOMPARE(int(prompts.messages.size()), c.messages);
        if (c.questions) {
            QCOMPARE(gui::qs(prompts.questions[0].text),
                     QStringLiteral("\"Version 3.61\" にバージョンアップしています。\r\n"
                                    "webページを開きますか？"));
        }
        if (c.messages)
            QCOMPARE(prompts.lastMessage(), QStringLiteral("バージョンアップはありません。"));
    }
}

QTEST_MAIN(UpdateCheckerTest)
#include "update_checker_test.moc"
