#include "simulateur.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QDateTime>
#include <cerrno>
#include <cstdlib>

#include "installation.h"
#include "link/modbus.h"
#include "platform/cp1252.h"
#include "registres.h"

namespace ostrel::sim {

using Horloge = std::chrono::steady_clock;

std::uint16_t Crc_Modbus(const QByteArray& octets) {
    std::uint16_t crc = 0xFFFF;
    for (char c : octets) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int i = 0; i < 8; ++i) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    return crc;
}

QByteArray Avec_Crc(QByteArray trame) {
    const std::uint16_t crc = Crc_Modbus(trame);
    trame.append(static_cast<char>(crc & 0xFF));
    trame.append(static_cast<char>(crc >> 8));
    return trame;
}

bool Crc_Correct(const QByteArray& trame) {
    if (trame.size() < 3) return false;
    const std::uint16_t crc = Crc_Modbus(trame.left(trame.size() - 2));
    return static_cast<std::uint8_t>(trame[trame.size() - 2]) == (crc & 0xFF) &&
           static_cast<std::uint8_t>(trame[trame.size() - 1]) == (crc >> 8);
}

Horodatage Horodatage::Plus_Minutes(int minutes) const {
    const QDateTime t(QDate(annee, mois, jour), QTime(heure, minute), Qt::UTC);
    const QDateTime r = t.addSecs(60LL * minutes);
    return {r.date().year(), r.date().month(), r.date().day(), r.time().hour(), r.time().minute()};
}

Horodatage Horodatage::De(const QDateTime& t) {
    return {t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute()};
}

Entier Mesure_Corrigee(const Voie_Simulee& v) {
    if (v.mesure <= -32766) return v.mesure;
    // Kept off the marker words whatever the offset.
    const int m = v.mesure + v.correction;
    return static_cast<Entier>(m < -32765 ? -32765 : m > 32767 ? 32767 : m);
}

std::array<Octet, 6> Octets_Horloge(const QDateTime& t) {
    // Minute, hour, weekday (1 Sunday .. 7 Saturday), day, month, years since 2000.
    return {static_cast<Octet>(t.time().minute()), static_cast<Octet>(t.time().hour()),
            static_cast<Octet>(t.date().dayOfWeek() % 7 + 1), static_cast<Octet>(t.date().day()),
            static_cast<Octet>(t.date().month()), static_cast<Octet>((t.date().year() - 2000) & 0xFF)};
}

QDateTime Temps_Horloge(const std::array<Octet, 6>& h) {
    // The module counts from the date it was given, even a wrong one.
    const QDate jour = QDate(2000 + h[5], 1, 1).addMonths(h[4] - 1).addDays(h[3] - 1);
    return QDateTime(jour, QTime(0, 0)).addSecs(3600LL * h[1] + 60LL * h[0]);
}

void Journaliser(Module_Simule& m, const Evenement& e) {
    constexpr size_t capacite = 400;
    m.journal.push_back(e);
    if (m.journal.size() > capacite) m.journal.erase(m.journal.begin());
}

bool Acquitter_Voie(Module_Simule& m, int voie, int niveau) {
    if (voie < 1 || voie > m.nb_voies) return false;
    Octet& e = m.voies[static_cast<size_t>(voie - 1)].etat;
    Octet note = 0;
    // A present alarm stays, acknowledged; one that has gone ends, and its end
    // is written as the "no more alarm" code of its kind.
    if (e == 2 || e == 4 || e == 10) note = e = static_cast<Octet>(e - 1);
    else if (e == 6 || e == 8 || e == 12) note = static_cast<Octet>(e - 1), e = 0;
    else return false;
    Evenement ev;
    ev.quand = Horodatage::De(Temps_Horloge(m.horloge));
    ev.etat = note;
    ev.operateur = static_cast<Octet>(niveau);
    ev.voie = static_cast<Octet>(voie);
    Journaliser(m, ev);
    return true;
}

