#include "app/FirstStart.h"
#include "app/FrmPelmar.h"
#include "messages/ShowMsg.h"
#include "store/Database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;

Q_DECLARE_METATYPE(pelmar::FirstStart)

namespace {

// A program folder with its data/ beside it, and a user's data folder that
// does not exist until something makes it.
struct Places {
    QTemporaryDir root;
    QString program;
    QString beside;
    QString user;
    DataFolderRule rule;
    explicit Places(const QString &programFolder = QStringLiteral("usr/bin"))
    {
        program = QDir(root.path()).filePath(programFolder);
        beside = program + QStringLiteral("/data/");
        user = QDir(root.path()).filePath(QStringLiteral("home/.local/share/Pelmar"));
        rule = {QString(), QString(), QStringLiteral("/data/"), user};
        QDir().mkpath(program);
    }
};

// Files named "Pelmar.mdb" or "PelmarWork.mdb" with text in them: a file
// that is there, whatever it holds, must never be replaced.
bool putFiles(const QString &folder, const QStringList &names)
{
    if (names.isEmpty())
        return true;
    if (!QDir().mkpath(folder))
        return false;
    for (const QString &name : names) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write("the user's own file") < 0)
            return false;
    }
    return true;
}

QStringList dataFilesIn(const QString &folder)
{
    return QDir(folder).entryList({kMainDbFileName, kWorkDbFileName}, QDir::Files, QDir::Name);
}

} // namespace

class TestFirstStart : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setMessageAnswerer({}); }
    void offer_data();
    void offer();
    void questionSaysWhereItLooked_data();
    void questionSaysWhereItLooked();
    void yesStartsTheWindowOnTheNewPair();
    void workFileWithoutMainFileIsRefused();
    void pairThatCannotBeMadeIsTold();
};

void TestFirstStart::offer_data()
{
    QTest::addColumn<QStringList>("besideProgram");
    QTest::addColumn<QStringList>("inUserFolder");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<FirstStart>("outcome");
    QTest::addColumn<QStringList>("userFolderAfter"); // empty: the folder is not made at all

    const QStringList none;
    const QStringList both{kMainDbFileName, kWorkDbFileName};
    const QStringList workOnly{kWorkDbFileName};
    const QStringList mainOnly{kMainDbFileName};
    QTest::newRow("no data anywhere, Yes makes the pair")
        << none << none << true << true << FirstStart::Created << both;
    QTest::newRow("no data anywhere, No makes nothing")
        << none << none << false << true << FirstStart::Declined << none;
    QTest::newRow("user folder holds the pair") << none << both << true << false << FirstStart::Go << both;
    QTest::newRow("work file alone is left to opening")
        << none << workOnly << true << false << FirstStart::Go << workOnly;
    QTest::newRow("main file alone is left to opening")
        << none << mainOnly << true << false << FirstStart::Go << mainOnly;
    QTest::newRow("portable copy is not asked about") << both << none << true << false << FirstStart::Go << none;
    QTest::newRow("a lone file beside the program is not passed over")
        << workOnly << none << true << false << FirstStart::Go << none;
}

void TestFirstStart::offer()
{
    QFETCH(QStringList, besideProgram);
    QFETCH(QStringList, inUserFolder);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(FirstStart, outcome);
    QFETCH(QStringList, userFolderAfter);

    Places places;
    QVERIFY(places.root.isValid());
    QVERIFY(putFiles(places.beside, besideProgram));
    QVERIFY(putFiles(places.user, inUserFolder));
    QStringList questions;
    setMessageAnswerer([&](const MessageRequest &request) {
        questions << request.category + u'/' + request.subKey;
        return answer;
    });

    const QString dataPath = DataFolder(places.program, places.rule);
    QCOMPARE(offerFirstStart(places.program, places.rule, dataPath), outcome);

    QCOMPARE(questions, asked ? QStringList{QStringLiteral("開始/新規データ確認")} : QStringList{});
    if (userFolderAfter.isEmpty())
        QVERIFY(!QFileInfo::exists(places.user));
    else
        QCOMPARE(dataFilesIn(places.user), userFolderAfter);
    // Files that were there are the user's own and stay as they were.
    for (const QString &folder : {places.beside, places.user}) {
        for (const QString &name : dataFilesIn(folder)) {
            QFile file(QDir(folder).filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const bool made = outcome == FirstStart::Created;
            QCOMPARE(file.readAll() == "the user's own file", !made);
        }
    }
}

void TestFirstStart::questionSaysWhereItLooked_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<bool>("besideExists");
    QTest::addColumn<bool>("besideNamed");
    // An installed program's /usr/bin/data is no place anyone keeps data.
    QTest::newRow("installed program") << "usr/bin" << false << false;
    QTest::newRow("installed program with a data folder beside it") << "usr/bin" << true << true;
    QTest::newRow("portable copy") << "Pelmar" << false << true;
}

