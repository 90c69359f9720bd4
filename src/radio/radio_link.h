#pragma once
// The programmer link: what this system says to the handheld programmer through
// the radio stick, and what the programmer answers. It owns the stick's port and
// the ESP3 receiver on it, builds the Tavel frames and paces them (with "10s Send
// Delay" ticked a frame goes only after the stick acknowledged the previous one,
// at most the limit after it was sent, and at least 100 ms after it), and decodes
// the programmer's frames. What the programmer reported goes out as signals
// (driverProgrammed, transferConfirmed, tagRead, pairingAccepted); the records are
// written by whoever connects to them. The radio link window (TForm9) and the
// command line both drive one object of this class through the same operations,
// which take what the user entered as parameters; the link holds no window state
// and reports what changed (status texts, stick info, receiver, log lines) as
// signals that the window shows and the command line prints.
//
// Everything runs on the GUI thread. The pacing waits in an event loop that ends
// at the stick's acknowledgement or its timer, so other buttons and the receiver
// keep working while a send waits (see busy() for what is refused meanwhile).

#include "common/user_notice.h"
#include "radio/esp3.h"
#include "radio/esp3_receiver.h"
#include "radio/programmer_frames.h"
#include "serial/port_discovery.h"
#include "serial/stick_port.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QTimer;

// The identity data of a transfer, as entered in the window's GTIN, FW, Serial and
// HW edits or taken from the settings slot (hexadecimal text).
struct IdentityFields {
    QString gtin;
    QString fw;
    QString serial;
    QString hw;
};

// Log, message and status texts of the radio link that callers compare against.
inline const QString kComPortNotOpened = QStringLiteral("COM port not opened.");
inline const QString kComErrorCaption = QStringLiteral("COM Error");
inline const QString kCouldNotConnect = QStringLiteral("ERROR: Could not connect. Maybe in use?");
inline const QString kMoreStickPorts = QStringLiteral("Ther are more OnOcean ports. Choice one of them");

// The one message of a transfer that ended because the port went away.
QString TransferLostText(int sent, int total);

class RadioLink : public QObject {
    Q_OBJECT
public:
    explicit RadioLink(QObject *parent = nullptr);
    ~RadioLink() override; // closes the port

    // ---- The radio link port --------------------------------------------------
    // Opens `portName` at 57600 8N1, drains it, clears RTS, sets DTR. False when it
    // cannot be opened (the port stays closed).
    bool InitCom(const QString &portName);
    // Status panel 0 "Port closed", panel 1 empty, stick line "Stick Info: None";
    // closes the port if open. The own ID is left alone.
    void CloseCom();
    // Result codes kComDone / kComError / kComTimeout.
    int ReadCom(int timeoutMs, uint8_t *buffer, int maxCount, int *count);
    // A failed write closes the port and shows the error text (caption "Fehler").
    int WriteCom(const uint8_t *buffer, int count);
    // Discards waiting input.
    void ClearCom();
    // "Fehlernachricht: failed with error %d: %s\n" for the port's last error, or
    // empty when there is none. Closes the port when there is an error.
    QString GetErrorText();
    bool isPortOpen() const;
    // The entry last opened by the "Open port" toggle (the window's Tag).
    QString openPortEntry() const { return openPortEntry_; }
    // The "Open port" / "Close port" toggle with the selected port list entry
    // (empty: none selected). Returns the caption the button shows afterwards.
    QString TogglePort(const QString &selectedEntry);
    // Port discovery: the list to show and the index to select (-1: none). Shows
    // the "more ports" box when two or more ports were found.
    QStringList SearchStickPorts(int *selectedIndex);
    // Called when the main window closes.
    void CloseSoftware() { ClearCom(); }
    // When the device behind the open port went away (the stick was pulled, the
    // port vanished): closes the port, says so in the log and with linkLost, and
    // returns true. Run by every receive tick and before every frame, so that a
    // sequence ends at once instead of waiting for acknowledgements that cannot come.
    bool CheckLinkLost();
    // The port list entry of the port that went away (empty when none went away
    // since the last open), for reconnecting when it comes back.
    QString lostPortEntry() const { return lostPortEntry_; }
    // The port list entry last opened by the toggle, as it was selected.
    QString openedEntry() const { return openedEntry_; }
    // Tries, without a message, to open the port that went away again; when it
    // opens, it is used as the toggle would (status, stick version) and the log
    // says so. False while it is not back (or no port went away, or one is open).
    bool ReopenLostPort();

