// The radio link's state in the main window's status strip: whether the stick's
// port is open and which, the programmer the frames go to, and how far a transfer
// has got, so that the operator sees it without the radio link window.

#include "desktop/main_window.h"

#include "radio/radio_link.h"

void TForm1::FollowRadioLink(RadioLink *link)
{
    Link = link;
    if (!link)
        return;
    LinkState = LinkStatus{};
    LinkState.portOpen = link->isPortOpen();
    LinkState.port = link->openedEntry();
    // The programmer is named once a slot with a pairing is shown or a pairing
    // arrives: the radio window's initial receiver text is no programmer.
    connect(link, &RadioLink::portStateChanged, this, [this, link](bool open) {
        LinkState.portOpen = open;
        if (open) {
            LinkState.port = link->openedEntry();
            LinkState.lost = false;
        }
        ShowLinkStatus();
    });
    connect(link, &RadioLink::linkLost, this, [this](const QString &port, const QString &) {
        LinkState.portOpen = false;
        LinkState.lost = true;
        LinkState.port = port;
        ShowLinkStatus();
    });
    const auto showProgrammer = [this](const QString &id, const QString &firmware) {
        LinkState.programmerId = id;
        LinkState.programmerFw = firmware;
        ShowLinkStatus();
    };
    connect(link, &RadioLink::receiverChanged, this, showProgrammer);
    connect(link, &RadioLink::transferProgress, this, [this](int sent, int total) {
        LinkState.framesSent = sent;
        LinkState.framesTotal = total;
        ShowLinkStatus();
    });
    // The slot shown names the programmer its frames go to.
    connect(this, &TForm1::programmerShown, this, showProgrammer);
    connect(link, &QObject::destroyed, this, [this] {
        LinkState = LinkStatus{};
        ShowLinkStatus();
    });
    ShowLinkStatus();
}

void TForm1::ShowLinkStatus()
{
    if (LinkStatusLabel)
        LinkStatusLabel->setText(LinkStatusText(LinkState));
}
