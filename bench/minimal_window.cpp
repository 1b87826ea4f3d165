// The baselines for start-up measurements: a bare Qt Widgets program with one
// window, and the same window showing one line of Japanese text (which is
// what first loads the font database), each quitting as soon as it is shown
// when APP_QUIT_AFTER_SHOW is set.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(598, 451);
#ifdef WITH_TEXT
    QLabel label(QStringLiteral("こたえをいれてね☆"), &window);
#endif
    window.show();
    if (qEnvironmentVariableIsSet("APP_QUIT_AFTER_SHOW")) QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
