#include "store/Reasons.h"

namespace pelmar::reasons {

QString fileReadOnly()
{
    return QStringLiteral("ファイルが読み取り専用になっているため、書き込めません。ファイルのプロパティで読み取り"
                          "専用を外してから、もう一度操作してください。");
}

QString folderReadOnly(const QString &folder)
{
    return QStringLiteral("ファイルのあるフォルダー（%1）に書き込めません。フォルダーの読み取り専用を外すか、"
                          "書き込む権限を付けてから、もう一度操作してください。")
        .arg(folder);
}

QString diskFailed()
{
    return QStringLiteral("ディスクへの読み書きに失敗しました。ディスクの故障や、USB メモリー・ネットワークの"
                          "ドライブが外れたことが考えられます。ドライブがつながっていることを確かめてから、"
                          "もう一度操作してください。続けて失敗するときは、パソコンに詳しい方にご相談ください。");
}

QString fileInUse()
{
    return QStringLiteral("別のプログラムがこのファイルを使用中です。このファイルを開いているプログラム（表計算"
                          "ソフト、バックアップのソフトなど）を閉じてから、もう一度操作してください。");
}

QString fileOrFolderReadOnly(const QString &folder)
{
    return QStringLiteral("ファイルか、ファイルのあるフォルダー（%1）に書き込めません。読み取り専用になって"
                          "いないか、書き込む権限があるかを確かめてから、もう一度操作してください。")
        .arg(folder);
}

QString workFileDamaged()
{
    return QStringLiteral("作業用のファイルが壊れています。Pelmar を終了して起動し直すと、作業用のファイルを"
                          "作り直すかどうかを尋ねます。");
}

QString mainFileDamaged()
{
    return QStringLiteral("ファイルが壊れています。これ以上入力や登録をせず、「設定・情報」ページのバックアップ"
                          "から復元してください。");
}

QString diskFull(const QString &folder)
{
    return QStringLiteral("ディスクの空きがありません。このファイルのあるディスク（%1）の空きを増やしてから、"
                          "もう一度操作してください。空きを作るときも、Pelmar のデータファイルとバックアップ"
                          "フォルダーは消さないでください。")
        .arg(folder);
}

QString databaseRefused(const QString &error)
{
    return QStringLiteral("データベースが処理を受け付けませんでした（%1）。").arg(error);
}

QString fileAndReason(const QString &file, const QString &reason)
{
    return QStringLiteral("\n\nファイル: %1\n理由: %2").arg(file, reason);
}

QString heldAtStart()
{
    return QStringLiteral("別のプログラムが使用中です。このファイルを開いているプログラム（ほかに動いている Pelmar、"
                          "表計算ソフト、バックアップのソフトなど）を閉じてから、もう一度起動してください。");
}

QString keepDamagedWorkFile()
{
    return QStringLiteral("ファイルはそのまま残してください。Pelmar を起動し直すと、作業用のファイルを作り直すか"
                          "どうかを尋ねます。");
}

QString keepDamagedMainFile(const QString &backupFolder)
{
    return QStringLiteral("ファイルはそのまま残してください。Pelmar が取った控えはバックアップフォルダー（%1）にあり、"
                          "Pelmar を起動すると、使える控えから復元するかどうかを尋ねます。")
        .arg(backupFolder);
}

QString notADataFile(const QString &error)
{
    return QStringLiteral("データベースとして読めません（壊れているか、Pelmar のデータファイルではありません: %1）。")
        .arg(error);
}

QString readOnlyAtStart()
{
    return QStringLiteral("ファイルが読み取り専用です。書き込めないファイルではデータを保存できません。"
                          "ファイルのプロパティで読み取り専用を外してから起動してください。");
}

QString folderReadOnlyAtStart(const QString &folder)
{
    return QStringLiteral("ファイルのあるフォルダー（%1）に書き込めません。Pelmar は保存のたびにこのフォルダーに"
                          "作業用のファイルを作ります。フォルダーの読み取り専用を外すか、書き込む権限を付けてから"
                          "起動してください。")
        .arg(folder);
}

QString cannotWriteAtStart(const QString &error)
{
    return QStringLiteral("ファイルに書き込めません（%1）。ディスクの空きと、ファイルとフォルダーの状態を確かめてから"
                          "起動してください。")
        .arg(error);
}

QString missingTable(const QString &table)
{
    return QStringLiteral("表「%1」がありません").arg(table);
}

QString missingColumn(const QString &table, const QString &column)
{
    return QStringLiteral("表「%1」に列「%2」がありません").arg(table, column);
}

QString cannotOpen(const QString &file, const QString &reason)
{
    return QStringLiteral("データベース %1 を開けません。\n理由: %2").arg(file, reason);
}

QString noFile()
{
    return QStringLiteral("ファイルがありません。");
}

QString notAFile()
{
    return QStringLiteral("ファイルではありません。");
}

QString noReadPermission()
{
    return QStringLiteral("ファイルを読む権限がありません。");
}

QString emptyFile()
{
    return QStringLiteral("ファイルの中身が空です（Pelmar のデータファイルではないか、壊れています）。");
}

QString versionUnreadable(const QString &error)
{
    return QStringLiteral("データファイルの版を読めません: %1").arg(error);
}

QString negativeVersion(int version)
{
    return QStringLiteral("版 %1 は Pelmar の版ではありません。Pelmar のデータファイルではないか、壊れています。")
        .arg(version);
}

QString copyBeforeUpgrade(const QString &file, int from, int to)
{
    return QStringLiteral("%1 を版 %2 から版 %3 に更新する前の控え").arg(file).arg(from).arg(to);
}

QString tooNewToOpen(int version)
{
    return QStringLiteral("このデータファイルは新しい版の Pelmar で作られています（版 %1）。"
                          "この Pelmar では開けません。新しい版の Pelmar をお使いください。")
        .arg(version);
}

QString noCopyBeforeUpgrade(int from, int to)
{
    return QStringLiteral("このデータファイルは古い版（版 %1）です。版 %2 に更新する前に控えを取る"
                          "手段がないため、更新せずに取りやめました。ファイルは変わっていません。")
        .arg(from)
        .arg(to);
}

QString copyBeforeUpgradeFailed(int from, int to)
{
    return QStringLiteral("このデータファイルを版 %1 から版 %2 に更新する前の控えを取れませんでした。"
                          "更新はしていません。ファイルは変わっていません。")
        .arg(from)
        .arg(to);
}

QString causeUnknown()
{
    return QStringLiteral("原因を特定できませんでした。");
}

QString upgradeFailed(int from, int to, const QString &why)
{
    return QStringLiteral("このデータファイルを版 %1 から版 %2 に更新できませんでした。"
                          "ファイルは変わっていません。\n理由: %3")
        .arg(from)
        .arg(to)
        .arg(why);
}

QString notOurFileOrDamaged()
{
    return QStringLiteral("（Pelmar のデータファイルではないか、壊れています）。");
}

QString interruptedWrite()
{
    return QStringLiteral("前回 Pelmar が書き込みの途中で止まったため、その後始末がまだ済んでいません。"
                          "ファイルは壊れていません。Pelmar を一度起動すると後始末が済み、止まる前に"
                          "保存した内容で開きます。その後でもう一度お試しください。");
}

QString tooNewToRead(int version)
{
    return QStringLiteral("このデータファイルは新しい版の Pelmar で作られています（版 %1）。"
                          "この Pelmar では読めません。新しい版の Pelmar をお使いください。")
        .arg(version);
}

QString tooOldToRead(int version, int current)
{
    return QStringLiteral("このデータファイルは古い版（版 %1）です。Pelmar を一度起動すると"
                          "控えを取ってから版 %2 に更新されます。その後でもう一度お試しください。")
        .arg(version)
        .arg(current);
}

QString unreadable(const QString &error)
{
    return QStringLiteral("データベースとして読めません。%1").arg(error);
}

QString damaged(const QString &findings)
{
    return QStringLiteral("データベースが壊れています: %1").arg(findings);
}

QString notOpen()
{
    return QStringLiteral("データベースが開いていません。");
}

QString cannotMakeBackupFolder(const QString &folder)
{
    return QStringLiteral("バックアップの保存先 %1 を作れません。").arg(folder);
}

QString cannotWriteInto(const QString &folder, const QString &why)
{
    return QStringLiteral("%1 に書き込めません。%2").arg(folder, why);
}

QString backupUnchecked(const QString &problem)
{
    return QStringLiteral("書き込んだバックアップを確認できません。%1").arg(problem);
}

QString cannotCreate(const QString &path, const QString &why)
{
    return QStringLiteral("%1 を作れません。理由: %2").arg(path, why);
}

QString describeBackup(const QString &taken, const QString &reason, const QString &employees, const QString &statements)
{
    return QStringLiteral("%1 に取った%2のバックアップ（従業員 %3 名、明細 %4 件）")
        .arg(taken, reason, employees, statements);
}

QString backupTooNew(int version)
{
    return QStringLiteral("新しい版の Pelmar で作られたバックアップです（版 %1）。").arg(version);
}

QString folderNotWritable(const QString &folder)
{
    return QStringLiteral("フォルダー（%1）に書き込めません。読み取り専用になっていないか、書き込む権限があるかを"
                          "確かめてください。")
        .arg(folder);
}

QString cannotWriteFile(const QString &path, const QString &error)
{
    return QStringLiteral("%1 に書き込めません（%2）。").arg(path, error);
}

QString cannotRead(const QString &path, const QString &error)
{
    return QStringLiteral("%1 を読めません（%2）。").arg(path, error);
}

QString missingFile(const QString &path)
{
    return QStringLiteral("%1 がありません。").arg(path);
}

QString unusableBackup(const QString &path, const QString &problem)
{
    return QStringLiteral("%1 は使えません。%2").arg(path, problem);
}

QString cannotDelete(const QString &path)
{
    return QStringLiteral("%1 を削除できません。").arg(path);
}

QString cannotReplace(const QString &path, const QString &why)
{
    return QStringLiteral("%1 を置き換えられません。%2").arg(path, why);
}

QString cannotKeepAside(const QString &file, const QString &aside)
{
    return QStringLiteral("%1 を %2 として残せません。フォルダーに書き込めるか、ディスクに空きがあるかを"
                          "確かめてください。")
        .arg(file, aside);
}

QString cannotKeepJournalAside(const QString &journal)
{
    return QStringLiteral("%1 を残せません。フォルダーに書き込めるか、ディスクに空きがあるかを確かめて"
                          "ください。")
        .arg(journal);
}

QString noUpgradeStep(int version)
{
    return QStringLiteral("版 %1 への更新手順がありません").arg(version);
}

QString upgradeStepFailed(int version, const QString &error)
{
    return QStringLiteral("版 %1: %2").arg(version).arg(error);
}

QString cannotOpenFile(const QString &error)
{
    return QStringLiteral("ファイルを開けません。%1").arg(error);
}

QString dataExists(const QString &path)
{
    return QStringLiteral("%1 は既にあります。既存のデータは上書きしません。").arg(path);
}

QString cannotMakeFolder(const QString &folder)
{
    return QStringLiteral("フォルダ %1 を作れません。").arg(folder);
}

QString fileExists(const QString &path)
{
    return QStringLiteral("%1 は既にあります。既存のファイルは上書きしません。").arg(path);
}

QString cannotMakeNewFile(const QString &folder, const QString &why)
{
    return QStringLiteral("%1 に新しいファイルを作れません。%2").arg(folder, why);
}

QString noExportName()
{
    return QStringLiteral("書き出すファイルの名前がありません。");
}

QString exportIsFolder()
{
    return QStringLiteral("フォルダーです。書き出すファイルの名前を指定してください。");
}

QString exportNotRegularFile()
{
    return QStringLiteral("ふつうのファイルではありません（装置や名前付きパイプなど）。");
}

QString exportLinkLeadsNowhere(const QString &target)
{
    return QStringLiteral("リンクの指す先（%1）がありません。").arg(target);
}

QString exportInDataFolder(const QString &folder)
{
    return QStringLiteral("Pelmar のデータフォルダー（%1）の中です。データを守るため、データフォルダーと"
                          "その backup フォルダーには書き出しません。ほかのフォルダーを選んでください。")
        .arg(folder);
}

QString exportOverDatabase()
{
    return QStringLiteral("データベースのファイルです。中のデータが失われるため、書き出しで置き換えません。");
}

QString standardOutputFailed()
{
    return QStringLiteral("標準出力に書き込めませんでした。");
}

QString exportFolderMissing(const QString &folder)
{
    return QStringLiteral("保存先のフォルダー（%1）がありません。").arg(folder);
}

QString newestSoundBackup(const QString &backup)
{
    return QStringLiteral("\n\n使えるバックアップのうち一番新しいもの:\n%1").arg(backup);
}

QString backupFolderLine(const QString &folder)
{
    return QStringLiteral("\nバックアップフォルダー: %1").arg(folder);
}

QString hintsTakenOver(int count)
{
    return QStringLiteral("\nヒントの文章 %1 件を引き継ぎました。").arg(count);
}

QString hintsLost()
{
    return QStringLiteral("\n前のファイルから読めなかったヒントの文章は引き継げませんでした。");
}

QString oldFileKeptAs(const QString &path)
{
    return QStringLiteral("\n前のファイルは %1 として残してあります。").arg(path);
}

QString restoredFrom(const QString &backup, const QString &keptAside)
{
    return QStringLiteral("%1 から復元しました。\n壊れていたファイルは %2 として残してあります。")
        .arg(backup, keptAside);
}

QString upgradedFile(const QString &file, int from, int to)
{
    return QStringLiteral("%1（版 %2 から版 %3）").arg(file).arg(from).arg(to);
}

QString leftoversRemoved(int count, qint64 bytes)
{
    return QStringLiteral("中断されたバックアップ・復元の一時ファイル %1 個（%2 バイト）を削除しました。")
        .arg(count)
        .arg(bytes);
}

QString leftoverKept(const QString &path)
{
    return QStringLiteral("一時ファイル %1 を削除できません。").arg(path);
}

QString lockDetailUnknown()
{
    return QStringLiteral("不明");
}

QString unknownLockContents()
{
    return QStringLiteral("不明（ファイルの中身を読めません）");
}

QString onThisComputer(qint64 pid)
{
    return QStringLiteral("（このコンピューター、プロセス番号 %1）").arg(pid);
}

QString lockHolder(const QString &file, const QString &computer, const QString &user, const QString &since)
{
    return QStringLiteral("ファイル: %1\nコンピューター: %2\nユーザー: %3\n使い始めた日時: %4")
        .arg(file, computer, user, since);
}

QString cannotGuardDataFolder(const QString &folder, const QString &lockFile)
{
    return QStringLiteral("データフォルダー（%1）に %2 を作れないため、起動できません。\n\n"
                          "このファイルで Pelmar が一つだけ動いていることを確かめられないため、"
                          "データを守るために起動を取りやめます。\n\n"
                          "データフォルダーが読み取り専用になっていないか、書き込む権限があるかを確かめ、"
                          "書き込めるようにしてから、もう一度起動してください。")
        .arg(folder, lockFile);
}

} // namespace pelmar::reasons