void TestFirstStart::questionSaysWhereItLooked()
{
    QFETCH(QString, programFolder);
    QFETCH(bool, besideExists);
    QFETCH(bool, besideNamed);
    Places places(programFolder);
    QVERIFY(places.root.isValid());
    if (besideExists)
        QVERIFY(QDir().mkpath(places.beside));
    QList<MessageRequest> requests;
    setMessageAnswerer([&](const MessageRequest &request) {
        requests << request;
        return false;
    });
    QCOMPARE(offerFirstStart(places.program, places.rule, DataFolder(places.program, places.rule)),
             FirstStart::Declined);
    QCOMPARE(requests.size(), 1);
    const MessageRequest &asked = requests.first();
    // The places, one a line, the folder where the pair would go last.
    const QString beside = QDir::toNativeSeparators(places.beside);
    const QString user = QDir::toNativeSeparators(places.user + u'/');
    QCOMPARE(asked.subject, besideNamed ? beside + u'\n' + user : user);
    QVERIFY(asked.prompt.contains(asked.subject));
    // A first start goes ahead on Enter.
    QVERIFY(asked.isConfirmation());
    QVERIFY(asked.yesIsDefault());
}

void TestFirstStart::yesStartsTheWindowOnTheNewPair()
{
    Places places;
    QVERIFY(places.root.isValid());
    setMessageAnswerer([](const MessageRequest &) { return true; });
    const QString dataPath = DataFolder(places.program, places.rule);
    QCOMPARE(offerFirstStart(places.program, places.rule, dataPath), FirstStart::Created);
    // The next start finds the pair and asks nothing.
    QCOMPARE(DataFolder(places.program, places.rule), dataPath);
    QCOMPARE(offerFirstStart(places.program, places.rule, dataPath), FirstStart::Go);

    QList<MessageRequest> later;
    setMessageAnswerer([&later](const MessageRequest &request) {
        later << request;
        return true;
    });
    FrmPelmar window(dataPath);
    QVERIFY2(window.isOpen(), qPrintable(window.openError()));
    QCOMPARE(window.state().DataPath, dataPath);
    QVERIFY(later.isEmpty());
}

void TestFirstStart::workFileWithoutMainFileIsRefused()
{
    Places places;
    QVERIFY(places.root.isValid());
    QVERIFY(putFiles(places.user, {kWorkDbFileName}));
    const QString work = QDir(places.user).filePath(kWorkDbFileName);
    QFile before(work);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();

    setMessageAnswerer([](const MessageRequest &) { return true; });
    const QString dataPath = DataFolder(places.program, places.rule);
    QCOMPARE(offerFirstStart(places.program, places.rule, dataPath), FirstStart::Go);
    {
        FrmPelmar window(dataPath);
        QVERIFY(!window.isOpen());
        QVERIFY2(window.openError().contains(kMainDbFileName), qPrintable(window.openError()));
    }
    QCOMPARE(dataFilesIn(places.user), QStringList{kWorkDbFileName});
    QFile after(work);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), bytes);
}

void TestFirstStart::pairThatCannotBeMadeIsTold()
{
    Places places;
    QVERIFY(places.root.isValid());
    // The user folder's parent is a file, so the folder cannot be made.
    const QString blocker = QDir(places.root.path()).filePath(QStringLiteral("home"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QStringList told;
    setMessageAnswerer([&told](const MessageRequest &request) {
        told << request.category + u'/' + request.subKey;
        return true;
    });
    const QString dataPath = DataFolder(places.program, places.rule);
    QCOMPARE(offerFirstStart(places.program, places.rule, dataPath), FirstStart::Failed);
    QCOMPARE(told, (QStringList{QStringLiteral("開始/新規データ確認"), QStringLiteral("エラー/新規データ作成")}));
    QVERIFY(QFileInfo(blocker).isFile());
}

QTEST_MAIN(TestFirstStart)
#include "tst_firststart.moc"
