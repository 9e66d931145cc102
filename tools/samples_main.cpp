// Writes a folder of sample pages to try every option of Quirevale on:
//
//   build/tools/quirevale-samples <folder>

#include "samplepages.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv); // fonts for the page numbers
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QStringList written = writeSampleFolder(QString::fromLocal8Bit(argv[1]));
    if (written.isEmpty()) {
        std::fprintf(stderr, "could not write the sample pages into %s\n", argv[1]);
        return 1;
    }
    for (const QString &name : written)
        std::printf("%s\n", qPrintable(name));
    return 0;
}
