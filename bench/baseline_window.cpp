// The start-up baseline: an empty Qt Widgets program that shows one 130 x 180 window and
// says "shown" once the event loop runs, as tolvex does under TOLVEX_STARTUP_PROBE.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(130, 180);
    window.show();
    QTimer::singleShot(0, [] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
    });
    return QApplication::exec();
}
