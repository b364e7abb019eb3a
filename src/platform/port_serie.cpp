#include "platform/port_serie.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <thread>

#include "platform/chemins.h"

namespace ostrel {
namespace {

struct Reglages_Ligne {
    int bauds = 9600;
    speed_t vitesse = B9600;
    char parite = 'n';
    int bits = 8;
    int arrets = 1;
};

bool Lire_Reglages(const QString& texte, Reglages_Ligne& r) {
    const QStringList parties = texte.split(QLatin1Char(','));
    if (parties.size() != 4) return false;
    bool ok = false;
    const int baud = parties[0].trimmed().toInt(&ok);
    if (!ok) return false;
    r.bauds = baud;
    switch (baud) {
        case 1200: r.vitesse = B1200; break;
        case 2400: r.vitesse = B2400; break;
        case 4800: r.vitesse = B4800; break;
        case 9600: r.vitesse = B9600; break;
        case 19200: r.vitesse = B19200; break;
        case 38400: r.vitesse = B38400; break;
        case 57600: r.vitesse = B57600; break;
        case 115200: r.vitesse = B115200; break;
        default: return false;
    }
    const QString p = parties[1].trimmed().toLower();
    if (p != QLatin1String("n") && p != QLatin1String("e") && p != QLatin1String("o")) return false;
    r.parite = p[0].toLatin1();
    r.bits = parties[2].trimmed().toInt(&ok);
    if (!ok || (r.bits != 7 && r.bits != 8)) return false;
    r.arrets = parties[3].trimmed().toInt(&ok);
    if (!ok || (r.arrets != 1 && r.arrets != 2)) return false;
    return true;
}

}  // namespace

Port_Serie::~Port_Serie() {
    if (fd_ >= 0) ::close(fd_);
}

QString Port_Serie::Peripherique() const { return Peripherique_Port(numero_); }

bool Port_Serie::CommPort(int numero) {
    if (fd_ >= 0 || numero < 1 || numero > 255) return false;
    numero_ = numero;
    return true;
}

bool Port_Serie::Settings(const QString& reglages) {
    Reglages_Ligne r;
    if (!Lire_Reglages(reglages, r)) return false;
    const QString ancien = reglages_;
    reglages_ = reglages;
    if (fd_ >= 0 && !Appliquer_Reglages()) {
        reglages_ = ancien;
        return false;
    }
    const int bits = 1 + r.bits + (r.parite != 'n' ? 1 : 0) + r.arrets;
    duree_octet_ = std::chrono::nanoseconds(bits * 1000000000LL / r.bauds);
    return true;
}

bool Port_Serie::Appliquer_Reglages() {
    Reglages_Ligne r;
    if (!Lire_Reglages(reglages_, r)) return false;
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) return false;
    ::cfmakeraw(&t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD | (r.bits == 8 ? CS8 : CS7);
    if (r.parite != 'n') t.c_cflag |= PARENB;
    if (r.parite == 'o') t.c_cflag |= PARODD;
    if (r.arrets == 2) t.c_cflag |= CSTOPB;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, r.vitesse);
    ::cfsetospeed(&t, r.vitesse);
    return ::tcsetattr(fd_, TCSANOW, &t) == 0;
}

