#include "ChatTestSupport.h"

#include <QDir>

StandInHost::StandInHost() : main(nullptr, Qt::Tool | Qt::FramelessWindowHint)
{
    main.resize(130, 180);
    main.move(600, 300);
}

QString testOutputPath(const QString &name)
{
    QDir dir(qEnvironmentVariable("TOLVEX_BINARY_DIR", QDir::currentPath()));
    dir.mkpath(QStringLiteral("test-pictures"));
    return dir.filePath(QStringLiteral("test-pictures/") + name);
}
