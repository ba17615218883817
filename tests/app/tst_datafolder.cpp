#include "app/DataFolder.h"

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
    void platformRule();
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
    const DataFolderRule rule{markerPath, QStringLiteral("c:\\develop4\\Pelmar\\data\\"), subFolder};
    const QString folder = DataFolder(programFolder, rule);
    QCOMPARE(folder, expectDeveloperFolder ? rule.developerFolder : expected);

    // With the marker rule switched off the marker is never looked at.
    const DataFolderRule off{QString(), rule.developerFolder, subFolder};
    QCOMPARE(DataFolder(programFolder, off), programFolder + subFolder);
}

void TestDataFolder::platformRule()
{
    const DataFolderRule rule = platformDataFolderRule();
#ifdef Q_OS_WIN
    QCOMPARE(rule.markerFile, QStringLiteral("c:\\qlxdevelop.txt"));
    QCOMPARE(rule.developerFolder, QStringLiteral("c:\\develop4\\Pelmar\\data\\"));
    QCOMPARE(rule.subFolder, QStringLiteral("\\data\\"));
#else
    QVERIFY(rule.markerFile.isEmpty());
    QCOMPARE(rule.subFolder, QStringLiteral("/data/"));
    QCOMPARE(DataFolder(QStringLiteral("/opt/pelmar"), rule), QStringLiteral("/opt/pelmar/data/"));
#endif
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
