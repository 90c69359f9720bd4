#pragma once
// Packets as the stick sends them, the radio log, and a radio link on the fake stick.
#include "fake_serial_port.h"
#include "radio/esp3.h"
#include "radio/radio_link.h"
#include "scripted_dialogs.h"

#include <QByteArray>
#include <QStringList>
#include <array>
#include <gtest/gtest.h>

inline QByteArray hexBytes(const char *text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

inline QByteArray responsePacket(std::initializer_list<uint8_t> data)
{
    QByteArray d;
    for (uint8_t b : data)
        d.append(char(b));
    return esp3::BuildPacket(esp3::kTypeResponse, d, {});
}

// A version response: app 2.6.3b0, API api0.api1.0b0, chip ID, return code rc.
inline QByteArray versionResponse(uint32_t chipId, uint8_t rc = 0, uint8_t api0 = 2, uint8_t api1 = 6)
{
    QByteArray d;
    d.append(char(rc));
    for (uint8_t b : {2, 6, 3, 0})
        d.append(char(b));
    for (uint8_t b : {api0, api1, uint8_t(0), uint8_t(0)})
        d.append(char(b));
    d.append(char(chipId >> 24)).append(char(chipId >> 16)).append(char(chipId >> 8)).append(char(chipId));
    d.append(QByteArray(20, '\0'));
    return esp3::BuildPacket(esp3::kTypeResponse, d, {});
}

// A telegram from the programmer carrying `frame`, addressed to `destination`.
inline QByteArray telegramFrom(const QByteArray &frame, uint32_t sender, uint32_t destination)
{
    return esp3::BuildRadioTelegram(reinterpret_cast<const uint8_t *>(frame.constData()), uint8_t(frame.size()), sender,
                                    destination);
}

// Collects the radio log.
struct LogRecorder {
    QStringList lines;
    explicit LogRecorder(RadioLink &link)
    {
        QObject::connect(&link, &RadioLink::logLine, &link, [this](const QString &l) { lines << l; });
    }
    QStringList take()
    {
        QStringList out = lines;
        lines.clear();
        return out;
    }
};

// What the link reported for its window to show: the status bar panels, the
// stick line, the receiver edits, the total line and whether "Get DutyCycle Info"
// would be enabled. The starting values are the window's.
struct LinkStateRecorder {
    std::array<QString, 4> statusPanels;
    QString stickInfo = QStringLiteral("Stick Info:");
    QString receiverIdText = QStringLiteral("0x12345678");
    QString receiverFwText = QStringLiteral("0.0");
    QString receiverVersionText;
    QString labelTotal = QStringLiteral("-");
    bool dutyCycleButtonEnabled = false;
    explicit LinkStateRecorder(RadioLink &link)
    {
        QObject::connect(&link, &RadioLink::statusPanelChanged, &link,
                         [this](int panel, const QString &text) { statusPanels[size_t(panel)] = text; });
        QObject::connect(&link, &RadioLink::stickInfoChanged, &link, [this](const QString &t) { stickInfo = t; });
        QObject::connect(&link, &RadioLink::receiverChanged, &link, [this](const QString &id, const QString &fw) {
            receiverIdText = id;
            receiverFwText = fw;
        });
        QObject::connect(&link, &RadioLink::pairingAccepted, &link,
                         [this](const QString &, const QString &version) { receiverVersionText = version; });
        QObject::connect(&link, &RadioLink::identityTextSent, &link, [this](const QString &t) { labelTotal = t; });
        QObject::connect(&link, &RadioLink::dutyCycleInfoAvailable, &link, [this] { dutyCycleButtonEnabled = true; });
    }
};

// Shows what the link tells the user in the installed (scripted) dialogs, as the
// radio link window does.
struct NoticesInDialogs {
    explicit NoticesInDialogs(RadioLink &link)
    {
        QObject::connect(&link, &RadioLink::userNotice, &link, [](const UserNotice &n) { ShowUserNotice(n); });
    }
};

// A radio link on the fake stick. openStick() opens it and forgets what the
// opening wrote and logged (the version request).
class RadioLinkTest : public ::testing::Test {
protected:
    FakePortInstaller fake;
    ScriptedDialogs dialogs;
    RadioLink link;
    LogRecorder log{link};
    LinkStateRecorder seen{link};
    NoticesInDialogs notices{link};

    void openStick()
    {
        link.TogglePort(QStringLiteral("stick"));
        fake.state->writes.clear();
        log.take();
    }
};