namespace {

Octet O(const QByteArray& b, int i) { return static_cast<Octet>(b[i]); }

QByteArray Lecture(int adresse, const QByteArray& donnees) {
    QByteArray t;
    t.append(static_cast<char>(adresse));
    t.append(static_cast<char>(Modbus::Lecture));
    t.append(static_cast<char>(donnees.size()));
    t.append(donnees);
    return Avec_Crc(t);
}

QByteArray Exception(int adresse, int fonction, int code) {
    QByteArray t;
    t.append(static_cast<char>(adresse));
    t.append(static_cast<char>(fonction | Modbus::Refus));
    t.append(static_cast<char>(code));
    return Avec_Crc(t);
}

QByteArray Echo(const QByteArray& requete) { return Avec_Crc(requete.left(6)); }

// A fixed-length text field as the modules keep it: cut, or padded with blanks.
QByteArray Cp1252(const QString& t, int longueur) {
    QByteArray b = Vers_Cp1252(t).left(longueur);
    while (b.size() < longueur) b.append(' ');
    return b;
}

// Channel settings block: period, thresholds and flags of a fresh channel.
std::array<Octet, 16> Reglages_Defaut() {
    std::array<Octet, 16> r{};
    r[1] = 30;
    r[2] = 0x05; r[3] = 0xDC;  // 150.0
    r[4] = 0xFE; r[5] = 0x0C;  // -50.0
    r[8] = 0x00; r[9] = 0x64;  // 100
    r[11] = 30;
    r[13] = 0x03;  // channel in service, alarms enabled
    r[15] = 0x08;  // buzzer
    return r;
}

// A building's letters from its number: A to Z, then AA, AB...
QString Lettres(int n) {
    QString l;
    for (; n > 0; n = (n - 1) / 26) l.prepend(QChar(u'A' + (n - 1) % 26));
    return l;
}

}  // namespace

Simulateur::Simulateur() { Configurer({1}, 16); }

Simulateur::~Simulateur() { Arreter(); }

void Simulateur::Configurer(const std::vector<int>& adresses, int nb_voies) {
    std::lock_guard<std::mutex> verrou(mutex_);
    etat_.modules.clear();
    installation_.reset();
    for (int a : adresses) {
        if (a < 1 || a > 32) continue;
        Module_Simule m;
        m.nb_voies = nb_voies == 8 ? 8 : 16;
        for (int v = 0; v < 16; ++v) {
            m.voies[static_cast<size_t>(v)].reglages = Reglages_Defaut();
            m.voies[static_cast<size_t>(v)].mesure = static_cast<Entier>(200 + v);
        }
        m.entete = Cp1252(QStringLiteral("Module %1").arg(a), 64);
        etat_.modules[a] = m;
    }
}

