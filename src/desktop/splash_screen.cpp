#include "desktop/splash_screen.h"

#include "desktop/pictures.h"

#include <QGuiApplication>
#include <QScreen>


TSplashScreen::TSplashScreen(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SplashScreen"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setFixedSize(1018, 503);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 1018, 503);
    Image1->setPixmap(SplashPicture());
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TSplashScreen::Timer1Timer);
}

void TSplashScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
    Timer1->start();
}

void TSplashScreen::Timer1Timer()
{
    Timer1->stop();
    emit finished();
    close();
}
