#pragma once
// Large buffers filled at once (a full memory's files, tables and curves):
// backed by huge pages where the system offers them, which spares a page
// fault per 4 KiB, a tenth of a second per 16 MB on a virtual machine.
#include <QByteArray>

namespace ostrel {

// A hint for memory not yet written; nothing changes when it is refused.
void Grandes_Pages(void* debut, qsizetype octets);
// Room for `octets` more bytes at the end of a buffer, under that hint.
void Reserver_Grand(QByteArray& tampon, qsizetype octets);

}  // namespace ostrel
