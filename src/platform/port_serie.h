#pragma once
// The serial communications control of the link, over a POSIX terminal
// device: port number, line settings, open and close, byte output, input of
// what is waiting, input count, discard of the input, RTS line. Port n is the
// device named by Peripherique_Port(n). The line is raw 8 bits, no flow
// control, no translation of any byte.
//
// Failures are returned as false (the control's run-time errors); the caller
// decides which link error they make.
#include <QByteArray>
#include <QString>
#include <chrono>

#include "platform/horloge.h"
#include "platform/types.h"

namespace ostrel {

class Port_Serie {
public:
    Port_Serie() = default;
    ~Port_Serie();
    Port_Serie(const Port_Serie&) = delete;
    Port_Serie& operator=(const Port_Serie&) = delete;

    // Port number 1..255; refused while the port is open.
    bool CommPort(int numero);
    int CommPort() const { return numero_; }

    // "9600,n,8,1" (blanks allowed): baud rate, parity n/e/o, data bits 7/8,
    // stop bits 1/2. Applied at once when the port is open.
    bool Settings(const QString& reglages);
    QString Settings() const { return reglages_; }

    // Opening an open port, or closing a closed one, is refused.
    bool PortOpen(bool ouvrir);
    bool PortOpen() const { return fd_ >= 0; }

    // Most bytes one Input returns (0: everything waiting).
    void InputLen(int n) { input_len_ = n; }
    int InputLen() const { return input_len_; }

    // RTS raised or lowered. A device without modem lines (a pseudo-terminal)
    // has no RTS to drive: the call then does nothing and succeeds.
    bool RTSEnable(bool actif);
    bool RTSEnable() const { return rts_; }

    // Bytes waiting in the input; 0 when the port is closed.
    int InBufferCount() const;
    // Discards whatever is waiting in the input.
    void Vider_Entree();

    // Writes the bytes; false when the port is closed or the write fails.
    bool Output(const QByteArray& octets);
    bool Output(Octet octet);
    // Waits until every byte written has left the line.
    void Vider_Sortie();

    // Reads at most InputLen bytes among those waiting, without waiting.
    QByteArray Input();

    // Sleeps until at least `minimum` bytes are waiting or the deadline
    // passes; true when they are. No busy loop: the missing bytes cannot all
    // be in before their time on the line at the port's rate, so the wait
    // first sleeps that long, then polls the descriptor, which the line
    // discipline wakes once that many bytes are in, not at every byte.
    bool Attendre_Entree(Instant echeance, int minimum = 1);

    // The device the port number names.
    QString Peripherique() const;

private:
    bool Appliquer_Reglages();
    void Minimum_Reveil(int minimum);

    int numero_ = 1;
    QString reglages_ = QStringLiteral("9600,n,8,1");
    int input_len_ = 0;
    int fd_ = -1;
    bool rts_ = false;
    bool lignes_modem_ = false;
    int minimum_reveil_ = 1;
    std::chrono::nanoseconds duree_octet_{10 * 1000000000LL / 9600};
};

}  // namespace ostrel
