#include "platform/ui/file_impression.h"

#include <cups/cups.h>

#include <QDir>
#include <algorithm>
#include <chrono>

#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "platform/ui/curseur_attente.h"

namespace ostrel {
namespace {

using Horloge = std::chrono::steady_clock;

// How long an answer of the print server is awaited, and how often the wait
// looks at the time.
Horloge::duration Delai_Reponse() {
    return std::chrono::duration_cast<Horloge::duration>(std::chrono::duration<double>(30.0 * Echelle_Delais()));
}
double Pas_Attente_s() { return std::min(0.25, std::chrono::duration<double>(Delai_Reponse()).count()); }

const QString Service_Absent = QStringLiteral("le service d'impression ne répond pas");

// Never a password asked on the terminal the program was started from: a
// queue that wants one refuses the job, and the operator is told.
const char* Sans_Mot_De_Passe(const char*, http_t*, const char*, const char*, void*) { return nullptr; }

// One exchange with the print server (finding the queue, handing a job over),
// on a connection of its own, the wait pointer shown meanwhile. Each answer
// has its bounded time; one that does not come marks the server silent for
// the printout, whose later exchanges then ask nothing.
class Echange {
public:
    explicit Echange(bool& muet) : muet_(muet) {
        if (muet_) return;
        curseur_.emplace();
        cupsSetPasswordCB2(Sans_Mot_De_Passe, nullptr);
        Relancer();
        const Horloge::time_point debut = Horloge::now();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Delai_Reponse()).count();
        http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, static_cast<int>(ms), nullptr);
        // A server that is not there refuses at once; one that let the connection wait is silent.
        if (http == nullptr && Horloge::now() - debut >= std::chrono::duration<double>(Pas_Attente_s())) muet_ = true;
        // The library waits by steps and asks, after each, whether to go on.
        if (http != nullptr) httpSetTimeout(http, Pas_Attente_s(), Encore, this);
    }
    ~Echange() {
        if (http != nullptr) httpClose(http);
    }
    Echange(const Echange&) = delete;
    Echange& operator=(const Echange&) = delete;

    // An answer came: the next one is awaited its whole time again.
    void Relancer() { echeance_ = Horloge::now() + Delai_Reponse(); }
    // Whether the server can still be asked.
    bool Ouvert() const { return http != nullptr && !muet_; }
    bool Muet() const { return muet_; }

    http_t* http = nullptr;

private:
    // Called after each step of a wait: one more step must end by the deadline.
    static int Encore(http_t*, void* donnees) {
        auto* echange = static_cast<Echange*>(donnees);
        const auto pas = std::chrono::duration_cast<Horloge::duration>(std::chrono::duration<double>(Pas_Attente_s()));
        if (Horloge::now() + pas <= echange->echeance_) return 1;
        echange->muet_ = true;
        return 0;
    }
    bool& muet_;
    Horloge::time_point echeance_;
    std::optional<Curseur_Attente> curseur_;
};

// A queue is named "queue" or "queue/instance", as the print system names its destinations.
struct Nom_File {
    QByteArray complet, file, instance;
    explicit Nom_File(const QString& nom) : complet(nom.toUtf8()) {
        const qsizetype barre = complet.indexOf('/');
        file = barre < 0 ? complet : complet.left(barre);
        if (barre >= 0) instance = complet.mid(barre + 1);
    }
    QByteArray Uri() const {
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                         file.constData());
        return uri;
    }
};

// ------------------------------------------------------------ lpoptions
// The default queue and the options a user set with lpoptions, read as lp
// reads them: the system's file, then the user's, lines "Dest queue[/instance]
// options" and "Default queue[/instance] options".

struct Ligne_Options {
    bool defaut = false;
    QByteArray nom, options;
};

std::vector<Ligne_Options> Lignes_Options() {
    const QString systeme = qEnvironmentVariableIsEmpty("CUPS_SERVERROOT") ? QStringLiteral("/etc/cups")
                                                                          : qEnvironmentVariable("CUPS_SERVERROOT");
    std::vector<Ligne_Options> lignes;
    for (const QString& chemin : {systeme + QStringLiteral("/lpoptions"), QDir::homePath() + QStringLiteral("/.cups/lpoptions")}) {
        // Read as every file, so that a name turned into a pipe holds no printout
        // up; one of 16 MB, a hundred times the options of a large site's
        // queues, is no options file and is passed over as one unreadable.
        QByteArray contenu;
        if (!Lire_Fichier(chemin, contenu, qint64{16} << 20)) continue;
        for (const QByteArray& brute : contenu.split('\n')) {
            const QByteArray ligne = brute.simplified();
            const qsizetype a = ligne.indexOf(' ');
            if (a < 0) continue;
            const QByteArray mot = ligne.left(a).toLower();
            if (mot != "dest" && mot != "default") continue;
            const qsizetype b = ligne.indexOf(' ', a + 1);
            Ligne_Options l;
            l.defaut = mot == "default";
            l.nom = b < 0 ? ligne.mid(a + 1) : ligne.mid(a + 1, b - a - 1);
            if (b >= 0) l.options = ligne.mid(b + 1);
            lignes.push_back(l);
        }
    }
    return lignes;
}

