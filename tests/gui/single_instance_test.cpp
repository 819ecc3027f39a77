// A later start of the real program hands its command line to the first instance: this test
// is the first instance (the lock, the socket and a window of its own) and starts the
// program for the second; one case starts both for real.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QRadioButton>
#include <QtTest>
#include <cstring>
#include <memory>

#include "core/app/forwarded_command.h"
#include "core/app/ini_file.h"
#include "core/methods/method_list.h"
#include "core/methods/replace.h"
#include "core/platform/instance.h"
#include "gui/command_line_forms.h"
#include "gui/dialogs/progress_dialog.h"
#include "gui/instance_server.h"
#include "gui/main_window.h"
#include "gui_fixture.h"
#include "support/temp_dir.h"

using namespace soramine;

namespace {

QString qpath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

// The first instance: the window, its socket in a runtime folder of its own, and the lock.
struct FirstInstance {
    testing::TempDir config, runtime, files;
    RenameSession session{IniFile(config.folder() + u"ソラミネ.ini"), makeMethodTable()};
    HistoryMap histories;
    testing::ScriptedPrompts prompts;
    std::unique_ptr<gui::MainWindow> window;
    gui::InstanceServer server;
    std::optional<platform::InstanceLock> lock;

    FirstInstance() {
        // The program's own paths in a runtime folder of this test's.
        qputenv("XDG_RUNTIME_DIR", qpath(runtime.path()).toUtf8());
        session.readIni();
        window = std::make_unique<gui::MainWindow>(session, histories, prompts);
        window->show();
        QObject::connect(&server, &gui::InstanceServer::commandReceived, window.get(),
                         &gui::MainWindow::receiveForwarded);
        lock.emplace(platform::InstanceLock::acquire(paths().lock).value());
        server.listen(gui::localPath(paths().socket));
    }
    platform::InstancePaths paths() const { return *platform::instancePaths(); }
    QStringList rows() const {
        QStringList names;
        for (size_t i = 0; i < session.items().count(); ++i)
            names << gui::qs(session.items().name(i));
        return names;
    }
};

// Starts the program with `args` as the same user's later start (its runtime folder is the
// first instance's) and waits until it ends; returns its exit status.
int startSecond(const FirstInstance& first, const QStringList& args) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), qpath(first.runtime.path()));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), qpath(first.config.path()));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(SORAMINE_PROGRAM), args);
    if (!program.waitForFinished(60000))
        return -1;
    return program.exitCode();
}

bool waitForRows(const FirstInstance& first, const QStringList& rows) {
    return QTest::qWaitFor([&] { return first.rows() == rows; }, 10000);
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void secondStartForwardsPathsAndSettingsFiles();
    void forwardedDuringARunWaitsForItsEnd();
    void hostileMessagesLeaveTheWindowAlone();
    void realFirstInstanceAfterAKilledOne();
    void oneShotFormsShowTheirMessages();
};

void SingleInstanceTest::initTestCase() {
    QVERIFY(QFileInfo(QStringLiteral(SORAMINE_PROGRAM)).isExecutable());
}

void SingleInstanceTest::secondStartForwardsPathsAndSettingsFiles() {
    FirstInstance first;
    first.files.write("a/one.jpg");
    first.files.write("a/two.jpg");
    first.files.write("b/three.jpg");
    first.files.write("c");
    const QString a = qpath(first.files.path() / "a"), b = qpath(first.files.path() / "b");
    const QString spaced = qpath(first.files.write("with space/four five.jpg"));

    QCOMPARE(startSecond(first, {a}), 0);
    QVERIFY(waitForRows(first, {"one.jpg", "two.jpg"}));
    // "新規(&N)": the next forwarded folder replaces the rows; "追加(&A)" adds to them.
    QCOMPARE(startSecond(first, {b}), 0);
    QVERIFY(waitForRows(first, {"three.jpg"}));
    first.window->findChild<QRadioButton*>(QStringLiteral("addRadio"))->click();
    QCOMPARE(startSecond(first, {spaced, QStringLiteral("/no/such/path")}), 0);
    QVERIFY(waitForRows(first, {"three.jpg", "four five.jpg"}));
    // A lower-case "c" is a path, not the swap.
    QCOMPARE(startSecond(first, {QStringLiteral("c"), qpath(first.files.path() / "c")}), 0);
    QVERIFY(waitForRows(first, {"three.jpg", "four five.jpg", "c"}));

    // One ".qrn" is loaded as settings.
    first.session.settings.methodIndex = 1;
    const std::u16string job = first.files.folder() + u"job.qrn";
    first.window->saveSettingsFileAs(job);
    first.session.settings.methodIndex = 0;
    QCOMPARE(startSecond(first, {gui::qs(job)}), 0);
    QVERIFY(QTest::qWaitFor([&] { return first.session.settings.methodIndex == 1; }, 10000));
    QVERIFY(first.prompts.messages.empty());
}