    // ---- ESP3 ---------------------------------------------------------------
    void SendUsartDataFrame(uint8_t n, const uint8_t *frame, uint32_t destinationId);
    void SendUsartCCDataFrame(uint8_t n, const uint8_t *command);
    void RequestStickVersion();   // CO_RD_VERSION
    void RequestDutyCycleInfo();  // CO_GET_DUTYCYCLE_LIMIT
    // The receive tick (run every 110 ms by the timer, or by hand in tests): hands
    // up the due notices, then lets the receiver read what waits. Between ticks the
    // receiver reads as soon as the port says bytes wait.
    void Timer1Timer();
    // Reads what waits and then hands up what the frames just handled have to tell
    // the user (never from inside the parse loop).
    void receiveNow();
    // A notice raised while a frame is handled, handed up once the parse loop is done.
    void deferNotice(const UserNotice &notice) { deferredNotices_.append(notice); }
    // The parse loop over the receive ring, then what its frames have to tell the user.
    void ProcessUsartData();
    // Called for every valid radio telegram: the address checks, then the
    // programmer frame it carries (programmer_frames.h) becomes the link's signals.
    void DecodeRadioTelegram(const ReceivedTelegram &telegram);
    // Appends a line to the radio log (the logLine signal).
    void OutputLog(const QString &line);

    // Starts / stops the 110-ms receive tick on this object's timer.
    void startReceiveTick();
    void stopReceiveTick();
    QTimer *receiveTimer() const { return timer_; }

    esp3::ReceiveRing &ring() { return receiver_.ring(); }
    // True while the parse loop runs (a nested tick then skips it).
    bool parsing() const { return receiver_.parsing(); }
    Esp3Receiver &receiver() { return receiver_; }

    // ---- Tavel frames ---------------------------------------------------------
    // Sends one frame given as hexadecimal text (pacing, checks, status texts).
    void Send(const QString &text, bool broadcast);
    // The sequences behind the window's buttons and the commands. Each takes the
    // busy state for its run, or is refused before its first frame while another
    // sequence holds it (see busy()).
    void SendIdentity(const IdentityFields &identity);           // "send Tag"
    void SendProgrammingLines(const QStringList &lines);          // "SendProgrammingData"
    // Identity, 200 ms, then the lines ("Send Tag and Data").
    void SendIdentityAndData(const IdentityFields &identity, const QStringList &lines);
    // The main window's Send and the command line's send; refused as a whole
    // (message box, nothing sent) when TransferRefusal() names a field. False
    // when refused or cut short.
    bool SendCurrentDataPackage(const IdentityFields &identity, const QStringList &programmingData);
    // Why a transfer cannot go out as it stands: the receiver ID is not "0x" and
    // eight hexadecimal digits, or an identity field does not hold its number of
    // hexadecimal digits. Empty when it can (transfer_checks.cpp).
    QString TransferRefusal(const IdentityFields &identity) const;
    void SendUserTextFrames(const QString &text);                 // the user text in four frames
    void SendPairingRequest();                                    // broadcast "10"
    void SendSensitivity(bool low);                               // "1140" low, "1130" high
    void StartCalibration();                                      // "12" (the caller asked first)
    void RequestReadMode();                                       // "13" and the read state reset
    void RequestProgMode();                                       // "14"
    void SendFrame(const QString &text);                          // a hexadecimal frame as typed
    // The frame senders without the busy check (the caller holds it).
    void SendIdentityData(const IdentityFields &identity, bool packageLogForm);
    void SendProgrammingData(const QStringList &lines);
    void SendUserText(const QString &text);
    // A pause in which events keep being handled (on the link's clock).
    void PauseProcessingEvents(int ms);

