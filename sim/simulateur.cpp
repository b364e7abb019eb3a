#include "simulateur.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QDateTime>
#include <cerrno>
#include <cstdlib>

#include "installation.h"
#include "platform/cp1252.h"

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
    // Minute, hour, weekday (1 Sunday .. 7 Saturday), day, month, two-digit year.
    return {static_cast<Octet>(t.time().minute()), static_cast<Octet>(t.time().hour()),
            static_cast<Octet>(t.date().dayOfWeek() % 7 + 1), static_cast<Octet>(t.date().day()),
            static_cast<Octet>(t.date().month()), static_cast<Octet>(t.date().year() % 100)};
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
    t.append(char(3));
    t.append(static_cast<char>(donnees.size()));
    t.append(donnees);
    return Avec_Crc(t);
}

QByteArray Exception(int adresse, int fonction, int code) {
    QByteArray t;
    t.append(static_cast<char>(adresse));
    t.append(static_cast<char>(fonction | 0x80));
    t.append(static_cast<char>(code));
    return Avec_Crc(t);
}

QByteArray Echo(const QByteArray& requete) { return Avec_Crc(requete.left(6)); }

QByteArray Mot(int v) {
    QByteArray b;
    b.append(static_cast<char>((v >> 8) & 0xFF));
    b.append(static_cast<char>(v & 0xFF));
    return b;
}

QByteArray Long32(long long v) {
    QByteArray b;
    for (int s = 24; s >= 0; s -= 8) b.append(static_cast<char>((v >> s) & 0xFF));
    return b;
}

// A fixed-length text field as the modules keep it: cut, or padded with blanks.
QByteArray Cp1252(const QString& t, int longueur) {
    QByteArray b = Vers_Cp1252(t).left(longueur);
    while (b.size() < longueur) b.append(' ');
    return b;
}

void Date_Octets(QByteArray& b, const Horodatage& h) {
    b.append(static_cast<char>(h.jour));
    b.append(static_cast<char>(h.mois));
    b.append(static_cast<char>(h.annee % 100));
    b.append(static_cast<char>(h.heure));
    b.append(static_cast<char>(h.minute));
}

Horodatage Jour_Recu(Octet jour, Octet mois, Octet aa) {
    Horodatage h;
    h.annee = aa < 30 ? 2000 + aa : (aa < 100 ? 1900 + aa : aa);
    h.mois = mois;
    h.jour = jour;
    return h;
}

bool Est_Passerelle(int code) { return (code >= 0x17 && code <= 0x1D) || code == 0x20; }

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

}  // namespace

Simulateur::Simulateur() { Configurer({1}, 16); }

Simulateur::~Simulateur() { Arreter(); }

void Simulateur::Configurer(const std::vector<int>& adresses, int nb_voies) {
    std::lock_guard<std::mutex> verrou(mutex_);
    etat_.modules.clear();
    installation_.reset();
    curseurs_.clear();
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
                   Cp1252(QStringLiteral("Batiment %1").arg(QChar(u'A' + adresse - 1)), 32);
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
    return journal_;
}

void Simulateur::Effacer_Trames() {
    Synchroniser();
    std::lock_guard<std::mutex> verrou(mutex_);
    journal_.clear();
}

int Simulateur::Nombre_Requetes(int code) const {
    Synchroniser();
    std::lock_guard<std::mutex> verrou(mutex_);
    int n = 0;
    for (const auto& t : journal_)
        if (t.octets.size() >= 4 && Crc_Correct(t.octets) && O(t.octets, 3) == code) ++n;
    return n;
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
    return trame.size() == 8 && O(trame, 0) == Adresse_Marque && O(trame, 1) == 3 && Crc_Correct(trame);
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
    const QByteArray marque = Avec_Crc(QByteArray::fromRawData("\xF7\x03\x00\x00\x00\x00", 6));
    if (::write(esclave_, marque.constData(), static_cast<size_t>(marque.size())) != marque.size()) return false;
    std::unique_lock<std::mutex> verrou(mutex_);
    return marque_vue_.wait_for(verrou, std::chrono::seconds(30), [&] { return marques_vues_ >= numero; });
}

int Simulateur::Longueur_Attendue(const QByteArray& tampon) const {
    if (tampon.size() < 2) return -1;
    switch (O(tampon, 1)) {
        case 3:
        case 6: return 8;
        case 16: return tampon.size() < 7 ? -1 : 9 + O(tampon, 6);
        default: return 0;  // unknown layout: the frame ends with the silence
    }
}

