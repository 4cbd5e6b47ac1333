// Process entry of Arvena3.
#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Arvena3");
    return 0;
}