void SingleInstanceTest::forwardedDuringARunWaitsForItsEnd() {
    FirstInstance first;
    constexpr int kFiles = 3000;
    for (int i = 0; i < kFiles; ++i)
        first.files.write(QString::asprintf("run/IMG_%05d.jpg", i).toStdString());
    first.files.write("later/later.jpg");
    first.window->importPaths({first.files.folder() + u"run"}, PathSource::CommandLine);
    QCOMPARE(first.session.items().count(), size_t(kFiles));
    first.session.settings.methodIndex = 1;
    auto* replace = dynamic_cast<ReplacePage*>(first.session.methods.page(1));
    replace->search.text = u"IMG_";
    replace->replacement.text = u"photo_";

    // While the run goes on, a later start forwards a folder through the socket.
    bool sent = false;
    size_t rowsWhileRunning = 0;
    QTimer probe;
    probe.setInterval(2);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (qobject_cast<gui::ProgressDialog*>(modal)) {
            if (!sent) {
                sent = true;
                const std::vector<std::u16string> args{first.files.folder() + u"later"};
                const auto command = app::forwardedCommand(u"/p", args);
                QVERIFY(platform::sendToInstance(first.paths().socket,
                                                 app::encodeForwarded(*command), 1000));
                QTest::qWait(200);  // the window hears it while the run goes on
                rowsWhileRunning = first.session.items().count();
            }
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        }
    });
    probe.start();
    first.window->execute();
    QVERIFY(sent);
    QCOMPARE(rowsWhileRunning, size_t(kFiles));
    QVERIFY(first.files.exists(QString::asprintf("run/photo_%05d.jpg", kFiles - 1).toStdString()));
    QCOMPARE(first.rows(), QStringList{"later.jpg"});
    QVERIFY(first.prompts.messages.empty());
}

void SingleInstanceTest::hostileMessagesLeaveTheWindowAlone() {
    FirstInstance first;
    const std::u16string socket = first.paths().socket;
    std::string huge(8, '\xFF');
    std::string oneMebibyte = app::encodeForwarded(
        {1 << 20, u"\"/p\" " + std::u16string(1 << 19, u'"') + std::u16string(1 << 19, u' ')});
    const std::string cases[] = {
        "garbage!",                  // announces an odd size
        huge + "rest",               // announces more than the limit
        oneMebibyte,                 // a mebibyte of quotes and spaces
        oneMebibyte.substr(0, 100),  // cut short: dropped when the sender goes
    };
    for (const std::string& bytes : cases)
        QVERIFY(platform::sendToInstance(socket, bytes, 1000) ||
                bytes.size() > 1000);  // a refused message may close the socket mid-write
    // A connection that sends nothing ties nothing up: the next message is heard.
    QLocalSocket idle;
    idle.connectToServer(gui::localPath(socket));
    QVERIFY(idle.waitForConnected(1000));
    first.files.write("ok/ok.jpg");
    const auto ok = app::forwardedCommand(u"/p", std::vector{first.files.folder() + u"ok"});
    QVERIFY(platform::sendToInstance(socket, app::encodeForwarded(*ok), 1000));
    QVERIFY(waitForRows(first, {"ok.jpg"}));
    QVERIFY(first.prompts.messages.empty());
}

void SingleInstanceTest::realFirstInstanceAfterAKilledOne() {
    // A killed instance leaves its socket and its (unlocked) lock file behind.
    testing::TempDir runtime, config, files;
    files.write("x.jpg");
    qputenv("XDG_RUNTIME_DIR", qpath(runtime.path()).toUtf8());
    const auto paths = platform::instancePaths();
    QVERIFY(paths);
    (void)platform::InstanceLock::acquire(paths->lock);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = gui::localPath(paths->socket).toUtf8();
    std::strncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path - 1);
    QCOMPARE(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    QVERIFY(QFile::exists(gui::localPath(paths->socket)));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), qpath(runtime.path()));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), qpath(config.path()));
    QProcess firstProgram;
    firstProgram.setProcessEnvironment(env);
    firstProgram.start(QStringLiteral(SORAMINE_PROGRAM), {});
    QVERIFY(firstProgram.waitForStarted());
    const std::string hello = app::encodeForwarded(*app::forwardedCommand(u"/p", {}));
    QVERIFY(QTest::qWaitFor(
        [&] { return bool(platform::sendToInstance(paths->socket, hello, 1000)); }, 30000));
    // The first start becomes the first instance: a second one hands over and ends at once.
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(SORAMINE_PROGRAM), {qpath(files.path())});
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(firstProgram.state(), QProcess::Running);
    firstProgram.kill();
    QVERIFY(firstProgram.waitForFinished(10000));
}

void SingleInstanceTest::oneShotFormsShowTheirMessages() {
    testing::TempDir dir;
    const std::u16string a = gui::corePath(qpath(dir.write("a.txt", "A")));
    const std::u16string b = gui::corePath(qpath(dir.write("b.txt", "B")));
    struct Case {
        const char* label;
        std::vector<std::u16string> args;
        int status;
        QString message;
    } cases[] = {
        {"swap", {u"C", a, b}, 0, QStringLiteral("入れ替えました")},
        {"one file", {u"C", a}, 2, QStringLiteral("ファイルは2つにしてください")},
        {"digest is silent", {u"/h", u"/c", a}, 0, {}},
    };
    for (const auto& c : cases) {
        testing::ScriptedPrompts prompts;
        QCOMPARE(gui::runOneShotForm(c.args, prompts), c.status);
        QCOMPARE(prompts.lastMessage(), c.message);
    }
    QVERIFY(!dir.exists("a.txt"));  // swapped, then named after its digest
    QCOMPARE(QString::fromStdString(dir.read("b.txt")), QStringLiteral("A"));
}

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
