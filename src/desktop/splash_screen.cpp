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
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        // On a screen with less room than the picture (a small screen, a large
        // scale) the picture shrinks to fit it, in its own proportions.
        const QRect room = screen->availableGeometry();
        const QSize design(1018, 503);
        if (!room.isEmpty() && (design.width() > room.width() || design.height() > room.height())) {
            setFixedSize(design.scaled(room.size(), Qt::KeepAspectRatio));
            Image1->setScaledContents(true);
            Image1->setGeometry(rect());
        }
        QRect place(QPoint(), size());
        place.moveCenter(screen->geometry().center());
        if (!room.isEmpty() && !room.contains(place))
            place.moveCenter(room.center());
        move(place.topLeft());
    }
    Timer1->start();
}

void TSplashScreen::Timer1Timer()
{
    Timer1->stop();
    emit finished();
    close();
}
