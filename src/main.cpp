// Program entry: the application object and the main window; everything else lives in the
// libraries.
#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvex"));
    // Placeholder until the main window exists.
    QLabel window(QStringLiteral("Tolvex"));
    window.resize(160, 320);
    window.show();
    return QApplication::exec();
}
