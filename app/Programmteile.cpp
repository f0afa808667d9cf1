#include "app/Programmteile.h"

void Programmteile::TelefondatenOeffnen(const QString &, ListView &) {}
void Programmteile::TelefondatenSchliessen() {}
void Programmteile::TelefonfelderLaden() {}
void Programmteile::TelefonfelderSchliessen() {}
void Programmteile::ACTMonitorInitialisieren() {}
void Programmteile::PruefeACTDatenbank() {}
void Programmteile::ErstelleNummernCache() {}
void Programmteile::ProtokollfensterSchliessen() {}