void Simulateur::Etat_Demonstration(const std::vector<int>& adresses, int nb_voies) {
    Configurer(adresses, 16);
    std::lock_guard<std::mutex> verrou(mutex_);
    // Dated from the PC's time: the clock reads it, the past is behind it.
    const QDateTime maintenant = QDateTime::currentDateTime();
    const Horodatage dernier = Horodatage::De(maintenant).Plus_Minutes(-(maintenant.time().minute() % 30));
    auto il_y_a = [&](int minutes) { return dernier.Plus_Minutes(-minutes); };
    static const char* const lieux[] = {"Chambre 1", "Chambre 2", "Congelateur", "Quai", "Labo", "Reserve",
                                        "Hall",      "Porte",     "Cuisine",     "Cave", "Bureau", "Atelier",
                                        "Serre",     "Vestiaire", "Local tech",  "Toit"};
    bool premier = true;
    for (auto& [adresse, m] : etat_.modules) {
        m.nb_voies = nb_voies == 8 || nb_voies == 16 ? nb_voies : (premier ? 8 : 16);
        premier = false;
        // Module texts keep to the characters a module accepts (codes 32 to 122).
        m.entete = Cp1252(QStringLiteral("Chambres froides site %1").arg(adresse), 32) +
                   Cp1252(QStringLiteral("Batiment %1").arg(Lettres(adresse)), 32);
        const char* const operateurs[] = {"Dupont", "Martin", "Lefevre", "Garcia"};
        for (int i = 0; i < 4; ++i) {
            m.codes_acces[static_cast<size_t>(i)] = static_cast<Entier>(1000 * (i + 1) + adresse);
            m.operateurs[static_cast<size_t>(i)] = Cp1252(QString::fromLatin1(operateurs[i]), 12);
        }
        m.horloge = Octets_Horloge(maintenant);
        m.logique_stor = {0, 2};
        m.plannings[0] = {8, 0, 12, 0, 13, 30, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                          9, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        for (int v = 0; v < m.nb_voies; ++v) {
            Voie_Simulee& voie = m.voies[static_cast<size_t>(v)];
            voie.nom = Cp1252(QString::fromLatin1(lieux[v]), 12);
            voie.mesure = static_cast<Entier>(30 + 17 * v + 10 * adresse);
        }
        // Some channels in alarm, one contact input, one sensor fault.
        Voie_Simulee& chaude = m.voies[1];
        chaude.mesure = 95;
        chaude.reglages[2] = 0x00; chaude.reglages[3] = 0x50;  // high threshold 8.0
        chaude.etat = 2;
        Voie_Simulee& basse = m.voies[2];
        basse.mesure = -620;
        basse.etat = adresse == 1 ? 4 : 3;
        Voie_Simulee& contact = m.voies[static_cast<size_t>(m.nb_voies - 1)];
        contact.reglages[13] = 0x03 | (2 << 3);  // ETOR, normally open
        contact.reglages[15] = 0x02 | 0x08;      // unit "U"
        contact.mesure = -32766;
        contact.nom = Cp1252(QStringLiteral("Porte quai"), 12);
        if (m.nb_voies == 16) {
            m.voies[11].mesure = -32768;
            m.voies[11].etat = 10;
        }
        // A day of half-hourly recordings ending with the present measures: the
        // alarms of channels 2 and 3 began in the last hours, the contact
        // opened and closed, the sensor fault came after the last point.
        for (int v = 0; v < m.nb_voies; ++v) {
            Voie_Simulee& voie = m.voies[static_cast<size_t>(v)];
            const int normale = 30 + 17 * v + 10 * adresse;
            for (int k = 0; k < 48; ++k) {
                Point_Enregistre p;
                p.quand = il_y_a(30 * (47 - k));
                const int ecart = k == 47 ? 0 : (k * 7 + v) % 11 - 5;
                if (&voie == &contact) p.valeur = static_cast<Entier>((k / 6) % 2 == 1 || k == 47 ? 10 : 0);
                else if (&voie == &chaude && k < 40) p.valeur = static_cast<Entier>(60 + ecart);
                else if (&voie == &basse && k < 36) p.valeur = static_cast<Entier>(-200 + ecart);
                else p.valeur = static_cast<Entier>((voie.mesure == -32768 ? normale : voie.mesure) + ecart);
                p.alarme = (&voie == &chaude && k >= 40) || (&voie == &basse && k >= 36);
                voie.enregistrements.push_back(p);
            }
        }
        // A power cut on channel 1.
        auto& pts = m.voies[0].enregistrements;
        pts[20].valeur = 32767;
        pts[21].valeur = 32766;
        // The alarm episodes of that day, the present ones last: channel 1
        // went before it was acknowledged, channel 2's earlier alarm was
        // acknowledged, its present one went and came back.
        m.journal = {
            {il_y_a(1380), 2, 0, 1}, {il_y_a(1350), 6, 0, 1}, {il_y_a(1320), 5, 2, 1},
            {il_y_a(1200), 2, 0, 2}, {il_y_a(1155), 1, 1, 2}, {il_y_a(1080), 5, 0, 2},
        };
        if (basse.etat == 4) {
            m.journal.insert(m.journal.end(), {{il_y_a(420), 4, 0, 3}, {il_y_a(390), 8, 0, 3}, {il_y_a(360), 4, 0, 3}});
        } else {
            m.journal.insert(m.journal.end(), {{il_y_a(360), 4, 0, 3}, {il_y_a(340), 3, 2, 3}});
        }
        m.journal.insert(m.journal.end(), {{il_y_a(230), 2, 0, 2}, {il_y_a(220), 6, 0, 2}, {il_y_a(210), 2, 0, 2}});
        if (m.nb_voies == 16) m.journal.push_back({dernier, 10, 0, 12});
    }
    etat_.pont.emails[0] = QByteArray("astreinte@exemple.fr");
    etat_.pont.noms_fichiers[0] = QByteArray("site1.txt");
    etat_.pont.peripheriques = QByteArray("\x02\x01\xC0\xA8\x01\x0A\x00\x01\xC0\xA8\x01\x01", 12);
    etat_.pont.smtp = QByteArray("\x0Fsmtp.exemple.fr\x11ostrel@exemple.fr", 34);
}

void Simulateur::Etat_Installation(const std::vector<int>& adresses, int nb_voies, Cours cours) {
    Etat_Demonstration(adresses, nb_voies);
    std::lock_guard<std::mutex> verrou(mutex_);
    for (auto& [adresse, m] : etat_.modules) Installation::Regler_Demonstration(m);
    installation_ = std::make_unique<Installation>(etat_, std::move(cours));
}

void Simulateur::Avancer_Installation() {
    if (installation_) installation_->Avancer(etat_);
}

void Simulateur::Programmer_Defauts(int code, std::vector<Defaut> sequence, Defaut permanent) {
    std::lock_guard<std::mutex> verrou(mutex_);
    sequences_[code] = std::deque<Defaut>(sequence.begin(), sequence.end());
    permanents_[code] = permanent;
}

void Simulateur::Effacer_Defauts() {
    std::lock_guard<std::mutex> verrou(mutex_);
    sequences_.clear();
    permanents_.clear();
}

std::vector<Trame_Journal> Simulateur::Trames_Recues() const {
    Synchroniser();
    std::lock_guard<std::mutex> verrou(mutex_);
    return {trames_.begin(), trames_.end()};
}

void Simulateur::Effacer_Trames() {
    Synchroniser();
    std::lock_guard<std::mutex> verrou(mutex_);
    trames_.clear();
    requetes_.fill(0);
}

int Simulateur::Nombre_Requetes(int code) const {
    Synchroniser();
    std::lock_guard<std::mutex> verrou(mutex_);
    return code >= 0 && code < static_cast<int>(requetes_.size()) ? requetes_[static_cast<size_t>(code)] : 0;
}

void Simulateur::Garder_Trames(std::size_t nombre) {
    std::lock_guard<std::mutex> verrou(mutex_);
    trames_gardees_ = nombre;
    while (trames_.size() > trames_gardees_) trames_.pop_front();
}

bool Simulateur::Demarrer() {
    if (maitre_ >= 0) return true;
    maitre_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (maitre_ < 0) return false;
    if (::grantpt(maitre_) != 0 || ::unlockpt(maitre_) != 0) {
        Arreter();
        return false;
    }
    char nom[128];
    if (::ptsname_r(maitre_, nom, sizeof nom) != 0) {
        Arreter();
        return false;
    }
    chemin_ = QString::fromLocal8Bit(nom);
    esclave_ = ::open(nom, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (esclave_ < 0) {
        Arreter();
        return false;
    }
    // Raw line from the start: no echo, no translation, whatever opens it.
    termios t{};
    ::tcgetattr(esclave_, &t);
    ::cfmakeraw(&t);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::tcsetattr(esclave_, TCSANOW, &t);
    if (::pipe2(reveil_, O_CLOEXEC) != 0) {
        Arreter();
        return false;
    }
    arret_ = false;
    fil_ = std::thread([this] { Boucle(); });
    return true;
}

void Simulateur::Arreter() {
    if (fil_.joinable()) {
        arret_ = true;
        const char c = 0;
        (void)!::write(reveil_[1], &c, 1);
        fil_.join();
    }
    for (int* fd : {&maitre_, &esclave_, &reveil_[0], &reveil_[1]}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

namespace {

// The marker frame: a read addressed to 247, where no module ever is.
constexpr int Adresse_Marque = 247;

bool Est_Marque(const QByteArray& trame) {
    return trame.size() == 8 && O(trame, 0) == Adresse_Marque && O(trame, 1) == Modbus::Lecture && Crc_Correct(trame);
}

}  // namespace

bool Simulateur::Synchroniser() const {
    if (!fil_.joinable()) return true;
    int numero;
    {
        std::lock_guard<std::mutex> verrou(mutex_);
        numero = ++marques_envoyees_;
    }
    // Written on the terminal's own side, it follows in the line whatever the
    // master wrote before.
    QByteArray marque(6, '\0');
    marque[0] = static_cast<char>(Adresse_Marque);
    marque[1] = static_cast<char>(Modbus::Lecture);
    marque = Avec_Crc(marque);
    if (::write(esclave_, marque.constData(), static_cast<size_t>(marque.size())) != marque.size()) return false;
    std::unique_lock<std::mutex> verrou(mutex_);
    return marque_vue_.wait_for(verrou, std::chrono::seconds(30), [&] { return marques_vues_ >= numero; });
}

int Simulateur::Longueur_Attendue(const QByteArray& tampon) const {
    if (tampon.size() < 2) return -1;
    switch (O(tampon, 1)) {
        case Modbus::Lecture:
        case Modbus::Ecriture_Simple: return 8;
        case Modbus::Ecriture_Multiple: return tampon.size() < 7 ? -1 : 9 + O(tampon, 6);
        default: return 0;  // unknown layout: the frame ends with the silence
    }
}

std::chrono::microseconds Simulateur::Silence() const {
    // Three and a half characters of 10 bits at the line's rate: the emulated
    // one, or the bus's 9600 baud. Never less than the scheduling of a
    // pseudo-terminal, though, where a busy master's bytes may come some
    // milliseconds apart.
    const int debit = debit_ > 0 ? debit_.load() : 9600;
    const auto ligne = std::chrono::microseconds(35LL * 1000000 / debit);
    return std::max(ligne, std::chrono::microseconds(std::chrono::milliseconds(50)));
}

void Simulateur::Boucle() {
    QByteArray tampon;
    Horloge::time_point premier_octet{}, dernier_octet{};
    // A frame ends with its last byte when its layout gives its length, or
    // else with the line's silence: a request cut short is over then, and the
    // next one stands on its own.
    while (!arret_) {
        const auto silence = Silence();
        int attente = -1;
        if (!tampon.isEmpty()) {
            const auto reste = std::chrono::ceil<std::chrono::milliseconds>(dernier_octet + silence - Horloge::now());
            attente = static_cast<int>(std::max<long long>(0, reste.count()));
        }
        pollfd p[2] = {{maitre_, POLLIN, 0}, {reveil_[0], POLLIN, 0}};
        const int r = ::poll(p, 2, attente);
        if (arret_) break;
        if (r < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (r == 0) {
            Traiter(tampon, premier_octet);
            tampon.clear();
            continue;
        }
        if (p[0].revents & POLLIN) {
            char lus[256];
            const ssize_t n = ::read(maitre_, lus, sizeof lus);
            if (n > 0) {
                const auto maintenant = Horloge::now();
                // Bytes after a silence begin a frame of their own, even when
                // this thread comes late to read them.
                if (!tampon.isEmpty() && maintenant - dernier_octet > silence) {
                    Traiter(tampon, premier_octet);
                    tampon.clear();
                }
                if (tampon.isEmpty()) premier_octet = maintenant;
                tampon.append(lus, n);
                dernier_octet = maintenant;
            }
        }
        for (;;) {
            const int attendu = Longueur_Attendue(tampon);
            if (attendu <= 0 || tampon.size() < attendu) break;
            const QByteArray trame = tampon.left(attendu);
            tampon.remove(0, attendu);
            Traiter(trame, premier_octet);
            if (!tampon.isEmpty()) premier_octet = Horloge::now();
        }
    }
}

void Simulateur::Traiter(const QByteArray& requete, Horloge::time_point premier_octet) {
    const int debit = debit_;
    Horloge::time_point fin = Horloge::now();
    if (debit > 0) {
        // The request is on the wire until its last bit has arrived.
        const auto duree = std::chrono::nanoseconds(10LL * 1000000000LL * requete.size() / debit);
        if (premier_octet + duree > fin) fin = premier_octet + duree;
        std::this_thread::sleep_until(fin);
    }
    QByteArray reponse;
    Defaut defaut;
    {
        std::lock_guard<std::mutex> verrou(mutex_);
        if (Est_Marque(requete)) {
            ++marques_vues_;
            marque_vue_.notify_all();
            return;
        }
        if (trames_gardees_ > 0) {
            trames_.push_back({requete, Horloge::now()});
            if (trames_.size() > trames_gardees_) trames_.pop_front();
        }
        // A frame shorter than its function's layout is no request, whatever
        // its CRC: a line cut short must not erase a memory.
        const int attendu = Longueur_Attendue(requete);
        if (requete.size() < 4 || attendu < 0 || requete.size() < attendu || !Crc_Correct(requete)) return;
        ++requetes_[O(requete, 3)];
        const int adresse = O(requete, 0);
        if (!etat_.modules.count(adresse)) return;
        const int code = O(requete, 3);
        Avancer_Installation();
        auto s = sequences_.find(code);
        if (s != sequences_.end() && !s->second.empty()) {
            defaut = s->second.front();
            s->second.pop_front();
        } else if (auto p = permanents_.find(code); p != permanents_.end()) {
            defaut = p->second;
        }
        reponse = Repondre(requete, defaut);
    }
    if (reponse.isEmpty()) return;
    if (defaut.type == Defaut::Tardive && defaut.delai_ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(defaut.delai_ms));
    cumul_ns_ += std::chrono::duration_cast<std::chrono::nanoseconds>(Horloge::now() - fin).count();
    if (defaut.type == Defaut::Scindee) {
        const int moitie = static_cast<int>(reponse.size() / 2);
        Emettre(reponse.left(moitie));
        std::this_thread::sleep_for(std::chrono::milliseconds(defaut.delai_ms > 0 ? defaut.delai_ms : 20));
        Emettre(reponse.mid(moitie));
    } else {
        Emettre(reponse);
    }
}

void Simulateur::Emettre(const QByteArray& octets) {
    const int debit = debit_;
    if (debit <= 0) {
        const char* p = octets.constData();
        qsizetype reste = octets.size();
        while (reste > 0) {
            const ssize_t n = ::write(maitre_, p, static_cast<size_t>(reste));
            if (n < 0) {
                if (errno == EINTR) continue;
                return;
            }
            p += n;
            reste -= n;
        }
        return;
    }
    // Each byte is handed over once its ten bits would have crossed the line.
    const auto depart = Horloge::now();
    for (qsizetype i = 0; i < octets.size(); ++i) {
        std::this_thread::sleep_until(depart + std::chrono::nanoseconds(10LL * 1000000000LL * (i + 1) / debit));
        const char c = octets[i];
        while (::write(maitre_, &c, 1) < 0 && errno == EINTR) {
        }
    }
}

QByteArray Simulateur::Repondre(const QByteArray& requete, const Defaut& defaut) {
    const int adresse = O(requete, 0);
    const int fonction = O(requete, 1);
    if (defaut.type == Defaut::Silence) return {};
    if (fonction != Modbus::Lecture && fonction != Modbus::Ecriture_Simple && fonction != Modbus::Ecriture_Multiple)
        return Exception(adresse, fonction, Modbus::Fonction_Inconnue);
    if (defaut.type == Defaut::Exception) return Exception(adresse, fonction, defaut.valeur);

    Requete_Module r;
    r.adresse = adresse;
    r.fonction = fonction;
    r.code = O(requete, 3);
    r.compte = O(requete, 4) * 256 + O(requete, 5);
    r.sous = O(requete, 5);
    r.suite = O(requete, 4) == 0xFF;
    if (fonction == Modbus::Ecriture_Multiple) r.donnees = requete.mid(7, O(requete, 6));
    Module_Simule& m = etat_.modules[adresse];
    const Registre* registre = Registre_De(r.code);
    const bool pont = etat_.passerelle && adresse == 1;
    const bool presente = O(requete, 2) == 0 && registre && (!registre->passerelle || pont);
    Resultat resultat;
    if (!presente) {
        resultat.refus = Modbus::Adresse_Absente;
    } else {
        const Gestionnaire gestionnaire = fonction == Modbus::Lecture             ? registre->lire
                                          : fonction == Modbus::Ecriture_Multiple ? registre->ecrire
                                                                                   : registre->commander;
        if (gestionnaire) {
            Contexte contexte{r, etat_, m, installation_.get(), defaut};
            resultat = gestionnaire(contexte);
        } else {
            resultat.refus = Modbus::Fonction_Impossible;
        }
    }
    QByteArray reponse = resultat.refus                    ? Exception(adresse, fonction, resultat.refus)
                         : fonction == Modbus::Lecture     ? Lecture(adresse, resultat.donnees)
                                                           : Echo(requete);
    if (fonction == Modbus::Lecture && presente) {
        if (defaut.type == Defaut::Donnees) reponse = Lecture(adresse, defaut.donnees);
        const int trop = Modbus::Limite_Reponse - 5;
        if (defaut.type == Defaut::Longue && !resultat.refus)
            reponse = Lecture(adresse, (resultat.donnees + QByteArray(trop, '\x55')).left(trop));
    }

    // The page counts as delivered only when its reply goes out intact, so
    // that the master's retry of a lost page gets the same page again.
    const bool intacte = defaut.type == Defaut::Aucun || defaut.type == Defaut::Scindee ||
                         defaut.type == Defaut::Tardive || defaut.type == Defaut::Pages_Sans_Fin;
    if (resultat.envoyes && intacte) m.telechargement.envoyes = *resultat.envoyes;

    auto recalculer = [](QByteArray t) { return Avec_Crc(t.left(t.size() - 2)); };
    switch (defaut.type) {
        case Defaut::Mauvais_Crc:
            reponse[reponse.size() - 1] = static_cast<char>(O(reponse, static_cast<int>(reponse.size()) - 1) ^ 0x5A);
            break;
        case Defaut::Autre_Esclave:
            reponse[0] = static_cast<char>((adresse % 32) + 1);
            reponse = recalculer(reponse);
            break;
        case Defaut::Autre_Fonction: {
            // A frame of the other writing function, echoing the request.
            QByteArray t = requete.left(6);
            t[1] = static_cast<char>(fonction == Modbus::Ecriture_Simple ? Modbus::Ecriture_Multiple
                                                                         : Modbus::Ecriture_Simple);
            reponse = Avec_Crc(t);
            break;
        }
        case Defaut::Mauvais_Echo:
            if (fonction != Modbus::Lecture && reponse.size() == 8) {
                reponse[5] = static_cast<char>(O(reponse, 5) ^ 0x01);
                reponse = recalculer(reponse);
            }
            break;
        case Defaut::Courte: reponse.chop(2); break;
        case Defaut::Longue:
            if (fonction != Modbus::Lecture) reponse.append(QByteArray(3, '\0'));
            break;
        case Defaut::Collee: reponse = reponse + reponse; break;
        default: break;
    }
    return reponse;
}

}  // namespace ostrel::sim
