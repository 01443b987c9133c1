#include "ui/Form1.h"

#include <QApplication>
#include <QMessageBox>

#include <iostream>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    ttt::Form1 form;
    if (!form.loadError().empty()) {
        std::cerr << "tictactoe3d: cannot start: " << form.loadError() << '\n';
        // A message box needs someone to close it; without a real display nobody can.
        const QString platform = QGuiApplication::platformName();
        if (platform != "offscreen" && platform != "minimal")
            QMessageBox::critical(nullptr, "tictactoe3d", QString::fromStdString("Cannot start: " + form.loadError()));
        return 1;
    }
    form.show();
    return app.exec();
}
