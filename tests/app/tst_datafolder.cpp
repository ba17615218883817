#include "app/DataFolder.h"
#include "app/SupportPage.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;

class TestDataFolder : public QObject {
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
    void installedOrPortable_data();
    void installedOrPortable();
    void platformRule();
    void helpPage_data();
    void helpPage();
};

void TestDataFolder::rule_data()
{
    QTest::addColumn<QString>("marker"); // "file", "folder" or "none"
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("subFolder");
    QTest::addColumn<bool>("expectDeveloperFolder");
    QTest::addColumn<QString>("expected"); // when not the developer folder

    QTest::newRow("no marker: data beside the program") << "none"
                                                        << "c:\\Program Files\\Pelmar"
                                                        << "\\data\\" << false << "c:\\Program Files\\Pelmar\\data\\";
    QTest::newRow("drive root doubles the backslash, used unchanged") << "none"
                                                                      << "C:\\"
                                                                      << "\\data\\" << false << "C:\\\\data\\";
    QTest::newRow("marker file switches to the developer folder") << "file"
                                                                  << "c:\\anywhere"
                                                                  << "\\data\\" << true << QString();
    QTest::newRow("a folder of the marker's name counts too") << "folder"
                                                              << "c:\\anywhere"
                                                              << "\\data\\" << true << QString();
    QTest::newRow("unix layout") << "none"
                                 << "/opt/pelmar"
                                 << "/data/" << false << "/opt/pelmar/data/";
}

