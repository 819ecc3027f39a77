// Starts the real soramine on an X display (the test runs under xvfb-run), kills it with
// SIGKILL while it renames many files, and starts it again: its offer to undo the killed run
// gives every file its name back.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace {

constexpr int kFiles = 20000;

QString original(int i) {
    return QStringLiteral("f%1.txt").arg(i, 5, 10, QLatin1Char('0'));
}

// The files of the folder whose name is not what the test gave them.
int renamedCount(const QString& folder) {
    int renamed = 0;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        renamed += !name.startsWith(QLatin1Char('f'));
    return renamed;
}

// Runs xdotool with `args`; its output.
QString xdotool(const QStringList& args) {
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), args);
    tool.waitForFinished(20000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

// Gives the keyboard focus to the newest window titled `title` and types `keys` into it.
bool typeInto(const QString& title, const QString& keys) {
    QString ids;
    for (int i = 0; i < 300 && ids.isEmpty(); ++i) {
        ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                       QStringLiteral("--name"), QStringLiteral("^%1$").arg(title)});
        if (ids.isEmpty())
            QTest::qWait(100);
    }
    if (ids.isEmpty())
        return false;
    const QString id = ids.split(QLatin1Char('\n')).last();
    QTest::qWait(500);  // the window's first paint
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
    xdotool({QStringLiteral("key"), QStringLiteral("--window"), id, keys});
    return true;
}

}  // namespace

class KilledRunTest : public QObject {
    Q_OBJECT
  private slots:
    void killedRunIsUndoneAtTheNextStart();
};

void KilledRunTest::killedRunIsUndoneAtTheNextStart() {
    QTemporaryDir config, files;
    for (int i = 0; i < kFiles; ++i)
        QFile(files.filePath(original(i))).open(QIODevice::WriteOnly);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    // The first start imports the folder and executes the default method ("連番") by its
    // access key; it is killed once a few hundred files have their new names.
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(QStringLiteral(SORAMINE_PROGRAM), {files.path()});
    QVERIFY(first.waitForStarted());
    QVERIFY2(typeInto(QStringLiteral("ソラミネ"), QStringLiteral("alt+d")), "no window");
    int renamed = 0;
    for (int i = 0; i < 1200 && renamed < 300; ++i) {
        QTest::qWait(50);
        renamed = renamedCount(files.path());
    }
    QVERIFY2(renamed >= 300, "the run did not start");
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    QVERIFY(first.waitForFinished(10000));
    renamed = renamedCount(files.path());
    QVERIFY2(renamed < kFiles, "the run ended before it was killed");
    qInfo("killed with %d of %d files renamed", renamed, kFiles);

    // The second start asks; Return answers "はい" (the default button).
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(SORAMINE_PROGRAM), QStringList());
    QVERIFY(second.waitForStarted());
    QVERIFY2(xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                      QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                      QStringLiteral("^確認$")})
                     .size() > 0,
             "no question");
    QTest::qWait(1000);
    QDir().mkpath(QStringLiteral(SORAMINE_SCREENSHOTS));
    QVERIFY(QGuiApplication::primaryScreen()->grabWindow(0).toImage().save(
        QStringLiteral(SORAMINE_SCREENSHOTS "/killed_run_question.png")));
    QVERIFY(typeInto(QStringLiteral("確認"), QStringLiteral("Return")));
    for (int i = 0; i < 1200 && renamedCount(files.path()) != 0; ++i)
        QTest::qWait(100);
    QCOMPARE(renamedCount(files.path()), 0);
    QCOMPARE(QDir(files.path()).entryList(QDir::Files).size(), kFiles);
    QCOMPARE(QDir(config.path() + QStringLiteral("/soramine/undo")).entryList(QDir::Files).size(),
             0);
    second.terminate();
    QVERIFY(second.waitForFinished(20000));
}

QTEST_MAIN(KilledRunTest)
#include "killed_run_test.moc"
