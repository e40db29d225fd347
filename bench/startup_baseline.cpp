// The floor: an empty Qt Widgets main window, shown, then ended. With
// --with-menu it gets a menu bar with one menu, the least text a window can
// show: that much already loads the font database.
#include "WindowShown.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <cstring>

int main(int argc, char** argv)
{
    const bool withMenu = argc > 1 && std::strcmp(argv[1], "--with-menu") == 0;
    QApplication application(argc, argv);
    QMainWindow window;
    if (withMenu)
        window.menuBar()->addMenu(QStringLiteral("&File"));
    window.show();
    WindowShown::watch(&window);
    return QApplication::exec();
}
