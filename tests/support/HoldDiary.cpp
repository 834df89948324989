// Keeps a diary open in a process of its own, as a second running program
// would: opens the database named on the command line with the program's
// default login, writes "open" on a line of its own and waits until its
// standard input ends (or it is killed).
//
//   ternvall_hold_diary FILE

#include "foundation/DbClient.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ternvall_hold_diary FILE\n");
        return 2;
    }
    try {
        TDbConnection database(QStringLiteral("hold"));
        database.SetDatabaseName(QString::fromLocal8Bit(argv[1]));
        database.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
        database.Open();
        std::printf("open\n");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
        database.Close();
        return 0;
    } catch (const EException &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
