// pelmar-newdata DIR: creates the two empty database files of a new
// installation in DIR. Existing files are never overwritten.
#include "store/NewInstallation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2 || args.at(1).startsWith(u'-')) {
        err << "usage: pelmar-newdata DIR\n"
               "Creates Pelmar.mdb and PelmarWork.mdb, with every table and no data, in DIR.\n";
        return 2;
    }
    QString error;
    if (!pelmar::createNewInstallation(args.at(1), &error)) {
        err << "pelmar-newdata: " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << "created " << QDir::toNativeSeparators(QDir(args.at(1)).absolutePath())
                        << "/{Pelmar.mdb,PelmarWork.mdb}\n";
    return 0;
}