void TestDataFolder::rule()
{
    QFETCH(QString, marker);
    QFETCH(QString, programFolder);
    QFETCH(QString, subFolder);
    QFETCH(bool, expectDeveloperFolder);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString markerPath = QDir(dir.path()).filePath(QStringLiteral("qlxdevelop.txt"));
    if (marker == QLatin1String("file")) {
        QFile file(markerPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (marker == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(markerPath));
    }
    const DataFolderRule rule{markerPath, QStringLiteral("c:\\develop4\\Pelmar\\data\\"), subFolder, QString()};
    const QString folder = DataFolder(programFolder, rule);
    QCOMPARE(folder, expectDeveloperFolder ? rule.developerFolder : expected);

    // With the marker rule switched off the marker is never looked at.
    const DataFolderRule off{QString(), rule.developerFolder, subFolder, QString()};
    QCOMPARE(DataFolder(programFolder, off), programFolder + subFolder);
}

void TestDataFolder::installedOrPortable_data()
{
    QTest::addColumn<QStringList>("besideProgram"); // what data/ beside the program holds
    QTest::addColumn<bool>("userFolderKnown");
    QTest::addColumn<bool>("marker");
    QTest::addColumn<QString>("expected"); // "beside", "user" or "developer"

    const QStringList none;
    const QStringList both{kMainDbFileName, kWorkDbFileName};
    QTest::newRow("installed: nothing beside the program") << none << true << false << "user";
    QTest::newRow("portable copy: both files beside the program") << both << true << false << "beside";
    QTest::newRow("main file alone is still this copy's data")
        << QStringList{kMainDbFileName} << true << false << "beside";
    QTest::newRow("work file alone is still this copy's data")
        << QStringList{kWorkDbFileName} << true << false << "beside";
    QTest::newRow("an empty data folder holds no data") << QStringList{QStringLiteral(".")} << true << false << "user";
    QTest::newRow("backups alone are not the data") << QStringList{QStringLiteral("backup")} << true << false << "user";
    QTest::newRow("a file of another name is not the data")
        << QStringList{QStringLiteral("pelmar.mdb.bak")} << true << false << "user";
    QTest::newRow("no user folder: beside the program") << none << false << false << "beside";
    QTest::newRow("marker wins over files beside the program") << both << true << true << "developer";
    QTest::newRow("marker wins over the user folder") << none << true << true << "developer";
}

void TestDataFolder::installedOrPortable()
{
    QFETCH(QStringList, besideProgram);
    QFETCH(bool, userFolderKnown);
    QFETCH(bool, marker);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = QDir(dir.path()).filePath(QStringLiteral("bin"));
    const QString beside = program + QStringLiteral("/data/");
    const QString user = QDir(dir.path()).filePath(QStringLiteral("home/.local/share/Pelmar"));
    QVERIFY(QDir().mkpath(beside));
    for (const QString &name : besideProgram) {
        if (name == QLatin1String("."))
            continue;
        if (name == QLatin1String("backup")) {
            QVERIFY(QDir().mkpath(beside + name));
            continue;
        }
        QFile file(beside + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString markerPath = QDir(dir.path()).filePath(QStringLiteral("qlxdevelop.txt"));
    if (marker) {
        QFile file(markerPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const DataFolderRule rule{markerPath, QStringLiteral("c:\\develop4\\Pelmar\\data\\"), QStringLiteral("/data/"),
                              userFolderKnown ? user : QString()};

    const QString chosen = DataFolder(program, rule);
    if (expected == QLatin1String("beside"))
        QCOMPARE(chosen, beside);
    else if (expected == QLatin1String("user"))
        QCOMPARE(chosen, user + u'/'); // a data folder ends with a separator
    else
        QCOMPARE(chosen, rule.developerFolder);

    // The places a start looks in, as it tells them when there is no data.
    const QStringList looked = dataFolderCandidates(program, rule);
    if (marker)
        QCOMPARE(looked, QStringList{QDir::toNativeSeparators(rule.developerFolder)});
    else if (userFolderKnown)
        QCOMPARE(looked, (QStringList{QDir::toNativeSeparators(beside), QDir::toNativeSeparators(user + u'/')}));
    else
        QCOMPARE(looked, QStringList{QDir::toNativeSeparators(beside)});
    // Choosing never makes a folder or a file.
    QVERIFY(!QFileInfo::exists(user));
}

void TestDataFolder::platformRule()
{
    const QString programName = QCoreApplication::applicationName();
    const DataFolderRule rule = platformDataFolderRule();
    // The data folder's lock records the application's name at start-up, and
    // a later start compares the running program file with it: looking up
    // the user folder must leave the name as it was.
    QCOMPARE(QCoreApplication::applicationName(), programName);
    QVERIFY(QDir::fromNativeSeparators(rule.userFolder).endsWith(QStringLiteral("/Pelmar")));
    QVERIFY(QDir::isAbsolutePath(rule.userFolder));
#ifdef Q_OS_WIN
    QCOMPARE(rule.markerFile, QStringLiteral("c:\\qlxdevelop.txt"));
    QCOMPARE(rule.developerFolder, QStringLiteral("c:\\develop4\\Pelmar\\data\\"));
    QCOMPARE(rule.subFolder, QStringLiteral("\\data\\"));
#else
    QVERIFY(rule.markerFile.isEmpty());
    QCOMPARE(rule.subFolder, QStringLiteral("/data/"));
    // An installed program keeps its data where the desktop keeps each
    // user's application data.
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    const DataFolderRule installed = platformDataFolderRule();
    if (wasSet)
        qputenv("XDG_DATA_HOME", before);
    else
        qunsetenv("XDG_DATA_HOME");
    QCOMPARE(installed.userFolder, home.path() + QStringLiteral("/Pelmar"));
    QCOMPARE(DataFolder(QStringLiteral("/nonexistent/pelmar/bin"), installed),
             home.path() + QStringLiteral("/Pelmar/"));
#endif
}

void TestDataFolder::helpPage_data()
{
    QTest::addColumn<QStringList>("pages"); // where a help page is, under the root
    QTest::addColumn<QString>("found"); // empty: none is found
    const QString beside = QStringLiteral("usr/bin/pelmar-support.html");
    const QString installed = QStringLiteral("usr/share/pelmar/help/pelmar-support.html");
    const QString desktop = QStringLiteral("xdg/pelmar/help/pelmar-support.html");
    QTest::newRow("build or portable copy: beside the program") << QStringList{beside} << beside;
    QTest::newRow("installed: the share folder of its prefix") << QStringList{installed} << installed;
    QTest::newRow("elsewhere: the desktop's shared data") << QStringList{desktop} << desktop;
    QTest::newRow("beside the program comes first") << QStringList{desktop, installed, beside} << beside;
    QTest::newRow("the prefix before the desktop's") << QStringList{desktop, installed} << installed;
    QTest::newRow("a folder of that name is no page")
        << QStringList{QStringLiteral("usr/bin/pelmar-support.html/")} << QString();
    QTest::newRow("nowhere") << QStringList{} << QString();
}

void TestDataFolder::helpPage()
{
    QFETCH(QStringList, pages);
    QFETCH(QString, found);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("usr/bin")));
    for (const QString &page : pages) {
        if (page.endsWith(u'/')) {
            QVERIFY(dir.mkpath(page));
            continue;
        }
        QVERIFY(dir.mkpath(QFileInfo(page).path()));
        QFile file(dir.filePath(page));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // The desktop's shared data is this test's own folder, and only that.
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("xdg"))));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dir.filePath(QStringLiteral("none"))));
    const QString page = findSupportPage(dir.filePath(QStringLiteral("usr/bin")));
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
    QCOMPARE(page, found.isEmpty() ? QString() : dir.filePath(found));
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