// The default queue set on this machine without asking the server: $LPDEST,
// $PRINTER (but "lp"), the user's lpoptions, the system's; empty when none.
QString Defaut_Local() {
    if (!qEnvironmentVariableIsEmpty("LPDEST")) return qEnvironmentVariable("LPDEST");
    const QString printer = qEnvironmentVariable("PRINTER");
    if (!printer.isEmpty() && printer != QLatin1String("lp")) return printer;
    QString defaut;
    for (const Ligne_Options& l : Lignes_Options())
        if (l.defaut) defaut = QString::fromUtf8(l.nom);  // the user's line, read last, wins
    return defaut;
}

// The options lpoptions gives the queue, then its instance: they go with the job, as lp gives them.
int Options_Locales(const Nom_File& nom, cups_option_t** options) {
    int n = 0;
    const std::vector<Ligne_Options> lignes = Lignes_Options();
    for (const QByteArray& vise : {nom.file, nom.instance.isEmpty() ? QByteArray() : nom.complet})
        for (const Ligne_Options& l : lignes)
            if (!vise.isEmpty() && l.nom == vise) n = cupsParseOptions(l.options.constData(), n, options);
    return n;
}

// ------------------------------------------------------------ answers

bool Echec(ipp_status_t etat) { return etat > IPP_STATUS_OK_EVENTS_COMPLETE; }

QString Texte_Refus(const QByteArray& file, const QString& message) {
    QString texte = QStringLiteral("l'imprimante %1 refuse les impressions").arg(QString::fromUtf8(file));
    if (!message.isEmpty()) texte += QStringLiteral(" : ") + message;
    return texte;
}

QString Message_Etat(ipp_t* reponse) {
    ipp_attribute_t* a = ippFindAttribute(reponse, "printer-state-message", IPP_TAG_TEXT);
    return a ? QString::fromUtf8(ippGetString(a, 0, nullptr)).trimmed() : QString();
}

// The message a queue's administrator left with its state ("plus de papier").
QString Message_Etat(Echange& echange, const Nom_File& nom) {
    if (!echange.Ouvert()) return {};
    echange.Relancer();
    ipp_t* requete = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(requete, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, nom.Uri().constData());
    ippAddString(requete, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-state-message");
    ipp_t* reponse = cupsDoRequest(echange.http, requete, "/");
    const QString message = Message_Etat(reponse);
    ippDelete(reponse);
    return message;
}

// The last answer of the print server, in the operator's words.
QString Raison(Echange& echange, const Nom_File& nom) {
    if (!echange.Ouvert()) return Service_Absent;
    const ipp_status_t etat = cupsLastError();
    const QString imprimante = QString::fromUtf8(nom.file);
    switch (etat) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS: {
        const QString message = Message_Etat(echange, nom);
        return echange.Muet() ? Service_Absent : Texte_Refus(nom.file, message);
    }
    case IPP_STATUS_ERROR_NOT_FOUND: return QStringLiteral("l'imprimante %1 n'existe plus").arg(imprimante);
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
        return QStringLiteral("l'imprimante %1 n'autorise pas cette impression").arg(imprimante);
    case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
        return QStringLiteral("l'imprimante %1 n'accepte pas les documents PDF").arg(imprimante);
    case IPP_STATUS_ERROR_REQUEST_ENTITY:
        return QStringLiteral("le document est trop volumineux pour l'imprimante %1").arg(imprimante);
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_TIMEOUT: return Service_Absent;
    default:
        // A connection that broke under the request: the server went away.
        if (httpError(echange.http) != 0) return Service_Absent;
        return QStringLiteral("l'imprimante %1 a refusé le document : %2").arg(imprimante, QString::fromUtf8(cupsLastErrorString()));
    }
}

// A queue's paper from its "media-col-default": sizes in hundredths of a millimetre.
void Lire_Papier(ipp_t* reponse, File_Impression& file) {
    ipp_attribute_t* media = ippFindAttribute(reponse, "media-col-default", IPP_TAG_BEGIN_COLLECTION);
    ipp_t* col = media ? ippGetCollection(media, 0) : nullptr;
    ipp_attribute_t* taille = col ? ippFindAttribute(col, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
    ipp_t* dimensions = taille ? ippGetCollection(taille, 0) : nullptr;
    auto valeur = [](ipp_t* dans, const char* nom) {
        ipp_attribute_t* a = dans ? ippFindAttribute(dans, nom, IPP_TAG_INTEGER) : nullptr;
        return a ? ippGetInteger(a, 0) / 100.0 : 0.0;
    };
    const double largeur = valeur(dimensions, "x-dimension"), hauteur = valeur(dimensions, "y-dimension");
    if (largeur <= 0 || hauteur <= 0) return;
    file.Feuille_mm = QSizeF(largeur, hauteur);
    file.Bords_mm = QMarginsF(valeur(col, "media-left-margin"), valeur(col, "media-top-margin"),
                              valeur(col, "media-right-margin"), valeur(col, "media-bottom-margin"));
}

}  // namespace

