// The floor of the start-up benchmark: a bare Qt Widgets window of the main window's size with
// one push button, so that it draws text as every real window does; built with nothing but Qt
// Widgets.
#include <QApplication>
#include <QPushButton>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(888, 687);
    window.setWindowTitle(QStringLiteral("Vaskelio"));
    auto *button = new QPushButton(QStringLiteral("Start New Game"), &window);
    button->setGeometry(667, 8, 209, 39);
    window.show();
    return QApplication::exec();
}
