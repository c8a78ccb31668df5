#include <QApplication>

// Dunmora ends at once on an empty command line; the download manager's window
// and transfers come with its own library.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return 0;
}
