// The start-up baseline: an empty Qt Widgets program that shows one 130 x 180 window and
// says "shown" once the event loop runs, as tolvex does under TOLVEX_STARTUP_PROBE. With
// --label the window shows one line of text, which is what drawing any text costs.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(130, 180);
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0)
        (new QLabel(QStringLiteral("Main"), &window))->move(4, 160);
    window.show();
    QTimer::singleShot(0, [] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
    });
    return QApplication::exec();
}