bool Port_Serie::PortOpen(bool ouvrir) {
    if (!ouvrir) {
        if (fd_ < 0) return false;
        if (lignes_modem_) RTSEnable(false);
        const int r = ::close(fd_);
        fd_ = -1;
        rts_ = false;
        return r == 0;
    }
    if (fd_ >= 0) return false;
    const QByteArray chemin = Peripherique().toLocal8Bit();
    // Non-blocking open so that a line without carrier does not hang here.
    int fd = ::open(chemin.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // A port is used by one program at a time, as a COM port is.
    if (!::isatty(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    const int drapeaux = ::fcntl(fd, F_GETFL);
    if (drapeaux == -1 || ::fcntl(fd, F_SETFL, drapeaux & ~O_NONBLOCK) == -1) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    if (!Appliquer_Reglages()) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    int lignes = 0;
    lignes_modem_ = ::ioctl(fd_, TIOCMGET, &lignes) == 0;
    rts_ = false;
    if (lignes_modem_) RTSEnable(false);
    ::tcflush(fd_, TCIOFLUSH);
    return true;
}

bool Port_Serie::RTSEnable(bool actif) {
    rts_ = actif;
    if (fd_ < 0 || !lignes_modem_) return true;
    const int ligne = TIOCM_RTS;
    return ::ioctl(fd_, actif ? TIOCMBIS : TIOCMBIC, &ligne) == 0;
}

int Port_Serie::InBufferCount() const {
    if (fd_ < 0) return 0;
    int n = 0;
    if (::ioctl(fd_, FIONREAD, &n) != 0) return 0;
    return n;
}

void Port_Serie::Vider_Entree() {
    if (fd_ < 0) return;
    ::tcflush(fd_, TCIFLUSH);
}

bool Port_Serie::Output(const QByteArray& octets) {
    if (fd_ < 0) return false;
    const char* p = octets.constData();
    qsizetype reste = octets.size();
    while (reste > 0) {
        const ssize_t n = ::write(fd_, p, static_cast<size_t>(reste));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        reste -= n;
    }
    return true;
}

bool Port_Serie::Output(Octet octet) { return Output(QByteArray(1, static_cast<char>(octet))); }

void Port_Serie::Vider_Sortie() {
    if (fd_ >= 0) ::tcdrain(fd_);
}

QByteArray Port_Serie::Input() {
    int n = InBufferCount();
    if (n <= 0) return {};
    if (input_len_ > 0 && n > input_len_) n = input_len_;
    QByteArray octets(n, Qt::Uninitialized);
    ssize_t lus;
    do {
        lus = ::read(fd_, octets.data(), static_cast<size_t>(n));
    } while (lus < 0 && errno == EINTR);
    octets.resize(lus > 0 ? lus : 0);
    return octets;
}

void Port_Serie::Minimum_Reveil(int minimum) {
    minimum = std::clamp(minimum, 1, 255);
    if (minimum == minimum_reveil_) return;
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) return;
    // With VTIME 0, a poll reports input only once VMIN bytes are waiting.
    t.c_cc[VMIN] = static_cast<cc_t>(minimum);
    t.c_cc[VTIME] = 0;
    if (::tcsetattr(fd_, TCSANOW, &t) == 0) minimum_reveil_ = minimum;
}

bool Port_Serie::Attendre_Entree(Instant echeance, int minimum) {
    if (fd_ < 0) {
        std::this_thread::sleep_until(echeance);
        return false;
    }
    minimum = std::max(minimum, 1);
    const int manquants = minimum - InBufferCount();
    if (manquants > 1) {
        // The first missing byte may be almost through; the others follow at
        // the line's pace at best.
        const auto au_plus_tot = std::chrono::steady_clock::now() + (manquants - 1) * duree_octet_;
        std::this_thread::sleep_until(std::min(au_plus_tot, echeance));
    }
    bool pret = false;
    for (;;) {
        if (InBufferCount() >= minimum) {
            pret = true;
            break;
        }
        const auto reste = echeance - std::chrono::steady_clock::now();
        if (reste <= std::chrono::steady_clock::duration::zero()) break;
        Minimum_Reveil(minimum);
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(reste).count();
        timespec delai{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        pollfd p{fd_, POLLIN, 0};
        const int r = ::ppoll(&p, 1, &delai, nullptr);
        if (r < 0 && errno != EINTR) break;
        if (r > 0 && (p.revents & (POLLERR | POLLNVAL))) break;
        if (r > 0 && (p.revents & POLLHUP) && !(p.revents & POLLIN)) {
            // The other end is gone (a closed pseudo-terminal): nothing will
            // come, but a poll would return at once; sleep to the deadline.
            std::this_thread::sleep_until(echeance);
            break;
        }
    }
    Minimum_Reveil(1);
    return pret;
}

}  // namespace ostrel
