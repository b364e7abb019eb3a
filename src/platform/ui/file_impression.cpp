#include "platform/ui/file_impression.h"

#include <cups/cups.h>

#include <algorithm>

namespace ostrel {
namespace {

// A print server that took the connection and then says nothing is given
// this long for each answer; one that is not there fails at once.
constexpr int Delai_Reponse_s = 30;

// Never a password asked on the terminal the program was started from: a
// queue that wants one refuses the job, and the operator is told.
const char* Sans_Mot_De_Passe(const char*, http_t*, const char*, const char*, void*) { return nullptr; }

struct Connexion {
    http_t* http = nullptr;
    Connexion() {
        cupsSetPasswordCB2(Sans_Mot_De_Passe, nullptr);
        http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, Delai_Reponse_s * 1000, nullptr);
        if (http != nullptr) httpSetTimeout(http, Delai_Reponse_s, nullptr, nullptr);
    }
    ~Connexion() {
        if (http != nullptr) httpClose(http);
    }
    Connexion(const Connexion&) = delete;
    Connexion& operator=(const Connexion&) = delete;
};

const QString Service_Absent = QStringLiteral("le service d'impression ne répond pas");

// A queue is named "queue" or "queue/instance", as the print system names its destinations.
struct Nom_File {
    QByteArray file, instance;
    explicit Nom_File(const QString& nom) {
        const QByteArray octets = nom.toUtf8();
        const qsizetype barre = octets.indexOf('/');
        file = barre < 0 ? octets : octets.left(barre);
        if (barre >= 0) instance = octets.mid(barre + 1);
    }
    const char* Instance() const { return instance.isEmpty() ? nullptr : instance.constData(); }
};

// The message a queue's administrator left with its state ("plus de papier").
QString Message_Etat(http_t* http, const QByteArray& file) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     file.constData());
    ipp_t* requete = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(requete, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(requete, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-state-message");
    ipp_t* reponse = cupsDoRequest(http, requete, "/");
    QString message;
    if (ipp_attribute_t* a = ippFindAttribute(reponse, "printer-state-message", IPP_TAG_TEXT))
        message = QString::fromUtf8(ippGetString(a, 0, nullptr)).trimmed();
    ippDelete(reponse);
    return message;
}

QString Refus(http_t* http, const Nom_File& nom) {
    QString texte = QStringLiteral("l'imprimante %1 refuse les impressions").arg(QString::fromUtf8(nom.file));
    const QString message = Message_Etat(http, nom.file);
    if (!message.isEmpty()) texte += QStringLiteral(" : ") + message;
    return texte;
}

// The last answer of the print server, in the operator's words.
QString Raison(http_t* http, const Nom_File& nom) {
    const QString imprimante = QString::fromUtf8(nom.file);
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS: return Refus(http, nom);
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
        if (http == nullptr || httpError(http) != 0) return Service_Absent;
        return QStringLiteral("l'imprimante %1 a refusé le document : %2").arg(imprimante, QString::fromUtf8(cupsLastErrorString()));
    }
}

bool Echec(ipp_status_t etat) { return etat > IPP_STATUS_OK_EVENTS_COMPLETE; }

}  // namespace

QString File_Impression_Par_Defaut() {
    Connexion connexion;
    if (connexion.http == nullptr) return {};
    cups_dest_t* destination = cupsGetNamedDest(connexion.http, nullptr, nullptr);
    if (destination == nullptr) return {};
    QString nom = QString::fromUtf8(destination->name);
    if (destination->instance != nullptr) nom += QLatin1Char('/') + QString::fromUtf8(destination->instance);
    cupsFreeDests(1, destination);
    return nom;
}

QString Refus_File_Impression(const QString& file) {
    const Nom_File nom(file);
    Connexion connexion;
    if (connexion.http == nullptr) return Service_Absent;
    cups_dest_t* destination = cupsGetNamedDest(connexion.http, nom.file.constData(), nom.Instance());
    if (destination == nullptr) {
        return Echec(cupsLastError()) && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND
                   ? Raison(connexion.http, nom)
                   : QStringLiteral("l'imprimante %1 n'existe plus").arg(QString::fromUtf8(nom.file));
    }
    const char* accepte = cupsGetOption("printer-is-accepting-jobs", destination->num_options, destination->options);
    const bool refuse = accepte != nullptr && qstrcmp(accepte, "false") == 0;
    cupsFreeDests(1, destination);
    return refuse ? Refus(connexion.http, nom) : QString();
}

QString Envoyer_Pdf_File_Impression(const QString& file, const QString& titre, const QByteArray& pdf) {
    const Nom_File nom(file);
    Connexion connexion;
    if (connexion.http == nullptr) return Service_Absent;
    http_t* http = connexion.http;
    // The queue's own settings (copies, sides, ...) go with the job, as the system's lp gives them.
    cups_dest_t* destination = cupsGetNamedDest(http, nom.file.constData(), nom.Instance());
    if (destination == nullptr) return Raison(http, nom);
    const QByteArray nom_travail = titre.toUtf8();
    const int travail =
        cupsCreateJob(http, nom.file.constData(), nom_travail.constData(), destination->num_options, destination->options);
    cupsFreeDests(1, destination);
    if (travail == 0) return Raison(http, nom);
    bool envoye = cupsStartDocument(http, nom.file.constData(), travail, nom_travail.constData(), CUPS_FORMAT_PDF, 1) ==
                  HTTP_STATUS_CONTINUE;
    constexpr qsizetype Morceau = 1 << 16;
    for (qsizetype debut = 0; envoye && debut < pdf.size(); debut += Morceau) {
        const size_t taille = static_cast<size_t>(std::min(Morceau, pdf.size() - debut));
        envoye = cupsWriteRequestData(http, pdf.constData() + debut, taille) == HTTP_STATUS_CONTINUE;
    }
    // The server's answer to the whole document, even after a failed write: it tells why.
    const ipp_status_t fin = cupsFinishDocument(http, nom.file.constData());
    if (envoye && !Echec(fin)) return {};
    const QString raison = Raison(http, nom);
    // Nothing half-made is left to print.
    cupsCancelJob2(http, nom.file.constData(), travail, 0);
    return raison;
}

}  // namespace ostrel
