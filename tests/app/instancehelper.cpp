// Stands in for the program: says whether it became the first copy, then
// reports every knock until killed.
#include "app/singleinstance.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    Tessar::SingleInstance instance(QString::fromLocal8Bit(argv[1]));
    QTextStream out(stdout);
    if (!instance.start()) {
        out << "second" << Qt::endl;
        return 1;
    }
    QObject::connect(&instance, &Tessar::SingleInstance::activationRequested, [&out] { out << "activated" << Qt::endl; });
    out << "first" << Qt::endl;
    return app.exec();
}
