// pelmar-newdata DIR: creates the two empty database files of a new
// installation in DIR. pelmar-newdata --work-only DIR: creates only the work
// file, PelmarWork.mdb, in DIR. Existing files are never overwritten.
#include "store/NewInstallation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    const bool workOnly = !args.isEmpty() && args.first() == QLatin1String("--work-only");
    if (workOnly)
        args.removeFirst();
    if (args.size() != 1 || args.first().startsWith(u'-')) {
        err << "usage: pelmar-newdata DIR\n"
               "       pelmar-newdata --work-only DIR\n"
               "Creates Pelmar.mdb and PelmarWork.mdb, with every table and no data, in DIR.\n"
               "With --work-only, creates only PelmarWork.mdb (the work file: what the pages are\n"
               "editing and the hint texts), for a folder whose Pelmar.mdb is kept.\n"
               "Existing files are never overwritten.\n";
        return 2;
    }
    const QString folder = args.first();
    QString error;
    const bool created =
        workOnly ? pelmar::createWorkFile(folder, &error) : pelmar::createNewInstallation(folder, &error);
    if (!created) {
        err << "pelmar-newdata: " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << "created " << QDir::toNativeSeparators(QDir(folder).absolutePath())
                        << (workOnly ? "/PelmarWork.mdb\n" : "/{Pelmar.mdb,PelmarWork.mdb}\n");
    return 0;
}
