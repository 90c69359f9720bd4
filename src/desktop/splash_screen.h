#pragma once
// The splash window: borderless, centred, 1018 x 503, filled by its picture. After
// 2000 ms it reports that it is finished (the main window comes up) and closes.

#include <QLabel>
#include <QTimer>
#include <QWidget>

class TSplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit TSplashScreen(QWidget *parent = nullptr);
    QLabel *Image1 = nullptr;
    QTimer *Timer1 = nullptr; // 2000 ms, once
    void Timer1Timer();

signals:
    // The splash time is over (the main window comes up).
    void finished();

protected:
    void showEvent(QShowEvent *event) override;
};

