// Stands in for the program: says whether it became the first copy, then
// reports every knock until killed. With --listen-after MS it answers later
// starts only that long after, as the program does once its window shows.
#include "app/singleinstance.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

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
    const int listenAfterMs = argc > 3 && QByteArray(argv[2]) == "--listen-after" ? QByteArray(argv[3]).toInt() : 0;
    QTimer::singleShot(listenAfterMs, &instance, &Tessar::SingleInstance::listen);
    QObject::connect(&instance, &Tessar::SingleInstance::activationRequested, [&out] { out << "activated" << Qt::endl; });
    out << "first" << Qt::endl;
    return app.exec();
}
