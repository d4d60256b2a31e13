#include "zolmlauncher.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ZolmLauncher launcher;
    launcher.show();
    return app.exec();
}