    // ---- One sequence at a time ---------------------------------------------
    // A send or read sequence (a transfer, the identity or programming data alone,
    // the user text, a tag read) and the single frames of the buttons run one at a
    // time: since the pacing processes events, a second request could otherwise
    // start while the first still waits for its acknowledgements and the two
    // would compete for them. A request made while a sequence runs is refused
    // before its first frame (status panel 1 and the log say so). The windows
    // follow busyChanged to disable the buttons that would be refused.
    bool busy() const { return busy_; }
    // Holds the busy state for its lifetime when it was free (acquired()); a guard
    // made while the link is busy holds nothing and the caller refuses.
    class BusyGuard {
    public:
        explicit BusyGuard(RadioLink &link);
        ~BusyGuard();
        BusyGuard(const BusyGuard &) = delete;
        BusyGuard &operator=(const BusyGuard &) = delete;
        bool acquired() const { return acquired_; }

    private:
        RadioLink &link_;
        bool acquired_ = false;
    };
    // The reason given when a request is refused while busy.
    static QString busyRefusalText();
    // "Switch to Read" without the busy check, for a read sequence that holds the guard.
    void SwitchToRead();

    // The clock of the send pacing and its pauses: a monotonic clock in milliseconds
    // and a wait of at most the given time, which may end early when the link's
    // state changes (the callers check again). Empty functions stand for the real
    // ones: the elapsed time since start, and an event loop that ends at its timer,
    // at the stick's acknowledgement or when the port opens or closes. Tests
    // install a clock that moves only when the link waits.
    void setClock(std::function<qint64()> nowMs, std::function<void(int)> waitMs);

    // ---- Link settings ----------------------------------------------------------
    // "10s Send Delay": pace the frames on the stick's acknowledgements.
    void setSendDelay(bool on) { sendDelay_ = on; }
    bool sendDelay() const { return sendDelay_; }
    // "Use OwnId": take the own ID from the stick's version response.
    void setUseOwnId(bool on) { useOwnId_ = on; }
    // The programmer the frames go to, as "0x" and eight hexadecimal digits (a
    // text of another length is refused when a frame is sent). A pairing sets it
    // itself and says so with receiverChanged.
    void setReceiverId(const QString &idText) { receiverIdText_ = idText; }
    QString receiverIdText() const { return receiverIdText_; }

    // ---- Link state -----------------------------------------------------------
    uint32_t ownId = 0;
    bool stickAcknowledged = true;
    uint32_t receiverId = 0; // the destination of the last frame sent
    uint8_t transferChecksum = 0;
    // True once every frame of a transfer went out, until the programmer confirmed
    // it with the matching checksum: only then does a transfer-complete frame count.
    bool transferAwaitingConfirmation = false;
    qint64 lastFrameSentMs = 0; // the link clock's milliseconds (at least 1); 0: nothing sent yet
    // Firmware of the last pairing frame that carried it.
    uint8_t programmerFwMajor = 0;
    uint8_t programmerFwMinor = 0;
    // The longest wait for the stick's acknowledgement before a frame (10 s).
    int sendDelayLimitMs = 10000;
    // The shortest time between two frames while "10s Send Delay" is ticked.
    static constexpr int kFrameGapMs = 100;

    void setStatusPanel(int panel, const QString &text);
    // A new programmer (pairing) or none (after the update offer): takes the ID
    // for the next frames and reports it with receiverChanged.
    void setReceiver(const QString &idText, const QString &fwText);

