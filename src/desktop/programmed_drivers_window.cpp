#include "desktop/programmed_drivers_window.h"

#include "records/records_database.h"

#include <QPlainTextEdit>
#include <QScreen>


TProgrammedDrivers::TProgrammedDrivers(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Programmed Drivers"));
    setFixedSize(1013, 350);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    ProgrammedDriversMemo = new QPlainTextEdit(this);
    ProgrammedDriversMemo->setGeometry(15, 15, 985, 321);
    ProgrammedDriversMemo->setReadOnly(true);
    ProgrammedDriversMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ProgrammedDriversMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ProgrammedDriversMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    ProgrammedDriversMemo->setFont(font);
}

void TProgrammedDrivers::ShowReport()
{
    if (!isVisible()) {
        if (const QScreen *s = screen())
            move(s->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    ProgrammedDriversMemo->clear();
    ProgrammedDriversMemo->setPlainText(ProgrammedDriversReportLines(kReportLineLimit).join(QLatin1Char('\n')));
}