void Simulateur::Boucle() {
    QByteArray tampon;
    Horloge::time_point premier_octet{};
    // A frame of unknown layout ends with a short silence. One whose length is
    // known, or not known yet, waits for its last bytes: a busy master writes
    // them one by one and may be held up between two.
    const int silence_ms = 20;
    const int patience_ms = 1000;
    while (!arret_) {
        pollfd p[2] = {{maitre_, POLLIN, 0}, {reveil_[0], POLLIN, 0}};
        const int attente = tampon.isEmpty() ? -1 : (Longueur_Attendue(tampon) == 0 ? silence_ms : patience_ms);
        const int r = ::poll(p, 2, attente);
        if (arret_) break;
        if (r < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (r == 0) {
            // Silence after an incomplete or unknown frame: it ends here.
            Traiter(tampon, premier_octet);
            tampon.clear();
            continue;
        }
        if (p[0].revents & POLLIN) {
            char lus[256];
            const ssize_t n = ::read(maitre_, lus, sizeof lus);
            if (n > 0) {
                if (tampon.isEmpty()) premier_octet = Horloge::now();
                tampon.append(lus, n);
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
        journal_.push_back({requete, Horloge::now()});
        if (requete.size() < 4 || !Crc_Correct(requete)) return;
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
    Module_Simule& m = etat_.modules[adresse];
    if (defaut.type == Defaut::Silence) return {};
    if (fonction != 3 && fonction != 6 && fonction != 16) return Exception(adresse, fonction, 1);
    if (defaut.type == Defaut::Exception) return Exception(adresse, fonction, defaut.valeur);

    const int code = O(requete, 3);
    const int compte = O(requete, 4) * 256 + O(requete, 5);
    const int sous = O(requete, 5);
    const bool pont = etat_.passerelle && adresse == 1;
    const QByteArray donnees = fonction == 16 ? requete.mid(7, O(requete, 6)) : QByteArray();
    auto voie_ok = [&](int v) { return v >= 1 && v <= m.nb_voies; };
    QByteArray reponse;
    std::tuple<int, int, int> cle_page{};
    size_t nouvelle_position = 0;
    bool page = false;

    if (O(requete, 2) != 0 || (Est_Passerelle(code) && !pont) || (code == 0x1B && adresse != 1)) {
        reponse = Exception(adresse, fonction, 2);
    } else if (fonction == 3) {
        QByteArray d;
        bool refuse = false;
        switch (code) {
            case 0x00:
                if (!(refuse = !voie_ok(compte))) d = Mot(Mesure_Corrigee(m.voies[static_cast<size_t>(compte - 1)]));
                break;
            case 0x01:
                if (!(refuse = !voie_ok(compte))) d = Mot(m.voies[static_cast<size_t>(compte - 1)].etat);
                break;
            case 0x02:
                if (!(refuse = !voie_ok(compte))) {
                    const auto& r = m.voies[static_cast<size_t>(compte - 1)].reglages;
                    d = QByteArray(reinterpret_cast<const char*>(r.data()), 16);
                }
                break;
            case 0x03:
                if (!(refuse = !voie_ok(compte))) d = Mot(m.voies[static_cast<size_t>(compte - 1)].correction);
                break;
            case 0x04:
                if (!(refuse = compte < 1 || compte > 2)) d = Mot(m.logique_stor[static_cast<size_t>(compte - 1)]);
                break;
            case 0x05: d = m.entete; break;
            case 0x06:
                if (!(refuse = compte < 1 || compte > 16)) {
                    const auto& p = m.plannings[static_cast<size_t>(compte - 1)];
                    d = QByteArray(reinterpret_cast<const char*>(p.data()), 32);
                }
                break;
            case 0x07: d = Mot(m.nb_voies == 8 ? 4 : 0); break;
            case 0x09: d = QByteArray(reinterpret_cast<const char*>(m.horloge.data()), 6); break;
            case 0x12:
                if (!(refuse = !voie_ok(compte))) d = m.voies[static_cast<size_t>(compte - 1)].nom;
                break;
            case 0x13: {
                long long n = 0;
                for (int v = 0; v < m.nb_voies; ++v) n += static_cast<long long>(m.voies[static_cast<size_t>(v)].enregistrements.size());
                d = Long32(n);
                break;
            }
            case 0x14: d = Long32(static_cast<long long>(m.journal.size())); break;
            case 0x15:
                if (!(refuse = compte < 1 || compte > 4))
                    d = Mot(m.codes_acces[static_cast<size_t>(compte - 1)]) + m.operateurs[static_cast<size_t>(compte - 1)];
                break;
            case 0x17:
                if (!(refuse = compte < 1 || compte > 4)) d = etat_.pont.emails[static_cast<size_t>(compte - 1)];
                break;
            case 0x18:
                if (!(refuse = compte < 1 || compte > 32)) d = etat_.pont.noms_fichiers[static_cast<size_t>(compte - 1)];
                break;
            case 0x19: d = etat_.pont.peripheriques; break;
            case 0x1A: d = etat_.pont.messagerie; break;
            case 0x1B:
                for (const auto& [a, mod] : etat_.modules) d.append(static_cast<char>(a));
                break;
            case 0x1C:
                if (!(refuse = compte != 0 && compte != 255))
                    d = compte == 0 ? etat_.pont.identifiant : etat_.pont.mot_de_passe;
                break;
            case 0x1D: d = etat_.pont.smtp; break;
            case 0x20: d = QByteArray(reinterpret_cast<const char*>(etat_.pont.masque.data()), 4); break;
            case 0x0E:
            case 0x0F:
            case 0x10:
            case 0x11: {
                const bool suite = O(requete, 4) == 0xFF;
                const bool enreg = code <= 0x0F;
                if (enreg && !voie_ok(sous)) {
                    refuse = true;
                    break;
                }
                page = true;
                cle_page = {adresse, code, sous};
                const size_t debut = suite ? curseurs_[cle_page] : 0;
                auto dans_fenetre = [&](const Horodatage& h) {
                    return h.Cle_Jour() >= m.debut_fenetre.Cle_Jour() && h.Cle_Jour() <= m.fin_fenetre.Cle_Jour();
                };
                size_t rang = 0, pris = 0;
                if (defaut.type == Defaut::Pages_Sans_Fin) {
                    for (int k = 0; k < 9; ++k) {
                        Date_Octets(d, Horodatage{2024, 1, 1, 0, 0}.Plus_Minutes(static_cast<int>(debut) + k));
                        d.append(enreg ? Mot(100 + k) : QByteArray("\x02\x00", 2));
                        d.append(char(enreg ? 0 : (sous == 255 ? 1 : sous)));
                    }
                    nouvelle_position = debut + 9;
                    break;
                }
                if (enreg) {
                    for (const auto& p : m.voies[static_cast<size_t>(sous - 1)].enregistrements) {
                        if (code == 0x0F && !dans_fenetre(p.quand)) continue;
                        if (rang++ < debut) continue;
                        if (pris == 9) break;
                        Date_Octets(d, p.quand);
                        d.append(Mot(p.valeur));
                        d.append(char(p.alarme ? 1 : 0));
                        ++pris;
                    }
                } else {
                    for (const auto& e : m.journal) {
                        if (sous != 255 && e.voie != sous) continue;
                        if (code == 0x11 && !dans_fenetre(e.quand)) continue;
                        if (rang++ < debut) continue;
                        if (pris == 9) break;
                        Date_Octets(d, e.quand);
                        d.append(static_cast<char>(e.etat));
                        d.append(static_cast<char>(e.operateur));
                        d.append(static_cast<char>(e.voie));
                        ++pris;
                    }
                }
                nouvelle_position = debut + pris;
                break;
            }
            default: refuse = true; break;
        }
        reponse = refuse ? Exception(adresse, fonction, 2) : Lecture(adresse, d);
        if (defaut.type == Defaut::Donnees) reponse = Lecture(adresse, defaut.donnees);
        if (defaut.type == Defaut::Longue && !refuse)
            reponse = Lecture(adresse, (d + QByteArray(127, '\x55')).left(127));
    } else if (fonction == 16) {
        const int n = static_cast<int>(donnees.size());
        auto taille = [&](int attendue) { return n == attendue; };
        bool refuse = false;
        bool invalide = false;
        switch (code) {
            case 0x02:
                if ((refuse = !voie_ok(compte))) break;
                if ((invalide = !taille(16))) break;
                for (int i = 0; i < 16; ++i) m.voies[static_cast<size_t>(compte - 1)].reglages[static_cast<size_t>(i)] = O(donnees, i);
                break;
            case 0x03:
                if ((refuse = !voie_ok(compte))) break;
                if ((invalide = !taille(2))) break;
                m.voies[static_cast<size_t>(compte - 1)].correction = static_cast<Entier>(O(donnees, 0) << 8 | O(donnees, 1));
                break;
            case 0x04:
                if ((refuse = compte < 1 || compte > 2)) break;
                if ((invalide = !taille(2))) break;
                m.logique_stor[static_cast<size_t>(compte - 1)] = O(donnees, 1);
                break;
            case 0x05:
                if ((invalide = !taille(64))) break;
                m.entete = donnees;
                break;
            case 0x06:
                if ((refuse = compte < 1 || compte > 16)) break;
                if ((invalide = !taille(32))) break;
                for (int i = 0; i < 32; ++i) m.plannings[static_cast<size_t>(compte - 1)][static_cast<size_t>(i)] = O(donnees, i);
                break;
            case 0x09:
                if ((invalide = !taille(6))) break;
                for (int i = 0; i < 6; ++i) m.horloge[static_cast<size_t>(i)] = O(donnees, i);
                if (installation_) installation_->Horloge_Ecrite(adresse, m);
                break;
            case 0x0D:
                if ((invalide = !taille(6))) break;
                m.debut_fenetre = Jour_Recu(O(donnees, 0), O(donnees, 1), O(donnees, 2));
                m.fin_fenetre = Jour_Recu(O(donnees, 3), O(donnees, 4), O(donnees, 5));
                break;
            case 0x12:
                if ((refuse = !voie_ok(compte))) break;
                if ((invalide = !taille(12))) break;
                m.voies[static_cast<size_t>(compte - 1)].nom = donnees;
                break;
            case 0x15:
                if ((refuse = compte < 1 || compte > 4)) break;
                if ((invalide = !taille(14))) break;
                m.codes_acces[static_cast<size_t>(compte - 1)] = static_cast<Entier>(O(donnees, 0) << 8 | O(donnees, 1));
                m.operateurs[static_cast<size_t>(compte - 1)] = donnees.mid(2);
                break;
            case 0x17:
                if ((refuse = compte < 1 || compte > 4)) break;
                if ((invalide = n > 64)) break;
                etat_.pont.emails[static_cast<size_t>(compte - 1)] = donnees;
                break;
            case 0x18:
                if ((refuse = compte < 1 || compte > 32)) break;
                if ((invalide = n > 64)) break;
                etat_.pont.noms_fichiers[static_cast<size_t>(compte - 1)] = donnees;
                break;
            case 0x19:
                if ((invalide = !taille(12))) break;
                etat_.pont.peripheriques = donnees;
                break;
            case 0x1A:
                if ((invalide = n > 81)) break;
                etat_.pont.messagerie = donnees;
                break;
            case 0x1C:
                if ((refuse = compte != 0 && compte != 255)) break;
                if ((invalide = n > 21)) break;
                (compte == 0 ? etat_.pont.identifiant : etat_.pont.mot_de_passe) = donnees;
                break;
            case 0x1D:
                if ((invalide = n > 81)) break;
                etat_.pont.smtp = donnees;
                break;
            case 0x20:
                if ((invalide = !taille(4))) break;
                for (int i = 0; i < 4; ++i) etat_.pont.masque[static_cast<size_t>(i)] = O(donnees, i);
                break;
            default: refuse = true; break;
        }
        reponse = refuse ? Exception(adresse, fonction, 2) : invalide ? Exception(adresse, fonction, 3) : Echo(requete);
    } else {  // function 6: commands
        const Entier valeur = static_cast<Entier>(compte);
        switch (code) {
            case 0x0A: {
                m.acquittements.push_back(valeur);
                Acquitter_Voie(m, sous, compte >> 8);
                reponse = Echo(requete);
                break;
            }
            case 0x0B:
                for (auto& v : m.voies) v.enregistrements.clear();
                ++m.purges_enregistrements;
                reponse = Echo(requete);
                break;
            case 0x0C:
                m.journal.clear();
                ++m.purges_journal;
                reponse = Echo(requete);
                break;
            case 0x16:
                m.modes_recus.push_back(valeur);
                reponse = Echo(requete);
                break;
            default: reponse = Exception(adresse, fonction, 2); break;
        }
    }

    // The page counts as delivered only when its reply goes out intact, so
    // that the master's retry of a lost page gets the same page again.
    const bool intacte = defaut.type == Defaut::Aucun || defaut.type == Defaut::Scindee ||
                         defaut.type == Defaut::Tardive || defaut.type == Defaut::Pages_Sans_Fin;
    if (page && intacte) curseurs_[cle_page] = nouvelle_position;

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
            t[1] = static_cast<char>(fonction == 6 ? 16 : 6);
            reponse = Avec_Crc(t);
            break;
        }
        case Defaut::Mauvais_Echo:
            if (fonction != 3 && reponse.size() == 8) {
                reponse[5] = static_cast<char>(O(reponse, 5) ^ 0x01);
                reponse = recalculer(reponse);
            }
            break;
        case Defaut::Courte: reponse.chop(2); break;
        case Defaut::Longue:
            if (fonction != 3) reponse.append(QByteArray(3, '\0'));
            break;
        case Defaut::Collee: reponse = reponse + reponse; break;
        default: break;
    }
    return reponse;
}

}  // namespace ostrel::sim
