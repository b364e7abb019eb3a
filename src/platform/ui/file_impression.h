#pragma once
// The system's print queues, asked through the print system itself (CUPS):
// Qt's print engine hands a document over and drops the answer, so a queue
// that refuses it or a print server that is gone would pass for a printout
// sent. Only our own connections are used, never the library's shared one,
// whose waits are longer and which it falls back to by itself.
#include <QByteArray>
#include <QMarginsF>
#include <QSizeF>
#include <QString>
#include <optional>

namespace ostrel {

// What a printout learns of its queue when it starts.
struct File_Impression {
    QString Nom;    // "queue" or "queue/instance"; empty when there is none to print on
    QString Refus;  // why the queue takes no job now, in French; empty when it takes them
    // The sheet its printer takes and the border it cannot print on, in
    // millimetres, as the print server describes them; none when it says nothing.
    std::optional<QSizeF> Feuille_mm;
    QMarginsF Bords_mm;
};

// The print server as one printout talks to it. Each answer is awaited
// 30 seconds at most (on the time-out scale, Echelle_Delais), with the wait
// pointer shown; once one did not come, the printout asks it nothing more,
// so that a server that took the connection and then says nothing holds the
// program that long in all.
class Service_Impression {
public:
    // The user's default queue as it is now, with its state and its paper;
    // no queue when there is none, or no print server that answers.
    File_Impression File_Par_Defaut();

    // Hands a PDF document to the queue as one job. Empty once the print
    // server has taken all of it, else why not, in French; a job left
    // half-made is cancelled while the server still answers.
    QString Envoyer_Pdf(const QString& file, const QString& titre, const QByteArray& pdf);

private:
    bool muet_ = false;  // a request went unanswered
};

}  // namespace ostrel