File_Impression Service_Impression::File_Par_Defaut() {
    File_Impression resultat;
    Echange echange(muet_);
    if (!echange.Ouvert()) return resultat;
    // Named on this machine, or the server's own default.
    const QString local = Defaut_Local();
    const Nom_File nom(local);
    ipp_t* requete = ippNewRequest(local.isEmpty() ? IPP_OP_CUPS_GET_DEFAULT : IPP_OP_GET_PRINTER_ATTRIBUTES);
    if (!local.isEmpty()) ippAddString(requete, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, nom.Uri().constData());
    static const char* const attributs[] = {"printer-name", "printer-is-accepting-jobs", "printer-state-message", "media-col-default"};
    ippAddStrings(requete, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", std::size(attributs), nullptr, attributs);
    ipp_t* reponse = cupsDoRequest(echange.http, requete, "/");
    // No such queue, no default, or no answer: no queue to print on.
    if (reponse == nullptr || Echec(cupsLastError()) || echange.Muet()) {
        ippDelete(reponse);
        return resultat;
    }
    if (local.isEmpty()) {
        ipp_attribute_t* a = ippFindAttribute(reponse, "printer-name", IPP_TAG_NAME);
        resultat.Nom = a ? QString::fromUtf8(ippGetString(a, 0, nullptr)) : QString();
    } else {
        resultat.Nom = local;
    }
    if (!resultat.Nom.isEmpty()) {
        ipp_attribute_t* accepte = ippFindAttribute(reponse, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
        if (accepte != nullptr && !ippGetBoolean(accepte, 0)) resultat.Refus = Texte_Refus(Nom_File(resultat.Nom).file, Message_Etat(reponse));
        Lire_Papier(reponse, resultat);
    }
    ippDelete(reponse);
    return resultat;
}

QString Service_Impression::Envoyer_Pdf(const QString& file, const QString& titre, const QByteArray& pdf) {
    const Nom_File nom(file);
    Echange echange(muet_);
    if (!echange.Ouvert()) return Service_Absent;
    http_t* http = echange.http;
    // The job made by our own request: the library's would look the queue up
    // again, and on no answer fall back to its own connection and its waits.
    const QByteArray nom_travail = titre.toUtf8();
    ipp_t* requete = ippNewRequest(IPP_OP_CREATE_JOB);
    ippAddString(requete, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, nom.Uri().constData());
    ippAddString(requete, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(requete, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, nom_travail.constData());
    cups_option_t* options = nullptr;
    const int nb_options = Options_Locales(nom, &options);
    cupsEncodeOptions2(requete, nb_options, options, IPP_TAG_OPERATION);
    cupsEncodeOptions2(requete, nb_options, options, IPP_TAG_JOB);
    cupsFreeOptions(nb_options, options);
    ipp_t* reponse = cupsDoRequest(http, requete, ("/printers/" + nom.file).constData());
    ipp_attribute_t* id = Echec(cupsLastError()) ? nullptr : ippFindAttribute(reponse, "job-id", IPP_TAG_INTEGER);
    const int travail = id ? ippGetInteger(id, 0) : 0;
    ippDelete(reponse);
    if (travail == 0) return Raison(echange, nom);
    echange.Relancer();
    bool envoye = cupsStartDocument(http, nom.file.constData(), travail, nom_travail.constData(), CUPS_FORMAT_PDF, 1) ==
                  HTTP_STATUS_CONTINUE;
    // Each piece the server takes is an answer.
    constexpr qsizetype Morceau = 1 << 16;
    for (qsizetype debut = 0; envoye && debut < pdf.size(); debut += Morceau) {
        echange.Relancer();
        const size_t taille = static_cast<size_t>(std::min(Morceau, pdf.size() - debut));
        envoye = cupsWriteRequestData(http, pdf.constData() + debut, taille) == HTTP_STATUS_CONTINUE;
    }
    // The server's answer to the whole document, even after a failed write: it tells why.
    echange.Relancer();
    const ipp_status_t fin = echange.Ouvert() ? cupsFinishDocument(http, nom.file.constData()) : IPP_STATUS_ERROR_TIMEOUT;
    if (envoye && !Echec(fin) && echange.Ouvert()) return {};
    const QString raison = Raison(echange, nom);
    // Nothing half-made is left to print, where the server can still be asked.
    if (echange.Ouvert()) {
        echange.Relancer();
        cupsCancelJob2(http, nom.file.constData(), travail, 0);
    }
    return raison;
}

}  // namespace ostrel