    // The notices the frame decoder raised for the next tick: the update offer
    // after pairing with an old programmer firmware, and the confirmation of a
    // complete transfer.
    struct PendingNotices {
        bool pending = false;      // the tick hands up the due notices
        bool updateOffer = false;  // the programmer's firmware is older than the minimum
        bool transferDone = false; // the programmer confirmed the transfer checksum
    };
    PendingNotices pendingNotices;
    // Resets the tag read state (installed by the tag reception; run by "Switch to Read").
    std::function<void()> resetReadState;

signals:
    void logLine(const QString &line);
    // Status bar panels: 0 port, 1 send state, 2 stick acknowledgement, 3 own ID.
    void statusPanelChanged(int panel, const QString &text);
    // "Stick Info: None" when the port closes, the stick's versions when it answers.
    void stickInfoChanged(const QString &text);
    // The programmer frames go to now and its firmware ("" and "" when none).
    void receiverChanged(const QString &idText, const QString &firmware);
    // The 36 identity digits of an identity send (the window's total line).
    void identityTextSent(const QString &text);
    // The stick's API version knows the duty-cycle command.
    void dutyCycleInfoAvailable();
    void portStateChanged(bool open);
    // Every radio telegram that passed the address checks, with its frame bytes.
    void frameReceived(quint8 frameId, const QByteArray &frame, quint32 senderId);
    void ownIdChanged(quint32 id);
    // A pairing-accepted frame with a correct CRC8 was taken over.
    void pairingAccepted(const QString &idText, const QString &version);
    // A send or read sequence started (true) or ended, failed or was cancelled (false).
    void busyChanged(bool busy);
    // The device behind the open port went away; the port is closed now.
    void linkLost(const QString &portEntry, const QString &reason);
    // A transfer (SendCurrentDataPackage) has sent `sent` of its `total` frames;
    // (0, 0) when it ended.
    void transferProgress(int sent, int total);
    // The programmer reported a driver programmed: the own ID the report was
    // addressed to and the programmer's ID ("0x" and eight digits), the driver's
    // serial number.
    void driverProgrammed(const QString &ownId, const QString &programmerId, const QString &serial);
    // The programmer confirmed the transfer sent to the end with its checksum.
    void transferConfirmed();
    // A driver's tag was read to its end frame (the tag buffers hold it).
    void tagRead();
    // Every programmer frame that reported something, after the specific signal
    // above (a new kind of report needs no new signal).
    void programmerEvent(const ProgrammerEvent &event);
    // The stick acknowledged a telegram (ends the pacing's wait).
    void stickAcknowledgement();
    // Something the user must be told (the window shows a message box with the
    // notice's caption, text, buttons and icon; the command line prints it).
    void userNotice(const UserNotice &notice);
    // The paired programmer's firmware is too old: the question whether to update
    // it (Yes/No). The pairing is dropped whatever the answer.
    void firmwareUpdateOffered(const UserNotice &question);

private:
    void handleResponse(const ReceivedTelegram &packet);
    void reportProgrammerEvent(const ProgrammerEvent &event);
    void tell(const QString &caption, const QString &text, MsgIcon icon = MsgIcon::None);
    // Hands up the notices of the decoder (transfer confirmed, update offer).
    void showPendingNotices();
    void showDeferredNotices();
    QList<UserNotice> deferredNotices_;
    bool sendIdentity(const IdentityFields &identity, bool packageLogForm, bool stopWhenPortCloses);
    bool sendProgramming(const QStringList &lines, bool stopWhenPortCloses);
    QString nowText() const;
    // True (with the refusal shown) when a sequence runs.
    bool refusedWhileBusy();

    // Waits before a frame as the pacing asks (see the class comment).
    void paceBeforeFrame();
    void waitInEventLoop(int ms);

    std::function<qint64()> nowMs_;
    std::function<void(int)> waitMs_;
    qint64 lastFrameAtMs_ = 0; // the link clock when the last frame went out
    StickPort port_;
    Esp3Receiver receiver_;
    QString openPortEntry_;
    QTimer *timer_ = nullptr;
    bool busy_ = false;
    // While a transfer runs, a lost port is reported once at its end (with what was
    // sent) instead of by the failed write.
    bool transferRunning_ = false;
    int transferSent_ = 0;
    int transferTotal_ = 0;
    QString lossReason_;
    QString lostPortEntry_;
    QString openedEntry_;
    void frameWentOut();
    void loseLink(const QString &reason);
    bool sendDelay_ = true;
    bool useOwnId_ = true;
    QString receiverIdText_ = QStringLiteral("0x12345678");
};

