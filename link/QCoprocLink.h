// The process-wide co-processor link: the device operations on top of the channel (reset and
// synchronisation, image download and start, the four queries). The launcher reaches it only
// through Instance(); a test builds one of its own on a fresh board.
#pragma once

#include "link/QCoprocChannel.h"
#include "platform/kernel/WinTypes.h"

class QCoprocLink : public QCoprocChannel {
public:
    // The one link of the process, built with the whole hardware set-up on first use and
    // destroyed at exit.
    static QCoprocLink& Instance();

    QCoprocLink() = default;

    // Each query fills a caller's reply buffer of at least its reply size (COPROC_REPLY_*) and
    // returns the transaction status (0 when the reply can be used).
    DWORD GetFirmwareVersion(BYTE* reply);
    DWORD GetBatteryStatus(BYTE* reply);
    DWORD GetClock(BYTE* reply);
    DWORD GetIdentity(BYTE* reply);

    // Up to five resets, each followed by the boot handshake; true at the first that succeeds.
    bool ResetAndSync();
    // Sends the image file at path (a device path) in 4000-byte blocks and starts it. True
    // when the header and every block were acknowledged with status 0. A file that cannot be
    // opened sends nothing; a file whose bytes read differ in number from its length when it
    // was opened (cut short or changed while being read) stops the download with false, and
    // nothing is started.
    bool DownloadImage(LPCTSTR path);

private:
    DWORD Query(WORD command, int replySize, BYTE* reply);
};
