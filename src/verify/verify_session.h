#pragma once
// Verify mode on the radio link: the programmer is switched to reading, as a
// read does, and stays there; every tag it reads (the operator holds it against
// one driver after another) is compared with the profile slot the mode was
// started for and reported with driverVerified, until the mode is ended. While
// the mode is on it holds the link's busy state, so that no send or read starts
// (the windows follow busyChanged); ending it switches the programmer back to
// programming. The mode ends by itself when the port closes. The owner ends an
// active mode before the link goes away (the session holds the link's busy state).

#include "profile/profile_record.h"
#include "verify/tag_verification.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "radio/radio_link.h"

class VerifySession : public QObject {
    Q_OBJECT
public:
    explicit VerifySession(RadioLink &link, QObject *parent = nullptr);
    ~VerifySession() override; // ends the mode

    // Starts verifying against `slot` (`slotNumber` 1-3, for the records). False
    // with the reason in `refusal` (nothing sent) when the port is closed, a send
    // or read runs, or the slot cannot be encoded.
    bool start(const STRUCT_XML_FILE_VARIABLES &slot, int slotNumber, QString *refusal);
    // Switches the programmer back to programming and frees the link. Nothing
    // when the mode is off.
    void end();
    bool active() const { return busy_ != nullptr; }
    RadioLink &link() const { return link_; }

    int passedCount() const { return passed_; }
    int failedCount() const { return failed_; }
    int slotNumber() const { return slotNumber_; }

signals:
    // One driver's tag was read and compared.
    void driverVerified(const TagVerification &result);
    // The mode started (true) or ended (false).
    void activeChanged(bool active);

private:
    void frameReceived(quint8 frameId, const QByteArray &frame);
    void report(TagVerification result);

    RadioLink &link_;
    QPointer<RadioLink> linkAlive_; // null once the link is gone
    std::unique_ptr<RadioLink::BusyGuard> busy_;
    STRUCT_XML_FILE_VARIABLES slot_;
    int slotNumber_ = 0;
    QString programmerId_;
    int passed_ = 0;
    int failed_ = 0;
};
